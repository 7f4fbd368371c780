// The store on both databases: the same statements, the same answers.
#include <gtest/gtest.h>

#include "site_fixtures.h"
#include "storage/schema.h"
#include "storage/score_summary.h"

namespace quorvel::results_site {
namespace {

using testing::ExampleUpload;
using testing::FreshStore;

class ResultStoreTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    store = FreshStore(GetParam());
    ASSERT_TRUE(store);
  }
  std::int64_t Add(const Upload& u, const std::string& sender = "10.0.0.1", std::int64_t at = 1000) {
    std::int64_t id = 0;
    std::string error;
    EXPECT_TRUE(store->Add(u, sender, at, id, error)) << error;
    return id;
  }
  std::unique_ptr<ResultStore> store;
  std::string error;
};

TEST_P(ResultStoreTest, KeepsEveryFieldAsGivenHostileTextIncluded) {
  Upload u = ExampleUpload("x'); DROP TABLE results; --", "Card \"<b>\" \xE2\x82\xAC", 777, "2000");
  u.perPixel = true;
  u.multiCPU = true;
  u.cpu = "";
  u.twoDTest = 3;
  const std::int64_t id = Add(u, "192.0.2.7", 1234567890);
  std::optional<StoredResult> found;
  ASSERT_TRUE(store->Find(id, found, error)) << error;
  ASSERT_TRUE(found);
  EXPECT_EQ(found->id, id);
  EXPECT_EQ(found->submittedAt, 1234567890);
  EXPECT_EQ(found->sender, "192.0.2.7");
  const Upload& g = found->upload;
  EXPECT_EQ(g.version, 103);
  EXPECT_EQ(g.userName, u.userName);
  EXPECT_EQ(g.email, u.email);
  EXPECT_EQ(g.cardName, u.cardName);
  EXPECT_EQ(g.mode, u.mode);
  EXPECT_EQ(g.alpha, true);
  EXPECT_EQ(g.perPixel, true);
  EXPECT_EQ(g.grad, true);
  EXPECT_EQ(g.overall, 777);
  EXPECT_EQ(g.alphaTest, 777);
  EXPECT_EQ(g.twoDTest, 3);
  EXPECT_EQ(g.cpu, "");
  EXPECT_EQ(g.driver, u.driver);
  EXPECT_EQ(g.mem, 32);
  EXPECT_EQ(g.cpuMan, u.cpuMan);
  EXPECT_EQ(g.multiCPU, true);
  EXPECT_EQ(g.cpuID, u.cpuID);
  EXPECT_EQ(g.os, "2000");
  std::int64_t count = 0;
  ASSERT_TRUE(store->Count({}, count, error));
  EXPECT_EQ(count, 1);  // and the table is still there

  ASSERT_TRUE(store->Find(id + 1, found, error));
  EXPECT_FALSE(found);
}

TEST_P(ResultStoreTest, ListsFiltersAndCounts) {
  Add(ExampleUpload("a", "GeForce", 300));
  Add(ExampleUpload("b", "Radeon", 500, "2000"));
  Add(ExampleUpload("c", "GeForce", 500));
  Add(ExampleUpload("d", "GeForce", 100, "2000"));
  std::vector<StoredResult> top;
  ASSERT_TRUE(store->Top({}, 10, 0, top, error)) << error;
  std::vector<std::string> names;
  for (const StoredResult& r : top) names.push_back(r.upload.userName);
  EXPECT_EQ(names, (std::vector<std::string>{"b", "c", "a", "d"}));  // ties in upload order

  ASSERT_TRUE(store->Top({}, 2, 1, top, error));
  ASSERT_EQ(top.size(), 2u);
  EXPECT_EQ(top[0].upload.userName, "c");

  ASSERT_TRUE(store->Top({"GeForce", "2000"}, 10, 0, top, error));
  ASSERT_EQ(top.size(), 1u);
  EXPECT_EQ(top[0].upload.userName, "d");

  std::int64_t n = 0;
  ASSERT_TRUE(store->Count({"GeForce", ""}, n, error));
  EXPECT_EQ(n, 3);
  ASSERT_TRUE(store->Count({"", "2000"}, n, error));
  EXPECT_EQ(n, 2);

  std::vector<ScoreRow> scores;
  ASSERT_TRUE(store->ScoresAfter(2, scores, error)) << error;
  ASSERT_EQ(scores.size(), 2u);
  EXPECT_EQ(scores[0].id, 3);
  EXPECT_EQ(scores[0].cardName, "GeForce");
  EXPECT_EQ(scores[0].os, "XP");
  EXPECT_EQ(scores[0].overall, 500);
  EXPECT_EQ(scores[1].id, 4);
}

