#include "support/http_client_checks.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvel::loopback {
namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

void ExpectSendsThePathAsItIs(platform::HttpClient& http, const std::string& path) {
  LoopbackServer server(Answer("HTTP/1.1 200 OK", "thanks"));
  ASSERT_NE(server.port(), 0);
  const platform::HttpResult result =
      http.Get("127.0.0.1", server.port(), path, "My Session", 10000, 20000);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.status, 200);
  EXPECT_EQ(result.body, "thanks");

  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(RequestLine(requests[0]), "GET " + path + " HTTP/1.1");
  EXPECT_EQ(HeaderLine(requests[0], "User-Agent"), "User-Agent: My Session") << requests[0];
  EXPECT_EQ(HeaderLine(requests[0], "Host"), "Host: 127.0.0.1:" + std::to_string(server.port()))
      << requests[0];
}

void ExpectPassesTheStatusOn(platform::HttpClient& http, const StatusCase& answer) {
  LoopbackServer server(answer.answer);
  const platform::HttpResult result =
      http.Get("127.0.0.1", server.port(), "/x", "My Session", 10000, 20000);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.status, answer.status);
  EXPECT_EQ(result.body.size(), answer.bodyBytes);
  const std::string& sent = answer.answer.bytes;
  EXPECT_EQ(result.body, sent.substr(sent.find("\r\n\r\n") + 4, answer.bodyBytes));
  EXPECT_EQ(server.Requests().size(), 1u);
}

void ExpectAClosedPortIsNoAnswerWithin(platform::HttpClient& http,
                                       std::chrono::milliseconds limit) {
  int port = 0;
  {
    // A port that was free a moment ago and that nobody listens on.
    LoopbackServer server(Reply{});
    port = server.port();
  }
  const auto start = Clock::now();
  const platform::HttpResult result = http.Get("127.0.0.1", port, "/x", "My Session", 10000, 20000);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.status, 0);
  EXPECT_LT(Clock::now() - start, limit);
}

void ExpectNoAnswerAfterTheTotalLimit(platform::HttpClient& http, const SlowCase& server) {
  LoopbackServer slow(server.reply);
  const auto start = Clock::now();
  const platform::HttpResult result =
      http.Get("127.0.0.1", slow.port(), "/x", "My Session", 300, 800);
  const auto elapsed = Clock::now() - start;
  EXPECT_FALSE(result.ok);
  EXPECT_GE(elapsed, std::chrono::milliseconds(750));
  EXPECT_LT(elapsed, std::chrono::seconds(3));
  EXPECT_EQ(slow.Requests().size(), 1u);
}

}  // namespace quorvel::loopback
