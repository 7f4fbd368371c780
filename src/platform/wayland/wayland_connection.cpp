#include "platform/wayland/wayland_connection.h"

#include <errno.h>
#include <poll.h>
#include <string.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstdlib>

#include "platform/wayland/clock_reading.h"
#include "platform/wayland/compositor_process.h"
#include "platform/wayland/display_sync.h"
#include "presentation-time-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace quorvel::wayland {
namespace {

// The globals the backend binds: the oldest version it can use, the newest
// it has listeners for, and what it cannot do without each.
struct WantedGlobal {
  const char* interface;
  std::uint32_t minVersion;
  std::uint32_t maxVersion;
  bool required;
  const char* without;
};

constexpr WantedGlobal kWanted[] = {
    // Version 4: wl_surface.damage_buffer.
    {"wl_compositor", 4, 4, true, "no surface can be made"},
    {"wl_subcompositor", 1, 1, true, "the test window is a subsurface"},
    {"wl_shm", 1, 1, true, "windows are drawn into shared memory"},
    {"xdg_wm_base", 1, 3, true, "no window can be shown on the desktop"},
    {"wp_presentation", 1, 1, false, "what the compositor showed of the steps is not known"},
    {"wp_viewporter", 1, 1, false, "surfaces cannot be scaled by the compositor"},
    {"wl_output", 1, 4, false, "the screen's size and refresh are not known"},
    {"wl_seat", 1, 5, false, "there is no pointer or keyboard"},
};

const WantedGlobal* FindWanted(const std::string& interface) {
  for (const WantedGlobal& wanted : kWanted) {
    if (interface == wanted.interface) return &wanted;
  }
  return nullptr;
}

// --- Events of the bound globals. ---------------------------------------

// The shell asks whether the program still answers; a client that does not
// pong is shown as not responding.
void OnPing(void* /*data*/, xdg_wm_base* wmBase, std::uint32_t serial) {
  xdg_wm_base_pong(wmBase, serial);
}
const xdg_wm_base_listener kWmBaseListener = {&OnPing};

void OnOutputGeometry(void* data, wl_output* /*output*/, std::int32_t /*x*/, std::int32_t /*y*/,
                      std::int32_t /*physicalWidth*/, std::int32_t /*physicalHeight*/,
                      std::int32_t /*subpixel*/, const char* make, const char* model,
                      std::int32_t /*transform*/) {
  auto& info = *static_cast<OutputInfo*>(data);
  info.make = make != nullptr ? make : "";
  info.model = model != nullptr ? model : "";
}

void OnOutputMode(void* data, wl_output* /*output*/, std::uint32_t flags, std::int32_t width,
                  std::int32_t height, std::int32_t refresh) {
  auto& info = *static_cast<OutputInfo*>(data);
  const OutputMode mode{width, height, refresh};
  const bool listed = std::any_of(info.modes.begin(), info.modes.end(), [&](const OutputMode& m) {
    return m.width == width && m.height == height && m.refreshMilliHz == refresh;
  });
  if (!listed) info.modes.push_back(mode);
  if ((flags & WL_OUTPUT_MODE_CURRENT) != 0) {
    info.current = mode;
    info.hasCurrentMode = true;
  }
}

void OnOutputDone(void* data, wl_output* /*output*/) { static_cast<OutputInfo*>(data)->done = true; }

void OnOutputScale(void* data, wl_output* /*output*/, std::int32_t factor) {
  static_cast<OutputInfo*>(data)->scale = factor > 0 ? factor : 1;
}

void OnOutputName(void* data, wl_output* /*output*/, const char* name) {
  static_cast<OutputInfo*>(data)->name = name != nullptr ? name : "";
}

void OnOutputDescription(void* /*data*/, wl_output* /*output*/, const char* /*description*/) {}

const wl_output_listener kOutputListener = {&OnOutputGeometry, &OnOutputMode, &OnOutputDone,
                                            &OnOutputScale,    &OnOutputName, &OnOutputDescription};

}  // namespace

void WaylandConnection::OnShmFormat(void* data, wl_shm* /*shm*/, std::uint32_t format) {
  auto& formats = static_cast<WaylandConnection*>(data)->shmFormats_;
  if (std::find(formats.begin(), formats.end(), format) == formats.end()) {
    formats.push_back(format);
  }
}