TEST_P(ResultStoreTest, SummaryHasMediansCountsAndBinsAndFollowsNewResults) {
  for (std::int64_t s : {100, 400, 200}) Add(ExampleUpload("g", "GeForce", s));  // odd: 200
  for (std::int64_t s : {10, 40, 20, 30}) Add(ExampleUpload("r", "Radeon", s, "2000"));  // even: 25
  ScoreSummary summary;
  ScoreSummary::Figures f;
  ASSERT_TRUE(summary.Current(*store, 10, f, error)) << error;
  EXPECT_EQ(f.total, 7);
  EXPECT_EQ(f.maxOverall, 400);
  EXPECT_EQ(f.osNames, (std::vector<std::string>{"2000", "XP"}));
  ASSERT_EQ(f.adapters.size(), 2u);
  EXPECT_EQ(f.adapters[0].cardName, "Radeon");
  EXPECT_EQ(f.adapters[0].count, 4);
  EXPECT_DOUBLE_EQ(f.adapters[0].medianOverall, 25);
  EXPECT_EQ(f.adapters[1].cardName, "GeForce");
  EXPECT_DOUBLE_EQ(f.adapters[1].medianOverall, 200);

  // Results added later are counted at the next look; the limit cuts the list.
  Add(ExampleUpload("m", "Matrox", 7));
  Add(ExampleUpload("g", "GeForce", 500));
  ASSERT_TRUE(summary.Current(*store, 2, f, error)) << error;
  EXPECT_EQ(f.total, 9);
  EXPECT_EQ(f.maxOverall, 500);
  ASSERT_EQ(f.adapters.size(), 2u);
  EXPECT_EQ(f.adapters[0].cardName, "GeForce");  // 4 results; ties by name
  EXPECT_DOUBLE_EQ(f.adapters[0].medianOverall, 300);
  EXPECT_EQ(f.adapters[1].cardName, "Radeon");

  // Results removed behind the site's back: counted again from the start.
  ASSERT_TRUE(store->connection().Run("DELETE FROM results WHERE card_name = ?", {std::string("GeForce")},
                                      nullptr, error));
  ASSERT_TRUE(summary.Current(*store, 10, f, error)) << error;
  EXPECT_EQ(f.total, 5);
  EXPECT_EQ(f.maxOverall, 40);
  EXPECT_EQ(f.adapters.size(), 2u);
}

TEST_P(ResultStoreTest, SummaryCountsAResultCommittedLateWithALowerNumber) {
  const auto renumber = [&](std::int64_t from, std::int64_t to) {
    ASSERT_TRUE(store->connection().Run("UPDATE results SET id = ? WHERE id = ?", {to, from}, nullptr,
                                        error))
        << error;
  };
  Add(ExampleUpload("a", "GeForce", 10));
  renumber(Add(ExampleUpload("b", "GeForce", 20)), 100);
  ScoreSummary summary;
  ScoreSummary::Figures f;
  ASSERT_TRUE(summary.Current(*store, 10, f, error)) << error;
  EXPECT_EQ(f.total, 2);
  // Another server's upload got number 50 but was committed after 100 was seen.
  renumber(Add(ExampleUpload("late", "Radeon", 30)), 50);
  ASSERT_TRUE(summary.Current(*store, 10, f, error)) << error;
  EXPECT_EQ(f.total, 3);
  EXPECT_EQ(f.maxOverall, 30);
  ASSERT_EQ(f.adapters.size(), 2u);
  EXPECT_EQ(f.adapters[1].cardName, "Radeon");
}

TEST_P(ResultStoreTest, FindsAnAddresssNewestUploadAndRecentCount) {
  Add(ExampleUpload("old", "GeForce", 1), "10.0.0.9", 100);
  Add(ExampleUpload("new", "GeForce", 2), "10.0.0.9", 200);
  Add(ExampleUpload("other", "GeForce", 3), "10.0.0.8", 300);
  std::optional<StoredResult> newest;
  ASSERT_TRUE(store->NewestFrom("10.0.0.9", 150, newest, error)) << error;
  ASSERT_TRUE(newest);
  EXPECT_EQ(newest->upload.userName, "new");
  ASSERT_TRUE(store->NewestFrom("10.0.0.9", 201, newest, error));
  EXPECT_FALSE(newest);
  std::int64_t n = 0;
  ASSERT_TRUE(store->CountFrom("10.0.0.9", 100, n, error));
  EXPECT_EQ(n, 2);
  ASSERT_TRUE(store->CountFrom("10.0.0.9", 101, n, error));
  EXPECT_EQ(n, 1);
}

TEST_P(ResultStoreTest, OpeningAgainKeepsTheDataAndTheSchemaVersion) {
  Add(ExampleUpload("kept", "GeForce", 5));
  ASSERT_TRUE(MigrateSchema(store->connection(), error)) << error;
  std::vector<SqlRow> rows;
  ASSERT_TRUE(store->connection().Run("SELECT version FROM schema_version", {}, &rows, error));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], std::to_string(CurrentSchemaVersion()));
  std::int64_t n = 0;
  ASSERT_TRUE(store->Count({}, n, error));
  EXPECT_EQ(n, 1);
}

