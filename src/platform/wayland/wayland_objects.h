// Owners of Wayland client objects: each destroys its object (sending the
// destroy or release request where the interface has one) when it goes
// away. Every owner must go before the connection it came from.
#pragma once

#include <memory>

struct wl_array;
struct wl_buffer;
struct wl_callback;
struct wl_compositor;
struct wl_display;
struct wl_output;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct wl_shm_pool;
struct wl_subcompositor;
struct wl_subsurface;
struct wl_surface;
struct wp_presentation;
struct wp_presentation_feedback;
struct wp_viewporter;
struct xdg_surface;
struct xdg_toplevel;
struct xdg_wm_base;

namespace quorvel::wayland {

struct WaylandDeleter {
  void operator()(wl_display* display) const;  // disconnects
  void operator()(wl_registry* registry) const;
  void operator()(wl_callback* callback) const;
  void operator()(wl_compositor* compositor) const;
  void operator()(wl_subcompositor* subcompositor) const;
  void operator()(wl_shm* shm) const;
  void operator()(wl_shm_pool* pool) const;
  void operator()(wl_buffer* buffer) const;
  void operator()(wl_surface* surface) const;
  void operator()(wl_subsurface* subsurface) const;
  void operator()(wl_output* output) const;  // released from version 3 on
  void operator()(wl_seat* seat) const;      // released from version 5 on
  void operator()(xdg_wm_base* wmBase) const;
  void operator()(xdg_surface* surface) const;
  void operator()(xdg_toplevel* toplevel) const;
  void operator()(wp_presentation* presentation) const;
  void operator()(struct wp_presentation_feedback* feedback) const;
  void operator()(wp_viewporter* viewporter) const;
};

template <typename T>
using WaylandPtr = std::unique_ptr<T, WaylandDeleter>;

}  // namespace quorvel::wayland
