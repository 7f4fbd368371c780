#include "support/http_client_checks.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "bench/benchmark_scores.h"
#include "results/request_path.h"
#include "sysinfo/system_info.h"

namespace quorvel::loopback {
namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

platform::HttpRequest LoopbackRequest(int port, const std::string& path, int connectTimeoutMs,
                                      int totalTimeoutMs) {
  platform::HttpRequest request;
  request.host = "127.0.0.1";
  request.port = port;
  request.path = path;
  request.userAgent = "My Session";
  request.connectTimeoutMs = connectTimeoutMs;
  request.totalTimeoutMs = totalTimeoutMs;
  return request;
}

ExchangeSeen RunExchange(platform::HttpClient& http, const platform::HttpRequest& request) {
  ExchangeSeen seen;
  const std::unique_ptr<platform::HttpExchange> exchange = http.Send(request);
  if (exchange == nullptr) {
    ADD_FAILURE() << "Send gave no exchange";
    return seen;
  }
  seen.answered = exchange->Answered();
  seen.status = exchange->StatusCode();
  if (seen.status == 200) seen.bodyRead = exchange->ReadBody(seen.body);
  return seen;
}

void ExpectSendsThePathAsItIs(platform::HttpClient& http, const std::string& path) {
  LoopbackServer server(Answer("HTTP/1.1 200 OK", "thanks"));
  ASSERT_NE(server.port(), 0);
  const ExchangeSeen seen = RunExchange(http, LoopbackRequest(server.port(), path));
  EXPECT_TRUE(seen.answered);
  EXPECT_EQ(seen.status, 200);
  EXPECT_TRUE(seen.bodyRead);
  EXPECT_EQ(seen.body, "thanks");

  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(RequestLine(requests[0]), "GET " + path + " HTTP/1.1");
  EXPECT_EQ(HeaderLine(requests[0], "User-Agent"), "User-Agent: My Session") << requests[0];
  EXPECT_EQ(HeaderLine(requests[0], "Host"), "Host: 127.0.0.1:" + std::to_string(server.port()))
      << requests[0];
}

void ExpectEveryNameReachesTheServerAsBuilt(platform::HttpClient& http) {
  struct Row {
    const char* name;
    const char* sent;
  };
  const Row rows[] = {
      {"Test User", "Test_User"},
      {"100% $5", "100___5"},
      {"Tom & Jerry=1", "Tom_%26_Jerry%3D1"},
      {"C:\\Users\\x", "C:%5CUsers%5Cx"},
      {"a/../b", "a/%2E%2E/b"},
      {"./x", "./x"},
      {"x/./y/.z", "x/%2E/y/%2Ez"},
      {"Zo\xEB M\xFCller \x80\xFF", "Zo%EB_M%FCller_%80%FF"},  // Windows-1252
  };
  LoopbackServer server(Answer("HTTP/1.1 200 OK", ""));
  ASSERT_NE(server.port(), 0);
  SystemInfo info;
  info.adapterName = "ATI/RADEON 9600";
  BenchmarkScores scores;
  std::vector<std::string> paths;
  for (const Row& row : rows) {
    const std::string path = BuildRequestPath(info, scores, row.name, "a@b.c");
    EXPECT_NE(path.find(std::string("&UserName=") + row.sent + "&email=a@b.c&cardName=ATI/RADEON_9600&"),
              std::string::npos)
        << path;
    EXPECT_TRUE(RunExchange(http, LoopbackRequest(server.port(), path)).answered) << row.name;
    paths.push_back(path);
  }
  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), paths.size());
  for (std::size_t i = 0; i < paths.size(); ++i) {
    EXPECT_EQ(RequestLine(requests[i]), "GET " + paths[i] + " HTTP/1.1");
  }
}

void ExpectPassesTheStatusOn(platform::HttpClient& http, const StatusCase& answer) {
  LoopbackServer server(answer.answer);
  const ExchangeSeen seen = RunExchange(http, LoopbackRequest(server.port()));
  EXPECT_TRUE(seen.answered);
  EXPECT_EQ(seen.status, answer.status);
  EXPECT_EQ(seen.bodyRead, answer.status == 200);
  EXPECT_EQ(seen.body.size(), answer.bodyBytes);
  const std::string& sent = answer.answer.bytes;
  EXPECT_EQ(seen.body, sent.substr(sent.find("\r\n\r\n") + 4, answer.bodyBytes));
  EXPECT_EQ(server.Requests().size(), 1u);
}

void ExpectAnUnreadableStatusIsAnAnswer(platform::HttpClient& http, const UnreadableCase& reply) {
  LoopbackServer server(reply.replies);
  const auto start = Clock::now();
  const ExchangeSeen seen = RunExchange(http, LoopbackRequest(server.port()));
  EXPECT_TRUE(seen.answered);
  EXPECT_EQ(seen.status, 0);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(server.Requests().size(), reply.replies.size());
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
  const ExchangeSeen seen = RunExchange(http, LoopbackRequest(port));
  EXPECT_FALSE(seen.answered);
  EXPECT_EQ(seen.status, 0);
  EXPECT_LT(Clock::now() - start, limit);
}

void ExpectNoAnswerAfterTheTotalLimit(platform::HttpClient& http, const SlowCase& server) {
  LoopbackServer slow(server.reply);
  const auto start = Clock::now();
  const ExchangeSeen seen = RunExchange(http, LoopbackRequest(slow.port(), "/x", 300, 800));
  const auto elapsed = Clock::now() - start;
  EXPECT_FALSE(seen.bodyRead);
  EXPECT_EQ(seen.answered, server.headComes);
  EXPECT_GE(elapsed, std::chrono::milliseconds(750));
  EXPECT_LT(elapsed, std::chrono::seconds(3));
  EXPECT_EQ(slow.Requests().size(), 1u);
}

}  // namespace quorvel::loopback
