#include "platform/x11/display/x_errors.h"

#include <X11/Xproto.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace quorvel::x11 {
namespace {

// The innermost trap of this thread.
thread_local XErrorTrap* tCurrentTrap = nullptr;

// Errors that only say a window went away or was not viewable yet; they come
// from races with the window manager and change nothing for the program.
bool IsHarmless(const XErrorEvent& e) {
  if (e.request_code == X_SetInputFocus && e.error_code == BadMatch) return true;
  return e.error_code == BadWindow;
}

// The connection to the server is gone (the server was killed or stopped):
// Xlib can make no further request and ends the process when this returns.
// Say so in the program's words and end at once, with status 1, without
// running exit handlers and destructors that the other thread's objects,
// stuck on the same dead connection, could hang or crash in.
int HandleLostConnection(Display* display) {
  std::fprintf(stderr, "quorvel: the connection to the X server %s was lost\n",
               display != nullptr ? DisplayString(display) : "");
  std::_Exit(1);
}

}  // namespace

int HandleXError(Display* display, XErrorEvent* event) {
  XErrorTrap* trap = tCurrentTrap;
  if (trap != nullptr && trap->display_ == display) {
    if (trap->error_ == Success) trap->error_ = event->error_code;
    return 0;
  }
  if (IsHarmless(*event)) return 0;
  char text[256] = {};
  XGetErrorText(display, event->error_code, text, sizeof text);
  std::fprintf(stderr, "quorvel: X error: %s (request %d.%d)\n", text, event->request_code,
               event->minor_code);
  return 0;
}

void InstallXErrorHandler() {
  static std::once_flag once;
  std::call_once(once, [] {
    XSetErrorHandler(HandleXError);
    XSetIOErrorHandler(HandleLostConnection);
  });
}

XErrorTrap::XErrorTrap(Display* display) : display_(display), previous_(tCurrentTrap) {
  // Errors of earlier requests belong to no trap.
  XSync(display_, False);
  tCurrentTrap = this;
}

XErrorTrap::~XErrorTrap() {
  XSync(display_, False);
  tCurrentTrap = previous_;
}

int XErrorTrap::Error() {
  XSync(display_, False);
  return error_;
}

}  // namespace quorvel::x11
