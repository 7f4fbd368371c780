#include "platform/drawn/handover/worker_calls.h"

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/drawn/handover/busy_wait.h"
#include "platform/drawn/handover/call_answer.h"
#include "platform/drawn/handover/worker_call_times.h"

namespace quorvel::drawn {

namespace {
// How long the worker watches for the answer before it sleeps: longer than
// a step's calls take on an ordinary desktop.
constexpr std::int64_t kAnswerSpinNs = 2'000'000;

// One call in flight: its answer and when the user-interface thread was
// done with it.
struct Exchange {
  CallAnswer answer;
  std::atomic<std::int64_t> doneAt{0};
};
}  // namespace

void WorkerCalls::Open() {
  std::lock_guard<std::mutex> lock(mutex_);
  open_ = true;
}

void WorkerCalls::Close() {
  std::lock_guard<std::mutex> lock(mutex_);
  open_ = false;
}

bool WorkerCalls::open() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_;
}

bool WorkerCalls::Run(const std::function<void()>& call) {
  if (calls_.OnUiThread()) {
    if (!open()) return false;
    call();
    return true;
  }
  WorkerCallTimes& times = TheWorkerCallTimes();
  const std::int64_t posted = MonotonicNs();
  auto exchange = std::make_shared<Exchange>();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return false;
    // Posted under the lock: Close() cannot slip in between the check and
    // the post, so every posted call is answered.
    calls_.Post([this, call, exchange, posted, &times] {
      const std::int64_t start = MonotonicNs();
      times.queuedNs += start - posted;
      if (!open()) {
        exchange->doneAt.store(start);
        exchange->answer.Give(false);
        return;
      }
      call();
      const std::int64_t end = MonotonicNs();
      times.carriedOutNs += end - start;
      exchange->doneAt.store(end);
      exchange->answer.Give(true);
    });
  }
  const bool answered = exchange->answer.Take(kAnswerSpinNs);
  const std::int64_t resumed = MonotonicNs();
  times.exchangeNs += resumed - posted;
  times.answerNs += resumed - exchange->doneAt.load();
  ++times.calls;
  return answered;
}

}  // namespace quorvel::drawn
