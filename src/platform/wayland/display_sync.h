// One wl_display.sync in flight: the compositor answers it (wl_callback.done)
// once it has handled every request sent before it.
#pragma once

#include <cstdint>

#include "platform/wayland/wayland_objects.h"

namespace quorvel::wayland {

class DisplaySync {
 public:
  // Queues the request; it goes out with the next flush or wait.
  explicit DisplaySync(wl_display* display);
  DisplaySync(const DisplaySync&) = delete;
  DisplaySync& operator=(const DisplaySync&) = delete;

  // False when the request could not be made (a connection that failed).
  bool sent() const { return callback_ != nullptr; }
  bool answered() const { return answered_; }

 private:
  static void OnDone(void* data, wl_callback* callback, std::uint32_t serial);

  WaylandPtr<wl_callback> callback_;
  bool answered_ = false;
};

}  // namespace quorvel::wayland
