// The site over real HTTP on a loopback port: the program's request, what
// a client that misbehaves gets, the answers the pages and the JSON give.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <thread>

#include "http/bounded_server.h"
#include "http/site_routes.h"
#include "site/upload_protocol.h"
#include "site_fixtures.h"
#include "upload/parse_upload.h"

namespace quorvel::results_site {
namespace {

using testing::ExampleQuery;

// The upload's path and the query's start, as the program sends them.
const std::string kUploadRequestPrefix = std::string(kUploadPath) + "?";

// A site on a fresh SQLite store, 3 uploads a minute from one address.
class SiteHttpBase {
 protected:
  void Start(std::vector<std::string> trustedProxies) {
    store = testing::FreshStore("sqlite");
    ASSERT_TRUE(store);
    server = std::make_unique<BoundedServer>(std::chrono::milliseconds(1000),
                                             std::chrono::milliseconds(1000));
    SiteSettings settings;
    settings.uploadsPerMinute = 3;
    settings.now = [this] { return now.load(); };
    settings.trustedProxies = std::move(trustedProxies);
    InstallRoutes(*server, *store, settings);
    port = server->Bind("127.0.0.1", 0);
    ASSERT_GT(port, 0);
    thread = std::thread([this] { server->listen_after_bind(); });
    client = std::make_unique<httplib::Client>("127.0.0.1", port);
  }
  void Stop() {
    if (!server) return;
    while (thread.joinable() && !server->is_running()) std::this_thread::yield();
    server->stop();
    if (thread.joinable()) thread.join();
  }
  httplib::Result Get(const std::string& path, const httplib::Headers& headers = {}) {
    return client->Get(path.c_str(), headers);
  }
  // A plain TCP connection to the site, or -1.
  int Connect() const {
    const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (sock >= 0 && ::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      ::close(sock);
      return -1;
    }
    return sock;
  }
  std::int64_t Stored() {
    std::int64_t n = -1;
    std::string error;
    EXPECT_TRUE(store->Count({}, n, error)) << error;
    return n;
  }

  std::atomic<std::int64_t> now{1800000000};
  std::unique_ptr<ResultStore> store;
  std::unique_ptr<BoundedServer> server;
  std::thread thread;
  int port = 0;
  std::unique_ptr<httplib::Client> client;
};

class SiteHttpTest : public SiteHttpBase, public ::testing::Test {
 protected:
  void SetUp() override { Start({}); }
  void TearDown() override { Stop(); }
};

TEST_F(SiteHttpTest, TheProgramsUploadIsStoredAndAnswered200) {
  auto res = Get(kUploadRequestPrefix + ExampleQuery());
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_EQ(res->body, "OK 1\n");
  std::optional<StoredResult> stored;
  std::string error;
  ASSERT_TRUE(store->Find(1, stored, error));
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->sender, "127.0.0.1");
  EXPECT_EQ(stored->submittedAt, 1800000000);
  EXPECT_EQ(stored->upload.userName, "Test_User");
}

TEST_F(SiteHttpTest, TheProgramsLongestUploadIsTakenAndItsTextsCut) {
  // Both edits as full as a Windows edit gets, with characters the program
  // escapes as %XX: a request line of some 200 KB.
  const std::string path = testing::ProgramRequestPath(std::string(kMaxTypedCharacters, '\xE9'),
                                                       std::string(kMaxTypedCharacters, '&'));
  ASSERT_GT(path.size(), 190000u);
  auto res = Get(path);
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200) << res->body;
  std::optional<StoredResult> stored;
  std::string error;
  ASSERT_TRUE(store->Find(1, stored, error));
  ASSERT_TRUE(stored);
  std::string name;
  for (int i = 0; i < 254; ++i) name += "\xC3\xA9";
  EXPECT_EQ(stored->upload.userName, name);
  EXPECT_EQ(stored->upload.email, std::string(254, '&'));
}

