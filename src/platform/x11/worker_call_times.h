// Where the time of the worker's calls on a test window goes, for the
// benchmark that weighs our own code against the X server's: the whole
// exchange as the worker sees it, the part the user-interface thread spent
// carrying the call out, and the painting within that. The rest of the
// exchange is the hand-over between the threads.
#pragma once

#include <atomic>
#include <cstdint>

namespace quorvel::x11 {

struct WorkerCallTimes {
  std::atomic<std::int64_t> calls{0};
  std::atomic<std::int64_t> exchangeNs{0};  // posted until answered, seen by the worker
  std::atomic<std::int64_t> carriedOutNs{0};  // the call itself, on the user-interface thread
  std::atomic<std::int64_t> paintingNs{0};    // painting the window within those calls

  void Reset() {
    calls = 0;
    exchangeNs = 0;
    carriedOutNs = 0;
    paintingNs = 0;
  }
};

// The process-wide record; a few clock reads per step, always on.
WorkerCallTimes& TheWorkerCallTimes();

// Nanoseconds of CLOCK_MONOTONIC.
std::int64_t MonotonicNs();

}  // namespace quorvel::x11
