// The comparison page for a known set of results.
#include <gtest/gtest.h>

#include <regex>

#include "pages/comparison.h"
#include "pages/html.h"
#include "pages/result_page.h"
#include "site_fixtures.h"

namespace quorvel::results_site {
namespace {

using testing::ExampleUpload;
using testing::FreshStore;

constexpr std::int64_t kNow = 1800000000;

int Occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class ComparisonPageTest : public ::testing::TestWithParam<std::string> {
 protected:
  // 40 results with overall scores 10, 20, ..., 400 from 10.0.0.1, on two
  // adapters; then the visitor's result (score 305) from 10.0.0.2.
  void SetUp() override {
    store = FreshStore(GetParam());
    ASSERT_TRUE(store);
    for (int i = 1; i <= 40; ++i) {
      Add(ExampleUpload("user" + std::to_string(i), i % 2 ? "GeForce" : "Radeon", i * 10,
                        i % 4 ? "XP" : "2000"),
          "10.0.0.1", kNow - 7200);
    }
    Upload mine = ExampleUpload("<script>alert('me')</script> & co", "Radeon", 305);
    mine.email = "secret.address@example.com";
    yourId = Add(mine, "10.0.0.2", kNow - 60);
  }
  std::int64_t Add(const Upload& u, const std::string& sender, std::int64_t at) {
    std::int64_t id = 0;
    EXPECT_TRUE(store->Add(u, sender, at, id, error)) << error;
    return id;
  }
  std::string Page(const std::string& sender, std::int64_t page = 1, ResultFilter filter = {},
                   std::int64_t now = kNow) {
    ComparisonRequest request{filter, page, sender, now};
    Comparison comparison;
    EXPECT_TRUE(GatherComparison(*store, summary, request, comparison, error)) << error;
    return RenderComparisonPage(comparison);
  }
  std::unique_ptr<ResultStore> store;
  ScoreSummary summary{kAdaptersShown};
  std::int64_t yourId = 0;
  std::string error;
};

TEST_P(ComparisonPageTest, HighlightsTheVisitorsNewResultWithItsRank) {
  const std::string html = Page("10.0.0.2");
  // 30 of the 41 results score below 305: 30 * 100 / 41 = 73 %.
  std::smatch row;
  ASSERT_TRUE(std::regex_search(html, row, std::regex("<tr id=\"your-result\">(.*)</tr>")));
  const std::string cells = row[1];
  EXPECT_NE(cells.find("faster than 73 % of 41 results"), std::string::npos) << cells;
  EXPECT_NE(cells.find("&lt;script&gt;alert(&#39;me&#39;)&lt;/script&gt; &amp; co"), std::string::npos);
  EXPECT_NE(cells.find("href=\"/result/" + std::to_string(yourId) + "\""), std::string::npos);
  EXPECT_EQ(Occurrences(html, "id=\"your-result\""), 1);
  // The result is also marked where it stands in the top list (rank 11, page 1).
  EXPECT_EQ(Occurrences(html, "class=\"yours\""), 1);
  // Nothing the user typed reaches the page unescaped, and no e-mail at all.
  EXPECT_EQ(html.find("<script"), std::string::npos);
  EXPECT_EQ(html.find("secret.address"), std::string::npos);
  EXPECT_EQ(html.find("@example.com"), std::string::npos);
}

TEST_P(ComparisonPageTest, HighlightsOnlyARecentResultOfTheSameAddress) {
  EXPECT_EQ(Page("10.0.0.3").find("id=\"your-result\""), std::string::npos);     // another address
  EXPECT_EQ(Page("10.0.0.2", 1, {}, kNow - 60 + kHighlightSeconds + 1).find("id=\"your-result\""),
            std::string::npos);                                              // 30 minutes later
  EXPECT_NE(Page("10.0.0.2", 1, {}, kNow - 60 + kHighlightSeconds).find("id=\"your-result\""),
            std::string::npos);                                              // just in time
}

TEST_P(ComparisonPageTest, HistogramMarksTheVisitorsBin) {
  const std::string html = Page("10.0.0.2");
  // Scores up to 400 in at most 20 bins: bins of 50; 305 lies in the bin from 300.
  EXPECT_EQ(HistogramBinWidth(400, 20), 50);
  std::regex bar("<rect class=\"bar( yours)?\" data-from=\"(\\d+)\" data-count=\"(\\d+)\"");
  std::int64_t total = 0;
  std::vector<std::string> yours;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), bar); it != std::sregex_iterator(); ++it) {
    total += std::stoll((*it)[3]);
    if ((*it)[1].matched) yours.push_back((*it)[2].str() + ":" + (*it)[3].str());
  }
  EXPECT_EQ(total, 41);
  // The bin from 300 holds 300, 305, 310, ..., 340: six results.
  EXPECT_EQ(yours, (std::vector<std::string>{"300:6"}));
  EXPECT_NE(html.find("<line id=\"your-score-marker\" data-score=\"305\""), std::string::npos);
  EXPECT_EQ(Page("10.0.0.3").find("id=\"your-score-marker\""), std::string::npos);
}

