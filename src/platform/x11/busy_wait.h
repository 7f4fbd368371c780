// Helpers for the short busy waits of the hand-over between the worker and
// the user-interface thread.
#pragma once

#include <cstdint>

namespace quorvel::x11 {

// Nanoseconds of CLOCK_MONOTONIC.
std::int64_t MonotonicNs();

// Tells the processor the thread is in a busy-wait loop.
void CpuRelax();

// True when the process may run on three processors or more: one for each
// party of a step (the worker, the user-interface thread and the X server).
// With fewer, a thread that busy-waits takes the processor that one of the
// others needs, and the steps' times come to depend on where the scheduler
// happens to put the three.
bool SpinsHelp();

// Busy-waits until `ready()` holds (true) or CLOCK_MONOTONIC reaches
// `untilNs` (false). False at once where spinning cannot help.
template <typename Ready>
bool SpinUntil(Ready ready, std::int64_t untilNs) {
  if (!SpinsHelp()) return ready();
  for (int n = 0;; ++n) {
    if (ready()) return true;
    // The clock is read every few rounds only; it costs more than a look.
    if ((n & 63) == 63 && MonotonicNs() >= untilNs) return false;
    CpuRelax();
  }
}

}  // namespace quorvel::x11
