// Uploading results: the request path, the answer's handling, and which
// server is asked.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "results/request_path.h"
#include "results/send_results.h"
#include "site/site_addresses.h"
#include "support/reference_upload.h"

namespace quorvel {
namespace {

using Example = test_support::ReferenceUpload;
using test_support::kReferencePath;

TEST(RequestPath, TheReferenceExampleByteForByte) {
  const Example e;
  EXPECT_EQ(BuildRequestPath(e.info, e.scores, "Test User", ""), kReferencePath);
}

TEST(RequestPath, FlagsAndTheOperatingSystem) {
  Example e;
  e.info.constantAlphaAccelerated = 0;
  e.info.perPixelAlphaAccelerated = 1;
  e.info.gradientFillAccelerated = 0;
  e.info.multipleProcessors = 1;
  e.info.isWindowsXP = 0;
  const std::string path = BuildRequestPath(e.info, e.scores, "", "");
  EXPECT_NE(path.find("&Alpha=0&PerPixel=1&grad=0&"), std::string::npos) << path;
  EXPECT_NE(path.find("&multiCPU=1&"), std::string::npos) << path;
  EXPECT_EQ(path.substr(path.size() - 8), "&OS=2000");
}

TEST(RequestPath, ValuesCannotBreakTheQueryOrTheRequestLine) {
  struct Row {
    const char* name;
    const char* encoded;
  };
  const Row rows[] = {
      {"A B%C$D", "A_B_C_D"},
      {"Tom & Jerry", "Tom_%26_Jerry"},
      {"a=b", "a%3Db"},
      {"#1+2?", "%231%2B2%3F"},
      {"Zo\xC3\xAB", "Zo%C3%AB"},
      {"x\r\nHost: evil", "x%0D%0AHost:_evil"},
      {"tab\tdel\x7F", "tab%09del%7F"},
      {"keep-_.~!*'();:@/,[]", "keep-_.~!*'();:@/,[]"},
      // What WinINet would tidy away as if the query were a file path.
      {"a\\b", "a%5Cb"},
      {"a/../b", "a/%2E%2E/b"},
      {"x/./y/.z../", "x/%2E/y/%2Ez../"},
      {"/...", "/%2E%2E%2E"},
      {"./x", "./x"},  // after '=', not at a segment's start
      {"a\\..\\b", "a%5C..%5Cb"},
  };
  const Example e;
  for (const Row& r : rows) {
    EXPECT_EQ(QueryValue(r.name), r.encoded);
    const std::string path = BuildRequestPath(e.info, e.scores, r.name, r.name);
    const std::string both =
        std::string("&UserName=") + r.encoded + "&email=" + r.encoded + "&cardName=";
    EXPECT_NE(path.find(both), std::string::npos) << path;
  }
  // A NUL inside a value is encoded too, not a terminator.
  EXPECT_EQ(QueryValue(std::string("a\0b", 3)), "a%00b");
  // The facts go through the same encoding as the user's entries.
  Example odd;
  odd.info.adapterName = "R&D Card=1";
  odd.info.cpuIdentifier = "x86 100% $";
  const std::string path = BuildRequestPath(odd.info, odd.scores, "", "");
  EXPECT_NE(path.find("&cardName=R%26D_Card%3D1&"), std::string::npos) << path;
  EXPECT_NE(path.find("&cpuID=x86_100___&"), std::string::npos) << path;
}

// --- SendResults ---------------------------------------------------------------

// Writes "sleep", "page" and "box" into the log the fake HTTP client
// writes its "send", "status", "body" and "release" into.
class LoggingServices : public fake::FakeServices {
 public:
  explicit LoggingServices(std::vector<std::string>& log) : log_(log) {}
  void Sleep(unsigned ms) override {
    log_.push_back("sleep " + std::to_string(ms));
    FakeServices::Sleep(ms);
  }
  void OpenWebPage(platform::DialogHost* owner, const std::string& address,
                   platform::Show how) override {
    log_.push_back("page " + address + " show " + std::to_string(static_cast<int>(how)) +
                   (owner ? " owned" : ""));
    FakeServices::OpenWebPage(owner, address, how);
  }
  void MessageBox(platform::DialogHost* owner, const std::string& text, const std::string& caption,
                  platform::MessageIcon icon) override {
    log_.push_back("box " + caption + (owner ? " owned" : ""));
    FakeServices::MessageBox(owner, text, caption, icon);
  }

