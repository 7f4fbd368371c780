// The results site with many stored results (100,000 and 1,000,000 unless
// QUORVEL_PERF_SITE_SIZES lists others, e.g. "1000000"): the time of one
// upload and of the comparison page, each over HTTP on the loopback as the
// program and a browser reach them, and the page's work without HTTP.
// Before the runs of each size it prints the query plan of every statement
// the pages and the upload run. The database is a new SQLite file, or with
// QUORVEL_PERF_DATABASE=postgresql://... that PostgreSQL database (its
// site tables are dropped and made again). Run by hand; it is no test.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "http/bounded_server.h"
#include "http/site_routes.h"
#include "pages/comparison.h"
#include "storage/query_plans.h"
#include "storage/result_store.h"
#include "storage/schema.h"
#include "storage/score_summary.h"
#include "storage/transaction.h"

namespace {

using namespace quorvel::results_site;

constexpr char kVisitor[] = "127.0.0.1";
// Rows per INSERT statement while filling: 21 values each, within the
// bound parameters either database takes in one statement.
constexpr int kRowsPerInsert = 1000;

std::int64_t Now() { return static_cast<std::int64_t>(std::time(nullptr)); }

Upload Sample(std::mt19937& random, int i) {
  // Stored as the program sends them: underscores for blanks.
  static const char* const kCards[] = {"NVIDIA_GeForce2_MX", "ATI_Radeon_7500", "Matrox_G400",
                                       "3dfx_Voodoo3", "NVIDIA_GeForce4_Ti_4200", "S3_Savage4"};
  Upload u;
  u.version = 103;
  u.userName = "user_" + std::to_string(i);
  u.email = "user" + std::to_string(i) + "@example.com";
  u.cardName = kCards[random() % 6] + std::string(random() % 4 ? "" : "_(rev_B)");
  u.mode = "1024_x_768_x_32_bits_(85_Hz)";
  u.alpha = random() % 2;
  u.grad = true;
  u.overall = static_cast<std::int64_t>(std::normal_distribution<double>(600, 150)(random));
  if (u.overall < 0) u.overall = 0;
  u.alphaTest = u.overall;
  u.cpu = std::to_string(400 + random() % 2600);
  u.driver = "6.13.10.1241";
  u.mem = 32;
  u.cpuMan = random() % 2 ? "GenuineIntel" : "AuthenticAMD";
  u.cpuID = "x86_Family_6_Model_8_Stepping_3";
  u.os = random() % 3 ? "XP" : "2000";
  return u;
}

void Die(const std::string& what, const std::string& error) {
  std::fprintf(stderr, "perf_site: %s: %s\n", what.c_str(), error.c_str());
  std::abort();
}

// Writes `count` results straight into the database, kRowsPerInsert to a
// statement, in one transaction, then counts them as uploads would have;
// the visitor's result, the last, a minute old.
void Fill(SqlConnection& db, int count) {
  std::string error;
  std::string rowMarks = "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
  std::mt19937 random(7);
  // SQLite: the indexes of a million rows in memory while they are
  // written (256 MiB), not written out page by page.
  if (db.dialect() == Dialect::kSqlite && !db.Run("PRAGMA cache_size = -262144", {}, nullptr, error)) {
    Die("filling", error);
  }
  Transaction transaction(db);
  if (!transaction.Begin(TransactionKind::kWrite, error)) Die("filling", error);
  const auto flag = [](bool b) { return SqlValue(std::int64_t{b ? 1 : 0}); };
  for (int first = 0; first < count; first += kRowsPerInsert) {
    const int rows = std::min(kRowsPerInsert, count - first);
    std::string sql =
        "INSERT INTO results (id, submitted_at, sender, ver, user_name, email, card_name, mode, "
        "alpha, per_pixel, grad, overall, alpha_test, two_d_test, cpu, driver, mem, cpu_man, "
        "multi_cpu, cpu_id, os) VALUES ";
    std::vector<SqlValue> params;
    params.reserve(static_cast<std::size_t>(rows) * 21);
    for (int i = first; i < first + rows; ++i) {
      const Upload u = Sample(random, i);
      // Spread over the last 100 days.
      const bool visitor = i == count - 1;
      const std::int64_t at = Now() - (visitor ? 60 : 8640000 - 8640000LL * i / count);
      sql += i == first ? rowMarks : ", " + rowMarks;
      for (SqlValue v : {SqlValue(std::int64_t{i + 1}), SqlValue(at),
                         SqlValue(visitor ? kVisitor : "10.1." + std::to_string(i % 250) + ".1"),
                         SqlValue(u.version), SqlValue(u.userName), SqlValue(u.email),
                         SqlValue(u.cardName), SqlValue(u.mode), flag(u.alpha), flag(u.perPixel),
                         flag(u.grad), SqlValue(u.overall), SqlValue(u.alphaTest),
                         SqlValue(u.twoDTest), SqlValue(u.cpu), SqlValue(u.driver), SqlValue(u.mem),
                         SqlValue(u.cpuMan), flag(u.multiCPU), SqlValue(u.cpuID), SqlValue(u.os)}) {
        params.push_back(std::move(v));
      }
    }
    if (!db.Run(sql, params, nullptr, error)) Die("filling", error);
  }
  if (!transaction.Commit(error)) Die("filling", error);
  if (!RecountResults(db, error)) Die("counting", error);
  if (!db.Run("ANALYZE", {}, nullptr, error)) Die("ANALYZE", error);
}

// One database of `size` results and a site on it.
struct Site {
  explicit Site(int stored) : size(stored) {
    char name[] = "/tmp/quorvel-perf-site.XXXXXX";
    folder = mkdtemp(name);
    const char* postgres = std::getenv("QUORVEL_PERF_DATABASE");
    const std::string location = postgres ? postgres : "sqlite:" + folder + "/r.sqlite";
    std::string error;
    {
      std::unique_ptr<SqlConnection> db = OpenSqlConnection(location, error);
      if (!db) Die(location, error);
      if (!DropSchema(*db, error) || !MigrateSchema(*db, error)) Die("schema", error);
      const auto start = std::chrono::steady_clock::now();
      Fill(*db, size);
      std::fprintf(stderr, "perf_site: %d results written and counted on %s in %.1f s\n", size,
                   db->Name(),
                   std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    auto explaining = std::make_unique<PlanRecordingConnection>(OpenSqlConnection(location, error));
    explaining->recording = false;
    connection = explaining.get();
    store = std::make_unique<ResultStore>(std::move(explaining));

    server = std::make_unique<BoundedServer>(std::chrono::seconds(10), std::chrono::seconds(5));
    SiteSettings settings;
    settings.uploadsPerMinute = 1000000;  // counted, never reached
    const auto start = std::chrono::steady_clock::now();
    InstallRoutes(*server, *store, settings);  // reads the score counts once
    std::fprintf(stderr, "perf_site: the site read its figures in %.3f s\n",
                 std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    port = server->Bind("127.0.0.1", 0);
    thread = std::thread([this] { server->listen_after_bind(); });
    while (!server->is_running()) std::this_thread::yield();
  }
  ~Site() {
    server->stop();
    thread.join();
    std::filesystem::remove_all(folder);
  }

  int size;
  std::string folder;
  PlanRecordingConnection* connection = nullptr;
  std::unique_ptr<ResultStore> store;
  std::unique_ptr<BoundedServer> server;
  std::thread thread;
  int port = 0;
};

// The site of the size being measured; the one before goes first.
std::unique_ptr<Site> current;
Site& SiteOf(int size) {
  if (!current || current->size != size) {
    current.reset();
    current = std::make_unique<Site>(size);
  }
  return *current;
}

const char kUpload[] =
    "/products/quorvel/submitresults.asp?VER=103&UserName=Bench_User&email=b@e.c"
    "&cardName=NVIDIA_GeForce2_MX&mode=1024_x_768_x_32_bits_(85_Hz)&Alpha=1&PerPixel=0&grad=1"
    "&Overall=612&AlphaTest=612&TwoDTest=0&cpu=800&driver=6.13.10.1241&mem=32"
    "&cpuMan=GenuineIntel&multiCPU=0&cpuID=x86_Family_6_Model_8_Stepping_3&OS=XP";
const char kPage[] = "/results.asp";
const char kFilteredPage[] = "/results.asp?adapter=ATI%20Radeon%207500&os=2000&page=3";

bool Answered(httplib::Client& client, const std::string& path, const char* expected) {
  auto res = client.Get(path.c_str());
  return res && res->status == 200 && res->body.find(expected) != std::string::npos;
}

// One GET of `path` per iteration, answered 200 with a body that holds `expected`.
void Request(benchmark::State& state, const std::string& path, const char* expected) {
  Site& site = SiteOf(static_cast<int>(state.range(0)));
  httplib::Client client("127.0.0.1", site.port);
  for (auto _ : state) {
    if (!Answered(client, path, expected)) state.SkipWithError("not the expected answer");
  }
}

void BM_UploadOverHttp(benchmark::State& state) { Request(state, kUpload, "OK "); }

// The page with the visitor's result highlighted.
void BM_ComparisonPageOverHttp(benchmark::State& state) {
  Request(state, kPage, "id=\"your-result\"");
}

// The same page filtered by adapter and OS, on its third page.
void BM_FilteredPageOverHttp(benchmark::State& state) {
  Request(state, kFilteredPage, "Page 3 of");
}

// A page in the middle of the whole list.
void BM_MiddlePageOverHttp(benchmark::State& state) {
  const std::int64_t page = state.range(0) / kResultsPerPage / 2;
  Request(state, "/results.asp?page=" + std::to_string(page), "data-id=");
}

// What the program does: an upload, then the page that shows it (which
// first reads the new result into its figures). The time of both.
void BM_UploadThenPageOverHttp(benchmark::State& state) {
  Site& site = SiteOf(static_cast<int>(state.range(0)));
  httplib::Client client("127.0.0.1", site.port);
  for (auto _ : state) {
    if (!Answered(client, kUpload, "OK ") || !Answered(client, kPage, "id=\"your-result\"")) {
      state.SkipWithError("not the expected answer");
    }
  }
}

// What a page costs without HTTP, query by query: where the time goes.
void BM_PageQueries(benchmark::State& state) {
  Site& site = SiteOf(static_cast<int>(state.range(0)));
  std::string error;
  ScoreSummary summary(kAdaptersShown);
  ScoreSummary::View view;
  if (!summary.Current(*site.store, {}, view, error)) state.SkipWithError(error.c_str());
  for (auto _ : state) {
    std::int64_t a = 0;
    std::int64_t b = 0;
    std::vector<StoredResult> top;
    std::optional<StoredResult> yours;
    bool ok = true;
    switch (state.range(1)) {
      case 0: ok = site.store->Counter(a, b, error); break;
      case 1: ok = site.store->Top({}, summary.StartOf({}, 0), kResultsPerPage, top, error); break;
      case 2: ok = site.store->NewestFrom(kVisitor, Now() - kHighlightSeconds, yours, error); break;
      case 3: ok = summary.Current(*site.store, {}, view, error); break;
      case 4: ok = site.store->Count({}, a, error); break;
    }
    if (!ok) state.SkipWithError(error.c_str());
  }
  static const char* const kNames[] = {"counter", "top page", "newest of address",
                                       "figures of all, up to date",
                                       "counting the results (what the page no longer does)"};
  state.SetLabel(kNames[state.range(1)]);
}

// Reading the figures of all results from the score counts, as at start.
void BM_FiguresFromScratch(benchmark::State& state) {
  Site& site = SiteOf(static_cast<int>(state.range(0)));
  std::string error;
  for (auto _ : state) {
    ScoreSummary summary(kAdaptersShown);
    ScoreSummary::View view;
    if (!summary.Current(*site.store, {}, view, error)) state.SkipWithError(error.c_str());
  }
}

void PrintPlans(int size) {
  Site& site = SiteOf(size);
  site.connection->recording = true;
  httplib::Client client("127.0.0.1", site.port);
  for (const char* path : {kPage, "/results.asp?adapter=ATI_Radeon_7500&os=2000",
                           "/results.asp?adapter=ATI_Radeon_7500", "/results.asp?os=2000", kUpload,
                           kPage}) {
    client.Get(path);
  }
  site.connection->recording = false;
  for (const auto& [sql, plan] : site.connection->plans()) {
    std::fprintf(stderr, "%s\n", sql.c_str());
    for (const std::string& line : plan) std::fprintf(stderr, "    %s\n", line.c_str());
  }
}

std::vector<int> Sizes() {
  const char* listed = std::getenv("QUORVEL_PERF_SITE_SIZES");
  std::stringstream in(listed ? listed : "100000,1000000");
  std::vector<int> sizes;
  for (std::string item; std::getline(in, item, ',');) {
    if (!item.empty()) sizes.push_back(std::stoi(item));
  }
  return sizes;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // The benchmarks of one size run together, smallest size first, so that
  // each database is filled once.
  for (const int size : Sizes()) {
    const auto each = [size](const char* name, void (*run)(benchmark::State&)) {
      return benchmark::RegisterBenchmark(name, run)->Arg(size)->Unit(benchmark::kMillisecond);
    };
    each("BM_PlansPrinted", [](benchmark::State& state) {
      PrintPlans(static_cast<int>(state.range(0)));
      for (auto _ : state) {
      }
    })->Iterations(1);
    each("BM_UploadOverHttp", BM_UploadOverHttp)->Iterations(300)->Repetitions(5)->ReportAggregatesOnly(true);
    each("BM_ComparisonPageOverHttp", BM_ComparisonPageOverHttp)
        ->Iterations(30)->Repetitions(5)->ReportAggregatesOnly(true);
    each("BM_FilteredPageOverHttp", BM_FilteredPageOverHttp)
        ->Iterations(30)->Repetitions(5)->ReportAggregatesOnly(true);
    each("BM_MiddlePageOverHttp", BM_MiddlePageOverHttp)
        ->Iterations(30)->Repetitions(5)->ReportAggregatesOnly(true);
    each("BM_UploadThenPageOverHttp", BM_UploadThenPageOverHttp)
        ->Iterations(30)->Repetitions(5)->ReportAggregatesOnly(true);
    for (int part = 0; part <= 4; ++part) {
      benchmark::RegisterBenchmark("BM_PageQueries", BM_PageQueries)
          ->Args({size, part})->Unit(benchmark::kMillisecond);
    }
    each("BM_FiguresFromScratch", BM_FiguresFromScratch);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  current.reset();
  return 0;
}
