// The store on both databases: the same statements, the same answers.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

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
  // The score counts the database keeps, and the same counted from the
  // results themselves, as "card/os/overall:n" lines.
  std::pair<std::vector<std::string>, std::vector<std::string>> KeptAndRecounted() {
    std::pair<std::vector<std::string>, std::vector<std::string>> both;
    for (auto [sql, out] :
         {std::make_pair("SELECT card_name, os, overall, results FROM score_counts "
                         "ORDER BY card_name, os, overall",
                         &both.first),
          std::make_pair("SELECT card_name, os, overall, COUNT(*) FROM results "
                         "GROUP BY card_name, os, overall ORDER BY card_name, os, overall",
                         &both.second)}) {
      std::vector<SqlRow> rows;
      EXPECT_TRUE(store->connection().Run(sql, {}, &rows, error)) << error;
      for (const SqlRow& r : rows) out->push_back(r[0] + "/" + r[1] + "/" + r[2] + ":" + r[3]);
    }
    return both;
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
  const auto names = [&](const ResultFilter& filter, const ListStart& start, std::int64_t limit) {
    std::vector<StoredResult> top;
    EXPECT_TRUE(store->Top(filter, start, limit, top, error)) << error;
    std::string text;
    for (const StoredResult& r : top) text += r.upload.userName;
    return text;
  };
  EXPECT_EQ(names({}, {}, 10), "bcad");  // ties in upload order
  EXPECT_EQ(names({}, {std::nullopt, 1}, 2), "ca");
  // From the second result of those scoring 500 or less; from the first below 500.
  EXPECT_EQ(names({}, {500, 1}, 10), "cad");
  EXPECT_EQ(names({}, {499, 0}, 10), "ad");
  EXPECT_EQ(names({"GeForce", ""}, {500, 0}, 2), "ca");
  EXPECT_EQ(names({"GeForce", "2000"}, {}, 10), "d");
  EXPECT_EQ(names({"", "2000"}, {400, 0}, 10), "d");

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

TEST_P(ResultStoreTest, SummaryHasCountsMediansAndBinsAndFollowsNewResults) {
  for (std::int64_t s : {100, 400, 200}) Add(ExampleUpload("g", "GeForce", s));  // odd: 200
  for (std::int64_t s : {10, 40, 20, 30}) Add(ExampleUpload("r", "Radeon", s, "2000"));  // even: 25
  ScoreSummary summary(2);
  ScoreSummary::View v;
  ASSERT_TRUE(summary.Current(*store, {}, v, error)) << error;
  const ScoreSummary::Figures* f = v.figures.get();
  EXPECT_EQ(v.matching, 7);
  EXPECT_EQ(f->total, 7);
  EXPECT_EQ(f->maxOverall, 400);
  EXPECT_EQ(f->Below(30), 2);
  EXPECT_EQ(f->Below(31), 3);
  EXPECT_EQ(f->Below(0), 0);
  EXPECT_EQ(f->Below(401), 7);
  EXPECT_EQ(f->osNames, (std::vector<std::string>{"2000", "XP"}));
  ASSERT_EQ(f->adapters.size(), 2u);
  EXPECT_EQ(f->adapters[0].cardName, "Radeon");
  EXPECT_EQ(f->adapters[0].count, 4);
  EXPECT_DOUBLE_EQ(f->adapters[0].medianOverall, 25);
  EXPECT_EQ(f->adapters[1].cardName, "GeForce");
  EXPECT_DOUBLE_EQ(f->adapters[1].medianOverall, 200);
  // Each filter's count.
  const std::pair<ResultFilter, std::int64_t> filters[] = {
      {{"GeForce", ""}, 3}, {{"", "2000"}, 4}, {{"Radeon", "2000"}, 4},
      {{"Radeon", "XP"}, 0}, {{"Matrox", ""}, 0}, {{"", "ME"}, 0}};
  for (const auto& [filter, n] : filters) {
    SCOPED_TRACE(filter.adapter + "/" + filter.os);
    ASSERT_TRUE(summary.Current(*store, filter, v, error)) << error;
    EXPECT_EQ(v.matching, n);
  }

  // Results added later are counted at the next look; the limit cuts the list.
  Add(ExampleUpload("m", "Matrox", 7));
  Add(ExampleUpload("g", "GeForce", 500));
  ASSERT_TRUE(summary.Current(*store, {"GeForce", "XP"}, v, error)) << error;
  f = v.figures.get();
  EXPECT_EQ(v.matching, 4);
  EXPECT_EQ(f->total, 9);
  EXPECT_EQ(f->maxOverall, 500);
  ASSERT_EQ(f->adapters.size(), 2u);
  EXPECT_EQ(f->adapters[0].cardName, "GeForce");  // 4 results; ties by name
  EXPECT_DOUBLE_EQ(f->adapters[0].medianOverall, 300);
  EXPECT_EQ(f->adapters[1].cardName, "Radeon");
  EXPECT_EQ(KeptAndRecounted().first, KeptAndRecounted().second);
}

TEST_P(ResultStoreTest, ResultsRemovedOrEditedByHandAreCountedAgain) {
  for (std::int64_t s : {100, 400, 200, 100}) Add(ExampleUpload("g", "GeForce", s));
  for (std::int64_t s : {10, 40}) Add(ExampleUpload("r", "Radeon", s, "2000"));
  ScoreSummary summary(10);
  ScoreSummary::View v;
  ASSERT_TRUE(summary.Current(*store, {}, v, error)) << error;
  EXPECT_EQ(v.figures->total, 6);

  ASSERT_TRUE(store->connection().Run("DELETE FROM results WHERE card_name = ? AND overall = ?",
                                      {std::string("GeForce"), std::int64_t{100}}, nullptr, error))
      << error;
  ASSERT_TRUE(store->connection().Run("UPDATE results SET overall = 5, os = '2000' WHERE overall = 400",
                                      {}, nullptr, error))
      << error;
  const auto [kept, recounted] = KeptAndRecounted();
  EXPECT_EQ(kept, recounted);
  EXPECT_EQ(kept, (std::vector<std::string>{"GeForce/2000/5:1", "GeForce/XP/200:1",
                                            "Radeon/2000/10:1", "Radeon/2000/40:1"}));
  ASSERT_TRUE(summary.Current(*store, {"", "2000"}, v, error)) << error;
  EXPECT_EQ(v.matching, 3);
  EXPECT_EQ(v.figures->total, 4);
  EXPECT_EQ(v.figures->maxOverall, 200);
  ASSERT_EQ(v.figures->adapters.size(), 2u);
  EXPECT_DOUBLE_EQ(v.figures->adapters[0].medianOverall, 102.5);  // GeForce: 5 and 200
  // And the next upload is counted on top.
  Add(ExampleUpload("g", "GeForce", 1));
  ASSERT_TRUE(summary.Current(*store, {"GeForce", ""}, v, error)) << error;
  EXPECT_EQ(v.matching, 3);
  EXPECT_EQ(v.figures->total, 5);
}

TEST_P(ResultStoreTest, PagesOfAListBeginWhereTheCountsSay) {
  // Scores 1..9 for GeForce on XP, each of 5, 6 and 7 three times: 15 results.
  for (std::int64_t s = 1; s <= 9; ++s) {
    for (int n = 0; n < (s >= 5 && s <= 7 ? 3 : 1); ++n) Add(ExampleUpload("g", "GeForce", s));
  }
  Add(ExampleUpload("r", "Radeon", 6, "2000"));
  ScoreSummary summary(10);
  ScoreSummary::View v;
  ASSERT_TRUE(summary.Current(*store, {}, v, error)) << error;
  // Each start, and the ids a plain OFFSET gives from the same place.
  for (const ResultFilter& filter :
       {ResultFilter{}, ResultFilter{"GeForce", ""}, ResultFilter{"", "XP"},
        ResultFilter{"Radeon", "2000"}, ResultFilter{"Matrox", ""}}) {
    for (std::int64_t offset = 0; offset <= 18; ++offset) {
      SCOPED_TRACE(filter.adapter + "/" + filter.os + " from " + std::to_string(offset));
      std::vector<StoredResult> counted;
      std::vector<StoredResult> offsetted;
      ASSERT_TRUE(store->Top(filter, summary.StartOf(filter, offset), 4, counted, error)) << error;
      ASSERT_TRUE(store->Top(filter, ListStart{std::nullopt, offset}, 4, offsetted, error)) << error;
      std::vector<std::int64_t> a;
      std::vector<std::int64_t> b;
      for (const StoredResult& r : counted) a.push_back(r.id);
      for (const StoredResult& r : offsetted) b.push_back(r.id);
      EXPECT_EQ(a, b);
    }
  }
}

TEST_P(ResultStoreTest, UploadsThroughManyConnectionsAreCountedOnceEach) {
  // Four servers' connections upload at once while a fifth follows them:
  // results are numbered in the order they commit, so following the
  // numbers misses none.
  std::string location;
  store = FreshStore(GetParam(), &location);
  ASSERT_TRUE(store);
  std::vector<std::unique_ptr<ResultStore>> servers;
  for (int i = 0; i < 4; ++i) {
    servers.push_back(ResultStore::Open(location, error));
    ASSERT_TRUE(servers.back()) << error;
  }
  ScoreSummary summary(10);
  std::atomic<int> running{4};
  std::atomic<int> failures{0};
  std::vector<std::thread> uploads;
  for (int i = 0; i < 4; ++i) {
    uploads.emplace_back([&, i] {
      for (int n = 0; n < 40; ++n) {
        std::int64_t id = 0;
        std::string why;
        const char* card = n % 2 ? "GeForce" : "Radeon";
        if (!servers[i]->Add(ExampleUpload("u", card, n * 4 + i), "10.0.0.1", 1000, id, why)) {
          ++failures;
        }
      }
      --running;
    });
  }
  ScoreSummary::View v;
  while (running.load() > 0) ASSERT_TRUE(summary.Current(*store, {}, v, error)) << error;
  for (std::thread& t : uploads) t.join();
  EXPECT_EQ(failures.load(), 0);
  ASSERT_TRUE(summary.Current(*store, {"Radeon", ""}, v, error)) << error;
  EXPECT_EQ(v.figures->total, 160);
  EXPECT_EQ(v.matching, 80);
  EXPECT_EQ(v.figures->scores.size(), 160u);  // every score n * 4 + i once
  EXPECT_EQ(KeptAndRecounted().first, KeptAndRecounted().second);
  std::vector<SqlRow> rows;
  ASSERT_TRUE(store->connection().Run("SELECT MIN(id), MAX(id), COUNT(*) FROM results", {}, &rows, error));
  EXPECT_EQ(rows[0], (SqlRow{"1", "160", "160"}));
}

TEST_P(ResultStoreTest, TheLimitCountsAnAddresssUploadsThroughEveryConnection) {
  std::string location;
  store = FreshStore(GetParam(), &location);
  ASSERT_TRUE(store);
  std::unique_ptr<ResultStore> other = ResultStore::Open(location, error);
  ASSERT_TRUE(other) << error;
  const SenderLimit limit{1000, 3};
  std::vector<std::string> answers;
  for (int i = 0; i < 5; ++i) {
    ResultStore& through = i % 2 ? *other : *store;
    bool limited = false;
    std::int64_t id = 0;
    ASSERT_TRUE(through.Add(ExampleUpload("u", "GeForce", i), "10.0.0.9", 1000 + i, limit, limited,
                            id, error))
        << error;
    answers.push_back(limited ? "limited" : std::to_string(id));
  }
  EXPECT_EQ(answers, (std::vector<std::string>{"1", "2", "3", "limited", "limited"}));
  // Another address, and the number a refused upload did not take.
  bool limited = true;
  std::int64_t id = 0;
  ASSERT_TRUE(other->Add(ExampleUpload("v", "GeForce", 9), "10.0.0.8", 1004, limit, limited, id, error));
  EXPECT_FALSE(limited);
  EXPECT_EQ(id, 4);
  EXPECT_EQ(KeptAndRecounted().first, KeptAndRecounted().second);
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

TEST_P(ResultStoreTest, AnOldDatabaseIsMigratedItsTextsMendedAndItsResultsCounted) {
  // A database of schema version 1, which stored each '_' of an upload as
  // a blank, so that an e-mail address first_last@... read "first last@...".
  SqlConnection& db = store->connection();
  ASSERT_TRUE(DropSchema(db, error)) << error;
  ASSERT_TRUE(MigrateSchema(db, error, 1)) << error;
  const auto insert = [&](const std::string& name, const std::string& email, const std::string& card,
                          std::int64_t overall, const std::string& os) {
    ASSERT_TRUE(db.Run("INSERT INTO results (submitted_at, sender, ver, user_name, email, card_name,"
                       " mode, alpha, per_pixel, grad, overall, alpha_test, two_d_test, cpu, driver,"
                       " mem, cpu_man, multi_cpu, cpu_id, os) VALUES (1000, '10.0.0.1', 103, ?, ?, ?,"
                       " '1024 x 768 x 32 bits (85 Hz)', 1, 0, 1, ?, ?, 0, '800', '6.13 beta', 32,"
                       " 'Genuine Intel', 0, 'x86 Family 6', ?)",
                       {name, email, card, overall, overall, os}, nullptr, error))
        << error;
  };
  insert("Old Timer", "first last@x.org", "NVIDIA GeForce2 MX", 300, "XP");
  insert("Other", "o@x.org", "NVIDIA GeForce2 MX", 300, "XP");
  insert("Third", "t@x.org", "Radeon", 100, "2000");

  ASSERT_TRUE(MigrateSchema(db, error)) << error;
  std::optional<StoredResult> found;
  ASSERT_TRUE(store->Find(1, found, error)) << error;
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
  // The stored results are counted, and the next upload is numbered after them.
  EXPECT_EQ(KeptAndRecounted().first,
            (std::vector<std::string>{"NVIDIA_GeForce2_MX/XP/300:2", "Radeon/2000/100:1"}));
  const std::int64_t next = Add(ExampleUpload("New_Timer", "NVIDIA_GeForce2_MX", 400));
  EXPECT_EQ(next, 4);
  ScoreSummary summary(10);
  ScoreSummary::View v;
  ASSERT_TRUE(summary.Current(*store, {"NVIDIA_GeForce2_MX", ""}, v, error)) << error;
  EXPECT_EQ(v.matching, 3);  // old and new results of one adapter are one adapter again
  EXPECT_EQ(v.figures->total, 4);
  std::vector<SqlRow> rows;
  ASSERT_TRUE(db.Run("SELECT version FROM schema_version", {}, &rows, error));
  ASSERT_EQ(rows.size(), 1u);
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
  for (const HistogramBin& b : ScoreSummary::Bins(
           {{0, 1, 0}, {9, 1, 1}, {10, 1, 2}, {25, 2, 3}, {29, 1, 5}, {95, 1, 6}}, 10)) {
    bins.emplace_back(b.index, b.count);
  }
  EXPECT_EQ(bins, (std::vector<std::pair<std::int64_t, std::int64_t>>{{0, 2}, {1, 1}, {2, 3}, {9, 1}}));
}

}  // namespace
}  // namespace quorvel::results_site
