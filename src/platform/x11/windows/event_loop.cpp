#include "platform/x11/windows/event_loop.h"

#include <poll.h>

#include <cerrno>
#include <utility>

#include "platform/drawn/handover/busy_wait.h"

namespace quorvel::x11 {

namespace {
// How long the loop watches for the next posted call before it sleeps.
constexpr std::int64_t kNextPostSpinNs = 50'000;
// Posted calls taken one after another before the loop goes on.
constexpr int kMaxChainedCalls = 8;
// Rounds after posted calls that may go without reading the X socket.
constexpr int kMaxUnreadRounds = 8;
}  // namespace

EventLoop::EventLoop(Display* display, Client& client)
    : display_(display), client_(client), uiThread_(std::this_thread::get_id()) {}

void EventLoop::Post(std::function<void()> call) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    posted_.push_back(std::move(call));
    hasPosted_.store(true);
  }
  // Only a loop asleep in poll() needs the pipe; a busy or watching loop
  // sees the flag. Both flags are sequentially consistent: either this
  // thread sees `polling_`, or the loop sees `hasPosted_` before it sleeps.
  if (polling_.load()) pipe_.Wake();
}

bool EventLoop::RunPosted() {
  std::deque<std::function<void()>> calls;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    calls.swap(posted_);
    hasPosted_.store(false, std::memory_order_relaxed);
  }
  if (calls.empty()) return false;
  for (auto& call : calls) call();
  postedRunEnd_ = drawn::MonotonicNs();
  return true;
}

bool EventLoop::AwaitNextPost() {
  // A worker that hands over a series of calls (the steps of a test) posts
  // the next one within microseconds of its answer; waking this thread from
  // poll() would cost tens of microseconds per call.
  return drawn::SpinUntil([this] { return hasPosted_.load(std::memory_order_acquire); },
                   postedRunEnd_ + kNextPostSpinNs);
}

bool EventLoop::TakeFollowingCalls(const std::function<bool()>& done) {
  for (int taken = 0; taken < kMaxChainedCalls; ++taken) {
    // The events the calls have read from the server so far, in order.
    while (XEventsQueued(display_, QueuedAlready) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      client_.HandleEvent(event);
      if (done()) return true;
    }
    if (!AwaitNextPost()) return false;
    RunPosted();
    if (done()) return true;
  }
  return false;
}

void EventLoop::RunUntil(const std::function<bool()>& done) {
  for (;;) {
    const bool ranPosted = RunPosted();
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
  if (AwaitNextPost()) return;
  // Flushing can read events from the socket into Xlib's queue; poll()
  // would not see those.
  if (XEventsQueued(display_, QueuedAlready) > 0) return;
  polling_.store(true);
  if (hasPosted_.load()) {
    polling_.store(false);
    return;
  }
  pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {pipe_.readFd(), POLLIN, 0}};
  const nfds_t count = pipe_.valid() ? 2 : 1;
  const int ready = poll(fds, count, timeoutMs);
  polling_.store(false);
  if (ready < 0 && errno != EINTR) return;
  if (count == 2 && (fds[1].revents & POLLIN) != 0) pipe_.Drain();
}

}  // namespace quorvel::x11
