// The calls a worker thread makes on one window: each is posted to the
// user-interface thread and waited for, with its time counted
// (WorkerCallTimes). The gate is open from the window's creation until it
// ends; a call that finds it closed returns at once without running, so a
// worker that still holds an ended window gets an answer and never waits.
#pragma once

#include <functional>
#include <mutex>

#include "platform/drawn/handover/posted_calls.h"

namespace quorvel::drawn {

class WorkerCalls {
 public:
  explicit WorkerCalls(PostedCalls& calls) : calls_(calls) {}
  WorkerCalls(const WorkerCalls&) = delete;
  WorkerCalls& operator=(const WorkerCalls&) = delete;

  // Calls are carried out from now on. User-interface thread.
  void Open();
  // Calls are refused from now on. Those posted already find the gate
  // closed when they run and are answered false without running: the
  // caller runs the posted calls (PostedCalls::RunPosted) before anything
  // that the waiting workers might in turn wait for. User-interface thread.
  void Close();
  bool open() const;

  // Runs `call` on the user-interface thread and waits until it is done;
  // on that thread it runs at once. False, without running it, while the
  // gate is closed.
  bool Run(const std::function<void()>& call);

 private:
  PostedCalls& calls_;
  mutable std::mutex mutex_;
  bool open_ = false;  // under mutex_
};

}  // namespace quorvel::drawn
