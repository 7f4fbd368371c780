// The program's main window on a Wayland desktop: a wl_surface with the
// xdg_toplevel role ("net.quorvel.quorvel"), asked to be full screen, drawn
// into double-buffered shared memory. The compositor decides its size: the
// window waits for the first configure, takes the size it gives, or the
// output's mode when it leaves the choice to the client (0 x 0), acks it
// and shows its first picture.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/wayland/shm_buffers.h"
#include "platform/wayland/wayland_objects.h"

namespace quorvel::wayland {

class PresentationRecorder;
class WaylandConnection;

// One xdg_toplevel.configure with the xdg_surface.configure that ends it.
struct ToplevelConfigure {
  int width = 0;  // 0: the client chooses
  int height = 0;
  bool fullscreen = false;
  bool activated = false;
  std::uint32_t serial = 0;
};

class Toplevel {
 public:
  static constexpr const char* kAppId = "net.quorvel.quorvel";

  // Makes the window, waits up to `timeoutMs` for its first configure,
  // shows it filled with `fill` (an XRGB8888 pixel) and takes the configure
  // that showing it brings, if one comes within a round trip. Null with `why` set
  // when the compositor lacks what a window needs, does not configure it
  // in time, or its buffers cannot be had.
  static std::unique_ptr<Toplevel> Create(WaylandConnection& connection, const std::string& title,
                                          std::uint32_t fill, std::string* why,
                                          int timeoutMs = 5000);
  ~Toplevel();
  Toplevel(const Toplevel&) = delete;
  Toplevel& operator=(const Toplevel&) = delete;

  WaylandConnection& connection() const { return connection_; }
  wl_surface* surface() const { return surface_.get(); }
  // The size of the window's pictures.
  int width() const { return width_; }
  int height() const { return height_; }
  const ToplevelConfigure& firstConfigure() const { return first_; }
  // The newest configure, and how many came.
  const ToplevelConfigure& lastConfigure() const { return last_; }
  int configures() const { return configures_; }
  // The compositor has asked the window to close.
  bool closeRequested() const { return closeRequested_; }

  // Every commit of the surface from now on asks `recorder` for feedback
  // first (null: none does). The recorder must stay until it is replaced
  // or set to null.
  void SetPresentationRecorder(PresentationRecorder* recorder) { recorder_ = recorder; }

  // Draws the next picture: `paint` fills a buffer the compositor does not
  // hold (waiting up to `waitMs` for one), which is attached, damaged whole
  // and committed, acking the last configure first. False when no buffer
  // came free in time or the connection failed.
  bool Present(const std::function<void(ShmBuffer&)>& paint, int waitMs = 1000);
  // Commits the surface without a new picture: applies the state its
  // subsurfaces left pending (their positions). Acks a configure that came
  // meanwhile when it keeps the window's size.
  void Commit();

 private:
  explicit Toplevel(WaylandConnection& connection) : connection_(connection) {}
  static void OnSurfaceConfigure(void* data, xdg_surface* surface, std::uint32_t serial);
  static void OnToplevelConfigure(void* data, xdg_toplevel* toplevel, std::int32_t width,
                                  std::int32_t height, wl_array* states);
  static void OnClose(void* data, xdg_toplevel* toplevel);
  static void OnConfigureBounds(void* data, xdg_toplevel* toplevel, std::int32_t width,
                                std::int32_t height);
  static void OnWmCapabilities(void* data, xdg_toplevel* toplevel, wl_array* capabilities);

  WaylandConnection& connection_;
  // Destroyed in the order the protocol asks (members go last first): the
  // toplevel, then the xdg_surface, then the wl_surface.
  WaylandPtr<wl_surface> surface_;
  WaylandPtr<xdg_surface> xdgSurface_;
  WaylandPtr<xdg_toplevel> toplevel_;
  std::unique_ptr<ShmBuffers> buffers_;
  PresentationRecorder* recorder_ = nullptr;
  ToplevelConfigure incoming_;  // being received
  ToplevelConfigure first_;
  ToplevelConfigure last_;
  int configures_ = 0;
  bool ackPending_ = false;
  bool closeRequested_ = false;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace quorvel::wayland
