// The checks each backend's HTTP client must pass against loopback servers
// (gtest expectations), so that both clients are held to one contract.
#pragma once

#include <chrono>
#include <string>

#include "platform/http_client.h"
#include "support/loopback_server.h"

namespace quorvel::loopback {

// A 200 to a GET of `path`: the path goes out as it is, with the session's
// User-Agent and the server's Host, and the answer's status and body come
// back.
void ExpectSendsThePathAsItIs(platform::HttpClient& http, const std::string& path);

// Every answer with a status line is an answer: its code is passed on, and
// only a 200's body is read, cut at the limit.
void ExpectPassesTheStatusOn(platform::HttpClient& http, const StatusCase& answer);

// A port that nobody listens on is no answer, within `limit`.
void ExpectAClosedPortIsNoAnswerWithin(platform::HttpClient& http,
                                       std::chrono::milliseconds limit);

// A server that never answers, or that sends its answer so slowly that no
// single read waits long, ends the exchange when the total limit runs out.
void ExpectNoAnswerAfterTheTotalLimit(platform::HttpClient& http, const SlowCase& server);

}  // namespace quorvel::loopback
