// cpp-httplib's server with a bound on the whole time of a request: a
// client that sends its request slowly, byte by byte, is dropped once the
// bound has passed, not kept for as long as each byte comes in time. One
// request per connection (the program and browsers open a new one).
#pragma once

#include <httplib.h>

#include <chrono>

namespace quorvel::site {

class BoundedServer : public httplib::Server {
 public:
  // `requestTime`: from the accepted connection to the end of the request's
  // headers (and body). `ioTime`: the longest wait for one read or write.
  BoundedServer(std::chrono::milliseconds requestTime, std::chrono::milliseconds ioTime)
      : requestTime_(requestTime), ioTime_(ioTime) {}

 private:
  bool process_and_close_socket(socket_t sock) override;

  std::chrono::milliseconds requestTime_;
  std::chrono::milliseconds ioTime_;
};

}  // namespace quorvel::site
