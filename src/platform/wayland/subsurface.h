// The test window on a Wayland desktop. A client cannot place a toplevel
// window of its own, so the test window is a subsurface of the main
// window's surface, placed with wl_subsurface.set_position. The position
// is part of the parent's state: the parent's next commit applies it. A
// step is that move: set_position, the parent's commit and a
// wl_display.sync sent after it; it ends when the compositor answers the
// sync, i.e. when it has taken the move. Nothing waits for the
// compositor's frames.
//
// The subsurface is desynchronized: its picture is set once per test and
// shown by its own commit, without waiting for a commit of the parent.
// (Synchronized, every picture would wait in the compositor for the next
// parent commit; the steps would gain nothing, since they commit no new
// picture of the test window, and a new test's picture would show only
// with the first move.)
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/wayland/shm_buffers.h"
#include "platform/wayland/wayland_connection.h"
#include "platform/wayland/wayland_objects.h"

namespace quorvel::wayland {

class Toplevel;

// One timed step.
struct MoveStep {
  Wait result = Wait::Failed;  // Done: the compositor answered the sync
  std::int64_t ns = 0;         // CLOCK_MONOTONIC, from the request to the answer
};

class Subsurface {
 public:
  // A `width` x `height` subsurface of `parent`, at (0, 0) until moved, with
  // no picture until `SetPicture`. Null with `why` set when the compositor
  // offers no wl_subcompositor or the buffers cannot be had.
  static std::unique_ptr<Subsurface> Create(Toplevel& parent, int width, int height,
                                            ShmFormat format, std::string* why);
  ~Subsurface();
  Subsurface(const Subsurface&) = delete;
  Subsurface& operator=(const Subsurface&) = delete;

  wl_surface* surface() const { return surface_.get(); }
  int width() const { return buffers_->width(); }
  int height() const { return buffers_->height(); }

  // Shows a new picture: `paint` fills a buffer the compositor does not
  // hold (waiting up to `waitMs` for one), which is attached, damaged and
  // committed; being desynchronized, it shows without a parent commit.
  // False when no buffer came free in time or the connection failed.
  bool SetPicture(const std::function<void(ShmBuffer&)>& paint, int waitMs = 1000);

  // One step: moves the subsurface to (x, y) in the parent's surface
  // coordinates, commits the parent and waits up to `timeoutMs` for the
  // answer to a wl_display.sync sent after that commit.
  MoveStep Move(int x, int y, int timeoutMs = 1000);

 private:
  Subsurface(Toplevel& parent) : parent_(parent) {}

  Toplevel& parent_;
  // Destroyed subsurface first, then the surface.
  WaylandPtr<wl_surface> surface_;
  WaylandPtr<wl_subsurface> subsurface_;
  std::unique_ptr<ShmBuffers> buffers_;
};

}  // namespace quorvel::wayland