TEST_P(ComparisonPageTest, TopListIsPagedAndFiltered) {
  const std::string first = Page("");
  EXPECT_EQ(Occurrences(first, "data-id="), kResultsPerPage);
  EXPECT_NE(first.find("Page 1 of 2"), std::string::npos);
  EXPECT_NE(first.find("rel=\"next\" href=\"/results.asp?page=2\""), std::string::npos);
  EXPECT_LT(first.find(">user40<"), first.find(">user39<"));  // best first

  const std::string second = Page("", 2);
  EXPECT_EQ(Occurrences(second, "data-id="), 41 - kResultsPerPage);
  EXPECT_NE(second.find("rel=\"prev\""), std::string::npos);
  EXPECT_EQ(second.find("rel=\"next\""), std::string::npos);
  EXPECT_NE(Page("", 99).find("Page 2 of 2"), std::string::npos);  // past the end: the last

  const std::string radeon = Page("", 1, {"Radeon", "2000"});
  EXPECT_EQ(Occurrences(radeon, "data-id="), 10);  // i = 4, 8, ..., 40
  EXPECT_NE(radeon.find("<option value=\"Radeon\" selected>"), std::string::npos);
  EXPECT_NE(radeon.find("<option value=\"2000\" selected>"), std::string::npos);
  EXPECT_EQ(radeon.find(">user1<"), std::string::npos);
}

TEST_P(ComparisonPageTest, AdapterTableShowsMediansAndCounts) {
  const std::string html = Page("");
  // Radeon: 20, 40, ..., 400 and 305 (21 results, median 220);
  // GeForce: 10, 30, ..., 390 (20 results, median (190 + 210) / 2).
  EXPECT_NE(html.find(">Radeon</a></td><td class=\"num\">220</td><td class=\"num\">21</td>"),
            std::string::npos);
  EXPECT_NE(html.find(">GeForce</a></td><td class=\"num\">200</td><td class=\"num\">20</td>"),
            std::string::npos);
}

TEST_P(ComparisonPageTest, ResultPageAndJsonLeaveTheEmailOut) {
  std::optional<StoredResult> mine;
  ASSERT_TRUE(store->Find(yourId, mine, error));
  ASSERT_TRUE(mine);
  const std::string page = RenderResultPage(*mine);
  EXPECT_EQ(page.find("secret.address"), std::string::npos);
  EXPECT_EQ(page.find("<script"), std::string::npos);
  EXPECT_NE(page.find("<td>305</td>"), std::string::npos);
  const std::string json = ResultsJson(1, {*mine});
  EXPECT_EQ(json.find("secret.address"), std::string::npos);
  EXPECT_EQ(json.find("10.0.0.2"), std::string::npos);
  EXPECT_NE(json.find("\"userName\":\"<script>alert('me')</script> & co\""), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Databases, ComparisonPageTest, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return info.param; });

TEST(Html, EscapesEveryMarkupCharacter) {
  EXPECT_EQ(Html("<a href=\"x\">Tom & 'Jerry'</a>"),
            "&lt;a href=&quot;x&quot;&gt;Tom &amp; &#39;Jerry&#39;&lt;/a&gt;");
  EXPECT_EQ(UrlValue("GeForce 2 & <MX>"), "GeForce%202%20%26%20%3CMX%3E");
  EXPECT_EQ(Thousands(1204), "1,204");
  EXPECT_EQ(Thousands(999), "999");
  EXPECT_EQ(Thousands(1234567), "1,234,567");
  EXPECT_EQ(HistogramBinWidth(0, 20), 1);
  EXPECT_EQ(HistogramBinWidth(19, 20), 1);
  EXPECT_EQ(HistogramBinWidth(20, 20), 2);
  EXPECT_EQ(HistogramBinWidth(99999, 20), 5000);
}

}  // namespace
}  // namespace quorvel::results_site
