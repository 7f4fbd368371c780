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
using loopback::LoopbackRequest;
using loopback::RunExchange;
using loopback::SlowCase;
using loopback::StatusCase;
using loopback::UnreadableCase;

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

TEST_F(CurlHttp, EveryNameReachesTheServerAsBuilt) {
  loopback::ExpectEveryNameReachesTheServerAsBuilt(client_);
}

// The whole press of "Send results...": the exchange and what the user sees.
TEST_F(CurlHttp, UploadThroughARedirectOpensTheComparisonPage) {
  loopback::ExpectRedirectOpensTheComparisonPage(client_);
}

TEST_F(CurlHttp, UploadAnsweredByAStalled404ShowsTheMessageSoon) {
  loopback::ExpectStalledNotFoundShowsTheMessageSoon(client_);
}

TEST_F(CurlHttp, UploadAnsweredWithAGarbledStatusLineShowsTheMessageSoon) {
  loopback::ExpectAGarbledStatusLineShowsTheMessageSoon(client_);
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
    EXPECT_FALSE(RunExchange(client_, LoopbackRequest(server.port())).answered) << c.location;
    EXPECT_EQ(server.Requests().size(), c.requests) << c.location;
  }
}

class CurlHttpStatus : public CurlHttp, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(CurlHttpStatus, PassesTheStatusOn) {
  loopback::ExpectPassesTheStatusOn(client_, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Answers, CurlHttpStatus, ::testing::ValuesIn(loopback::StatusCases()),
                         [](const auto& info) { return std::string(info.param.name); });

class CurlHttpUnreadable : public CurlHttp, public ::testing::WithParamInterface<UnreadableCase> {};

TEST_P(CurlHttpUnreadable, IsAnAnswerWithoutAStatus) {
  loopback::ExpectAnUnreadableStatusIsAnAnswer(client_, GetParam());
}

// Two more, where WinINet reads a status of its own: it takes a first line
// that is not a status line for the start of an HTTP/0.9 body with status
// 200 (the comparison page opens), and after a redirect whose reply cannot
// be read it keeps the redirect's status (the message shows all the same).
INSTANTIATE_TEST_SUITE_P(
    Replies, CurlHttpUnreadable,
    ::testing::ValuesIn([] {
      std::vector<UnreadableCase> cases = loopback::UnreadableCases();
      const loopback::Reply notHttp{"xyz", loopback::Reply::Then::Close};
      cases.push_back(UnreadableCase{
          "ALineThatIsNotAStatusLine",
          {loopback::Reply{"hello there\r\n", loopback::Reply::Then::Close}}});
      cases.push_back(UnreadableCase{
          "AfterARedirect", {Answer("HTTP/1.1 302 Found", "", "Location: /final\r\n"), notHttp}});
      return cases;
    }()),
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
  platform::HttpRequest request = LoopbackRequest(80, "/submit?a=1");
  request.host = "results.quorvel.invalid";
  const loopback::ExchangeSeen seen = RunExchange(client_, request);
  ::unsetenv("http_proxy");
  EXPECT_TRUE(seen.answered);
  EXPECT_EQ(seen.body, "via proxy");
  const std::vector<std::string> requests = proxy.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(RequestLine(requests[0]), "GET http://results.quorvel.invalid/submit?a=1 HTTP/1.1");
}

}  // namespace
}  // namespace quorvel::linux_os
