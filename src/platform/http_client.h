// One HTTP GET request, held open while its answer is looked at, and
// bounded in time.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace quorvel::platform {

// The most of a response body that is read; the rest is not waited for.
constexpr std::size_t kMaxResponseBodyBytes = 255;

struct HttpRequest {
  std::string host;
  int port = 80;
  // The path and query, already encoded; sent as they are. WinINet tidies
  // an object name like a file path ('\' becomes '/', "/./" and "/x/../"
  // are taken out, in the query too), so a path must hold no '\' and no
  // segment that begins with '.' for both backends to send the same bytes;
  // BuildRequestPath makes none.
  std::string path;
  std::string userAgent;
  // The connection must be made within connectTimeoutMs. Every wait of the
  // exchange (Send, ReadBody) ends by totalTimeoutMs after Send began, the
  // caller's own time between the calls included; a limit of 0 or less
  // leaves no time at all.
  int connectTimeoutMs = 0;
  int totalTimeoutMs = 0;
};

// One request that has been sent, and the backend's objects it needs (on
// Win32 the request, the connection and the session), held until the
// exchange is destroyed: the caller looks at the answer and acts on it
// before they are released. Used on the thread that sent it; nothing throws.
class HttpExchange {
 public:
  // Releases the backend's objects, in this order: the request, the
  // connection, the session. Waits for nothing: a reply still on its way is
  // dropped.
  virtual ~HttpExchange() = default;

  // True when the server answered: the request (the last redirect's, when
  // redirects were followed) went out and the server replied to it, if only
  // by closing the connection, whether or not a status can be read from the
  // reply. False when there was no answer: the connection could not be made
  // (refused, a host that does not resolve), the network failed, a redirect
  // could not be followed, or a time limit ran out.
  virtual bool Answered() const = 0;

  // The answer's status code, asked for now; waits for nothing. 0 when it
  // cannot be read (a reply that is not HTTP, a garbled status line, a
  // connection closed before a status line or without a byte) and when
  // there was no answer.
  virtual int StatusCode() = 0;

  // Reads the body of an answer with status 200, at most
  // kMaxResponseBodyBytes of it: until that many bytes, the end of the body
  // or the total time limit. True with `body` holding what was read; false
  // (and `body` empty) when the reading fails, the limit runs out first, or
  // there was no answer. For any other status nothing is read: true, `body`
  // empty.
  virtual bool ReadBody(std::string& body) = 0;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;

  // Sends "GET `path` HTTP/1.1" to host:port with the given User-Agent and
  // no other header of the program's own (no Accept, Pragma or
  // Cache-Control), follows HTTP redirects (at most 5), and returns once the
  // final response's head is in, or once it is clear there is no answer.
  // Any status other than 200 is the answer as soon as its head is in,
  // however slow its body. Blocks the calling thread, within the request's
  // time limits. Never null.
  virtual std::unique_ptr<HttpExchange> Send(const HttpRequest& request) = 0;
};

}  // namespace quorvel::platform
