#include "platform/wayland/toplevel.h"

#include <wayland-client.h>

#include "platform/wayland/presentation_recorder.h"
#include "platform/wayland/wayland_connection.h"
#include "xdg-shell-client-protocol.h"

namespace quorvel::wayland {

std::unique_ptr<Toplevel> Toplevel::Create(WaylandConnection& connection, const std::string& title,
                                           std::uint32_t fill, std::string* why, int timeoutMs) {
  auto fail = [&](const std::string& reason) {
    if (why != nullptr) *why = reason;
    return nullptr;
  };
  if (connection.failed()) return fail(connection.error());
  if (connection.compositor() == nullptr) return fail("the compositor offers no wl_compositor");
  if (connection.wmBase() == nullptr) return fail("the compositor offers no xdg_wm_base");
  if (connection.shm() == nullptr) return fail("the compositor offers no wl_shm");

  std::unique_ptr<Toplevel> window(new Toplevel(connection));
  window->surface_.reset(wl_compositor_create_surface(connection.compositor()));
  if (!window->surface_) return fail("no surface can be made");
  window->xdgSurface_.reset(xdg_wm_base_get_xdg_surface(connection.wmBase(), window->surface()));
  if (!window->xdgSurface_) return fail("no xdg_surface can be made");
  static const xdg_surface_listener surfaceListener = {&Toplevel::OnSurfaceConfigure};
  xdg_surface_add_listener(window->xdgSurface_.get(), &surfaceListener, window.get());
  window->toplevel_.reset(xdg_surface_get_toplevel(window->xdgSurface_.get()));
  if (!window->toplevel_) return fail("no xdg_toplevel can be made");
  static const xdg_toplevel_listener toplevelListener = {
      &Toplevel::OnToplevelConfigure, &Toplevel::OnClose, &Toplevel::OnConfigureBounds,
      &Toplevel::OnWmCapabilities};
  xdg_toplevel_add_listener(window->toplevel_.get(), &toplevelListener, window.get());
  xdg_toplevel_set_app_id(window->toplevel_.get(), kAppId);
  xdg_toplevel_set_title(window->toplevel_.get(), title.c_str());
  // On the output the compositor picks.
  xdg_toplevel_set_fullscreen(window->toplevel_.get(), nullptr);
  // A commit without a buffer asks for the first configure.
  wl_surface_commit(window->surface());

  const Wait configured =
      connection.DispatchUntil([&] { return window->configures_ > 0; }, timeoutMs);
  if (configured == Wait::Failed) return fail(connection.error());
  if (configured == Wait::TimedOut) {
    return fail("the compositor did not configure the window within " + std::to_string(timeoutMs) +
                " ms");
  }

  int width = window->first_.width;
  int height = window->first_.height;
  if (width <= 0 || height <= 0) {
    // The client chooses: the whole output, in surface units.
    const OutputInfo* output = connection.FirstOutputWithMode();
    if (output == nullptr) return fail("the compositor left the window's size open and names no output mode");
    width = output->current.width / output->scale;
    height = output->current.height / output->scale;
  }
  window->buffers_ = ShmBuffers::Create(connection, width, height, ShmFormat::Xrgb8888, 2, why);
  if (!window->buffers_) return nullptr;
  window->width_ = width;
  window->height_ = height;
  auto paint = [&](ShmBuffer& buffer) { buffer.Fill(fill); };
  if (!window->Present(paint, timeoutMs)) {
    return fail(connection.failed() ? connection.error() : "the first picture could not be shown");
  }
  // Showing the window is what makes some compositors place it (sway makes
  // it full screen only then) and configure it again. The window takes
  // that configure before it is handed out, so that what follows (the
  // test's steps) starts on a window in the state the compositor settled.
  if (connection.Roundtrip(timeoutMs) != Wait::Done) {
    return fail(connection.failed() ? connection.error()
                                    : "the compositor did not answer within " +
                                          std::to_string(timeoutMs) + " ms");
  }
  if (window->ackPending_ && !window->Present(paint, timeoutMs)) {
    return fail(connection.failed() ? connection.error() : "the window's picture could not be shown");
  }
  return window;
}

Toplevel::~Toplevel() {
  buffers_.reset();
  toplevel_.reset();
  xdgSurface_.reset();
  surface_.reset();
  connection_.Flush();
}

void Toplevel::OnToplevelConfigure(void* data, xdg_toplevel* /*toplevel*/, std::int32_t width,
                                   std::int32_t height, wl_array* states) {
  auto& self = *static_cast<Toplevel*>(data);
  self.incoming_ = {};
  self.incoming_.width = width;
  self.incoming_.height = height;
  const auto* state = static_cast<const std::uint32_t*>(states->data);
  for (std::size_t i = 0; i < states->size / sizeof(std::uint32_t); ++i) {
    if (state[i] == XDG_TOPLEVEL_STATE_FULLSCREEN) self.incoming_.fullscreen = true;
    if (state[i] == XDG_TOPLEVEL_STATE_ACTIVATED) self.incoming_.activated = true;
  }
}

void Toplevel::OnSurfaceConfigure(void* data, xdg_surface* /*surface*/, std::uint32_t serial) {
  auto& self = *static_cast<Toplevel*>(data);
  self.incoming_.serial = serial;
  self.last_ = self.incoming_;
  if (self.configures_ == 0) self.first_ = self.incoming_;
  ++self.configures_;
  self.ackPending_ = true;
}

void Toplevel::OnClose(void* data, xdg_toplevel* /*toplevel*/) {
  static_cast<Toplevel*>(data)->closeRequested_ = true;
}

void Toplevel::OnConfigureBounds(void* /*data*/, xdg_toplevel* /*toplevel*/,
                                 std::int32_t /*width*/, std::int32_t /*height*/) {}

void Toplevel::OnWmCapabilities(void* /*data*/, xdg_toplevel* /*toplevel*/,
                                wl_array* /*capabilities*/) {}

bool Toplevel::Present(const std::function<void(ShmBuffer&)>& paint, int waitMs) {
  if (connection_.failed()) return false;
  // A configure with a size of its own (a full-screen window moved to
  // another output) gets pictures of that size.
  if (ackPending_ && last_.width > 0 && last_.height > 0 &&
      (last_.width != width_ || last_.height != height_)) {
    std::string why;
    auto resized = ShmBuffers::Create(connection_, last_.width, last_.height, ShmFormat::Xrgb8888,
                                      2, &why);
    if (!resized) return false;
    buffers_ = std::move(resized);
    width_ = last_.width;
    height_ = last_.height;
  }
  ShmBuffer* buffer = buffers_->Acquire(waitMs);
  if (buffer == nullptr) return false;
  paint(*buffer);
  buffer->AttachTo(surface());
  wl_surface_damage_buffer(surface(), 0, 0, buffer->width(), buffer->height());
  Commit();
  return connection_.Flush();
}

void Toplevel::Commit() {
  // A configure that keeps the size is taken by any commit; one that
  // changes it waits for a picture of the new size (Present).
  if (ackPending_ && (last_.width <= 0 || last_.height <= 0 ||
                      (last_.width == width_ && last_.height == height_))) {
    xdg_surface_ack_configure(xdgSurface_.get(), last_.serial);
    ackPending_ = false;
  }
  if (recorder_ != nullptr) recorder_->BeforeCommit(surface());
  wl_surface_commit(surface());
}

}  // namespace quorvel::wayland
