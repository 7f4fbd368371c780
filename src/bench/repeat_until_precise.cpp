#include "bench/repeat_until_precise.h"

#include "bench/score_precision.h"

namespace quorvel {

const char* StopReasonName(StopReason reason) {
  switch (reason) {
    case StopReason::FixedCount: return "fixed count";
    case StopReason::Precise: return "precise";
    case StopReason::RunCap: return "run cap";
    case StopReason::TimeCap: return "time cap";
    case StopReason::NotScored: break;
  }
  return "not scored";
}

std::optional<StopReason> AutoRepeatStop(const std::vector<SequenceRecord>& runs,
                                         std::uint32_t elapsedMs) {
  if (runs.empty()) return std::nullopt;
  if (!runs.back().AllScored()) return StopReason::NotScored;
  if (runs.size() < static_cast<std::size_t>(kAutoMinimumRuns)) return std::nullopt;
  std::vector<double> overall;
  overall.reserve(runs.size());
  for (const SequenceRecord& run : runs) overall.push_back(run.overallScore);
  const MedianInterval interval = MedianConfidenceInterval(overall);
  if (interval.relativeKnown && interval.relativeHalfWidth <= kAutoPrecision) {
    return StopReason::Precise;
  }
  if (runs.size() >= static_cast<std::size_t>(kAutoMaximumRuns)) return StopReason::RunCap;
  if (elapsedMs >= kAutoTimeLimitMs) return StopReason::TimeCap;
  return std::nullopt;
}

}  // namespace quorvel