TEST_F(SiteHttpTest, ABadUploadIsAnswered400WithItsReasonAndNotStored) {
  std::string query = ExampleQuery();
  query.replace(query.find("Overall=512"), 11, "Overall=lots");
  auto res = Get(kUploadRequestPrefix + query);
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 400);
  EXPECT_EQ(res->body, "parameter Overall is not a whole number\n");
  EXPECT_EQ(res->get_header_value("Content-Type"), "text/plain; charset=utf-8");
  res = Get("/products/quorvel/submitresults.asp");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 400);
  // A query longer than any the program makes is refused before it is read.
  res = Get(kUploadRequestPrefix + ExampleQuery() + "&x=" + std::string(kMaxQueryBytes, 'x'));
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 400);
  EXPECT_EQ(res->body, "the query is longer than 229376 bytes\n");
  // A request past the site's bound is not read to its end.
  res = Get(kUploadRequestPrefix + ExampleQuery() + "&x=" + std::string(kMaxRequestBytes, 'x'));
  EXPECT_TRUE(!res || res->status >= 400);
  EXPECT_EQ(Stored(), 0);
  EXPECT_EQ(Get("/results.asp")->status, 200);
}

TEST_F(SiteHttpTest, TooManyUploadsFromOneAddressInAMinuteAre429) {
  const std::string upload = kUploadRequestPrefix + ExampleQuery();
  for (int i = 0; i < 3; ++i) {
    auto res = Get(upload);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
  }
  auto res = Get(upload);
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 429);
  EXPECT_EQ(res->get_header_value("Retry-After"), "60");
  EXPECT_EQ(Stored(), 3);
  now += 60;  // a minute after the first
  res = Get(upload);
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
}

TEST_F(SiteHttpTest, ParallelUploadsFromOneAddressDoNotPassTheLimitTogether) {
  std::vector<std::thread> clients;
  std::atomic<int> ok{0};
  std::atomic<int> refused{0};
  for (int i = 0; i < 12; ++i) {
    clients.emplace_back([&] {
      httplib::Client c("127.0.0.1", port);
      auto res = c.Get((kUploadRequestPrefix + ExampleQuery()).c_str());
      if (res && res->status == 200) ++ok;
      if (res && res->status == 429) ++refused;
    });
  }
  for (std::thread& t : clients) t.join();
  EXPECT_EQ(ok.load(), 3);
  EXPECT_EQ(refused.load(), 9);
  EXPECT_EQ(Stored(), 3);
}

TEST_F(SiteHttpTest, ADatabaseThatFailsIsAnswered503) {
  std::string error;
  ASSERT_TRUE(store->connection().Run("DROP TABLE results", {}, nullptr, error)) << error;
  for (const std::string path : {kUploadRequestPrefix + ExampleQuery(), std::string("/results.asp"),
                                 std::string("/result/1"), std::string("/api/results")}) {
    SCOPED_TRACE(path);
    auto res = Get(path);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 503);
    EXPECT_EQ(res->body, "the results database is not available\n");
  }
}

