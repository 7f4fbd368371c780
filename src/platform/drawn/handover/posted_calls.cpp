#include "platform/drawn/handover/posted_calls.h"

#include <utility>

#include "platform/drawn/handover/busy_wait.h"

namespace quorvel::drawn {

namespace {
// How long the loop watches for the next posted call before it sleeps.
constexpr std::int64_t kNextPostSpinNs = 50'000;
}  // namespace

PostedCalls::PostedCalls() : uiThread_(std::this_thread::get_id()) {}

void PostedCalls::Post(std::function<void()> call) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    posted_.push_back(std::move(call));
    hasPosted_.store(true);
  }
  // Only a loop asleep needs the pipe; a busy or watching loop sees the
  // flag. Both flags are sequentially consistent: either this thread sees
  // `sleeping_`, or the loop sees `hasPosted_` before it sleeps.
  if (sleeping_.load()) pipe_.Wake();
}

bool PostedCalls::RunPosted() {
  std::deque<std::function<void()>> calls;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    calls.swap(posted_);
    hasPosted_.store(false, std::memory_order_relaxed);
  }
  if (calls.empty()) return false;
  for (auto& call : calls) call();
  postedRunEnd_ = MonotonicNs();
  return true;
}

bool PostedCalls::AwaitNextPost() {
  return SpinUntil([this] { return hasPosted_.load(std::memory_order_acquire); },
                   postedRunEnd_ + kNextPostSpinNs);
}

bool PostedCalls::BeginSleep() {
  sleeping_.store(true);
  if (hasPosted_.load()) {
    sleeping_.store(false);
    return false;
  }
  return true;
}

}  // namespace quorvel::drawn
