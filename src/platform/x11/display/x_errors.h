// X protocol errors without dying: Xlib's default handler ends the process on
// any error, which a window manager race (a window gone a moment early) or a
// display without shared memory must not do.
#pragma once

#include <X11/Xlib.h>

namespace quorvel::x11 {

// Installs the program's error handlers once: errors are printed to standard
// error (except the harmless ones), unless an XErrorTrap is catching them; a
// lost connection to the server ends the process with status 1 and a message.
void InstallXErrorHandler();

// Catches the errors of the requests made while it lives, on one display,
// on the thread that made it. Error() syncs with the server first, so every
// request made so far has been answered.
class XErrorTrap {
 public:
  explicit XErrorTrap(Display* display);
  ~XErrorTrap();
  XErrorTrap(const XErrorTrap&) = delete;
  XErrorTrap& operator=(const XErrorTrap&) = delete;

  // The first error code caught (Success when none).
  int Error();

 private:
  Display* display_;
  XErrorTrap* previous_;
  int error_ = Success;

  friend int HandleXError(Display* display, XErrorEvent* event);
};

}  // namespace quorvel::x11
