#include "platform/x11/event_loop.h"

#include <poll.h>

#include <cerrno>
#include <utility>

namespace quorvel::x11 {

EventLoop::EventLoop(Display* display, Client& client)
    : display_(display), client_(client), uiThread_(std::this_thread::get_id()) {}

void EventLoop::Post(std::function<void()> call) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    posted_.push_back(std::move(call));
  }
  pipe_.Wake();
}

void EventLoop::RunPosted() {
  std::deque<std::function<void()>> calls;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    calls.swap(posted_);
  }
  for (auto& call : calls) call();
}

void EventLoop::RunUntil(const std::function<bool()>& done) {
  for (;;) {
    RunPosted();
    if (done()) return;
    if (XPending(display_) > 0) {
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
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!posted_.empty()) return;
  }
  XFlush(display_);
  // Flushing can read events from the socket into Xlib's queue; poll()
  // would not see those.
  if (XEventsQueued(display_, QueuedAlready) > 0) return;
  pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {pipe_.readFd(), POLLIN, 0}};
  const nfds_t count = pipe_.valid() ? 2 : 1;
  if (poll(fds, count, timeoutMs) < 0 && errno != EINTR) return;
  if (count == 2 && (fds[1].revents & POLLIN) != 0) pipe_.Drain();
}

}  // namespace quorvel::x11
