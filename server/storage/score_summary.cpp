#include "storage/score_summary.h"

#include <algorithm>

namespace quorvel::results_site {

double ScoreSummary::Median(const std::map<std::int64_t, std::int64_t>& scores, std::int64_t count) {
  if (count <= 0) return 0;
  // The (count+1)/2-th and (count+2)/2-th smallest, 1-based: the same one when count is odd.
  const std::int64_t lowRank = (count + 1) / 2;
  const std::int64_t highRank = (count + 2) / 2;
  std::int64_t seen = 0;
  double low = 0;
  for (const auto& [score, n] : scores) {
    if (seen < lowRank && seen + n >= lowRank) low = static_cast<double>(score);
    if (seen + n >= highRank) return (low + static_cast<double>(score)) / 2;
    seen += n;
  }
  return low;
}

std::vector<HistogramBin> ScoreSummary::Bins(const std::map<std::int64_t, std::int64_t>& scores,
                                             std::int64_t width) {
  std::vector<HistogramBin> bins;
  for (const auto& [score, n] : scores) {
    const std::int64_t index = score / width;
    if (bins.empty() || bins.back().index != index) bins.push_back(HistogramBin{index, 0});
    bins.back().count += n;
  }
  return bins;
}

void ScoreSummary::Take(const ScoreRow& row) {
  ++byAdapter_[row.cardName][row.overall];
  ++adapterCounts_[row.cardName];
  ++scores_[row.overall];
  ++osCounts_[row.os];
  ++count_;
  lastId_ = std::max(lastId_, row.id);
}

void ScoreSummary::Reset() {
  lastId_ = 0;
  count_ = 0;
  byAdapter_.clear();
  adapterCounts_.clear();
  scores_.clear();
  osCounts_.clear();
}

bool ScoreSummary::Current(ResultStore& store, std::size_t adapterLimit, Figures& out,
                           std::string& error) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::int64_t total = 0;
  if (!store.Count(ResultFilter{}, total, error)) return false;
  // Results are only ever added; fewer than last time means someone removed
  // some from the database: count everything again.
  if (total < count_) Reset();
  if (total != count_) {
    std::vector<ScoreRow> added;
    if (!store.ScoresAfter(lastId_, added, error)) return false;
    for (const ScoreRow& row : added) Take(row);
    // Still short: a result below the highest number seen was committed
    // late (another server on the same PostgreSQL database): all again.
    if (count_ < total) {
      Reset();
      if (!store.ScoresAfter(0, added, error)) return false;
      for (const ScoreRow& row : added) Take(row);
    }
  }
  out.total = count_;
  out.maxOverall = scores_.empty() ? 0 : scores_.rbegin()->first;
  out.scores = scores_;
  out.osNames.clear();
  for (const auto& entry : osCounts_) out.osNames.push_back(entry.first);
  out.adapters.clear();
  for (const auto& [name, n] : adapterCounts_) out.adapters.push_back(AdapterSummary{name, n, 0});
  std::sort(out.adapters.begin(), out.adapters.end(),
            [](const AdapterSummary& a, const AdapterSummary& b) {
              return a.count != b.count ? a.count > b.count : a.cardName < b.cardName;
            });
  if (out.adapters.size() > adapterLimit) out.adapters.resize(adapterLimit);
  for (AdapterSummary& a : out.adapters) a.medianOverall = Median(byAdapter_[a.cardName], a.count);
  return true;
}

}  // namespace quorvel::results_site