void WaylandConnection::OnClockId(void* data, wp_presentation* /*presentation*/,
                                  std::uint32_t clock) {
  auto& self = *static_cast<WaylandConnection*>(data);
  self.hasPresentationClock_ = true;
  self.presentationClock_ = static_cast<clockid_t>(clock);
}

void WaylandConnection::OnSeatCapabilities(void* data, wl_seat* /*seat*/,
                                           std::uint32_t capabilities) {
  static_cast<WaylandConnection*>(data)->seatCapabilities_ = capabilities;
}

void WaylandConnection::OnSeatName(void* data, wl_seat* /*seat*/, const char* name) {
  static_cast<WaylandConnection*>(data)->seatName_ = name != nullptr ? name : "";
}

// --- The connection. ---------------------------------------------------------

std::unique_ptr<WaylandConnection> WaylandConnection::Connect(const char* name, std::string* why,
                                                              int timeoutMs) {
  wl_display* display = wl_display_connect(name);
  if (display == nullptr) {
    const int error = errno;
    if (why != nullptr) {
      std::string where = name != nullptr ? name : "";
      if (where.empty()) {
        const char* fromEnvironment = std::getenv("WAYLAND_DISPLAY");
        where = fromEnvironment != nullptr ? fromEnvironment : "wayland-0";
      }
      *why = "no Wayland compositor answers at " + where + " (" + strerror(error) + ")";
    }
    return nullptr;
  }
  std::unique_ptr<WaylandConnection> connection(new WaylandConnection(display));
  if (!connection->Start(timeoutMs, why)) return nullptr;
  return connection;
}

std::unique_ptr<WaylandConnection> WaylandConnection::ConnectToFd(int fd, std::string* why,
                                                                  int timeoutMs) {
  wl_display* display = wl_display_connect_to_fd(fd);
  if (display == nullptr) {
    if (why != nullptr) *why = std::string("cannot use the compositor's socket (") + strerror(errno) + ")";
    close(fd);
    return nullptr;
  }
  std::unique_ptr<WaylandConnection> connection(new WaylandConnection(display));
  if (!connection->Start(timeoutMs, why)) return nullptr;
  return connection;
}

WaylandConnection::WaylandConnection(wl_display* display) : display_(display) {}

WaylandConnection::~WaylandConnection() {
  // The globals go first (the members below the display); whatever their
  // destructors queued is sent, if the compositor is still there.
  outputs_.clear();
  seat_.reset();
  viewporter_.reset();
  presentation_.reset();
  wmBase_.reset();
  shm_.reset();
  subcompositor_.reset();
  compositor_.reset();
  registry_.reset();
  if (!failed_) wl_display_flush(display_.get());
}

bool WaylandConnection::Start(int timeoutMs, std::string* why) {
  compositorName_ = SocketPeerName(wl_display_get_fd(display_.get()));

  static const wl_registry_listener listener = {&WaylandConnection::OnGlobal,
                                                &WaylandConnection::OnGlobalRemove};
  registry_.reset(wl_display_get_registry(display_.get()));
  if (!registry_) {
    if (why != nullptr) *why = "the compositor's registry cannot be had";
    return false;
  }
  wl_registry_add_listener(registry_.get(), &listener, this);
  // The first round trip brings the globals, which are bound as they come;
  // the second their first events: the shm formats, the presentation
  // clock, the outputs' modes, the seat's capabilities.
  for (int trip = 0; trip < 2; ++trip) {
    const Wait result = Roundtrip(timeoutMs);
    if (result != Wait::Done) {
      if (why != nullptr) {
        *why = result == Wait::TimedOut ? "the compositor did not answer within " +
                                              std::to_string(timeoutMs) + " ms"
                                        : "the compositor's connection failed: " + error_;
      }
      return false;
    }
  }
  FindMissing();
  return true;
}

void WaylandConnection::OnGlobal(void* data, wl_registry* /*registry*/, std::uint32_t name,
                                 const char* interface, std::uint32_t version) {
  static_cast<WaylandConnection*>(data)->Bind(name, interface, version);
}

void WaylandConnection::OnGlobalRemove(void* data, wl_registry* /*registry*/,
                                       std::uint32_t name) {
  auto& self = *static_cast<WaylandConnection*>(data);
  // Outputs come and go with screens; the seat may go as well. The other
  // globals live as long as the compositor.
  self.outputs_.erase(std::remove_if(self.outputs_.begin(), self.outputs_.end(),
                                     [&](const std::unique_ptr<BoundOutput>& bound) {
                                       return bound->info.registryName == name;
                                     }),
                      self.outputs_.end());
  if (self.seat_ && self.seatRegistryName_ == name) {
    self.seat_.reset();
    self.seatCapabilities_ = 0;
    self.seatName_.clear();
  }
}

