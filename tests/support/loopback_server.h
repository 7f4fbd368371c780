// HTTP servers on the loopback interface that the upload tests start
// themselves, and the answers they give; the same for both backends.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <ostream>
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
  // The n-th connection gets replies[n], and the last reply serves every
  // connection after that.
  explicit LoopbackServer(std::vector<Reply> replies);
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

  std::vector<Reply> replies_;
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
// The line of a request head with the given header name, whatever the
// letter case of the name; empty when there is none.
std::string HeaderLine(const std::string& head, const std::string& name);

// A 302 to "/final" for the first request, then a 200 with `body`.
std::vector<Reply> RedirectThenAnswer(const std::string& body);
// A 404 head that announces a body and then sends nothing more.
Reply NotFoundWithStalledBody();

// Answers whose status and (cut) body the client must pass on.
struct StatusCase {
  const char* name;
  Reply answer;
  int status;
  std::size_t bodyBytes;
};
std::vector<StatusCase> StatusCases();

// Replies from which no status can be read: they are answers all the same
// (the "site down" message). `replies` serves the connections in order.
struct UnreadableCase {
  const char* name;
  std::vector<Reply> replies;
};
std::vector<UnreadableCase> UnreadableCases();

// Servers that answer too late for the client's total time limit; some send
// the head of a 200 in time, but not its body.
struct SlowCase {
  const char* name;
  Reply reply;
  bool headComes;
};
std::vector<SlowCase> SlowCases();

// Test cases print as their names.
inline void PrintTo(const StatusCase& c, std::ostream* out) { *out << c.name; }
inline void PrintTo(const UnreadableCase& c, std::ostream* out) { *out << c.name; }
inline void PrintTo(const SlowCase& c, std::ostream* out) { *out << c.name; }

}  // namespace quorvel::loopback
