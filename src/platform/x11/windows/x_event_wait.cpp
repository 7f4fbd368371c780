#include "platform/x11/windows/x_event_wait.h"

#include <poll.h>

#include "platform/drawn/handover/busy_wait.h"

namespace quorvel::x11 {

bool TakeEventBefore(Display* display, EventMatch match, XPointer argument,
                     std::int64_t deadlineNs, XEvent& event) {
  XFlush(display);
  for (;;) {
    if (XCheckIfEvent(display, &event, match, argument)) return true;
    const std::int64_t left = deadlineNs - drawn::MonotonicNs();
    if (left <= 0) return false;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(left / 1'000'000) + 1);
  }
}

}  // namespace quorvel::x11