void WaylandConnection::Bind(std::uint32_t name, const std::string& interface,
                             std::uint32_t offered) {
  const WantedGlobal* wanted = FindWanted(interface);
  if (wanted == nullptr) return;
  if (offered < wanted->minVersion) {
    tooOld_.emplace_back(interface, offered);
    return;
  }
  const std::uint32_t version = std::min(offered, wanted->maxVersion);
  wl_registry* registry = registry_.get();
  auto bind = [&](const wl_interface* type) { return wl_registry_bind(registry, name, type, version); };

  if (interface == "wl_compositor" && !compositor_) {
    compositor_.reset(static_cast<wl_compositor*>(bind(&wl_compositor_interface)));
  } else if (interface == "wl_subcompositor" && !subcompositor_) {
    subcompositor_.reset(static_cast<wl_subcompositor*>(bind(&wl_subcompositor_interface)));
  } else if (interface == "wl_shm" && !shm_) {
    static const wl_shm_listener listener = {&WaylandConnection::OnShmFormat};
    shm_.reset(static_cast<wl_shm*>(bind(&wl_shm_interface)));
    if (shm_) wl_shm_add_listener(shm_.get(), &listener, this);
  } else if (interface == "xdg_wm_base" && !wmBase_) {
    wmBase_.reset(static_cast<xdg_wm_base*>(bind(&xdg_wm_base_interface)));
    if (wmBase_) xdg_wm_base_add_listener(wmBase_.get(), &kWmBaseListener, nullptr);
  } else if (interface == "wp_presentation" && !presentation_) {
    static const wp_presentation_listener listener = {&WaylandConnection::OnClockId};
    presentation_.reset(static_cast<wp_presentation*>(bind(&wp_presentation_interface)));
    if (presentation_) wp_presentation_add_listener(presentation_.get(), &listener, this);
  } else if (interface == "wp_viewporter" && !viewporter_) {
    viewporter_.reset(static_cast<wp_viewporter*>(bind(&wp_viewporter_interface)));
  } else if (interface == "wl_output") {
    auto bound = std::make_unique<BoundOutput>();
    bound->output.reset(static_cast<wl_output*>(bind(&wl_output_interface)));
    if (!bound->output) return;
    bound->info.registryName = name;
    wl_output_add_listener(bound->output.get(), &kOutputListener, &bound->info);
    outputs_.push_back(std::move(bound));
  } else if (interface == "wl_seat" && !seat_) {
    static const wl_seat_listener listener = {&WaylandConnection::OnSeatCapabilities,
                                              &WaylandConnection::OnSeatName};
    seat_.reset(static_cast<wl_seat*>(bind(&wl_seat_interface)));
    seatRegistryName_ = name;
    if (seat_) wl_seat_add_listener(seat_.get(), &listener, this);
  }
}

void WaylandConnection::FindMissing() {
  missing_.clear();
  auto has = [&](const std::string& interface) {
    if (interface == "wl_compositor") return compositor_ != nullptr;
    if (interface == "wl_subcompositor") return subcompositor_ != nullptr;
    if (interface == "wl_shm") return shm_ != nullptr;
    if (interface == "xdg_wm_base") return wmBase_ != nullptr;
    if (interface == "wp_presentation") return presentation_ != nullptr;
    if (interface == "wp_viewporter") return viewporter_ != nullptr;
    if (interface == "wl_output") return !outputs_.empty();
    if (interface == "wl_seat") return seat_ != nullptr;
    return false;
  };
  for (const WantedGlobal& wanted : kWanted) {
    if (has(wanted.interface)) continue;
    MissingGlobal missing{wanted.interface, wanted.required, wanted.without};
    for (const auto& [interface, version] : tooOld_) {
      if (interface == wanted.interface) {
        missing.without = "version " + std::to_string(version) + " offered, " +
                          std::to_string(wanted.minVersion) + " needed: " + missing.without;
      }
    }
    missing_.push_back(std::move(missing));
  }
  std::stable_partition(missing_.begin(), missing_.end(),
                        [](const MissingGlobal& m) { return m.required; });
}

