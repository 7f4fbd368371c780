// The upload's HTTP request through WinINet against servers on the loopback
// interface that the tests start themselves.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win32/wininet_http_client.h"
#include "results/send_results.h"
#include "support/http_client_checks.h"
#include "support/loopback_server.h"
#include "support/upload_exchange.h"

namespace quorvel::win32 {
namespace {

using loopback::Answer;
using loopback::LoopbackRequest;
using loopback::LoopbackServer;
using loopback::RunExchange;
using loopback::SlowCase;
using loopback::StatusCase;
using loopback::UnreadableCase;

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

TEST_F(WinInetHttp, EveryNameReachesTheServerAsBuilt) {
  loopback::ExpectEveryNameReachesTheServerAsBuilt(client_);
}

// The whole press of "Send results...": the exchange and what the user sees.
TEST_F(WinInetHttp, UploadThroughARedirectOpensTheComparisonPage) {
  loopback::ExpectRedirectOpensTheComparisonPage(client_);
}

TEST_F(WinInetHttp, UploadAnsweredByAStalled404ShowsTheMessageSoon) {
  loopback::ExpectStalledNotFoundShowsTheMessageSoon(client_);
}

TEST_F(WinInetHttp, UploadAnsweredWithAGarbledStatusLineShowsTheMessageSoon) {
  loopback::ExpectAGarbledStatusLineShowsTheMessageSoon(client_);
}

// The same results sent twice reach the server twice: nothing is answered
// from a cache, even an answer the server says may be kept for an hour.
TEST_F(WinInetHttp, EveryUploadReachesTheServer) {
  LoopbackServer server(Answer("HTTP/1.1 200 OK", "thanks", "Cache-Control: max-age=3600\r\n"));
  for (int i = 0; i < 2; ++i) {
    const loopback::ExchangeSeen seen = RunExchange(client_, LoopbackRequest(server.port(), kPath));
    EXPECT_TRUE(seen.answered);
    EXPECT_EQ(seen.body, "thanks");
  }
  EXPECT_EQ(server.Requests().size(), 2u);
}

// --- The order of the WinINet calls -----------------------------------------

// Makes the real WinINet calls and writes each into one log, beside what
// the user sees; a call repeated at once (three options set, a body read in
// pieces) is written once.
struct CallLog {
  std::mutex mutex;
  std::vector<std::string> entries;
  HINTERNET session = nullptr;
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;

