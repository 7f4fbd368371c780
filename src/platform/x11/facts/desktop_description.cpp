#include "platform/x11/facts/desktop_description.h"

#include <X11/Xatom.h>

#include "platform/x11/display/x_connection.h"
#include "platform/x11/display/x_errors.h"
#include "platform/x11/facts/blend_caps.h"
#include "platform/x11/windows/frame_sync.h"
#include "text/windows1252.h"

namespace quorvel::x11 {
namespace {

// A window property of `type` and 8 or 32 bits, as bytes; empty when absent.
bool ReadProperty(Display* d, Window w, Atom property, Atom type, std::string& out) {
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(d, w, property, 0, 1024, False, type, &actual, &format, &count, &after,
                         &data) != Success) {
    return false;
  }
  const bool found = data != nullptr && actual == type;
  if (found) {
    const std::size_t bytes = format == 32 ? count * sizeof(long) : count * (format / 8);
    out.assign(reinterpret_cast<const char*>(data), bytes);
  }
  if (data != nullptr) XFree(data);
  return found;
}

// The window a conforming window manager names in _NET_SUPPORTING_WM_CHECK
// on the root, when that window names itself the same way (a stale
// property of a window manager that has gone points elsewhere or nowhere).
Window SupportingWmWindow(Display* d, Window root) {
  const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
  std::string value;
  if (!ReadProperty(d, root, check, XA_WINDOW, value) || value.size() < sizeof(long)) return None;
  const Window w = static_cast<Window>(*reinterpret_cast<const long*>(value.data()));
  std::string self;
  if (!ReadProperty(d, w, check, XA_WINDOW, self) || self.size() < sizeof(long)) return None;
  return static_cast<Window>(*reinterpret_cast<const long*>(self.data())) == w ? w : None;
}

}  // namespace

platform::DesktopDescription DescribeDesktop(XConnection& connection) {
  platform::DesktopDescription desktop;
  desktop.backend = "x11";
  Display* d = connection.display();
  {
    // The window named on the root may be gone: no error for that.
    XErrorTrap trap(d);
    const Window wm = SupportingWmWindow(d, connection.root());
    std::string name;
    if (wm != None && (ReadProperty(d, wm, connection.atoms().netWmName,
                                    connection.atoms().utf8String, name) ||
                       ReadProperty(d, wm, XA_WM_NAME, XA_STRING, name))) {
      desktop.windowManagerKnown = true;
      desktop.windowManager = text::Utf8ToWindows1252(name);
    }
  }
  desktop.compositor = CompositorRunning(d, DefaultScreen(d));
  desktop.frameDrawn = connection.syncAvailable() && WindowManagerSendsFrameDrawn(connection);
  return desktop;
}

}  // namespace quorvel::x11
