// Waiting for one kind of event with a deadline, leaving the others queued
// for the event loop.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

namespace quorvel::x11 {

using EventMatch = Bool (*)(Display*, XEvent*, XPointer);

// Takes out of the queue the first event `match` accepts, reading what the
// socket brings, until CLOCK_MONOTONIC reaches `deadlineNs`; every other
// event stays queued in its order. False when none came in time.
bool TakeEventBefore(Display* display, EventMatch match, XPointer argument,
                     std::int64_t deadlineNs, XEvent& event);

}  // namespace quorvel::x11
