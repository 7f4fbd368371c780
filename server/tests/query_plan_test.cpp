// Every query of the pages, the upload and the JSON takes an index: none
// reads the whole table row by row or sorts all of it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "pages/comparison.h"
#include "site_fixtures.h"
#include "storage/query_plans.h"
#include "storage/sqlite_connection.h"

namespace quorvel::results_site {
namespace {

TEST(QueryPlans, EveryQueryOfThePagesTakesAnIndex) {
  char folder[] = "/tmp/quorvel-plans.XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string path = std::string(folder) + "/results.sqlite";
  std::string error;
  {
    std::unique_ptr<ResultStore> created = ResultStore::Open("sqlite:" + path, error);
    ASSERT_TRUE(created) << error;
    for (int i = 0; i < 200; ++i) {
      std::int64_t id;
      ASSERT_TRUE(created->Add(
          testing::ExampleUpload("u", i % 3 ? "GeForce" : "Radeon", i, i % 2 ? "XP" : "2000"),
          "10.0.0." + std::to_string(i % 7), 1000 + i, id, error));
    }
  }
  auto recorder = std::make_unique<PlanRecordingConnection>(OpenSqlite(path, error));
  PlanRecordingConnection& plans = *recorder;
  ResultStore store(std::move(recorder));

  ScoreSummary summary(kAdaptersShown);
  for (const ResultFilter& filter : {ResultFilter{}, ResultFilter{"Radeon", ""},
                                     ResultFilter{"", "XP"}, ResultFilter{"Radeon", "XP"}}) {
    Comparison c;
    EXPECT_TRUE(GatherComparison(store, summary, ComparisonRequest{filter, 2, "10.0.0.3", 1100}, c,
                                 error))
        << error;
    // A result added before the next page, which reads it.
    std::int64_t id;
    EXPECT_TRUE(store.Add(testing::ExampleUpload("v", "Radeon", 7), "10.0.0.3", 1100, id, error));
  }
  std::int64_t n;
  std::optional<StoredResult> found;
  EXPECT_TRUE(store.CountFrom("10.0.0.3", 1000, n, error));
  EXPECT_TRUE(store.Find(5, found, error));

  EXPECT_GE(plans.plans().size(), 10u);
  for (const auto& [sql, plan] : plans.plans()) {
    SCOPED_TRACE(sql);
    // The counter is one row, and the score counts are read whole at the
    // start only (APageReadsTheCounterAndTheNewResultsOnly).
    if (sql.find("FROM results") == std::string::npos) continue;
    bool indexed = false;
    for (const std::string& line : plan) {
      EXPECT_NE(line, "SCAN results");
      EXPECT_EQ(line.find("TEMP B-TREE FOR ORDER BY"), std::string::npos);
      indexed = indexed || line.find("USING") != std::string::npos;
    }
    EXPECT_TRUE(indexed);
  }
  std::filesystem::remove_all(folder);
}

// A connection that counts the statements run through it.
class CountingConnection : public ForwardingConnection {
 public:
  using ForwardingConnection::ForwardingConnection;
  bool Run(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
           std::string& error) override {
    statements.push_back(sql);
    return inner_->Run(sql, params, rows, error);
  }
  std::vector<std::string> statements;
};

TEST(QueryPlans, APageReadsTheCounterAndTheNewResultsOnly) {
  std::string location;
  std::unique_ptr<ResultStore> filled = testing::FreshStore("sqlite", &location);
  ASSERT_TRUE(filled);
  std::string error;
  std::int64_t id;
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(filled->Add(testing::ExampleUpload("u", "GeForce", i), "10.0.0.1", 1000, id, error));
  }
  auto counting = std::make_unique<CountingConnection>(OpenSqlConnection(location, error));
  CountingConnection& db = *counting;
  ResultStore store(std::move(counting));
  ScoreSummary summary(kAdaptersShown);
  const auto page = [&](const char* sender) {
    db.statements.clear();
    Comparison c;
    EXPECT_TRUE(GatherComparison(store, summary, ComparisonRequest{{}, 2, sender, 1100}, c, error))
        << error;
    return db.statements;
  };
  const auto reads = [](const std::vector<std::string>& statements, const char* what) {
    int n = 0;
    for (const std::string& s : statements) n += s.find(what) != std::string::npos;
    return n;
  };
  std::vector<std::string> first = page("10.0.0.1");
  EXPECT_EQ(reads(first, "FROM score_counts"), 1);  // the first page reads the counts
  // Later pages read the counter, the visitor's result and their part of the
  // list; after an upload, the one new result besides.
  std::vector<std::string> later = page("10.0.0.1");
  EXPECT_EQ(reads(later, "FROM score_counts"), 0);
  EXPECT_EQ(later.size(), 3u) << ::testing::PrintToString(later);
  ASSERT_TRUE(filled->Add(testing::ExampleUpload("u", "Radeon", 60), "10.0.0.2", 1000, id, error));
  later = page("");
  EXPECT_EQ(reads(later, "FROM score_counts"), 0);
  EXPECT_EQ(reads(later, "WHERE id > ?"), 1);
  EXPECT_EQ(later.size(), 3u) << ::testing::PrintToString(later);
}

}  // namespace
}  // namespace quorvel::results_site
