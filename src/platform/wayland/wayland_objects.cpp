#include "platform/wayland/wayland_objects.h"

#include <wayland-client.h>

#include "presentation-time-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace quorvel::wayland {

void WaylandDeleter::operator()(wl_display* display) const { wl_display_disconnect(display); }
void WaylandDeleter::operator()(wl_registry* registry) const { wl_registry_destroy(registry); }
void WaylandDeleter::operator()(wl_callback* callback) const { wl_callback_destroy(callback); }
void WaylandDeleter::operator()(wl_compositor* compositor) const {
  wl_compositor_destroy(compositor);
}
void WaylandDeleter::operator()(wl_subcompositor* subcompositor) const {
  wl_subcompositor_destroy(subcompositor);
}
void WaylandDeleter::operator()(wl_shm* shm) const { wl_shm_destroy(shm); }
void WaylandDeleter::operator()(wl_shm_pool* pool) const { wl_shm_pool_destroy(pool); }
void WaylandDeleter::operator()(wl_buffer* buffer) const { wl_buffer_destroy(buffer); }
void WaylandDeleter::operator()(wl_surface* surface) const { wl_surface_destroy(surface); }
void WaylandDeleter::operator()(wl_subsurface* subsurface) const {
  wl_subsurface_destroy(subsurface);
}
void WaylandDeleter::operator()(wl_output* output) const {
  if (wl_output_get_version(output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
    wl_output_release(output);
  } else {
    wl_output_destroy(output);
  }
}
void WaylandDeleter::operator()(wl_seat* seat) const {
  if (wl_seat_get_version(seat) >= WL_SEAT_RELEASE_SINCE_VERSION) {
    wl_seat_release(seat);
  } else {
    wl_seat_destroy(seat);
  }
}
void WaylandDeleter::operator()(xdg_wm_base* wmBase) const { xdg_wm_base_destroy(wmBase); }
void WaylandDeleter::operator()(xdg_surface* surface) const { xdg_surface_destroy(surface); }
void WaylandDeleter::operator()(xdg_toplevel* toplevel) const { xdg_toplevel_destroy(toplevel); }
void WaylandDeleter::operator()(wp_presentation* presentation) const {
  wp_presentation_destroy(presentation);
}
void WaylandDeleter::operator()(struct wp_presentation_feedback* feedback) const {
  wp_presentation_feedback_destroy(feedback);
}
void WaylandDeleter::operator()(wp_viewporter* viewporter) const {
  wp_viewporter_destroy(viewporter);
}

}  // namespace quorvel::wayland
