// The answer to one call a worker thread hands to the user-interface thread.
// The worker first watches for it for a short while and only then sleeps:
// the calls of a test step take a fraction of a millisecond, and waking a
// sleeping thread on another processor costs tens of microseconds, which
// would otherwise count into every measured step.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace quorvel::drawn {

class CallAnswer {
 public:
  // User-interface thread: gives the answer and wakes the worker if it sleeps.
  void Give(bool value);
  // Worker thread: the answer, once given. Watches for `spinNs` before it
  // sleeps (not at all on a single processor).
  bool Take(std::int64_t spinNs);

 private:
  std::atomic<int> state_{kPending};
  std::mutex mutex_;
  std::condition_variable given_;
  static constexpr int kPending = 0;
  static constexpr int kFalse = 1;
  static constexpr int kTrue = 2;
};

}  // namespace quorvel::drawn