TEST_F(SiteHttpTest, AClientThatTricklesItsRequestIsDropped) {
  const int sock = Connect();
  ASSERT_GE(sock, 0);
  const std::string request = "GET /results.asp HTTP/1.1\r\nHost: x\r\nX-Slow: ";
  const auto start = std::chrono::steady_clock::now();
  bool dropped = false;
  // One byte every 200 ms: each comes well within the 1 s a read may wait,
  // but the whole request may take only 1 s.
  for (std::size_t i = 0; i < 40 && !dropped; ++i) {
    const char byte = i < request.size() ? request[i] : 'x';
    ::send(sock, &byte, 1, MSG_NOSIGNAL);
    pollfd p{sock, POLLIN, 0};
    if (::poll(&p, 1, 200) > 0) {
      char buffer[256];
      ::recv(sock, buffer, sizeof buffer, 0);  // the end, or a 400 before it
      dropped = true;
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ::close(sock);
  EXPECT_TRUE(dropped);
  EXPECT_LT(seconds, 3.0);
  auto res = Get("/results.asp");  // and the site still answers
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
}

TEST_F(SiteHttpTest, AClientThatSendsHeadersWithoutEndIsDropped) {
  const int sock = Connect();
  ASSERT_GE(sock, 0);
  const std::string header = "X-More: " + std::string(1000, 'm') + "\r\n";
  const std::string first = "GET /results.asp HTTP/1.1\r\nHost: x\r\n" + header;
  ASSERT_GT(::send(sock, first.data(), first.size(), MSG_NOSIGNAL), 0);
  // Headers as fast as the site takes them: it stops reading after the bound,
  // long before the 1 s the request may take.
  const auto start = std::chrono::steady_clock::now();
  bool ended = false;
  while (!ended && std::chrono::steady_clock::now() - start < std::chrono::seconds(3)) {
    const ssize_t n = ::send(sock, header.data(), header.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    pollfd p{sock, POLLIN, 0};
    ended = (n < 0 && errno != EAGAIN) || ::poll(&p, 1, n < 0 ? 20 : 0) > 0;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ::close(sock);
  EXPECT_TRUE(ended);
  EXPECT_LT(seconds, 0.5);
  EXPECT_EQ(Get("/results.asp")->status, 200);
}

TEST_F(SiteHttpTest, PagesRedirectsAndJson) {
  std::string query = ExampleQuery();
  query.replace(query.find("email=a@b.c"), 11, "email=hidden@mail.test");
  ASSERT_EQ(Get(kUploadRequestPrefix + query)->status, 200);

  auto res = Get("/");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 302);
  EXPECT_EQ(res->get_header_value("Location"), "/results.asp");

  res = Get("/results.asp");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=utf-8");
  EXPECT_NE(res->body.find("<tr id=\"your-result\">"), std::string::npos);  // we are 127.0.0.1
  EXPECT_EQ(res->body.find("hidden@mail.test"), std::string::npos);
  // The adapter as shown, linked by the form it is stored in.
  EXPECT_NE(
      res->body.find("<a href=\"/results.asp?adapter=NVIDIA_GeForce2_MX\">NVIDIA GeForce2 MX</a>"),
      std::string::npos);

  res = Get("/result/1");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_EQ(res->body.find("hidden@mail.test"), std::string::npos);
  EXPECT_EQ(Get("/result/2")->status, 404);
  EXPECT_EQ(Get("/result/99999999999999999999")->status, 404);
  EXPECT_EQ(Get("/nothing-here")->status, 404);

  res = Get("/api/results?limit=10&offset=0&adapter=NVIDIA%20GeForce2%20MX");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_EQ(res->body.find("hidden@mail.test"), std::string::npos);
  const nlohmann::json doc = nlohmann::json::parse(res->body);
  EXPECT_EQ(doc["count"], 1);
  ASSERT_EQ(doc["results"].size(), 1u);
  const nlohmann::json& r = doc["results"][0];
  std::vector<std::string> keys;
  for (auto it = r.begin(); it != r.end(); ++it) keys.push_back(it.key());
  std::sort(keys.begin(), keys.end());
  std::vector<std::string> expected = {"id", "userName", "cardName", "mode", "alpha", "perPixel",
                                       "grad", "overall", "alphaTest", "twoDTest", "cpu", "driver",
                                       "mem", "cpuMan", "multiCPU", "cpuID", "os", "submittedAt"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(r["overall"], 512);
  EXPECT_EQ(r["cardName"], "NVIDIA GeForce2 MX");
  EXPECT_EQ(r["submittedAt"], "2027-01-15T08:00:00Z");

  EXPECT_EQ(r["userName"], "Test User");
  EXPECT_EQ(r["mode"], "1024 x 768 x 32 bits (85 Hz)");
  // The adapter filter takes the name as the page links it, and as shown.
  for (const std::string adapter : {"NVIDIA_GeForce2_MX", "NVIDIA%20GeForce2%20MX"}) {
    SCOPED_TRACE(adapter);
    EXPECT_EQ(nlohmann::json::parse(Get("/api/results?adapter=" + adapter)->body)["count"], 1);
    EXPECT_NE(Get("/results.asp?adapter=" + adapter)->body.find("1 result match the filter."),
              std::string::npos);
  }
  EXPECT_EQ(nlohmann::json::parse(Get("/api/results?adapter=Other")->body)["count"], 0);
  EXPECT_EQ(nlohmann::json::parse(Get("/api/results?offset=1")->body)["results"].size(), 0u);
  for (const char* bad : {"/api/results?limit=0", "/api/results?limit=101",
                          "/api/results?limit=x", "/api/results?offset=-1"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(Get(bad)->status, 400);
  }
}

// The site behind a load balancer on 127.0.0.1, the address the tests
// connect from, trusted with --trusted-proxy.
class TrustedProxyTest : public SiteHttpBase, public ::testing::Test {
 protected:
  void SetUp() override { Start({"127.0.0.1"}); }
  void TearDown() override { Stop(); }
  // An upload the proxy passes on with `forwarded` as X-Forwarded-For.
  int UploadFrom(const std::string& forwarded, const std::string& name = "Test_User") {
    std::string query = ExampleQuery();
    query.replace(query.find("UserName=Test_User"), 18, "UserName=" + name);
    auto res = Get(kUploadRequestPrefix + query, {{"X-Forwarded-For", forwarded}});
    return res ? res->status : 0;
  }
  std::string PageFor(const httplib::Headers& headers) {
    auto res = Get("/results.asp", headers);
    return res && res->status == 200 ? res->body : "";
  }
};

TEST_F(TrustedProxyTest, TheLimitAndTheHighlightGoByTheClientTheProxyNames) {
  // What a client wrote into the header itself comes first and is passed
  // over: the proxy's own entry is the last.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(UploadFrom("198.51.100.1, 203.0.113.5", "Client_A"), 200);
  EXPECT_EQ(UploadFrom("203.0.113.5"), 429);
  EXPECT_EQ(UploadFrom("10.9.9.9, 203.0.113.5:40123"), 429);  // with the port it came from
  EXPECT_EQ(UploadFrom("203.0.113.6", "Client_B"), 200);      // another client, another count
  EXPECT_EQ(UploadFrom("2001:db8::1"), 200);
  std::optional<StoredResult> stored;
  std::string error;
  ASSERT_TRUE(store->Find(1, stored, error));
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->sender, "203.0.113.5");
  ASSERT_TRUE(store->Find(5, stored, error));
  EXPECT_EQ(stored->sender, "2001:db8::1");

  const auto highlighted = [](const std::string& page) {
    const std::size_t at = page.find("<tr id=\"your-result\">");
    if (at == std::string::npos) return std::string("none");
    return page.find("Client A", at) < page.find("</tr>", at) ? std::string("A") : std::string("other");
  };
  EXPECT_EQ(highlighted(PageFor({{"X-Forwarded-For", "203.0.113.5"}})), "A");
  EXPECT_EQ(highlighted(PageFor({{"X-Forwarded-For", "203.0.113.6"}})), "other");  // B's own
  EXPECT_EQ(highlighted(PageFor({{"X-Forwarded-For", "203.0.113.7"}})), "none");
  EXPECT_EQ(highlighted(PageFor({})), "none");  // the proxy itself uploaded nothing
  // Two headers: the last is the proxy's.
  EXPECT_EQ(highlighted(PageFor({{"X-Forwarded-For", "203.0.113.5"}, {"X-Forwarded-For", "203.0.113.7"}})),
            "none");
}

TEST_F(TrustedProxyTest, AnEntryThatIsNoAddressCountsAsTheProxys) {
  for (const char* bad : {"unknown", "", "203.0.113.5 junk", "[2001:db8::1"}) {
    SCOPED_TRACE(bad);
    UploadFrom(bad);
  }
  std::vector<SqlRow> rows;
  std::string error;
  ASSERT_TRUE(store->connection().Run("SELECT DISTINCT sender FROM results", {}, &rows, error)) << error;
  EXPECT_EQ(rows, (std::vector<SqlRow>{{"127.0.0.1"}}));
  EXPECT_EQ(Stored(), 3);  // and the proxy's own limit holds them
}

// Without the sender among the trusted proxies (none by default), any
// X-Forwarded-For is the client's own claim and is ignored.
class UntrustedSenderTest : public SiteHttpBase,
                            public ::testing::TestWithParam<std::vector<std::string>> {
 protected:
  void SetUp() override { Start(GetParam()); }
  void TearDown() override { Stop(); }
};

TEST_P(UntrustedSenderTest, AForgedHeaderIsIgnored) {
  const std::string upload = kUploadRequestPrefix + ExampleQuery();
  for (int i = 0; i < 5; ++i) {
    auto res = Get(upload, {{"X-Forwarded-For", "203.0.113." + std::to_string(i)}});
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, i < 3 ? 200 : 429) << i;
  }
  std::vector<SqlRow> rows;
  std::string error;
  ASSERT_TRUE(store->connection().Run("SELECT DISTINCT sender FROM results", {}, &rows, error)) << error;
  EXPECT_EQ(rows, (std::vector<SqlRow>{{"127.0.0.1"}}));
  // The page highlights the connection's upload, whatever the header says.
  auto res = Get("/results.asp", {{"X-Forwarded-For", "203.0.113.9"}});
  ASSERT_TRUE(res);
  EXPECT_NE(res->body.find("<tr id=\"your-result\">"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Proxies, UntrustedSenderTest,
                         ::testing::Values(std::vector<std::string>{},
                                           std::vector<std::string>{"192.0.2.1", "::1"}),
                         [](const auto& info) { return info.param.empty() ? "none" : "another"; });

}  // namespace
}  // namespace quorvel::results_site
