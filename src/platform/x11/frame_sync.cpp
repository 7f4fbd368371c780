#include "platform/x11/frame_sync.h"

#include <X11/Xatom.h>
#include <poll.h>

#include <chrono>

#include "platform/x11/x_connection.h"

namespace quorvel::x11 {
namespace {

struct FrameDrawnOf {
  Window window;
  Atom type;
};

Bool IsFrameDrawn(Display*, XEvent* event, XPointer arg) {
  const auto* wanted = reinterpret_cast<const FrameDrawnOf*>(arg);
  return event->type == ClientMessage && event->xclient.window == wanted->window &&
                 event->xclient.message_type == wanted->type && event->xclient.format == 32
             ? True
             : False;
}

// A 64-bit value sent as two 32-bit words (low first).
std::int64_t Words(long low, long high) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(high))
                                    << 32) |
                                   static_cast<std::uint32_t>(low));
}

}  // namespace

bool WindowManagerSendsFrameDrawn(XConnection& connection) {
  Display* d = connection.display();
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(d, connection.root(), connection.atoms().netSupported, 0, 4096, False,
                         XA_ATOM, &type, &format, &count, &after, &data) != Success) {
    return false;
  }
  bool found = false;
  if (data != nullptr && type == XA_ATOM && format == 32) {
    const auto* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) {
      if (atoms[i] == connection.atoms().netWmFrameDrawn) found = true;
    }
  }
  if (data != nullptr) XFree(data);
  return found;
}

std::unique_ptr<FrameSync> FrameSync::Create(XConnection& connection, Window window) {
  if (!connection.syncAvailable() || !WindowManagerSendsFrameDrawn(connection)) return nullptr;
  Display* d = connection.display();
  XSyncValue zero;
  XSyncIntToValue(&zero, 0);
  const XSyncCounter basic = XSyncCreateCounter(d, zero);
  const XSyncCounter extended = XSyncCreateCounter(d, zero);
  // Two counters: the second one is the extended frame counter.
  long counters[2] = {static_cast<long>(basic), static_cast<long>(extended)};
  XChangeProperty(d, window, connection.atoms().netWmSyncRequestCounter, XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<unsigned char*>(counters), 2);
  return std::unique_ptr<FrameSync>(new FrameSync(connection, window, basic, extended));
}

FrameSync::FrameSync(XConnection& connection, Window window, XSyncCounter basic,
                     XSyncCounter extended)
    : connection_(connection), window_(window), basic_(basic), extended_(extended) {}

FrameSync::~FrameSync() {
  Display* d = connection_.display();
  XSyncDestroyCounter(d, basic_);
  XSyncDestroyCounter(d, extended_);
}

void FrameSync::SetCounter(std::int64_t value) {
  XSyncValue v;
  XSyncIntsToValue(&v, static_cast<unsigned>(value & 0xFFFFFFFF),
                   static_cast<int>(value >> 32));
  XSyncSetCounter(connection_.display(), extended_, v);
}

void FrameSync::BeginFrame() {
  if (value_ % 2 == 0) SetCounter(++value_);
}

std::int64_t FrameSync::EndFrame() {
  if (value_ % 2 == 0) return 0;
  SetCounter(++value_);
  return value_;
}

bool FrameSync::AwaitDrawn(std::int64_t frame, int timeoutMs) {
  if (!answering_) return false;
  using Clock = std::chrono::steady_clock;
  Display* d = connection_.display();
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  FrameDrawnOf wanted{window_, connection_.atoms().netWmFrameDrawn};
  XFlush(d);
  for (;;) {
    XEvent event;
    // Reads what the socket holds, and takes out only this window's
    // frame-drawn messages; older frames' answers are passed over.
    while (XCheckIfEvent(d, &event, IsFrameDrawn, reinterpret_cast<XPointer>(&wanted))) {
      if (Words(event.xclient.data.l[0], event.xclient.data.l[1]) >= frame) return true;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      answering_ = false;
      return false;
    }
    pollfd fd{ConnectionNumber(d), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(left));
  }
}

}  // namespace quorvel::x11
