#include "platform/wayland/subsurface.h"

#include <wayland-client.h>

#include "platform/wayland/clock_reading.h"
#include "platform/wayland/display_sync.h"
#include "platform/wayland/toplevel.h"

namespace quorvel::wayland {

std::unique_ptr<Subsurface> Subsurface::Create(Toplevel& parent, int width, int height,
                                               ShmFormat format, std::string* why) {
  auto fail = [&](const std::string& reason) {
    if (why != nullptr) *why = reason;
    return nullptr;
  };
  WaylandConnection& connection = parent.connection();
  if (connection.failed()) return fail(connection.error());
  if (connection.subcompositor() == nullptr) {
    return fail("the compositor offers no wl_subcompositor: the test window cannot be shown");
  }
  std::unique_ptr<Subsurface> child(new Subsurface(parent));
  // Two buffers: the next test's picture need not wait for the compositor
  // to let go of this one's.
  child->buffers_ = ShmBuffers::Create(connection, width, height, format, 2, why);
  if (!child->buffers_) return nullptr;
  child->surface_.reset(wl_compositor_create_surface(connection.compositor()));
  if (!child->surface_) return fail("no surface can be made");
  child->subsurface_.reset(wl_subcompositor_get_subsurface(connection.subcompositor(),
                                                           child->surface(), parent.surface()));
  if (!child->subsurface_) return fail("no subsurface can be made");
  wl_subsurface_set_desync(child->subsurface_.get());
  wl_subsurface_set_position(child->subsurface_.get(), 0, 0);
  // A new subsurface joins its parent with the parent's next commit; until
  // then the compositor shows nothing of it, whatever it commits itself.
  parent.Commit();
  if (!connection.Flush()) return fail(connection.error());
  return child;
}

Subsurface::~Subsurface() {
  buffers_.reset();
  subsurface_.reset();
  surface_.reset();
  // The parent's commit takes the subsurface off the screen; no step's
  // feedback is asked for it.
  wl_surface_commit(parent_.surface());
  parent_.connection().Flush();
}

bool Subsurface::SetPicture(const std::function<void(ShmBuffer&)>& paint, int waitMs) {
  WaylandConnection& connection = parent_.connection();
  if (connection.failed()) return false;
  ShmBuffer* buffer = buffers_->Acquire(waitMs);
  if (buffer == nullptr) return false;
  paint(*buffer);
  buffer->AttachTo(surface());
  wl_surface_damage_buffer(surface(), 0, 0, buffer->width(), buffer->height());
  wl_surface_commit(surface());
  return connection.Flush();
}

MoveStep Subsurface::Move(int x, int y, int timeoutMs) {
  WaylandConnection& connection = parent_.connection();
  MoveStep step;
  const std::int64_t began = MonotonicNs();
  wl_subsurface_set_position(subsurface_.get(), x, y);
  parent_.Commit();
  DisplaySync sync(connection.display());
  step.result = sync.sent() ? connection.DispatchUntil([&] { return sync.answered(); }, timeoutMs)
                            : Wait::Failed;
  step.ns = MonotonicNs() - began;
  return step;
}

}  // namespace quorvel::wayland
