// The upload's HTTP request against servers on the loopback interface that
// the tests start themselves.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/linux/curl_http_client.h"
#include "support/http_client_checks.h"
#include "support/loopback_server.h"
#include "support/upload_exchange.h"

namespace quorvel::linux_os {
namespace {

using loopback::Answer;
using loopback::LoopbackServer;
using loopback::RequestLine;
using loopback::SlowCase;
using loopback::StatusCase;

// The tests talk to their own servers directly, whatever proxy the machine
// that runs them has set.
class CurlHttp : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY", "no_proxy",
                             "NO_PROXY"}) {
      ::unsetenv(name);
    }
  }

  CurlHttpClient client_;
};

const std::string kPath =
    "/products/quorvel/submitresults.asp?VER=103&UserName=Test_User&email=a@b.c"
    "&cardName=A%26B/../%2e%2E/x&OS=XP";

TEST_F(CurlHttp, SendsThePathAsItIsAndReadsTheAnswer) {
  loopback::ExpectSendsThePathAsItIs(client_, kPath);
}

// The whole press of "Send results...": the exchange and what the user sees.
TEST_F(CurlHttp, UploadThroughARedirectOpensTheComparisonPage) {
  loopback::ExpectRedirectOpensTheComparisonPage(client_);
}

TEST_F(CurlHttp, UploadAnsweredByAStalled404ShowsTheMessageSoon) {
  loopback::ExpectStalledNotFoundShowsTheMessageSoon(client_);
}

// Redirects that cannot end in an answer are given up: one that loops after
// five redirects, one to another scheme at once (nothing is sent there).
TEST_F(CurlHttp, GivesUpRedirectsThatLeadNowhere) {
  const struct {
    const char* location;
    std::size_t requests;
  } cases[] = {{"/again", 6}, {"ftp://127.0.0.1/x", 1}};
  for (const auto& c : cases) {
    LoopbackServer server(
        Answer("HTTP/1.1 302 Found", "", std::string("Location: ") + c.location + "\r\n"));
    const platform::HttpResult result =
        client_.Get("127.0.0.1", server.port(), "/x", "My Session", 10000, 20000);
    EXPECT_FALSE(result.ok) << c.location;
    EXPECT_EQ(server.Requests().size(), c.requests) << c.location;
  }
}

class CurlHttpStatus : public CurlHttp, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(CurlHttpStatus, PassesTheStatusOn) {
  loopback::ExpectPassesTheStatusOn(client_, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Answers, CurlHttpStatus, ::testing::ValuesIn(loopback::StatusCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CurlHttp, AClosedPortIsNoAnswerAtOnce) {
  loopback::ExpectAClosedPortIsNoAnswerWithin(client_, std::chrono::milliseconds(2000));
}

class CurlHttpSlow : public CurlHttp, public ::testing::WithParamInterface<SlowCase> {};

TEST_P(CurlHttpSlow, IsNoAnswerAfterTheTotalLimit) {
  loopback::ExpectNoAnswerAfterTheTotalLimit(client_, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Servers, CurlHttpSlow, ::testing::ValuesIn(loopback::SlowCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// A proxy set in the environment is the user's choice and is used: the
// request goes to it, naming the results server, which is never contacted.
TEST_F(CurlHttp, UsesTheProxyFromTheEnvironment) {
  LoopbackServer proxy(Answer("HTTP/1.1 200 OK", "via proxy"));
  const std::string address = "http://127.0.0.1:" + std::to_string(proxy.port());
  ::setenv("http_proxy", address.c_str(), 1);
  const platform::HttpResult result =
      client_.Get("results.quorvel.invalid", 80, "/submit?a=1", "My Session", 10000, 20000);
  ::unsetenv("http_proxy");
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.body, "via proxy");
  const std::vector<std::string> requests = proxy.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(RequestLine(requests[0]), "GET http://results.quorvel.invalid/submit?a=1 HTTP/1.1");
}

}  // namespace
}  // namespace quorvel::linux_os
