// The connection to the Wayland compositor and the globals the backend binds
// from its registry: the compositor and subcompositor, shared memory and its
// pixel formats, the desktop shell (xdg_wm_base, whose pings it answers),
// presentation feedback and its clock, the viewporter, the outputs with their
// modes and scale, and the seat's capabilities.
//
// Everything here runs on one thread, the one that made the connection: the
// events are dispatched there, inside the waits below. A connection that has
// failed (the compositor went away, a protocol error) stays failed; every
// wait then returns Failed at once and `error()` says why.
#pragma once

#include <time.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/wayland/wayland_objects.h"

namespace quorvel::wayland {

// One mode an output offers; refresh in mHz (0 when the compositor does not
// say).
struct OutputMode {
  int width = 0;
  int height = 0;
  int refreshMilliHz = 0;
};

struct OutputInfo {
  std::uint32_t registryName = 0;
  std::string name;  // "HEADLESS-1"; empty before wl_output version 4
  std::string make, model;
  bool hasCurrentMode = false;
  OutputMode current;
  std::vector<OutputMode> modes;  // every mode the output listed
  int scale = 1;
  bool done = false;  // the compositor has sent all of the output's facts
};

// A global the backend looks for and did not find (or found too old).
struct MissingGlobal {
  std::string interface;  // "wl_subcompositor"
  bool required = false;  // false: the backend does without it, with less
  std::string without;    // what cannot be done without it
};

// What a wait for an event ended with.
enum class Wait { Done, TimedOut, Failed };

class WaylandConnection {
 public:
  // Connects to the compositor `name` (null: $WAYLAND_DISPLAY, else
  // "wayland-0", in $XDG_RUNTIME_DIR; an absolute path names the socket
  // itself), binds the globals and reads their first events, waiting up to
  // `timeoutMs` for each round trip. Null with `why` set when there is no
  // compositor or it does not answer. Globals that are missing do not make
  // it fail: `missing()` lists them.
  static std::unique_ptr<WaylandConnection> Connect(const char* name, std::string* why,
                                                    int timeoutMs = 5000);
  // The same over a socket that is already connected; the connection owns
  // `fd` from then on (also when it fails).
  static std::unique_ptr<WaylandConnection> ConnectToFd(int fd, std::string* why,
                                                        int timeoutMs = 5000);
  ~WaylandConnection();
  WaylandConnection(const WaylandConnection&) = delete;
  WaylandConnection& operator=(const WaylandConnection&) = delete;

  wl_display* display() const { return display_.get(); }

  // The bound globals; null when the compositor does not offer them.
  wl_compositor* compositor() const { return compositor_.get(); }
  wl_subcompositor* subcompositor() const { return subcompositor_.get(); }
  wl_shm* shm() const { return shm_.get(); }
  xdg_wm_base* wmBase() const { return wmBase_.get(); }
  wp_presentation* presentation() const { return presentation_.get(); }
  wp_viewporter* viewporter() const { return viewporter_.get(); }
  wl_seat* seat() const { return seat_.get(); }

  // The wl_shm formats the compositor announced (WL_SHM_FORMAT_*).
  const std::vector<std::uint32_t>& shmFormats() const { return shmFormats_; }
  bool HasShmFormat(std::uint32_t format) const;
  // The clock of the presentation times; false until wp_presentation said.
  bool hasPresentationClock() const { return hasPresentationClock_; }
  clockid_t presentationClock() const { return presentationClock_; }
  // The outputs in the order the compositor announced them.
  std::vector<const OutputInfo*> outputs() const;
  // The first output that has a current mode; null when none has.
  const OutputInfo* FirstOutputWithMode() const;
  // WL_SEAT_CAPABILITY_* bits of the seat; 0 without a seat.
  std::uint32_t seatCapabilities() const { return seatCapabilities_; }
  const std::string& seatName() const { return seatName_; }
  // The program at the other end of the socket ("weston"); empty when it
  // cannot be told.
  const std::string& compositorName() const { return compositorName_; }

  // The globals the backend looks for that the compositor did not offer,
  // those it needs first.
  const std::vector<MissingGlobal>& missing() const { return missing_; }
  // True when the compositor offers all the backend needs to show windows.
  bool HasRequiredGlobals() const;

  // Dispatches the compositor's events, sending what is queued, until
  // `done` returns true (checked before any wait and after each batch of
  // events), for at most `timeoutMs`. TimedOut leaves the connection
  // usable; Failed means the connection has failed.
  Wait DispatchUntil(const std::function<bool()>& done, int timeoutMs);
  // Sends a wl_display.sync and dispatches until the compositor answers it:
  // every request sent before has been handled.
  Wait Roundtrip(int timeoutMs);
  // Sends what is queued without waiting; false when the connection failed.
  bool Flush();

  bool failed() const { return failed_; }
  // Why the connection failed; empty while it has not.
  const std::string& error() const { return error_; }

 private:
  explicit WaylandConnection(wl_display* display);
  bool Start(int timeoutMs, std::string* why);
  Wait Fail(int errorNumber);

  static void OnGlobal(void* data, wl_registry* registry, std::uint32_t name,
                       const char* interface, std::uint32_t version);
  static void OnGlobalRemove(void* data, wl_registry* registry, std::uint32_t name);
  static void OnShmFormat(void* data, wl_shm* shm, std::uint32_t format);
  static void OnClockId(void* data, wp_presentation* presentation, std::uint32_t clock);
  static void OnSeatCapabilities(void* data, wl_seat* seat, std::uint32_t capabilities);
  static void OnSeatName(void* data, wl_seat* seat, const char* name);
  void Bind(std::uint32_t name, const std::string& interface, std::uint32_t version);
  void FindMissing();

  // Declared first, so that it goes last: the globals are destroyed while
  // the display is still connected.
  WaylandPtr<wl_display> display_;
  WaylandPtr<wl_registry> registry_;
  WaylandPtr<wl_compositor> compositor_;
  WaylandPtr<wl_subcompositor> subcompositor_;
  WaylandPtr<wl_shm> shm_;
  WaylandPtr<xdg_wm_base> wmBase_;
  WaylandPtr<wp_presentation> presentation_;
  WaylandPtr<wp_viewporter> viewporter_;
  WaylandPtr<wl_seat> seat_;
  std::uint32_t seatRegistryName_ = 0;
  struct BoundOutput {
    WaylandPtr<wl_output> output;
    OutputInfo info;
  };
  std::vector<std::unique_ptr<BoundOutput>> outputs_;

  // What each global offered was too old for, by interface.
  std::vector<std::pair<std::string, std::uint32_t>> tooOld_;
  std::vector<std::uint32_t> shmFormats_;
  bool hasPresentationClock_ = false;
  clockid_t presentationClock_ = CLOCK_MONOTONIC;
  std::uint32_t seatCapabilities_ = 0;
  std::string seatName_;
  std::string compositorName_;
  std::vector<MissingGlobal> missing_;
  bool failed_ = false;
  std::string error_;
};

// "wl_subcompositor (needed: ...), wp_presentation (...)": the missing
// globals for a message; empty when none is missing.
std::string DescribeMissing(const std::vector<MissingGlobal>& missing);

}  // namespace quorvel::wayland
