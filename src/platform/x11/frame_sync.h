// Frame-drawn notification from a compositing window manager (the extended
// frame counter of the window-manager specification). The window marks the
// start of each frame by setting a SYNC counter to an odd value and its end
// by setting it to the next even one; the compositor answers each finished
// frame with a _NET_WM_FRAME_DRAWN message once it has drawn that frame on
// the screen. Window managers that send it say so in _NET_SUPPORTED.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/sync.h>

#include <cstdint>
#include <memory>

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

  // False once a frame went unanswered: the compositor does not answer
  // this window after all, and nothing waits for it again.
  bool answering() const { return answering_; }

  // Marks the start of a frame (the counter goes odd); nothing when one is
  // open already.
  void BeginFrame();
  // Marks the end of the open frame (the counter goes even) and returns
  // the value the compositor will report for it; 0 when none was open.
  std::int64_t EndFrame();
  // Waits until the compositor reports `frame` (or a later one) drawn, up
  // to `timeoutMs`; other events stay queued for the loop. False on timeout.
  bool AwaitDrawn(std::int64_t frame, int timeoutMs);

 private:
  FrameSync(XConnection& connection, Window window, XSyncCounter basic, XSyncCounter extended);
  void SetCounter(std::int64_t value);

  XConnection& connection_;
  Window window_;
  XSyncCounter basic_;
  XSyncCounter extended_;
  std::int64_t value_ = 0;  // the extended counter's value
  bool answering_ = true;
};

// True when the window manager lists _NET_WM_FRAME_DRAWN in _NET_SUPPORTED.
bool WindowManagerSendsFrameDrawn(XConnection& connection);

}  // namespace quorvel::x11
