// The figures of all results that the comparison page draws (each
// adapter's median and count, the histogram of overall scores), kept in
// memory and brought up to date from the store by reading only the results
// added since the last look. Computing them afresh from 100,000 results
// takes far longer than a page may.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "storage/result_store.h"

namespace quorvel::results_site {

class ScoreSummary {
 public:
  struct Figures {
    std::int64_t total = 0;
    std::int64_t maxOverall = 0;
    std::vector<AdapterSummary> adapters;  // most results first, then by name
    std::map<std::int64_t, std::int64_t> scores;  // overall score -> results
    std::vector<std::string> osNames;             // in order
  };

  // Reads what was added to `store` since the last call (everything on the
  // first call, or when results have gone from the store) and returns the
  // figures of all results, at most `adapterLimit` adapters. Safe to call
  // from many threads. False, with `error` set, when the store failed.
  bool Current(ResultStore& store, std::size_t adapterLimit, Figures& out, std::string& error);

  // The median of the scores counted in `scores` (score -> how many).
  static double Median(const std::map<std::int64_t, std::int64_t>& scores, std::int64_t count);

  // `scores` counted in bins `width` wide, lowest first, empty bins left out.
  static std::vector<HistogramBin> Bins(const std::map<std::int64_t, std::int64_t>& scores,
                                        std::int64_t width);

 private:
  void Take(const ScoreRow& row);
  void Reset();

  std::mutex mutex_;
  std::int64_t lastId_ = 0;
  std::int64_t count_ = 0;
  std::map<std::string, std::map<std::int64_t, std::int64_t>> byAdapter_;
  std::map<std::string, std::int64_t> adapterCounts_;
  std::map<std::int64_t, std::int64_t> scores_;
  std::map<std::string, std::int64_t> osCounts_;
};

}  // namespace quorvel::results_site