bool WaylandConnection::HasRequiredGlobals() const {
  return std::none_of(missing_.begin(), missing_.end(),
                      [](const MissingGlobal& m) { return m.required; });
}

bool WaylandConnection::HasShmFormat(std::uint32_t format) const {
  return std::find(shmFormats_.begin(), shmFormats_.end(), format) != shmFormats_.end();
}

std::vector<const OutputInfo*> WaylandConnection::outputs() const {
  std::vector<const OutputInfo*> infos;
  for (const auto& bound : outputs_) infos.push_back(&bound->info);
  return infos;
}

const OutputInfo* WaylandConnection::FirstOutputWithMode() const {
  for (const auto& bound : outputs_) {
    if (bound->info.hasCurrentMode) return &bound->info;
  }
  return nullptr;
}

// --- Waiting for the compositor. --------------------------------------------

Wait WaylandConnection::DispatchUntil(const std::function<bool()>& done, int timeoutMs) {
  if (failed_) return Wait::Failed;
  wl_display* display = display_.get();
  const std::int64_t deadline = MonotonicNs() + std::int64_t{std::max(timeoutMs, 0)} * 1000000;
  for (;;) {
    if (wl_display_dispatch_pending(display) < 0) return Fail(errno);
    if (done()) return Wait::Done;
    // Events that arrived meanwhile are dispatched first.
    if (wl_display_prepare_read(display) != 0) continue;
    // Send what is queued; when the socket is full, wait for room as well.
    bool flushed = true;
    if (wl_display_flush(display) < 0) {
      if (errno != EAGAIN) {
        const int error = errno;
        wl_display_cancel_read(display);
        return Fail(error);
      }
      flushed = false;
    }
    const std::int64_t left = deadline - MonotonicNs();
    if (left <= 0) {
      wl_display_cancel_read(display);
      return Wait::TimedOut;
    }
    pollfd fd{wl_display_get_fd(display), static_cast<short>(POLLIN | (flushed ? 0 : POLLOUT)), 0};
    const timespec wait{static_cast<time_t>(left / 1000000000), static_cast<long>(left % 1000000000)};
    const int ready = ppoll(&fd, 1, &wait, nullptr);
    if (ready < 0) {
      const int error = errno;
      wl_display_cancel_read(display);
      if (error == EINTR) continue;
      return Fail(error);
    }
    if ((fd.revents & (POLLIN | POLLERR | POLLHUP)) != 0) {
      // A compositor that went away shows as end of file here.
      if (wl_display_read_events(display) < 0) return Fail(errno);
    } else {
      wl_display_cancel_read(display);
    }
  }
}

Wait WaylandConnection::Roundtrip(int timeoutMs) {
  if (failed_) return Wait::Failed;
  DisplaySync sync(display_.get());
  if (!sync.sent()) return Fail(errno);
  return DispatchUntil([&] { return sync.answered(); }, timeoutMs);
}

bool WaylandConnection::Flush() {
  if (failed_) return false;
  if (wl_display_flush(display_.get()) < 0 && errno != EAGAIN) {
    Fail(errno);
    return false;
  }
  return true;
}

Wait WaylandConnection::Fail(int errorNumber) {
  if (failed_) return Wait::Failed;
  failed_ = true;
  wl_display* display = display_.get();
  const int displayError = wl_display_get_error(display);
  if (displayError == EPROTO) {
    const wl_interface* interface = nullptr;
    std::uint32_t id = 0;
    const std::uint32_t code = wl_display_get_protocol_error(display, &interface, &id);
    error_ = "protocol error " + std::to_string(code) + " on " +
             (interface != nullptr ? interface->name : "an unknown object") + "@" +
             std::to_string(id);
  } else if (displayError == EPIPE || errorNumber == EPIPE) {
    error_ = "the compositor closed the connection";
  } else {
    const int error = displayError != 0 ? displayError : errorNumber;
    error_ = std::string("the connection to the compositor failed (") +
             (error != 0 ? strerror(error) : "unknown error") + ")";
  }
  return Wait::Failed;
}

std::string DescribeMissing(const std::vector<MissingGlobal>& missing) {
  std::string text;
  for (const MissingGlobal& global : missing) {
    if (!text.empty()) text += ", ";
    text += global.interface + " (" + (global.required ? "needed: " : "") + global.without + ")";
  }
  return text;
}

}  // namespace quorvel::wayland
