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

  ScoreSummary summary;
  for (const ResultFilter& filter : {ResultFilter{}, ResultFilter{"Radeon", ""},
                                     ResultFilter{"", "XP"}, ResultFilter{"Radeon", "XP"}}) {
    Comparison c;
    EXPECT_TRUE(GatherComparison(store, summary, ComparisonRequest{filter, 2, "10.0.0.3", 1100}, c,
                                 error))
        << error;
  }
  std::int64_t n;
  std::optional<StoredResult> found;
  EXPECT_TRUE(store.CountFrom("10.0.0.3", 1000, n, error));
  EXPECT_TRUE(store.Find(5, found, error));

  EXPECT_GE(plans.plans().size(), 10u);
  for (const auto& [sql, plan] : plans.plans()) {
    SCOPED_TRACE(sql);
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

}  // namespace
}  // namespace quorvel::results_site
