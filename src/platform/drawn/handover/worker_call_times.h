// Where the time of the worker's calls on a test window goes, for the
// benchmark that weighs our own code against the desktop's (the X server,
// a compositor): the whole exchange as the worker sees it, the part the
// user-interface thread spent carrying the call out, and the painting within
// that. The rest of the exchange is the hand-over between the threads.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/drawn/handover/busy_wait.h"

namespace quorvel::drawn {

struct WorkerCallTimes {
  std::atomic<std::int64_t> calls{0};
  std::atomic<std::int64_t> exchangeNs{0};  // posted until answered, seen by the worker
  std::atomic<std::int64_t> carriedOutNs{0};  // the call itself, on the user-interface thread
  std::atomic<std::int64_t> paintingNs{0};    // painting the window within those calls
  std::atomic<std::int64_t> queuedNs{0};      // posted until the user-interface thread starts it
  std::atomic<std::int64_t> answerNs{0};      // carried out until the worker runs again

  void Reset() {
    calls = 0;
    exchangeNs = 0;
    carriedOutNs = 0;
    paintingNs = 0;
    queuedNs = 0;
    answerNs = 0;
  }
};

// The process-wide record; a few clock reads per step, always on.
WorkerCallTimes& TheWorkerCallTimes();

}  // namespace quorvel::drawn
