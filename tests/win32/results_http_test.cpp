// The upload's HTTP request against servers on the loopback interface that
// the tests start themselves, with Winsock.
#include <winsock2.h>

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"
#include "platform/win32/wininet_http_client.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quorvel::win32 {
namespace {

using Clock = std::chrono::steady_clock;

// The few Winsock functions the test server needs, found at run time: the
// test program is linked only with what the backend itself uses.
class Winsock {
 public:
  static Winsock& Get() {
    static Winsock winsock;
    return winsock;
  }
  bool ok() const { return ok_; }

  decltype(&::socket) socket = nullptr;
  decltype(&::bind) bind = nullptr;
  decltype(&::listen) listen = nullptr;
  decltype(&::getsockname) getsockname = nullptr;
  decltype(&::select) select = nullptr;
  decltype(&::accept) accept = nullptr;
  decltype(&::recv) recv = nullptr;
  decltype(&::send) send = nullptr;
  decltype(&::shutdown) shutdown = nullptr;
  decltype(&::closesocket) closesocket = nullptr;

 private:
  Winsock() {
    module_ = ::LoadLibraryA("ws2_32.dll");
    if (module_ == nullptr) return;
    decltype(&::WSAStartup) startup = nullptr;
    Find(startup, "WSAStartup");
    const bool found = Find(socket, "socket") && Find(bind, "bind") && Find(listen, "listen") &&
                       Find(getsockname, "getsockname") && Find(select, "select") &&
                       Find(accept, "accept") && Find(recv, "recv") && Find(send, "send") &&
                       Find(shutdown, "shutdown") && Find(closesocket, "closesocket");
    WSADATA data;
    ok_ = found && startup != nullptr && startup(MAKEWORD(2, 2), &data) == 0;
  }
  template <typename Function>
  bool Find(Function& function, const char* name) {
    function = reinterpret_cast<Function>(
        reinterpret_cast<void*>(::GetProcAddress(module_, name)));
    return function != nullptr;
  }

