#include "support/loopback_server.h"

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

LoopbackServer::LoopbackServer(Reply reply) : reply_(std::move(reply)) {
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
  while (Running()) {
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
    bool open = SendAll(connection, reply_.bytes);
    while (open && reply_.then != Reply::Then::Close && Running()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      if (reply_.then == Reply::Then::Trickle) open = SendAll(connection, "x");
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

std::vector<StatusCase> StatusCases() {
  return {
      StatusCase{"NotFound", Answer("HTTP/1.1 404 Not Found", "gone"), 404, 4},
      StatusCase{"ServerError", Answer("HTTP/1.0 500 Internal Server Error", ""), 500, 0},
      StatusCase{"Redirect", Answer("HTTP/1.1 302 Found", "", "Location: /elsewhere\r\n"), 302,
                 0},
      StatusCase{"LongBody", Answer("HTTP/1.1 200 OK", std::string(100000, 'b')), 200,
                 platform::kMaxResponseBodyBytes},
  };
}

std::vector<SlowCase> SlowCases() {
  return {
      SlowCase{"Silent", Reply{"", Reply::Then::Hold}},
      SlowCase{"Trickling", Reply{Head("HTTP/1.1 200 OK", 100000), Reply::Then::Trickle}},
  };
}

}  // namespace quorvel::loopback
