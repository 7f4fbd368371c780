// Helpers for the short busy waits of the hand-over between the worker and
// the user-interface thread.
#pragma once

#include <cstdint>

namespace quorvel::x11 {

// Nanoseconds of CLOCK_MONOTONIC.
std::int64_t MonotonicNs();

// Tells the processor the thread is in a busy-wait loop.
void CpuRelax();

// True when the process may run on more than one processor. On one, a
// thread that busy-waits only keeps the one it waits for from running.
bool SpinsHelp();

}  // namespace quorvel::x11
