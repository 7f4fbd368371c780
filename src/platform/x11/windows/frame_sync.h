// Frame-drawn notification from a compositing window manager (EWMH's
// extended frame counter). The window marks the
// start of each frame by setting a SYNC counter to an odd value and its end
// by setting it to the next even one; the compositor answers each finished
// frame with a _NET_WM_FRAME_DRAWN message once it has drawn that frame on
// the screen. Window managers that send it say so in _NET_SUPPORTED.
//
// The answers are collected as they arrive: nothing waits for them while a
// test steps, so the compositor's frame clock never paces the steps. What
// they say (how many frames were drawn, how long each took from the end of
// our frame to the compositor's answer) is reported beside the score.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/sync.h>

#include <cstdint>
#include <map>
#include <memory>

#include "platform/dialog.h"

namespace quorvel::x11 {

class XConnection;

class FrameSync {
 public:
  // Null unless the window manager sends frame-drawn messages and the
  // server has the SYNC extension. Call before the window is mapped, so
  // the window manager finds the counters when it takes the window on.
  static std::unique_ptr<FrameSync> Create(XConnection& connection, Window window);
  ~FrameSync();  // destroys the counters
  FrameSync(const FrameSync&) = delete;
  FrameSync& operator=(const FrameSync&) = delete;

  // Marks the start of a frame (the counter goes odd); nothing when one is
  // open already.
  void BeginFrame();
  // Marks the end of the open frame (the counter goes even), notes when,
  // and returns the value the compositor will report for it; 0 when none
  // was open.
  std::int64_t EndFrame();

  // True when `message` is this window's frame-drawn answer; then it is
  // counted. Frames older than the one answered, never answered, are
  // dropped: the compositor drew a newer picture in their place.
  bool HandleFrameDrawn(const XClientMessageEvent& message);

  // What the compositor answered since the last call; waits up to
  // `waitMs` for the answer to the last frame still outstanding (taking
  // only frame-drawn messages from the queue, other events stay for the
  // loop). Starts counting anew.
  platform::FrameReport TakeReport(int waitMs);

 private:
  FrameSync(XConnection& connection, Window window, XSyncCounter basic, XSyncCounter extended);
  void SetCounter(std::int64_t value);

  XConnection& connection_;
  Window window_;
  XSyncCounter basic_;
  XSyncCounter extended_;
  std::int64_t value_ = 0;  // the extended counter's value
  std::map<std::int64_t, std::int64_t> pending_;  // frame -> when it ended (ns, monotonic)
  platform::FrameReport report_;
};

// True when the window manager lists _NET_WM_FRAME_DRAWN in _NET_SUPPORTED.
bool WindowManagerSendsFrameDrawn(XConnection& connection);

}  // namespace quorvel::x11
