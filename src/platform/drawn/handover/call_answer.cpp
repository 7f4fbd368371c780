#include "platform/drawn/handover/call_answer.h"

#include "platform/drawn/handover/busy_wait.h"

namespace quorvel::drawn {

void CallAnswer::Give(bool value) {
  {
    // Under the lock, so a worker between its last look and its sleep
    // cannot miss the notification.
    std::lock_guard<std::mutex> lock(mutex_);
    state_.store(value ? kTrue : kFalse, std::memory_order_release);
  }
  given_.notify_one();
}

bool CallAnswer::Take(std::int64_t spinNs) {
  int state = kPending;
  SpinUntil([&] { return (state = state_.load(std::memory_order_acquire)) != kPending; },
            MonotonicNs() + spinNs);
  if (state == kPending) {
    std::unique_lock<std::mutex> lock(mutex_);
    given_.wait(lock, [&] { return state_.load(std::memory_order_acquire) != kPending; });
    state = state_.load(std::memory_order_acquire);
  }
  return state == kTrue;
}

}  // namespace quorvel::drawn
