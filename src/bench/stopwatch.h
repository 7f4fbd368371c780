// The one stopwatch of the tests: StartTimer before the timed work,
// StopTimer after it. The score is 20 divided by the elapsed seconds,
// returned as its 5-significant-digit text.
#pragma once

#include <cstdint>
#include <string>

#include "platform/services.h"

namespace quorvel {

// Reads the high-resolution counter into the process-wide start value.
void StartTimer(platform::Services& services);

// The score of the interval since the last StartTimer: 40 divided by the
// elapsed time in half-seconds, 0 for an empty interval or a counter
// without a frequency. Does not restart the stopwatch.
std::string StopTimer(platform::Services& services);

// The score of `ticks` counted at `frequency` ticks per second.
double ScoreOfInterval(std::int64_t ticks, std::int64_t frequency);

}  // namespace quorvel
