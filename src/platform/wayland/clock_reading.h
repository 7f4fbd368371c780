// Readings of the kernel's clocks in nanoseconds: CLOCK_MONOTONIC for the
// steps' times and deadlines, any clock for the compositor's presentation
// times.
#pragma once

#include <time.h>

#include <cstdint>

namespace quorvel::wayland {

// Now on `clock`, in ns; -1 when the clock cannot be read here.
inline std::int64_t ClockNs(clockid_t clock) {
  timespec now{};
  if (clock_gettime(clock, &now) != 0) return -1;
  return std::int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

inline std::int64_t MonotonicNs() { return ClockNs(CLOCK_MONOTONIC); }

// The name of a clock a compositor may use for its presentation times.
const char* ClockName(clockid_t clock);

}  // namespace quorvel::wayland
