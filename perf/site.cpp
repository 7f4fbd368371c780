// The results site with 100,000 stored results in its SQLite database: the
// time of one upload and of one comparison page, each over HTTP on the
// loopback as the program and a browser reach them, and the page's work
// without HTTP. Before the runs it prints the query plan of every statement
// the pages and the upload run (EXPLAIN QUERY PLAN). With
// QUORVEL_PERF_DATABASE=postgresql://... it measures that database instead.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "http/bounded_server.h"
#include "http/site_routes.h"
#include "pages/comparison.h"
#include "storage/query_plans.h"
#include "storage/result_store.h"
#include "storage/score_summary.h"

namespace {

using namespace quorvel::results_site;

constexpr int kStored = 100000;
constexpr char kVisitor[] = "127.0.0.1";

Upload Sample(std::mt19937& random, int i) {
  static const char* const kCards[] = {"NVIDIA GeForce2 MX", "ATI Radeon 7500", "Matrox G400",
                                       "3dfx Voodoo3", "NVIDIA GeForce4 Ti 4200", "S3 Savage4"};
  Upload u;
  u.version = 103;
  u.userName = "user " + std::to_string(i);
  u.email = "user" + std::to_string(i) + "@example.com";
  u.cardName = kCards[random() % 6] + std::string(random() % 4 ? "" : " (rev B)");
  u.mode = "1024 x 768 x 32 bits (85 Hz)";
  u.alpha = random() % 2;
  u.grad = true;
  u.overall = static_cast<std::int64_t>(std::normal_distribution<double>(600, 150)(random));
  if (u.overall < 0) u.overall = 0;
  u.alphaTest = u.overall;
  u.cpu = std::to_string(400 + random() % 2600);
  u.driver = "6.13.10.1241";
  u.mem = 32;
  u.cpuMan = random() % 2 ? "GenuineIntel" : "AuthenticAMD";
  u.cpuID = "x86 Family 6 Model 8 Stepping 3";
  u.os = random() % 3 ? "XP" : "2000";
  return u;
}

// One database of kStored results and a site on it, made once for all runs.
struct Site {
  // The database is a new SQLite file, or the PostgreSQL database named by
  // $QUORVEL_PERF_DATABASE (its results are replaced).
  Site() {
    char name[] = "/tmp/quorvel-perf-site.XXXXXX";
    folder = mkdtemp(name);
    const char* postgres = std::getenv("QUORVEL_PERF_DATABASE");
    const std::string location = postgres ? postgres : "sqlite:" + folder + "/r.sqlite";
    std::string error;
    std::unique_ptr<SqlConnection> db = OpenSqlConnection(location, error);
    if (db && postgres) {
      db->Run("DROP TABLE IF EXISTS results", {}, nullptr, error);
      db->Run("DROP TABLE IF EXISTS schema_version", {}, nullptr, error);
    }
    db.reset();
    std::unique_ptr<ResultStore> created = ResultStore::Open(location, error);
    if (!created) {
      std::fprintf(stderr, "perf_site: %s\n", error.c_str());
      std::abort();
    }
    std::mt19937 random(7);
    created->connection().Run("BEGIN", {}, nullptr, error);
    for (int i = 0; i < kStored; ++i) {
      std::int64_t id;
      // Spread over the last 100 days, the visitor's newest a minute ago.
      const bool visitor = i == kStored - 1;
      created->Add(Sample(random, i), visitor ? kVisitor : "10.1." + std::to_string(i % 250) + ".1",
                   Now() - (visitor ? 60 : 8640000 - i * 86), id, error);
    }
    created->connection().Run("COMMIT", {}, nullptr, error);
    created->connection().Run("ANALYZE", {}, nullptr, error);
    created.reset();
    auto explaining = std::make_unique<PlanRecordingConnection>(OpenSqlConnection(location, error));
    explaining->recording = false;
    connection = explaining.get();
    store = std::make_unique<ResultStore>(std::move(explaining));

    server = std::make_unique<BoundedServer>(std::chrono::seconds(10), std::chrono::seconds(5));
    SiteSettings settings;
    settings.uploadsPerMinute = 1000000;  // checked, never reached
    InstallRoutes(*server, *store, settings);
    port = server->Bind("127.0.0.1", 0);
    thread = std::thread([this] { server->listen_after_bind(); });
    while (!server->is_running()) std::this_thread::yield();
  }
  ~Site() {
    server->stop();
    thread.join();
    std::filesystem::remove_all(folder);
  }
  static std::int64_t Now() { return static_cast<std::int64_t>(std::time(nullptr)); }

