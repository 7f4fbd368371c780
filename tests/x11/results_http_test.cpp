// The upload's HTTP request against servers on the loopback interface that
// the tests start themselves.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/x11/curl_http_client.h"

namespace quorvel::x11 {
namespace {

using Clock = std::chrono::steady_clock;

class Socket {
 public:
  explicit Socket(int fd = -1) : fd_(fd) {}
  ~Socket() {
    if (fd_ >= 0) ::close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

bool WaitReadable(int fd, int ms) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, ms) > 0;
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
    listener_ = std::make_unique<Socket>(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener_->get(), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener_->get(), 8) != 0 ||
        ::getsockname(listener_->get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
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

  static bool SendAll(int fd, const std::string& bytes) {
    const char* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
      const ssize_t sent = ::send(fd, next, left, MSG_NOSIGNAL);
      if (sent <= 0) return false;
      next += sent;
      left -= static_cast<std::size_t>(sent);
    }
    return true;
  }

  void Serve() {
    while (Running()) {
      if (!WaitReadable(listener_->get(), 20)) continue;
      Socket connection(::accept4(listener_->get(), nullptr, nullptr, SOCK_CLOEXEC));
      if (connection.get() < 0) continue;
      std::string head;
      while (Running() && head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        if (!WaitReadable(connection.get(), 20)) continue;
        char buffer[4096];
        const ssize_t got = ::recv(connection.get(), buffer, sizeof buffer, 0);
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
      ::shutdown(connection.get(), SHUT_WR);
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

// The tests talk to their own servers directly, whatever proxy the machine
// that runs them has set.
class CurlHttp : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY", "no_proxy",
                             "NO_PROXY"}) {
      ::unsetenv(name);
    }
  }

  CurlHttpClient client_;
};

const std::string kPath =
    "/products/quorvel/submitresults.asp?VER=103&UserName=Test_User&email=a@b.c"
    "&cardName=A%26B/../%2e%2E/x&OS=XP";

TEST_F(CurlHttp, SendsThePathAsItIsAndReadsTheAnswer) {
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
  EXPECT_NE(requests[0].find("\r\nUser-Agent: My Session\r\n"), std::string::npos) << requests[0];
  EXPECT_NE(requests[0].find("\r\nHost: 127.0.0.1:" + std::to_string(server.port()) + "\r\n"),
            std::string::npos)
      << requests[0];
}

struct StatusCase {
  const char* name;
  Reply answer;
  int status;
  std::size_t bodyBytes;
};

class CurlHttpStatus : public CurlHttp, public ::testing::WithParamInterface<StatusCase> {};

// Every answer with a status line is an answer: its code is passed on, a
// redirect is not followed, and a long body is cut at the limit.
TEST_P(CurlHttpStatus, PassesTheStatusOn) {
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
    Answers, CurlHttpStatus,
    ::testing::Values(
        StatusCase{"NotFound", Answer("HTTP/1.1 404 Not Found", "gone"), 404, 4},
        StatusCase{"ServerError", Answer("HTTP/1.0 500 Internal Server Error", ""), 500, 0},
        StatusCase{"Redirect",
                   Answer("HTTP/1.1 302 Found", "", "Location: /elsewhere\r\n"), 302, 0},
        StatusCase{"LongBody", Answer("HTTP/1.1 200 OK", std::string(100000, 'b')), 200,
                   kMaxResponseBodyBytes}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CurlHttp, AClosedPortIsNoAnswerAtOnce) {
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
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
}

struct SlowCase {
  const char* name;
  Reply reply;
};

class CurlHttpSlow : public CurlHttp, public ::testing::WithParamInterface<SlowCase> {};

// A server that never answers, or that sends its answer so slowly that no
// single read waits long, ends the exchange when the total limit runs out.
TEST_P(CurlHttpSlow, IsNoAnswerAfterTheTotalLimit) {
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
    Servers, CurlHttpSlow,
    ::testing::Values(SlowCase{"Silent", Reply{"", Reply::Then::Hold}},
                      SlowCase{"Trickling", Reply{Head("HTTP/1.1 200 OK", 100000),
                                                  Reply::Then::Trickle}}),
    [](const auto& info) { return std::string(info.param.name); });

// A proxy set in the environment is the user's choice and is used: the
// request goes to it, naming the results server, which is never contacted.
TEST_F(CurlHttp, UsesTheProxyFromTheEnvironment) {
  LoopbackServer proxy(Answer("HTTP/1.1 200 OK", "via proxy"));
  const std::string address = "http://127.0.0.1:" + std::to_string(proxy.port());
  ::setenv("http_proxy", address.c_str(), 1);
  const platform::HttpResult result =
      client_.Get("results.quorvel.invalid", 80, "/submit?a=1", "My Session", 10000, 20000);
  ::unsetenv("http_proxy");
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.body, "via proxy");
  const std::vector<std::string> requests = proxy.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(RequestLine(requests[0]), "GET http://results.quorvel.invalid/submit?a=1 HTTP/1.1");
}

}  // namespace
}  // namespace quorvel::x11
