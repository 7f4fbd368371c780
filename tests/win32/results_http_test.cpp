// The upload's HTTP request through WinINet against servers on the loopback
// interface that the tests start themselves.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/win32/wininet_http_client.h"
#include "support/http_client_checks.h"
#include "support/loopback_server.h"
#include "support/upload_exchange.h"

namespace quorvel::win32 {
namespace {

using loopback::Answer;
using loopback::LoopbackServer;
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
  loopback::ExpectSendsThePathAsItIs(client_, kPath);
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

TEST_P(WinInetHttpStatus, PassesTheStatusOn) {
  loopback::ExpectPassesTheStatusOn(client_, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Answers, WinInetHttpStatus,
                         ::testing::ValuesIn(loopback::StatusCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WinInetHttp, AClosedPortIsNoAnswerSoon) {
  loopback::ExpectAClosedPortIsNoAnswerWithin(client_, std::chrono::milliseconds(5000));
}

class WinInetHttpSlow : public WinInetHttp, public ::testing::WithParamInterface<SlowCase> {};

TEST_P(WinInetHttpSlow, IsNoAnswerAfterTheTotalLimit) {
  loopback::ExpectNoAnswerAfterTheTotalLimit(client_, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Servers, WinInetHttpSlow, ::testing::ValuesIn(loopback::SlowCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel::win32