TEST_P(ResultStoreTest, ResultsStoredWithBlanksForUnderscoresGetTheirUnderscoresBack) {
  // Schema version 1 stored each '_' of an upload as a blank, so an e-mail
  // address first_last@... read "first last@...".
  Upload old = ExampleUpload("Old Timer", "NVIDIA GeForce2 MX", 300);
  old.email = "first last@x.org";
  old.mode = "1024 x 768 x 32 bits (85 Hz)";
  old.driver = "6.13 beta";
  old.cpuMan = "Genuine Intel";
  old.cpuID = "x86 Family 6";
  const std::int64_t oldId = Add(old);
  const std::int64_t newId = Add(ExampleUpload("New_Timer", "NVIDIA_GeForce2_MX", 400));
  ASSERT_TRUE(store->connection().Run("UPDATE schema_version SET version = 1", {}, nullptr, error));

  ASSERT_TRUE(MigrateSchema(store->connection(), error)) << error;
  std::optional<StoredResult> found;
  ASSERT_TRUE(store->Find(oldId, found, error)) << error;
  ASSERT_TRUE(found);
  const Upload& u = found->upload;
  EXPECT_EQ(u.userName, "Old_Timer");
  EXPECT_EQ(u.email, "first_last@x.org");
  EXPECT_EQ(u.cardName, "NVIDIA_GeForce2_MX");
  EXPECT_EQ(u.mode, "1024_x_768_x_32_bits_(85_Hz)");
  EXPECT_EQ(u.driver, "6.13_beta");
  EXPECT_EQ(u.cpuMan, "Genuine_Intel");
  EXPECT_EQ(u.cpuID, "x86_Family_6");
  EXPECT_EQ(u.overall, 300);
  ASSERT_TRUE(store->Find(newId, found, error)) << error;
  EXPECT_EQ(found->upload.userName, "New_Timer");
  // Old and new results of one adapter are one adapter again.
  std::int64_t n = 0;
  ASSERT_TRUE(store->Count({"NVIDIA_GeForce2_MX", ""}, n, error)) << error;
  EXPECT_EQ(n, 2);
  std::vector<SqlRow> rows;
  ASSERT_TRUE(store->connection().Run("SELECT version FROM schema_version", {}, &rows, error));
  EXPECT_EQ(rows[0][0], std::to_string(CurrentSchemaVersion()));
}

TEST_P(ResultStoreTest, RefusesADatabaseOfANewerSchema) {
  ASSERT_TRUE(store->connection().Run("UPDATE schema_version SET version = ?",
                                      {std::int64_t{CurrentSchemaVersion() + 1}}, nullptr, error));
  EXPECT_FALSE(MigrateSchema(store->connection(), error));
  EXPECT_NE(error.find("newer than this program"), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Databases, ResultStoreTest, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return info.param; });

TEST(OpenSqlConnection, ExplainsWhatItCannotOpen) {
  std::string error;
  EXPECT_FALSE(OpenSqlConnection("mysql://x/y", error));
  EXPECT_NE(error.find("sqlite:PATH or postgresql://"), std::string::npos);
  EXPECT_FALSE(OpenSqlConnection("sqlite:/nonexistent-folder/x/results.sqlite", error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(OpenSqlConnection("postgresql:///nodb?host=/nonexistent-folder", error));
  EXPECT_NE(error.find("/nonexistent-folder"), std::string::npos) << error;
}

}  // namespace
}  // namespace quorvel::results_site

namespace quorvel::results_site {
namespace {

TEST(ScoreSummary, MedianAndBinsOfCountedScores) {
  EXPECT_DOUBLE_EQ(ScoreSummary::Median({}, 0), 0);
  EXPECT_DOUBLE_EQ(ScoreSummary::Median({{5, 1}}, 1), 5);
  EXPECT_DOUBLE_EQ(ScoreSummary::Median({{1, 1}, {2, 1}}, 2), 1.5);
  EXPECT_DOUBLE_EQ(ScoreSummary::Median({{1, 2}, {9, 2}}, 4), 5);
  EXPECT_DOUBLE_EQ(ScoreSummary::Median({{1, 3}, {9, 1}}, 4), 1);
  EXPECT_DOUBLE_EQ(ScoreSummary::Median({{1, 1}, {4, 3}, {9, 1}}, 5), 4);
  std::vector<std::pair<std::int64_t, std::int64_t>> bins;  // index, count
  for (const HistogramBin& b :
       ScoreSummary::Bins({{0, 1}, {9, 1}, {10, 1}, {25, 2}, {29, 1}, {95, 1}}, 10)) {
    bins.emplace_back(b.index, b.count);
  }
  EXPECT_EQ(bins, (std::vector<std::pair<std::int64_t, std::int64_t>>{{0, 2}, {1, 1}, {2, 3}, {9, 1}}));
}

}  // namespace
}  // namespace quorvel::results_site
