#include "platform/x11/windows/frame_sync.h"

#include <X11/Xatom.h>

#include "platform/drawn/handover/busy_wait.h"
#include "platform/x11/display/x_connection.h"
#include "platform/x11/windows/x_event_wait.h"

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
  pending_[value_] = drawn::MonotonicNs();
  report_.reported = true;
  return value_;
}

bool FrameSync::HandleFrameDrawn(const XClientMessageEvent& message) {
  if (message.window != window_ || message.message_type != connection_.atoms().netWmFrameDrawn ||
      message.format != 32) {
    return false;
  }
  const std::int64_t frame = Words(message.data.l[0], message.data.l[1]);
  const std::int64_t now = drawn::MonotonicNs();
  const auto answered = pending_.find(frame);
  if (answered != pending_.end()) {
    const std::int64_t ended = answered->second;
    // The compositor says when it drew the frame, in microseconds of the
    // monotonic clock; the arrival stands in when that is missing or not
    // on our clock.
    std::int64_t drawn = Words(message.data.l[2], message.data.l[3]) * 1000;
    if (drawn < ended || drawn > now) drawn = now;
    ++report_.drawn;
    report_.latencyNs.push_back(drawn - ended);
  }
  pending_.erase(pending_.begin(), pending_.upper_bound(frame));
  return true;
}

platform::FrameReport FrameSync::TakeReport(int waitMs) {
  const std::int64_t deadline =
      drawn::MonotonicNs() + static_cast<std::int64_t>(waitMs) * 1'000'000;
  FrameDrawnOf wanted{window_, connection_.atoms().netWmFrameDrawn};
  XEvent event;
  while (!pending_.empty() &&
         TakeEventBefore(connection_.display(), IsFrameDrawn, reinterpret_cast<XPointer>(&wanted),
                         deadline, event)) {
    HandleFrameDrawn(event.xclient);
  }
  pending_.clear();
  platform::FrameReport report = std::move(report_);
  report_ = platform::FrameReport{};
  return report;
}

}  // namespace quorvel::x11
