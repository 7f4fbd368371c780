// When a set of repeated runs ends: after a fixed count (--repeat N), or
// (--repeat auto) once the median overall score is known precisely enough,
// within a cap of runs and of time.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "bench/run_record.h"

namespace quorvel {

enum class StopReason {
  FixedCount,  // --repeat N (or no --repeat): the count asked for
  Precise,     // the median's 95 % confidence interval is within kAutoPrecision of
               // it
  RunCap,      // kAutoMaximumRuns runs
  TimeCap,     // kAutoTimeLimitMs since the first run began
  NotScored,   // a test of the last run produced no score
};

// The name the results file gives a reason: "fixed count", "precise",
// "run cap", "time cap", "not scored".
const char* StopReasonName(StopReason reason);

constexpr int kAutoMinimumRuns = 3;
constexpr int kAutoMaximumRuns = 20;
constexpr std::uint32_t kAutoTimeLimitMs = 10 * 60 * 1000;
// The half-width of the median's interval, as a fraction of the median,
// at which the runs stop.
constexpr double kAutoPrecision = 0.02;

// Whether --repeat auto ends after `runs`, the first of which began
// `elapsedMs` milliseconds ago; nothing while it goes on. A run with a test
// that produced no score ends it at once (the exit status says the runs
// failed, and more runs would not mend that). Otherwise, from the third run
// on, in this order: precise, the run cap, the time cap.
std::optional<StopReason> AutoRepeatStop(const std::vector<SequenceRecord>& runs,
                                         std::uint32_t elapsedMs);

}  // namespace quorvel
