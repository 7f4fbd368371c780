#include "platform/x11/windows/event_loop.h"

#include <poll.h>

#include <cerrno>

namespace quorvel::x11 {

namespace {
// Posted calls taken one after another before the loop goes on.
constexpr int kMaxChainedCalls = 8;
// Rounds after posted calls that may go without reading the X socket.
constexpr int kMaxUnreadRounds = 8;
}  // namespace

EventLoop::EventLoop(Display* display, Client& client) : display_(display), client_(client) {}

bool EventLoop::TakeFollowingCalls(const std::function<bool()>& done) {
  for (int taken = 0; taken < kMaxChainedCalls; ++taken) {
    // The events the calls have read from the server so far, in order.
    while (XEventsQueued(display_, QueuedAlready) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      client_.HandleEvent(event);
      if (done()) return true;
    }
    if (!calls_.AwaitNextPost()) return false;
    calls_.RunPosted();
    if (done()) return true;
  }
  return false;
}

void EventLoop::RunUntil(const std::function<bool()>& done) {
  for (;;) {
    const bool ranPosted = calls_.RunPosted();
    if (done()) return;
    if (ranPosted && TakeFollowingCalls(done)) return;
    // Posted calls that talk to the server read its events as they wait
    // for replies; looking at the socket again right after them would only
    // cost a system call before the next call. Every few rounds it is read
    // all the same, so a stream of calls cannot hold input back.
    bool readSocket = true;
    if (ranPosted && unreadRounds_ < kMaxUnreadRounds) {
      readSocket = false;
      ++unreadRounds_;
    } else {
      unreadRounds_ = 0;
    }
    if ((readSocket ? XPending(display_) : XEventsQueued(display_, QueuedAlready)) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      client_.HandleEvent(event);
      continue;
    }
    if (client_.PaintInvalid()) continue;
    std::optional<Clock::time_point> due = client_.NextTimerDue();
    const Clock::time_point now = Clock::now();
    if (due && *due <= now) {
      client_.RunDueTimers(now);
      continue;
    }
    Sleep(due);
  }
}

void EventLoop::Sleep(std::optional<Clock::time_point> due) {
  int timeoutMs = -1;
  if (due) {
    auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(*due - Clock::now());
    // Rounded up, so the loop never wakes just before the deadline and spins.
    if (*due - Clock::now() > wait) wait += std::chrono::milliseconds(1);
    timeoutMs = wait.count() < 0 ? 0 : static_cast<int>(wait.count());
  }
  XFlush(display_);
  if (calls_.AwaitNextPost()) return;
  // Flushing can read events from the socket into Xlib's queue; poll()
  // would not see those.
  if (XEventsQueued(display_, QueuedAlready) > 0) return;
  if (!calls_.BeginSleep()) return;
  pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {calls_.wakeFd(), POLLIN, 0}};
  const nfds_t count = calls_.canWake() ? 2 : 1;
  const int ready = poll(fds, count, timeoutMs);
  calls_.EndSleep();
  if (ready < 0 && errno != EINTR) return;
  if (count == 2 && (fds[1].revents & POLLIN) != 0) calls_.DrainWake();
}

}  // namespace quorvel::x11