 private:
  std::vector<std::string>& log_;
};

class SendResultsTest : public testing::Test {
 protected:
  SendResultsTest() { http.log = &log; }

  SendOutcome Send(fake::FakeHttp::Answer answer) {
    http.answer = std::move(answer);
    return SendResults(http, services, &owner, ResultsServer{}, example.info, example.scores,
                       "Test User", "");
  }

  std::vector<std::string> log;
  fake::FakeHttp http;
  LoggingServices services{log};
  fake::FakePlatform platform;
  fake::FakeDialogHost owner{platform, 102};
  Example example;
};

TEST_F(SendResultsTest, SendsOneBoundedRequestToTheResultsServer) {
  Send({true, 200, "ok"});
  ASSERT_EQ(http.requests.size(), 1u);
  const platform::HttpRequest& r = http.requests[0];
  EXPECT_EQ(r.host, "results.quorvel.net");
  EXPECT_EQ(r.port, 80);
  EXPECT_EQ(r.path, kReferencePath);
  EXPECT_EQ(r.userAgent, "My Session");
  EXPECT_EQ(r.connectTimeoutMs, 10000);
  EXPECT_EQ(r.totalTimeoutMs, 20000);
}

// The wait comes between the sending and the status; the request, the
// connection and the session are released only after the page or the
// message.
TEST_F(SendResultsTest, Status200ReadsTheBodyAndOpensTheComparisonPageMaximised) {
  EXPECT_EQ(Send({true, 200, "thanks$more"}), SendOutcome::ComparisonOpened);
  EXPECT_EQ(log, (std::vector<std::string>{"send", "sleep 1000", "status", "body",
                                           "page http://www.quorvel.net/results.asp show 3 owned",
                                           "release"}));
  EXPECT_TRUE(services.messageBoxes.empty());
}

TEST_F(SendResultsTest, AnyOtherStatusSaysTheSiteIsDownWithoutReadingTheBody) {
  for (int status : {404, 500, 0, 302}) {
    SCOPED_TRACE(status);
    log.clear();
    services.messageBoxes.clear();
    EXPECT_EQ(Send({true, status, "body"}), SendOutcome::SiteDown);
    EXPECT_EQ(log, (std::vector<std::string>{"send", "sleep 1000", "status",
                                             "box Website inaccessable owned", "release"}));
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(services.messageBoxes[0].text,
              "The Quorvel website is currently down.\n\nPlease try again later");
    EXPECT_EQ(services.messageBoxes[0].icon, platform::MessageIcon::Exclamation);
  }
}

TEST_F(SendResultsTest, NoAnswerShowsNothingAndDoesNotWait) {
  EXPECT_EQ(Send({false, 0, ""}), SendOutcome::NoAnswer);
  EXPECT_EQ(log, (std::vector<std::string>{"send", "release"}));
  EXPECT_TRUE(services.messageBoxes.empty());
}

// A failure while the body is read is a failure of the exchange: no page,
// no message.
TEST_F(SendResultsTest, A200WhoseBodyBreaksOffShowsNothing) {
  EXPECT_EQ(Send({true, 200, "", false}), SendOutcome::NoAnswer);
  EXPECT_EQ(log, (std::vector<std::string>{"send", "sleep 1000", "status", "body", "release"}));
  EXPECT_TRUE(services.pagesOpened.empty());
  EXPECT_TRUE(services.messageBoxes.empty());
}

TEST_F(SendResultsTest, GoesToTheServerItIsGiven) {
  http.answer = {true, 200, ""};
  SendResults(http, services, &owner, ResultsServer{"127.0.0.1", 8080}, example.info,
              example.scores, "", "");
  ASSERT_EQ(http.requests.size(), 1u);
  EXPECT_EQ(http.requests[0].host, "127.0.0.1");
  EXPECT_EQ(http.requests[0].port, 8080);
  // The comparison page is that server's own.
  EXPECT_EQ(log[log.size() - 2], "page http://127.0.0.1:8080/results.asp show 3 owned");
}

TEST(ComparisonPage, BuiltInServerKeepsTheBuiltInPageOthersGetTheirOwn) {
  EXPECT_EQ(ComparisonPageAddress(ResultsServer{}), "http://www.quorvel.net/results.asp");
  EXPECT_EQ(ComparisonPageAddress(ResultsServer{"results.test", 80}),
            "http://results.test/results.asp");
  EXPECT_EQ(ComparisonPageAddress(ResultsServer{"results.quorvel.net", 8080}),
            "http://results.quorvel.net:8080/results.asp");
}

// --- Which server ------------------------------------------------------------

TEST(ResultsUrl, OnlyHttpHostAndPortAreAccepted) {
  struct Row {
    const char* url;
    bool ok;
    const char* host;
    int port;
  };
  const Row rows[] = {
      {"http://localhost", true, "localhost", 80},
      {"http://localhost/", true, "localhost", 80},
      {"http://127.0.0.1:8080", true, "127.0.0.1", 8080},
      {"http://results.test:65535/", true, "results.test", 65535},
      {"HTTP://Host-1.example:1", true, "Host-1.example", 1},
      {"http://h:000080", false, "", 0},  // more than five digits is refused...
      {"http://h:08080", true, "h", 8080},  // ...five with a leading zero are fine
      {"http://h:0", false, "", 0},
      {"http://h:65536", false, "", 0},
      {"http://h:", false, "", 0},
      {"http://h:-1", false, "", 0},
      {"http://h:80x", false, "", 0},
      {"http://h:80:81", false, "", 0},
      {"http://", false, "", 0},
      {"http:///", false, "", 0},
      {"http://:8080", false, "", 0},
      {"http://h//", false, "", 0},
      {"http://h/path", false, "", 0},
      {"http://h?x=1", false, "", 0},
      {"http://user@h", false, "", 0},
      {"http://h h", false, "", 0},
      {" http://h", false, "", 0},
      {"https://h", false, "", 0},
      {"ftp://h", false, "", 0},
      {"h:8080", false, "", 0},
      {"", false, "", 0},
  };
  for (const Row& r : rows) {
    ResultsServer server{"before", 1234};
    EXPECT_EQ(ParseResultsUrl(r.url, server), r.ok) << '"' << r.url << '"';
    if (r.ok) {
      EXPECT_EQ(server.host, r.host) << r.url;
      EXPECT_EQ(server.port, r.port) << r.url;
    } else {
      EXPECT_EQ(server.host, "before") << r.url;
      EXPECT_EQ(server.port, 1234) << r.url;
    }
  }
}

TEST(ResultsUrl, AMissingOrMalformedOverrideKeepsTheDefault) {
  const ResultsServer fallback = ResultsServerFrom(nullptr);
  EXPECT_EQ(fallback.host, "results.quorvel.net");
  EXPECT_EQ(fallback.port, 80);
  const ResultsServer bad = ResultsServerFrom("https://elsewhere:443");
  EXPECT_EQ(bad.host, "results.quorvel.net");
  EXPECT_EQ(bad.port, 80);
  const ResultsServer local = ResultsServerFrom("http://localhost:8000/");
  EXPECT_EQ(local.host, "localhost");
  EXPECT_EQ(local.port, 8000);
}

}  // namespace
}  // namespace quorvel
