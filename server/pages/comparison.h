// The comparison page (/results.asp): what it shows, gathered from the
// store, and the page made from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "storage/result_store.h"
#include "storage/score_summary.h"

namespace quorvel::results_site {

constexpr std::int64_t kResultsPerPage = 25;
// An address's newest result is highlighted for this long after its upload.
constexpr std::int64_t kHighlightSeconds = 30 * 60;
constexpr std::int64_t kHistogramTargetBins = 20;
constexpr std::int64_t kAdaptersShown = 100;

struct ComparisonRequest {
  ResultFilter filter;
  std::int64_t page = 1;  // 1 is the first; out-of-range pages show the nearest one
  std::string sender;     // the asking address
  std::int64_t now = 0;   // seconds since 1970
};

struct Ranking {
  std::int64_t below = 0;  // results with a lower overall score
  std::int64_t total = 0;  // all results
  // below as a whole percentage of total, rounded down.
  std::int64_t Percent() const { return total > 0 ? below * 100 / total : 0; }
};

struct Comparison {
  ResultFilter filter;
  std::int64_t page = 1;
  std::int64_t pageCount = 1;
  std::int64_t matching = 0;  // results the filter lets through
  std::int64_t total = 0;     // all results
  std::optional<StoredResult> yours;
  Ranking yourRanking;
  std::vector<StoredResult> top;        // this page of the filtered list
  std::vector<AdapterSummary> adapters;  // of all results
  std::vector<std::string> osNames;
  std::int64_t binWidth = 1;
  std::vector<HistogramBin> bins;  // of all results
};

// The width of a histogram bin for scores 0..max: 1, 2 or 5 times a power
// of ten, the smallest that needs at most `targetBins` bins.
std::int64_t HistogramBinWidth(std::int64_t max, std::int64_t targetBins);

// The page's content: the top list and the visitor's result from `store`,
// the counts and the figures of all results from `summary` (brought up to
// date first), which also says where the page's part of the list begins.
bool GatherComparison(ResultStore& store, ScoreSummary& summary, const ComparisonRequest& request,
                      Comparison& out, std::string& error);

std::string RenderComparisonPage(const Comparison& comparison);

// The histogram alone, as inline SVG; the bin of `highlighted` (when given)
// is marked and a line shows where that score lies.
std::string HistogramSvg(std::int64_t binWidth, const std::vector<HistogramBin>& bins,
                         std::optional<std::int64_t> highlighted);

}  // namespace quorvel::results_site
