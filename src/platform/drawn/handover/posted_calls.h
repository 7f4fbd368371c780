// The calls other threads post to the user-interface thread, and how they
// reach a loop that is busy, watching or asleep. The loop itself (what else
// it waits for, what it sleeps in) belongs to the backend; this is the part
// every loop of a self-drawn user interface shares.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/drawn/handover/self_pipe.h"

namespace quorvel::drawn {

class PostedCalls {
 public:
  // The thread that makes the queue is the user-interface thread.
  PostedCalls();
  PostedCalls(const PostedCalls&) = delete;
  PostedCalls& operator=(const PostedCalls&) = delete;

  // Queues `call` for the user-interface thread and wakes its loop if it
  // sleeps. Any thread.
  void Post(std::function<void()> call);
  // Wakes the loop so it looks at its end condition again. Any thread.
  void Wake() { pipe_.Wake(); }

  // --- User-interface thread only.
  bool OnUiThread() const { return std::this_thread::get_id() == uiThread_; }
  // Runs the calls posted so far; true when there were any.
  bool RunPosted();
  // Watches for a post for a short while after posted calls ran; true when
  // one came. A worker handing over a series of calls (the steps of a test)
  // posts the next one within microseconds of its answer, and waking this
  // thread from its sleep would cost tens of microseconds per call.
  bool AwaitNextPost();

  // Sleeping: the loop calls BeginSleep just before it sleeps with
  // wakeFd() among what it waits for, and does not sleep when that returns
  // false (a call came meanwhile); after the sleep, EndSleep, and DrainWake
  // when wakeFd() was readable. Without a wake-up pipe (canWake() false) a
  // post cannot end a sleep, only the loop's own deadline can.
  bool BeginSleep();
  void EndSleep() { sleeping_.store(false); }
  bool canWake() const { return pipe_.valid(); }
  int wakeFd() const { return pipe_.readFd(); }
  void DrainWake() { pipe_.Drain(); }

 private:
  SelfPipe pipe_;
  std::thread::id uiThread_;
  std::mutex mutex_;
  std::deque<std::function<void()>> posted_;
  std::atomic<bool> hasPosted_{false};
  std::atomic<bool> sleeping_{false};  // asleep, or about to be
  // When the last posted calls ended (CLOCK_MONOTONIC ns), 0 before any.
  std::int64_t postedRunEnd_ = 0;
};

}  // namespace quorvel::drawn
