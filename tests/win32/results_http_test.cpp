// The upload's HTTP request through WinINet against servers on the loopback
// interface that the tests start themselves.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/loopback_server.h"
#include "support/upload_exchange.h"
#include "platform/win32/wininet_http_client.h"

namespace quorvel::win32 {
namespace {

using Clock = std::chrono::steady_clock;
using loopback::Answer;
using loopback::HeaderLine;
using loopback::LoopbackServer;
using loopback::Reply;
using loopback::RequestLine;
using loopback::SlowCase;
using loopback::StatusCase;

class WinInetHttp : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(loopback::SocketsReady()) << "Winsock is needed for the test servers";
  }

  WinInetHttpClient client_;
};

const std::string kPath =
    "/products/quorvel/submitresults.asp?VER=103&UserName=Test_User&email=a@b.c"
    "&cardName=ATI/RADEON_9600/X1050!~'*()[]{}|^`;:,<>\"&OS=XP";

TEST_F(WinInetHttp, SendsThePathAsItIsAndReadsTheAnswer) {
  LoopbackServer server(Answer("HTTP/1.1 200 OK", "thanks"));
  ASSERT_NE(server.port(), 0);
  const platform::HttpResult result =
      client_.Get("127.0.0.1", server.port(), kPath, "My Session", 10000, 20000);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.status, 200);
  EXPECT_EQ(result.body, "thanks");

  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(RequestLine(requests[0]), "GET " + kPath + " HTTP/1.1");
  EXPECT_EQ(HeaderLine(requests[0], "User-Agent"), "User-Agent: My Session") << requests[0];
  EXPECT_EQ(HeaderLine(requests[0], "Host"), "Host: 127.0.0.1:" + std::to_string(server.port()))
      << requests[0];
}

// The whole press of "Send results...": the exchange and what the user sees.
TEST_F(WinInetHttp, UploadThroughARedirectOpensTheComparisonPage) {
  loopback::ExpectRedirectOpensTheComparisonPage(client_);
}

TEST_F(WinInetHttp, UploadAnsweredByAStalled404ShowsTheMessageSoon) {
  loopback::ExpectStalledNotFoundShowsTheMessageSoon(client_);
}

// The same results sent twice reach the server twice: nothing is answered
// from a cache.
TEST_F(WinInetHttp, EveryUploadReachesTheServer) {
  LoopbackServer server(Answer("HTTP/1.1 200 OK", "thanks", "Cache-Control: max-age=3600\r\n"));
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(client_.Get("127.0.0.1", server.port(), kPath, "My Session", 10000, 20000).ok);
  }
  EXPECT_EQ(server.Requests().size(), 2u);
}

// WinINet would take "/./" and "/x/../" out of the query and turn "\" into
// "/", changing the values; they arrive percent-encoded instead, which the
// server decodes to what was meant.
TEST_F(WinInetHttp, ValuesWithDotSegmentsAndBackslashesKeepTheirMeaning) {
  LoopbackServer server(Answer("HTTP/1.1 200 OK", ""));
  const platform::HttpResult result = client_.Get(
      "127.0.0.1", server.port(),
      "/a/submit.asp?UserName=a/../b&email=./c\\d/./e/.f..&cardName=A%26B/...&OS=XP", "My Session",
      10000, 20000);
  EXPECT_TRUE(result.ok);
  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(RequestLine(requests[0]),
            "GET /a/submit.asp?UserName=a/%2E%2E/b&email=./c%5Cd/%2E/e/%2Ef..&cardName=A%26B/"
            "%2E%2E%2E&OS=XP HTTP/1.1");
}

class WinInetHttpStatus : public WinInetHttp, public ::testing::WithParamInterface<StatusCase> {};

// Every answer with a status line is an answer: its code is passed on, and
// only a 200's body is read, cut at the limit.
TEST_P(WinInetHttpStatus, PassesTheStatusOn) {
  LoopbackServer server(GetParam().answer);
  const platform::HttpResult result =
      client_.Get("127.0.0.1", server.port(), "/x", "My Session", 10000, 20000);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.status, GetParam().status);
  EXPECT_EQ(result.body.size(), GetParam().bodyBytes);
  const std::string& sent = GetParam().answer.bytes;
  EXPECT_EQ(result.body, sent.substr(sent.find("\r\n\r\n") + 4, GetParam().bodyBytes));
  EXPECT_EQ(server.Requests().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Answers, WinInetHttpStatus,
                         ::testing::ValuesIn(loopback::StatusCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WinInetHttp, AClosedPortIsNoAnswerSoon) {
  int port = 0;
  {
    // A port that was free a moment ago and that nobody listens on.
    LoopbackServer server(Reply{});
    port = server.port();
  }
  const auto start = Clock::now();
  const platform::HttpResult result =
      client_.Get("127.0.0.1", port, "/x", "My Session", 10000, 20000);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.status, 0);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
}

class WinInetHttpSlow : public WinInetHttp, public ::testing::WithParamInterface<SlowCase> {};

// A server that never answers, or that sends its answer so slowly that no
// single read waits long, ends the exchange when the total limit runs out.
TEST_P(WinInetHttpSlow, IsNoAnswerAfterTheTotalLimit) {
  LoopbackServer server(GetParam().reply);
  const auto start = Clock::now();
  const platform::HttpResult result =
      client_.Get("127.0.0.1", server.port(), "/x", "My Session", 300, 800);
  const auto elapsed = Clock::now() - start;
  EXPECT_FALSE(result.ok);
  EXPECT_GE(elapsed, std::chrono::milliseconds(750));
  EXPECT_LT(elapsed, std::chrono::seconds(3));
  EXPECT_EQ(server.Requests().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Servers, WinInetHttpSlow, ::testing::ValuesIn(loopback::SlowCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel::win32
