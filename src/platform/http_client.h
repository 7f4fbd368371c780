// One HTTP GET request, bounded in time.
#pragma once

#include <cstddef>
#include <string>

namespace quorvel::platform {

// The most of a response body that is read; the rest is not waited for.
constexpr std::size_t kMaxResponseBodyBytes = 255;

struct HttpResult {
  // False when there was no answer: the connection, the request or the
  // reading of the response failed, or a time limit ran out.
  bool ok = false;
  // The response's status code; 0 when it could not be read.
  int status = 0;
  std::string body;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;

  // Sends "GET `path` HTTP/1.x" to host:port with the given User-Agent and
  // no other header of the program's own (no Accept, Pragma or
  // Cache-Control), follows HTTP redirects (at most 5), and reads the final
  // response's head. `path` is sent as it is (already encoded). Only a
  // status of 200 has its body read, at most kMaxResponseBodyBytes of it;
  // any other status is the answer as soon as its head is in, however slow
  // its body. The connection must be made within connectTimeoutMs and the
  // whole exchange must end within totalTimeoutMs; otherwise the result has
  // ok false, as it has when a redirect cannot be followed.
  virtual HttpResult Get(const std::string& host, int port, const std::string& path,
                         const std::string& userAgent, int connectTimeoutMs,
                         int totalTimeoutMs) = 0;
};

}  // namespace quorvel::platform
