// The figures of all results that the comparison page draws (the number of
// results of every filter, each adapter's median and count, the histogram
// of overall scores, the rank of a score) and where a page of a filtered
// list begins, kept in memory. They come from the score counts the
// database keeps with every upload (score_counts), read once, and are
// brought up to date from the results numbered since the last look: the
// uploads of every server take their numbers in the order they commit, so
// reading the numbers above the last one read misses nothing. A page
// therefore reads one row of the counter and the few results added since,
// however many results are stored; the counts it shows are exact.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "storage/result_store.h"

namespace quorvel::results_site {

struct ScoreCount {
  std::int64_t overall = 0;
  std::int64_t results = 0;
  std::int64_t below = 0;  // results with a lower overall score
};

class ScoreSummary {
 public:
  // The figures of all results at one moment; never changed once made.
  struct Figures {
    std::int64_t total = 0;
    std::int64_t maxOverall = 0;
    std::vector<AdapterSummary> adapters;  // most results first, then by name
    std::vector<std::string> osNames;      // in order
    std::vector<ScoreCount> scores;        // lowest score first

    // Results with an overall score below `overall`.
    std::int64_t Below(std::int64_t overall) const;
  };

  struct View {
    std::shared_ptr<const Figures> figures;
    std::int64_t matching = 0;  // results the filter lets through
  };

  // At most `adapterLimit` adapters in the figures.
  explicit ScoreSummary(std::size_t adapterLimit) : adapterLimit_(adapterLimit) {}

  // Brings the figures up to date with `store` (everything again on the
  // first call, and after stored results were removed or edited) and
  // returns them with the number of results `filter` lets through. Safe
  // to call from many threads. False, with `error` set, when the store
  // failed.
  bool Current(ResultStore& store, const ResultFilter& filter, View& out, std::string& error);

  // Where the list of the results `filter` lets through, best first,
  // reaches its `offset`-th result (0-based), as of the last Current.
  ListStart StartOf(const ResultFilter& filter, std::int64_t offset);

  // The median of the scores counted in `scores` (score -> how many).
  static double Median(const std::map<std::int64_t, std::int64_t>& scores, std::int64_t count);

  // `scores` counted in bins `width` wide, lowest first, empty bins left out.
  static std::vector<HistogramBin> Bins(const std::vector<ScoreCount>& scores, std::int64_t width);

 private:
  // The results of one filter value: how many, and how many of each score.
  struct Counted {
    std::int64_t total = 0;
    std::map<std::int64_t, std::int64_t> scores;
    void Take(std::int64_t overall, std::int64_t results);
  };

  bool CatchUp(ResultStore& store, std::string& error);
  bool Load(ResultStore& store, std::string& error);
  void Take(const ScoreRow& row);
  void Reset();
  const Counted* Of(const ResultFilter& filter) const;
  std::shared_ptr<const Figures> MakeFigures();

  const std::size_t adapterLimit_;
  std::mutex mutex_;
  bool loaded_ = false;
  std::int64_t lastId_ = 0;
  std::int64_t changes_ = 0;
  Counted all_;
  std::map<std::string, Counted> byAdapter_;
  std::map<std::string, Counted> byOs_;
  std::map<std::pair<std::string, std::string>, Counted> byAdapterAndOs_;
  // Each adapter's median, until its next result.
  std::map<std::string, double> medians_;
  std::shared_ptr<const Figures> figures_;  // null when results came since
};

}  // namespace quorvel::results_site
