// Helpers for the short busy waits of the hand-over between the worker and
// the user-interface thread.
#pragma once

#include <cstdint>

namespace quorvel::drawn {

// Nanoseconds of CLOCK_MONOTONIC.
std::int64_t MonotonicNs();

// Lets another thread that is ready to run have this processor; returns
// at once when there is none (sched_yield).
void YieldProcessor();

// True when the process may run on more than one processor. On one, a
// thread that busy-waits only keeps the one it waits for from running.
bool SpinsHelp();

// Busy-waits until `ready()` holds (true) or CLOCK_MONOTONIC reaches
// `untilNs` (false). False at once where spinning cannot help. Each round
// offers the processor to any other thread that is ready to run on it: a
// step has three parties (the worker, the user-interface thread and the X
// server), and on two processors a waiter that kept its processor would
// hold back whichever of the others the scheduler had put beside it, so
// that the steps' times came to depend on that placement.
template <typename Ready>
bool SpinUntil(Ready ready, std::int64_t untilNs) {
  if (!SpinsHelp()) return ready();
  for (int n = 0;; ++n) {
    if (ready()) return true;
    // The clock is read every few rounds only; it costs more than a look.
    if ((n & 63) == 63 && MonotonicNs() >= untilNs) return false;
    YieldProcessor();
  }
}

}  // namespace quorvel::drawn
