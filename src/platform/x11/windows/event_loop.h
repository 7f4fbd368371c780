// The user-interface thread's loop: X events, timers, idle painting and calls
// posted by other threads. Every modal loop (a dialog inside a dialog too)
// runs this same loop with its own end condition, so whatever the outer
// dialogs wait for is still delivered while an inner one runs.
#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <optional>

#include "platform/drawn/dialogs/timer_set.h"
#include "platform/drawn/handover/posted_calls.h"

namespace quorvel::x11 {

using drawn::Clock;

class EventLoop {
 public:
  // What the loop feeds; implemented by the dialog system.
  class Client {
   public:
    virtual ~Client() = default;
    virtual void HandleEvent(XEvent& event) = 0;
    // Paints what is invalid; true when anything was painted.
    virtual bool PaintInvalid() = 0;
    // The earliest timer deadline, if any timer runs.
    virtual std::optional<Clock::time_point> NextTimerDue() = 0;
    virtual void RunDueTimers(Clock::time_point now) = 0;
  };

  // The thread that makes the loop is the user-interface thread.
  EventLoop(Display* display, Client& client);
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;

  // Handles posted calls, then X events, then (when idle) painting, then
  // due timers, sleeping in poll() between; returns as soon as `done` holds.
  // The order follows the Windows message queue: input first, WM_PAINT when
  // nothing else waits, WM_TIMER last.
  void RunUntil(const std::function<bool()>& done);

  // The calls other threads post to this loop; made with the loop, on the
  // user-interface thread.
  drawn::PostedCalls& calls() { return calls_; }

 private:
  void Sleep(std::optional<Clock::time_point> due);
  // After posted calls: a worker handing over a series of calls posts the
  // next one within microseconds, so take it straight away, a few in a row,
  // handling the events the calls have read in between; painting, timers
  // and the socket get their turn after at most a few calls. True when
  // `done` came to hold.
  bool TakeFollowingCalls(const std::function<bool()>& done);

  Display* display_;
  Client& client_;
  drawn::PostedCalls calls_;
  int unreadRounds_ = 0;  // rounds since the socket was last read
};

}  // namespace quorvel::x11
