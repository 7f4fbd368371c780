// The checks each backend's HTTP client must pass against loopback servers
// (gtest expectations), so that both clients are held to one contract.
#pragma once

#include <chrono>
#include <string>

#include "platform/http_client.h"
#include "support/loopback_server.h"

namespace quorvel::loopback {

// What one whole exchange gave: the answer, its status, and for a 200 its
// body, read as the upload reads it.
struct ExchangeSeen {
  bool answered = false;
  int status = 0;
  bool bodyRead = false;  // ReadBody returned true
  std::string body;
};
// A GET of `path` from 127.0.0.1:port with the upload's User-Agent.
platform::HttpRequest LoopbackRequest(int port, const std::string& path = "/x",
                                      int connectTimeoutMs = 10000, int totalTimeoutMs = 20000);
// Send, StatusCode, and ReadBody when the status is 200.
ExchangeSeen RunExchange(platform::HttpClient& http, const platform::HttpRequest& request);

// A 200 to a GET of `path`: the path goes out as it is, with the session's
// User-Agent and the server's Host, and the answer's status and body come
// back.
void ExpectSendsThePathAsItIs(platform::HttpClient& http, const std::string& path);

// Every name of a table goes out in the upload's request line with the same
// bytes on every backend: blanks, '%' and '$' as '_', '&' and '=' escaped,
// a backslash and the dots that begin a segment escaped (WinINet would
// rewrite them), Windows-1252 bytes escaped.
void ExpectEveryNameReachesTheServerAsBuilt(platform::HttpClient& http);

// Every answer with a status line is an answer: its code is passed on, and
// only a 200's body is read, cut at the limit.
void ExpectPassesTheStatusOn(platform::HttpClient& http, const StatusCase& answer);

// A reply whose status cannot be read is an answer with status 0, soon,
// even when the server then holds the connection open.
void ExpectAnUnreadableStatusIsAnAnswer(platform::HttpClient& http, const UnreadableCase& reply);

// A port that nobody listens on is no answer, within `limit`.
void ExpectAClosedPortIsNoAnswerWithin(platform::HttpClient& http,
                                       std::chrono::milliseconds limit);

// A server that never answers, or that sends its answer so slowly that no
// single read waits long, ends the exchange when the total limit runs out:
// no answer, or a 200 whose body is not read.
void ExpectNoAnswerAfterTheTotalLimit(platform::HttpClient& http, const SlowCase& server);

}  // namespace quorvel::loopback
