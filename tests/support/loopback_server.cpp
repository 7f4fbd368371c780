#include "support/loopback_server.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/http_client.h"

namespace quorvel::loopback {
namespace {

// Closes a socket when it goes out of scope.
class SocketCloser {
 public:
  explicit SocketCloser(SocketId s) : socket_(s) {}
  ~SocketCloser() {
    if (socket_ != kNoSocket) CloseSocket(socket_);
  }
  SocketCloser(const SocketCloser&) = delete;
  SocketCloser& operator=(const SocketCloser&) = delete;

 private:
  SocketId socket_;
};

bool SendAll(SocketId s, const std::string& bytes) {
  const char* next = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const long sent = Send(s, next, left);
    if (sent <= 0) return false;
    next += sent;
    left -= static_cast<std::size_t>(sent);
  }
  return true;
}

}  // namespace

LoopbackServer::LoopbackServer(Reply reply) : LoopbackServer(std::vector<Reply>{std::move(reply)}) {}

LoopbackServer::LoopbackServer(std::vector<Reply> replies) : replies_(std::move(replies)) {
  if (replies_.empty()) replies_.push_back(Reply{});
  listener_ = ListenOnLoopback(&port_);
  if (listener_ == kNoSocket) return;
  thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (listener_ != kNoSocket) CloseSocket(listener_);
}

std::vector<std::string> LoopbackServer::Requests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void LoopbackServer::Serve() {
  for (std::size_t served = 0; Running();) {
    if (!WaitReadable(listener_, 20)) continue;
    const SocketId connection = Accept(listener_);
    if (connection == kNoSocket) continue;
    SocketCloser closer(connection);
    std::string head;
    while (Running() && head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
      if (!WaitReadable(connection, 20)) continue;
      char buffer[4096];
      const long got = Receive(connection, buffer, sizeof buffer);
      if (got <= 0) break;
      head.append(buffer, static_cast<std::size_t>(got));
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(head);
    }
    const Reply& reply = replies_[std::min(served++, replies_.size() - 1)];
    bool open = SendAll(connection, reply.bytes);
    while (open && reply.then != Reply::Then::Close && Running()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      if (reply.then == Reply::Then::Trickle) open = SendAll(connection, "x");
    }
    ShutdownSending(connection);
  }
}

std::string Head(const std::string& statusLine, std::size_t bodyBytes,
                 const std::string& extraHeaders) {
  return statusLine + "\r\nContent-Length: " + std::to_string(bodyBytes) +
         "\r\nConnection: close\r\n" + extraHeaders + "\r\n";
}

Reply Answer(const std::string& statusLine, const std::string& body,
             const std::string& extraHeaders) {
  return Reply{Head(statusLine, body.size(), extraHeaders) + body, Reply::Then::Close};
}

std::string RequestLine(const std::string& head) { return head.substr(0, head.find("\r\n")); }

std::string HeaderLine(const std::string& head, const std::string& name) {
  std::string lower = head;
  std::string key = "\r\n" + name + ":";
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::size_t at = lower.find(key);
  if (at == std::string::npos) return "";
  return head.substr(at + 2, head.find("\r\n", at + 2) - at - 2);
}

std::vector<Reply> RedirectThenAnswer(const std::string& body) {
  return {Answer("HTTP/1.1 302 Found", "", "Location: /final\r\n"),
          Answer("HTTP/1.1 200 OK", body)};
}

Reply NotFoundWithStalledBody() {
  return Reply{Head("HTTP/1.1 404 Not Found", 1000), Reply::Then::Hold};
}

std::vector<StatusCase> StatusCases() {
  return {
      // Only a 200 has its body read.
      StatusCase{"NotFound", Answer("HTTP/1.1 404 Not Found", "gone"), 404, 0},
      StatusCase{"ServerError", Answer("HTTP/1.0 500 Internal Server Error", "oops"), 500, 0},
      // A redirect that names no place cannot be followed: it is the answer.
      StatusCase{"RedirectToNowhere", Answer("HTTP/1.1 302 Found", "moved"), 302, 0},
      StatusCase{"LongBody", Answer("HTTP/1.1 200 OK", std::string(100000, 'b')), 200,
                 platform::kMaxResponseBodyBytes},
  };
}

std::vector<UnreadableCase> UnreadableCases() {
  return {
      UnreadableCase{"NotHttp", {Reply{"xyz", Reply::Then::Close}}},
      UnreadableCase{"NoStatusCode", {Reply{"HTTP/1.1 \r\n\r\n", Reply::Then::Close}}},
      // The message must not wait for a connection the server keeps open.
      UnreadableCase{"CodeNotANumberThenHeld",
                     {Reply{Head("HTTP/1.1 abc Weird", 5), Reply::Then::Hold}}},
      UnreadableCase{"ClosedInTheStatusLine", {Reply{"HTTP/1.1", Reply::Then::Close}}},
      UnreadableCase{"ClosedWithoutAByte", {Reply{"", Reply::Then::Close}}},
  };
}

std::vector<SlowCase> SlowCases() {
  return {
      SlowCase{"Silent", Reply{"", Reply::Then::Hold}, false},
      SlowCase{"Trickling", Reply{Head("HTTP/1.1 200 OK", 100000), Reply::Then::Trickle}, true},
  };
}

}  // namespace quorvel::loopback
