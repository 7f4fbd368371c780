#include "bench/stopwatch.h"

#include <atomic>

#include "bench/score_text.h"

namespace quorvel {
namespace {

// Written by StartTimer and read by StopTimer on one worker at a time; the
// atomic only makes the hand-over between successive workers well defined.
std::atomic<std::int64_t> timerStart{0};

}  // namespace

void StartTimer(platform::Services& services) { timerStart = services.PerformanceCounter(); }

double ScoreOfInterval(std::int64_t ticks, std::int64_t frequency) {
  const std::int64_t halfFrequency = frequency / 2;
  // A counter that reports no frequency would divide by zero: no score.
  if (halfFrequency == 0) return 0.0;
  const double units = static_cast<double>(ticks) / static_cast<double>(halfFrequency);
  if (units == 0.0) return 0.0;
  return 40.0 / units;
}

std::string StopTimer(platform::Services& services) {
  const std::int64_t ticks = services.PerformanceCounter() - timerStart;
  return FormatScore(ScoreOfInterval(ticks, services.PerformanceFrequency()));
}

}  // namespace quorvel
