#include "support/upload_exchange.h"

#include <gtest/gtest.h>

#include <thread>
#include <utility>

namespace quorvel::loopback {
namespace {

using Clock = std::chrono::steady_clock;

class RecordingServices : public platform::Services {
 public:
  explicit RecordingServices(UploadSeen& seen) : seen_(seen) {}

  std::uint32_t TickCount() override { return 0; }
  void Sleep(unsigned ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  std::int64_t PerformanceCounter() override { return 0; }
  std::int64_t PerformanceFrequency() override { return 1; }
  std::string LoadString(int) override { return ""; }
  void SetCursorPos(int, int) override {}
  void MessageBox(platform::DialogHost*, const std::string& text, const std::string& caption,
                  platform::MessageIcon) override {
    seen_.messageBoxes.push_back(caption + ": " + text);
  }
  void OpenWebPage(platform::DialogHost*, const std::string& address, platform::Show) override {
    seen_.pagesOpened.push_back(address);
  }
  bool StartThread(std::function<void()>) override { return false; }

 private:
  UploadSeen& seen_;
};

void ExpectTheMessageSoon(const UploadSeen& seen) {
  EXPECT_EQ(seen.outcome, SendOutcome::SiteDown);
  EXPECT_EQ(seen.messageBoxes,
            std::vector<std::string>{std::string(kSiteDownCaption) + ": " + kSiteDownText});
  EXPECT_TRUE(seen.pagesOpened.empty());
  EXPECT_GE(seen.took, std::chrono::milliseconds(1000));
  EXPECT_LT(seen.took, std::chrono::milliseconds(2500));
}

}  // namespace

UploadSeen PressSendResults(platform::HttpClient& http, std::vector<Reply> replies) {
  UploadSeen seen;
  LoopbackServer server(std::move(replies));
  RecordingServices services(seen);
  ResultsServer site;
  site.host = "127.0.0.1";
  site.port = server.port();
  SystemInfo info;
  info.adapterName = "Test Adapter";
  BenchmarkScores scores;
  const Clock::time_point start = Clock::now();
  seen.outcome = SendResults(http, services, nullptr, site, info, scores, "Test User", "a@b.c");
  seen.took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
  seen.requests = server.Requests();
  seen.port = site.port;
  return seen;
}

void ExpectRedirectOpensTheComparisonPage(platform::HttpClient& http) {
  const UploadSeen seen = PressSendResults(http, RedirectThenAnswer("thanks"));
  EXPECT_EQ(seen.outcome, SendOutcome::ComparisonOpened);
  // The page of the server the results went to.
  EXPECT_EQ(seen.pagesOpened, std::vector<std::string>{"http://127.0.0.1:" +
                                                       std::to_string(seen.port) + "/results.asp"});
  EXPECT_TRUE(seen.messageBoxes.empty());
  ASSERT_EQ(seen.requests.size(), 2u);
  EXPECT_EQ(RequestLine(seen.requests[1]), "GET /final HTTP/1.1");
  for (const std::string& head : seen.requests) {
    for (const char* name : {"Accept", "Pragma", "Cache-Control"}) {
      EXPECT_EQ(HeaderLine(head, name), "") << head;
    }
  }
}

void ExpectStalledNotFoundShowsTheMessageSoon(platform::HttpClient& http) {
  ExpectTheMessageSoon(PressSendResults(http, {NotFoundWithStalledBody()}));
}

void ExpectAGarbledStatusLineShowsTheMessageSoon(platform::HttpClient& http) {
  ExpectTheMessageSoon(
      PressSendResults(http, {Reply{Head("HTTP/1.1 abc Weird", 5), Reply::Then::Hold}}));
}

}  // namespace quorvel::loopback
