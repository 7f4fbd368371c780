// One HTTP GET request, bounded in time.
#pragma once

#include <cstddef>
#include <string>

namespace quorvel::platform {

// The most of a response body that is kept; the rest is not read.
constexpr std::size_t kMaxResponseBodyBytes = 64 * 1024;

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
  // reads the response. `path` is sent as it is (already encoded). The
  // connection must be made within connectTimeoutMs and the whole exchange
  // must end within totalTimeoutMs; otherwise the result has ok false.
  // The body holds at most kMaxResponseBodyBytes.
  virtual HttpResult Get(const std::string& host, int port, const std::string& path,
                         const std::string& userAgent, int connectTimeoutMs,
                         int totalTimeoutMs) = 0;
};

}  // namespace quorvel::platform