  std::string folder;
  PlanRecordingConnection* connection = nullptr;
  std::unique_ptr<ResultStore> store;
  std::unique_ptr<BoundedServer> server;
  std::thread thread;
  int port = 0;
};

Site& TheSite() {
  static Site site;
  return site;
}

const char kUpload[] =
    "/products/quorvel/submitresults.asp?VER=103&UserName=Bench_User&email=b@e.c"
    "&cardName=NVIDIA_GeForce2_MX&mode=1024_x_768_x_32_bits_(85_Hz)&Alpha=1&PerPixel=0&grad=1"
    "&Overall=612&AlphaTest=612&TwoDTest=0&cpu=800&driver=6.13.10.1241&mem=32"
    "&cpuMan=GenuineIntel&multiCPU=0&cpuID=x86_Family_6_Model_8_Stepping_3&OS=XP";

// One GET of `path`, answered 200 with a body that holds `expected`.
void Request(benchmark::State& state, const char* path, const char* expected) {
  Site& site = TheSite();
  httplib::Client client("127.0.0.1", site.port);
  for (auto _ : state) {
    auto res = client.Get(path);
    if (!res || res->status != 200 || res->body.find(expected) == std::string::npos) {
      state.SkipWithError("not the expected answer");
    }
  }
}

void BM_UploadOverHttp(benchmark::State& state) { Request(state, kUpload, "OK "); }
BENCHMARK(BM_UploadOverHttp)->Unit(benchmark::kMillisecond)->Iterations(300)->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The page with the visitor's result highlighted.
void BM_ComparisonPageOverHttp(benchmark::State& state) {
  Request(state, "/results.asp", "id=\"your-result\"");
}
BENCHMARK(BM_ComparisonPageOverHttp)->Unit(benchmark::kMillisecond)->Iterations(30)->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same page filtered by adapter and OS, on its third page.
void BM_FilteredPageOverHttp(benchmark::State& state) {
  Request(state, "/results.asp?adapter=ATI%20Radeon%207500&os=2000&page=3", "Page 3 of");
}
BENCHMARK(BM_FilteredPageOverHttp)->Unit(benchmark::kMillisecond)->Iterations(30)->Repetitions(5)
    ->ReportAggregatesOnly(true);

// What a page costs without HTTP, query by query: where the time goes.
void BM_PageQueries(benchmark::State& state) {
  Site& site = TheSite();
  std::string error;
  ScoreSummary summary;
  ScoreSummary::Figures figures;
  for (auto _ : state) {
    std::int64_t n = 0;
    std::vector<StoredResult> top;
    std::optional<StoredResult> yours;
    bool ok = true;
    switch (state.range(0)) {
      case 0: ok = site.store->Count({}, n, error); break;
      case 1: ok = site.store->Top({}, kResultsPerPage, 0, top, error); break;
      case 2: ok = site.store->NewestFrom(kVisitor, Site::Now() - kHighlightSeconds, yours, error); break;
      case 3: ok = summary.Current(*site.store, kAdaptersShown, figures, error); break;
    }
    if (!ok) state.SkipWithError(error.c_str());
  }
  static const char* const kNames[] = {"count", "top page", "newest of address",
                                       "figures of all, up to date"};
  state.SetLabel(kNames[state.range(0)]);
}
BENCHMARK(BM_PageQueries)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// Reading the figures of all 100,000 results from nothing, as at the
// first page after a start.
void BM_FiguresFromScratch(benchmark::State& state) {
  Site& site = TheSite();
  std::string error;
  for (auto _ : state) {
    ScoreSummary summary;
    ScoreSummary::Figures figures;
    if (!summary.Current(*site.store, kAdaptersShown, figures, error)) state.SkipWithError(error.c_str());
  }
}
BENCHMARK(BM_FiguresFromScratch)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Site& site = TheSite();
  // One page and one upload with the plans printed.
  site.connection->recording = true;
  httplib::Client client("127.0.0.1", site.port);
  client.Get("/results.asp");
  client.Get("/results.asp?adapter=ATI%20Radeon%207500&os=2000");
  client.Get("/results.asp?adapter=ATI%20Radeon%207500");
  client.Get("/results.asp?os=2000");
  client.Get(kUpload);
  site.connection->recording = false;
  for (const auto& [sql, plan] : site.connection->plans()) {
    std::fprintf(stderr, "%s\n", sql.c_str());
    for (const std::string& line : plan) std::fprintf(stderr, "    %s\n", line.c_str());
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
