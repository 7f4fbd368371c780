#include "storage/score_summary.h"

#include <algorithm>

namespace quorvel::results_site {

std::int64_t ScoreSummary::Figures::Below(std::int64_t overall) const {
  const auto at = std::lower_bound(
      scores.begin(), scores.end(), overall,
      [](const ScoreCount& s, std::int64_t score) { return s.overall < score; });
  if (at != scores.end()) return at->below;
  return scores.empty() ? 0 : scores.back().below + scores.back().results;
}

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

std::vector<HistogramBin> ScoreSummary::Bins(const std::vector<ScoreCount>& scores,
                                             std::int64_t width) {
  std::vector<HistogramBin> bins;
  for (const ScoreCount& s : scores) {
    const std::int64_t index = s.overall / width;
    if (bins.empty() || bins.back().index != index) bins.push_back(HistogramBin{index, 0});
    bins.back().count += s.results;
  }
  return bins;
}

void ScoreSummary::Counted::Take(std::int64_t overall, std::int64_t results) {
  total += results;
  scores[overall] += results;
}

void ScoreSummary::Take(const ScoreRow& row) {
  all_.Take(row.overall, row.results);
  byAdapter_[row.cardName].Take(row.overall, row.results);
  byOs_[row.os].Take(row.overall, row.results);
  byAdapterAndOs_[{row.cardName, row.os}].Take(row.overall, row.results);
  medians_.erase(row.cardName);
  figures_.reset();
  lastId_ = std::max(lastId_, row.id);
}

void ScoreSummary::Reset() {
  loaded_ = false;
  lastId_ = 0;
  changes_ = 0;
  all_ = Counted{};
  byAdapter_.clear();
  byOs_.clear();
  byAdapterAndOs_.clear();
  medians_.clear();
  figures_.reset();
}

bool ScoreSummary::Load(ResultStore& store, std::string& error) {
  CountedScores counted;
  if (!store.Scores(counted, error)) return false;
  Reset();
  for (const ScoreRow& row : counted.rows) Take(row);
  lastId_ = counted.lastId;
  changes_ = counted.changes;
  loaded_ = true;
  return true;
}

bool ScoreSummary::CatchUp(ResultStore& store, std::string& error) {
  std::int64_t lastId = 0;
  std::int64_t changes = 0;
  if (!store.Counter(lastId, changes, error)) return false;
  // Removed or edited results, or another database: everything again.
  if (!loaded_ || changes != changes_ || lastId < lastId_) return Load(store, error);
  if (lastId == lastId_) return true;
  std::vector<ScoreRow> added;
  if (!store.ScoresAfter(lastId_, added, error)) return false;
  for (const ScoreRow& row : added) Take(row);
  return true;
}

const ScoreSummary::Counted* ScoreSummary::Of(const ResultFilter& filter) const {
  if (filter.adapter.empty() && filter.os.empty()) return &all_;
  if (filter.os.empty()) {
    const auto it = byAdapter_.find(filter.adapter);
    return it == byAdapter_.end() ? nullptr : &it->second;
  }
  if (filter.adapter.empty()) {
    const auto it = byOs_.find(filter.os);
    return it == byOs_.end() ? nullptr : &it->second;
  }
  const auto it = byAdapterAndOs_.find({filter.adapter, filter.os});
  return it == byAdapterAndOs_.end() ? nullptr : &it->second;
}

std::shared_ptr<const ScoreSummary::Figures> ScoreSummary::MakeFigures() {
  auto f = std::make_shared<Figures>();
  f->total = all_.total;
  f->maxOverall = all_.scores.empty() ? 0 : all_.scores.rbegin()->first;
  f->scores.reserve(all_.scores.size());
  std::int64_t below = 0;
  for (const auto& [overall, n] : all_.scores) {
    f->scores.push_back(ScoreCount{overall, n, below});
    below += n;
  }
  for (const auto& entry : byOs_) f->osNames.push_back(entry.first);
  std::vector<AdapterSummary> adapters;
  adapters.reserve(byAdapter_.size());
  for (const auto& [name, counted] : byAdapter_) {
    adapters.push_back(AdapterSummary{name, counted.total, 0});
  }
  const auto more = [](const AdapterSummary& a, const AdapterSummary& b) {
    return a.count != b.count ? a.count > b.count : a.cardName < b.cardName;
  };
  const std::size_t shown = std::min(adapterLimit_, adapters.size());
  std::partial_sort(adapters.begin(), adapters.begin() + static_cast<std::ptrdiff_t>(shown),
                    adapters.end(), more);
  adapters.resize(shown);
  for (AdapterSummary& a : adapters) {
    auto cached = medians_.find(a.cardName);
    if (cached == medians_.end()) {
      cached = medians_.emplace(a.cardName, Median(byAdapter_[a.cardName].scores, a.count)).first;
    }
    a.medianOverall = cached->second;
  }
  f->adapters = std::move(adapters);
  return f;
}

bool ScoreSummary::Current(ResultStore& store, const ResultFilter& filter, View& out,
                           std::string& error) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!CatchUp(store, error)) return false;
  if (!figures_) figures_ = MakeFigures();
  out.figures = figures_;
  const Counted* counted = Of(filter);
  out.matching = counted ? counted->total : 0;
  return true;
}

ListStart ScoreSummary::StartOf(const ResultFilter& filter, std::int64_t offset) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Counted* counted = Of(filter);
  std::int64_t seen = 0;
  if (counted != nullptr) {
    for (auto it = counted->scores.rbegin(); it != counted->scores.rend(); ++it) {
      if (seen + it->second > offset) return ListStart{it->first, offset - seen};
      seen += it->second;
    }
  }
  // Past the end of the list: below its lowest score, where nothing is, so
  // that the database need not step over every result to find that out.
  if (counted != nullptr && !counted->scores.empty()) {
    return ListStart{counted->scores.begin()->first - 1, 0};
  }
  return ListStart{std::nullopt, offset};
}

}  // namespace quorvel::results_site
