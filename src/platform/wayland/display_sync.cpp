#include "platform/wayland/display_sync.h"

#include <wayland-client.h>

namespace quorvel::wayland {

DisplaySync::DisplaySync(wl_display* display) : callback_(wl_display_sync(display)) {
  static const wl_callback_listener listener = {&DisplaySync::OnDone};
  if (callback_) wl_callback_add_listener(callback_.get(), &listener, this);
}

void DisplaySync::OnDone(void* data, wl_callback* /*callback*/, std::uint32_t /*serial*/) {
  static_cast<DisplaySync*>(data)->answered_ = true;
}

}  // namespace quorvel::wayland