  void Note(const std::string& what) {
    std::lock_guard<std::mutex> lock(mutex);
    if (entries.empty() || entries.back() != what) entries.push_back(what);
  }
};
CallLog* g_calls = nullptr;

HINTERNET WINAPI RecordOpen(LPCSTR agent, DWORD access, LPCSTR proxy, LPCSTR bypass, DWORD flags) {
  const HINTERNET h = ::InternetOpenA(agent, access, proxy, bypass, flags);
  g_calls->session = h;
  g_calls->Note("InternetOpenA");
  return h;
}

BOOL WINAPI RecordSetOption(HINTERNET h, DWORD option, LPVOID value, DWORD size) {
  g_calls->Note("InternetSetOptionA");
  return ::InternetSetOptionA(h, option, value, size);
}

HINTERNET WINAPI RecordConnect(HINTERNET session, LPCSTR host, INTERNET_PORT port, LPCSTR user,
                               LPCSTR password, DWORD service, DWORD flags, DWORD_PTR context) {
  const HINTERNET h =
      ::InternetConnectA(session, host, port, user, password, service, flags, context);
  g_calls->connection = h;
  g_calls->Note("InternetConnectA");
  return h;
}

HINTERNET WINAPI RecordOpenRequest(HINTERNET connection, LPCSTR verb, LPCSTR object,
                                   LPCSTR version, LPCSTR referrer, LPCSTR* acceptTypes,
                                   DWORD flags, DWORD_PTR context) {
  const HINTERNET h = ::HttpOpenRequestA(connection, verb, object, version, referrer, acceptTypes,
                                         flags, context);
  g_calls->request = h;
  const bool plain = version == nullptr && referrer == nullptr && acceptTypes == nullptr;
  g_calls->Note(std::string("HttpOpenRequestA ") + verb + " flags " + std::to_string(flags) +
                " context " + std::to_string(context) + (plain ? "" : " with more"));
  return h;
}

BOOL WINAPI RecordSendRequest(HINTERNET request, LPCSTR headers, DWORD headersLength,
                              LPVOID optional, DWORD optionalLength) {
  const BOOL sent = ::HttpSendRequestA(request, headers, headersLength, optional, optionalLength);
  g_calls->Note("HttpSendRequestA");
  return sent;
}

BOOL WINAPI RecordQueryInfo(HINTERNET request, DWORD level, LPVOID buffer, LPDWORD size,
                            LPDWORD index) {
  g_calls->Note("HttpQueryInfoA");
  return ::HttpQueryInfoA(request, level, buffer, size, index);
}

BOOL WINAPI RecordReadFile(HINTERNET request, LPVOID buffer, DWORD size, LPDWORD read) {
  g_calls->Note("InternetReadFile");
  return ::InternetReadFile(request, buffer, size, read);
}

BOOL WINAPI RecordClose(HINTERNET h) {
  const char* name = h == g_calls->request      ? "request"
                     : h == g_calls->connection ? "connection"
                     : h == g_calls->session    ? "session"
                                                : "another handle";
  g_calls->Note(std::string("InternetCloseHandle ") + name);
  return ::InternetCloseHandle(h);
}

const WinInetApi kRecordingApi{&RecordOpen,        &RecordSetOption, &RecordConnect,
                               &RecordOpenRequest, &RecordSendRequest, &RecordQueryInfo,
                               &RecordReadFile,    &RecordClose};

// What the user sees, in the same log; the wait is noted, not waited.
class LoggingServices : public platform::Services {
 public:
  std::uint32_t TickCount() override { return 0; }
  void Sleep(unsigned ms) override { g_calls->Note("Sleep " + std::to_string(ms)); }
  std::int64_t PerformanceCounter() override { return 0; }
  std::int64_t PerformanceFrequency() override { return 1; }
  std::string LoadString(int) override { return ""; }
  void SetCursorPos(int, int) override {}
  void MessageBox(platform::DialogHost*, const std::string&, const std::string&,
                  platform::MessageIcon) override {
    g_calls->Note("MessageBox");
  }
  void OpenWebPage(platform::DialogHost*, const std::string&, platform::Show) override {
    g_calls->Note("OpenWebPage");
  }
  bool StartThread(std::function<void()>) override { return false; }
};

// Send, then the one-second wait, then the status; the page or the message;
// then the request, the connection and the session are closed, in that
// order. The request reuses an existing connection and asks for nothing
// else.
TEST_F(WinInetHttp, SendWaitStatusActThenReleaseRequestConnectionSession) {
  const std::string opened = "HttpOpenRequestA GET flags " +
                             std::to_string(INTERNET_FLAG_EXISTING_CONNECT) + " context 1";
  const struct {
    const char* name;
    loopback::Reply reply;
    std::vector<std::string> between;  // after the status, before the release
  } cases[] = {
      {"200", Answer("HTTP/1.1 200 OK", "thanks"), {"InternetReadFile", "OpenWebPage"}},
      {"404", Answer("HTTP/1.1 404 Not Found", "gone"), {"MessageBox"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CallLog calls;
    g_calls = &calls;
    LoopbackServer server(c.reply);
    WinInetHttpClient client(kRecordingApi);
    LoggingServices services;
    SendResults(client, services, nullptr, ResultsServer{"127.0.0.1", server.port()}, SystemInfo{},
                BenchmarkScores{}, "Test User", "");
    std::vector<std::string> expected = {"InternetOpenA", "InternetSetOptionA", "InternetConnectA",
                                         opened,          "HttpSendRequestA",   "Sleep 1000",
                                         "HttpQueryInfoA"};
    expected.insert(expected.end(), c.between.begin(), c.between.end());
    for (const char* handle : {"request", "connection", "session"}) {
      expected.push_back(std::string("InternetCloseHandle ") + handle);
    }
    EXPECT_EQ(calls.entries, expected);
    g_calls = nullptr;
  }
}

// --- Answers ------------------------------------------------------------------

class WinInetHttpStatus : public WinInetHttp, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(WinInetHttpStatus, PassesTheStatusOn) {
  loopback::ExpectPassesTheStatusOn(client_, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Answers, WinInetHttpStatus,
                         ::testing::ValuesIn(loopback::StatusCases()),
                         [](const auto& info) { return std::string(info.param.name); });

class WinInetHttpUnreadable : public WinInetHttp,
                              public ::testing::WithParamInterface<UnreadableCase> {};

TEST_P(WinInetHttpUnreadable, IsAnAnswerWithoutAStatus) {
  loopback::ExpectAnUnreadableStatusIsAnAnswer(client_, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Replies, WinInetHttpUnreadable,
                         ::testing::ValuesIn(loopback::UnreadableCases()),
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
