// cpp-httplib's server with bounds on the whole of a request: a client
// that sends its request slowly, byte by byte, is dropped once its time has
// passed, not kept for as long as each byte comes in time; and one that
// sends more than kMaxRequestBytes (headers without end) is dropped there.
// One request per connection (the program and browsers open a new one).
// cpp-httplib answers 414 to a request line longer than about 8 KiB; this
// server takes longer ones (the program's upload with long texts): it hands
// the library the line without its query and keeps the whole target for
// the handler (RequestTarget).
#pragma once

#include <httplib.h>

#include <chrono>
#include <string>

namespace quorvel::results_site {

// Room for the longest upload query (upload/parse_upload.h) with its
// request line and headers.
constexpr std::size_t kMaxRequestBytes = 256 * 1024;

// The longest request line cpp-httplib reads itself ("GET ", target,
// " HTTP/1.1", CR LF); a longer one loses its query on the way to it.
constexpr std::size_t kLibraryRequestLineBytes = 8000;

// The target of `req` with its whole query, also when the request line was
// too long for the library. Call it in the request's handler.
std::string RequestTarget(const httplib::Request& req);

class BoundedServer : public httplib::Server {
 public:
  // `requestTime`: from the accepted connection to the end of the request's
  // headers (and body). `ioTime`: the longest wait for one read or write.
  BoundedServer(std::chrono::milliseconds requestTime, std::chrono::milliseconds ioTime)
      : requestTime_(requestTime), ioTime_(ioTime) {}

  // Binds to `host`:`port` (0: any free port) and listens with a queue of
  // SOMAXCONN connections, not cpp-httplib's 5: beyond its queue a burst of
  // clients would wait a second for their connections to be retried. The
  // port bound, or -1.
  int Bind(const std::string& host, int port);

 private:
  bool process_and_close_socket(socket_t sock) override;

  std::chrono::milliseconds requestTime_;
  std::chrono::milliseconds ioTime_;
};

}  // namespace quorvel::results_site