  HMODULE module_ = nullptr;
  bool ok_ = false;
};

class Socket {
 public:
  explicit Socket(SOCKET s = INVALID_SOCKET) : socket_(s) {}
  ~Socket() {
    if (socket_ != INVALID_SOCKET) Winsock::Get().closesocket(socket_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  SOCKET get() const { return socket_; }

 private:
  SOCKET socket_;
};

bool WaitReadable(SOCKET s, int ms) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(s, &readable);
  timeval wait{0, ms * 1000};
  // Only one socket is asked about: any ready one is it.
  return Winsock::Get().select(0, &readable, nullptr, nullptr, &wait) > 0;
}

unsigned short SwapBytes(unsigned short value) {
  return static_cast<unsigned short>((value << 8) | (value >> 8));
}

// What a test server does with a request: it sends `bytes`, then closes
// the connection, holds it open in silence, or keeps sending one more byte
// every 100 ms.
struct Reply {
  enum class Then { Close, Hold, Trickle };
  std::string bytes;
  Then then = Then::Close;
};

// A one-thread HTTP server on 127.0.0.1 and an ephemeral port. It records
// the head of every request and replies to it, one connection after the
// other, until it is destroyed. It gives up by itself after ten seconds so
// that a broken test cannot hang.
class LoopbackServer {
 public:
  explicit LoopbackServer(Reply reply) : reply_(std::move(reply)) {
    Winsock& ws = Winsock::Get();
    if (!ws.ok()) return;
    listener_ = std::make_unique<Socket>(ws.socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.S_un.S_un_b = {127, 0, 0, 1};
    int length = sizeof address;
    if (ws.bind(listener_->get(), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ws.listen(listener_->get(), 8) != 0 ||
        ws.getsockname(listener_->get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    port_ = SwapBytes(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~LoopbackServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

  int port() const { return port_; }
  std::vector<std::string> Requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }

 private:
  bool Running() const { return !stop_ && Clock::now() < giveUp_; }

  static bool SendAll(SOCKET s, const std::string& bytes) {
    const char* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
      const int sent = Winsock::Get().send(s, next, static_cast<int>(left), 0);
      if (sent <= 0) return false;
      next += sent;
      left -= static_cast<std::size_t>(sent);
    }
    return true;
  }

  void Serve() {
    Winsock& ws = Winsock::Get();
    while (Running()) {
      if (!WaitReadable(listener_->get(), 20)) continue;
      Socket connection(ws.accept(listener_->get(), nullptr, nullptr));
      if (connection.get() == INVALID_SOCKET) continue;
      std::string head;
      while (Running() && head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        if (!WaitReadable(connection.get(), 20)) continue;
        char buffer[4096];
        const int got = ws.recv(connection.get(), buffer, sizeof buffer, 0);
        if (got <= 0) break;
        head.append(buffer, static_cast<std::size_t>(got));
      }
      {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(head);
      }
      bool open = SendAll(connection.get(), reply_.bytes);
      while (open && reply_.then != Reply::Then::Close && Running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (reply_.then == Reply::Then::Trickle) open = SendAll(connection.get(), "x");
      }
      ws.shutdown(connection.get(), SD_SEND);
    }
  }

  Reply reply_;
  std::unique_ptr<Socket> listener_;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  const Clock::time_point giveUp_ = Clock::now() + std::chrono::seconds(10);
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

std::string Head(const std::string& statusLine, std::size_t bodyBytes,
                 const std::string& extraHeaders = "") {
  return statusLine + "\r\nContent-Length: " + std::to_string(bodyBytes) +
         "\r\nConnection: close\r\n" + extraHeaders + "\r\n";
}

Reply Answer(const std::string& statusLine, const std::string& body,
             const std::string& extraHeaders = "") {
  return Reply{Head(statusLine, body.size(), extraHeaders) + body, Reply::Then::Close};
}

std::string RequestLine(const std::string& head) { return head.substr(0, head.find("\r\n")); }

// Finds a header line by its name, whatever the letter case of the name.
std::string HeaderLine(const std::string& head, const std::string& name) {
  std::string lower = head;
  std::string key = "\r\n" + name + ":";
  for (char& c : lower) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
  for (char& c : key) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
  const std::size_t at = lower.find(key);
  if (at == std::string::npos) return "";
  return head.substr(at + 2, head.find("\r\n", at + 2) - at - 2);
}

class WinInetHttp : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Winsock::Get().ok()) << "Winsock is needed for the test servers"; }

  WinInetHttpClient client_;
};

const std::string kPath =
    "/products/quorvel/submitresults.asp?VER=103&UserName=Test_User&email=a@b.c"
    "&cardName=ATI/RADEON_9600/X1050!~'*()[]{}|^`;:,<>\"&OS=XP";

TEST_F(WinInetHttp, SendsThePathAsItIsAndReadsTheAnswer) {
  LoopbackServer server(Answer("HTTP/1.1 200 OK", "thanks"));
  ASSERT_NE(server.port(), 0);
  const platform::HttpResult result =
      client_.Get("127.0.0.1", server.port(), kPath, "My Session", 10000, 20000);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.status, 200);
  EXPECT_EQ(result.body, "thanks");

  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(RequestLine(requests[0]), "GET " + kPath + " HTTP/1.1");
  EXPECT_EQ(HeaderLine(requests[0], "User-Agent"), "User-Agent: My Session") << requests[0];
  EXPECT_EQ(HeaderLine(requests[0], "Host"), "Host: 127.0.0.1:" + std::to_string(server.port()))
      << requests[0];
}

// WinINet would take "/./" and "/x/../" out of the query and turn "\" into
// "/", changing the values; they arrive percent-encoded instead, which the
// server decodes to what was meant.
TEST_F(WinInetHttp, ValuesWithDotSegmentsAndBackslashesKeepTheirMeaning) {
  LoopbackServer server(Answer("HTTP/1.1 200 OK", ""));
  const platform::HttpResult result = client_.Get(
      "127.0.0.1", server.port(),
      "/a/submit.asp?UserName=a/../b&email=./c\\d/./e/.f..&cardName=A%26B/...&OS=XP", "My Session",
      10000, 20000);
  EXPECT_TRUE(result.ok);
  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(RequestLine(requests[0]),
            "GET /a/submit.asp?UserName=a/%2E%2E/b&email=./c%5Cd/%2E/e/%2Ef..&cardName=A%26B/"
            "%2E%2E%2E&OS=XP HTTP/1.1");
}

struct StatusCase {
  const char* name;
  Reply answer;
  int status;
  std::size_t bodyBytes;
};

class WinInetHttpStatus : public WinInetHttp, public ::testing::WithParamInterface<StatusCase> {};

// Every answer with a status line is an answer: its code is passed on, a
// redirect is not followed, and a long body is cut at the limit.
TEST_P(WinInetHttpStatus, PassesTheStatusOn) {
  LoopbackServer server(GetParam().answer);
  const platform::HttpResult result =
      client_.Get("127.0.0.1", server.port(), "/x", "My Session", 10000, 20000);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.status, GetParam().status);
  EXPECT_EQ(result.body.size(), GetParam().bodyBytes);
  const std::string& sent = GetParam().answer.bytes;
  EXPECT_EQ(result.body, sent.substr(sent.find("\r\n\r\n") + 4, GetParam().bodyBytes));
  EXPECT_EQ(server.Requests().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, WinInetHttpStatus,
    ::testing::Values(
        StatusCase{"NotFound", Answer("HTTP/1.1 404 Not Found", "gone"), 404, 4},
        StatusCase{"ServerError", Answer("HTTP/1.0 500 Internal Server Error", ""), 500, 0},
        StatusCase{"Redirect",
                   Answer("HTTP/1.1 302 Found", "", "Location: /elsewhere\r\n"), 302, 0},
        StatusCase{"LongBody", Answer("HTTP/1.1 200 OK", std::string(100000, 'b')), 200,
                   kMaxResponseBodyBytes}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WinInetHttp, AClosedPortIsNoAnswerSoon) {
  int port = 0;
  {
    // A port that was free a moment ago and that nobody listens on.
    LoopbackServer server(Reply{});
    port = server.port();
  }
  const auto start = Clock::now();
  const platform::HttpResult result =
      client_.Get("127.0.0.1", port, "/x", "My Session", 10000, 20000);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.status, 0);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
}

struct SlowCase {
  const char* name;
  Reply reply;
};

class WinInetHttpSlow : public WinInetHttp, public ::testing::WithParamInterface<SlowCase> {};

// A server that never answers, or that sends its answer so slowly that no
// single read waits long, ends the exchange when the total limit runs out.
TEST_P(WinInetHttpSlow, IsNoAnswerAfterTheTotalLimit) {
  LoopbackServer server(GetParam().reply);
  const auto start = Clock::now();
  const platform::HttpResult result =
      client_.Get("127.0.0.1", server.port(), "/x", "My Session", 300, 800);
  const auto elapsed = Clock::now() - start;
  EXPECT_FALSE(result.ok);
  EXPECT_GE(elapsed, std::chrono::milliseconds(750));
  EXPECT_LT(elapsed, std::chrono::seconds(3));
  EXPECT_EQ(server.Requests().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Servers, WinInetHttpSlow,
    ::testing::Values(SlowCase{"Silent", Reply{"", Reply::Then::Hold}},
                      SlowCase{"Trickling", Reply{Head("HTTP/1.1 200 OK", 100000),
                                                  Reply::Then::Trickle}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel::win32
