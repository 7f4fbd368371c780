// HTTP servers on the loopback interface that the upload tests start
// themselves, and the answers they give; the same for both backends.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/loopback_socket.h"

namespace quorvel::loopback {

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
  explicit LoopbackServer(Reply reply);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  // 0 when the server could not start.
  int port() const { return port_; }
  std::vector<std::string> Requests();

 private:
  using Clock = std::chrono::steady_clock;

  bool Running() const { return !stop_ && Clock::now() < giveUp_; }
  void Serve();

  Reply reply_;
  SocketId listener_ = kNoSocket;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  const Clock::time_point giveUp_ = Clock::now() + std::chrono::seconds(10);
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A response head with Content-Length and "Connection: close".
std::string Head(const std::string& statusLine, std::size_t bodyBytes,
                 const std::string& extraHeaders = "");
// A whole response, after which the server closes the connection.
Reply Answer(const std::string& statusLine, const std::string& body,
             const std::string& extraHeaders = "");
// The first line of a request head.
std::string RequestLine(const std::string& head);

// Answers whose status and (cut) body the client must pass on.
struct StatusCase {
  const char* name;
  Reply answer;
  int status;
  std::size_t bodyBytes;
};
std::vector<StatusCase> StatusCases();

// Servers that answer too late for the client's total time limit.
struct SlowCase {
  const char* name;
  Reply reply;
};
std::vector<SlowCase> SlowCases();

}  // namespace quorvel::loopback
