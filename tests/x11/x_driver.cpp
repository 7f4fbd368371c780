#include "x11/x_driver.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <chrono>
#include <thread>

namespace quorvel::x11::testing {

XDriver::XDriver() : display_(XOpenDisplay(nullptr)) {
  // The test opens many connections quickly; the server's listen queue can
  // be full for a moment.
  for (int attempt = 0; display_ == nullptr && attempt < 50; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    display_ = XOpenDisplay(nullptr);
  }
}

XDriver::~XDriver() {
  if (display_ == nullptr) return;
  if (clipboardOwner_ != None) XDestroyWindow(display_, clipboardOwner_);
  XCloseDisplay(display_);
}

void XDriver::SendKey(Window window, unsigned long keysym, unsigned state) {
  XEvent e{};
  e.xkey.display = display_;
  e.xkey.window = window;
  e.xkey.root = DefaultRootWindow(display_);
  e.xkey.subwindow = None;
  e.xkey.time = CurrentTime;
  e.xkey.same_screen = True;
  e.xkey.state = state;
  e.xkey.keycode = XKeysymToKeycode(display_, keysym);
  e.xkey.type = KeyPress;
  XSendEvent(display_, window, True, KeyPressMask, &e);
  e.xkey.type = KeyRelease;
  XSendEvent(display_, window, True, KeyReleaseMask, &e);
  XFlush(display_);
}

void XDriver::SendButton(Window window, bool press, int x, int y) {
  XEvent e{};
  e.xbutton.type = press ? ButtonPress : ButtonRelease;
  e.xbutton.display = display_;
  e.xbutton.window = window;
  e.xbutton.root = DefaultRootWindow(display_);
  e.xbutton.x = x;
  e.xbutton.y = y;
  e.xbutton.same_screen = True;
  e.xbutton.button = Button1;
  e.xbutton.state = press ? 0 : Button1Mask;
  XSendEvent(display_, window, False, press ? ButtonPressMask : ButtonReleaseMask, &e);
  XFlush(display_);
}

void XDriver::SendClick(Window window, int x, int y) {
  SendButton(window, true, x, y);
  SendButton(window, false, x, y);
}

void XDriver::SendDeleteWindow(Window window) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window, False, NoEventMask, &e);
  XFlush(display_);
}

Rect XDriver::Geometry(Window window) {
  Window root = None, child = None;
  int x = 0, y = 0;
  unsigned w = 0, h = 0, border = 0, depth = 0;
  XGetGeometry(display_, window, &root, &x, &y, &w, &h, &border, &depth);
  XTranslateCoordinates(display_, window, root, 0, 0, &x, &y, &child);
  return Rect{x, y, x + static_cast<int>(w), y + static_cast<int>(h)};
}

bool XDriver::Viewable(Window window) {
  XWindowAttributes a{};
  return XGetWindowAttributes(display_, window, &a) && a.map_state == IsViewable;
}

Colour XDriver::PixelAt(Window window, int x, int y) {
  XImage* image = XGetImage(display_, window, x, y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return 0xFFFFFFFFu;
  const unsigned long p = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  return Rgb(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
             static_cast<int>(p & 0xFF));
}

std::vector<unsigned long> XDriver::Property32(Window window, const char* name) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> values;
  if (XGetWindowProperty(display_, window, XInternAtom(display_, name, False), 0, 1 << 20, False,
                         AnyPropertyType, &type, &format, &count, &remaining, &data) == Success &&
      data != nullptr) {
    if (format == 32) {
      // Xlib hands format-32 items out as longs, sign-extended: keep 32 bits.
      const unsigned long* longs = reinterpret_cast<const unsigned long*>(data);
      for (unsigned long i = 0; i < count; ++i) values.push_back(longs[i] & 0xFFFFFFFFul);
    }
    XFree(data);
  }
  return values;
}

Window XDriver::FindWindowNamed(const std::string& name) {
  Window root = None, parent = None;
  Window* children = nullptr;
  unsigned count = 0;
  Window found = None;
  if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) {
    return None;
  }
  for (unsigned i = 0; i < count && found == None; ++i) {
    char* title = nullptr;
    if (XFetchName(display_, children[i], &title) && title != nullptr) {
      if (name == title) found = children[i];
      XFree(title);
    }
  }
  if (children != nullptr) XFree(children);
  return found;
}

void XDriver::OwnClipboard() {
  if (clipboardOwner_ == None) {
    clipboardOwner_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0,
                                          0, 0);
  }
  XSetSelectionOwner(display_, XInternAtom(display_, "CLIPBOARD", False), clipboardOwner_,
                     CurrentTime);
  XSync(display_, False);
}

void XDriver::AnswerClipboardRequests(const std::string& utf8, const std::atomic<bool>& stop) {
  const Atom utf8String = XInternAtom(display_, "UTF8_STRING", False);
  while (!stop.load()) {
    if (XPending(display_) == 0) {
      pollfd fd{ConnectionNumber(display_), POLLIN, 0};
      poll(&fd, 1, 10);
      continue;
    }
    XEvent e;
    XNextEvent(display_, &e);
    if (e.type != SelectionRequest) continue;
    const XSelectionRequestEvent& request = e.xselectionrequest;
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    reply.xselection.property = None;
    if (request.target == utf8String) {
      XChangeProperty(display_, request.requestor, request.property, utf8String, 8,
                      PropModeReplace, reinterpret_cast<const unsigned char*>(utf8.data()),
                      static_cast<int>(utf8.size()));
      reply.xselection.property = request.property;
    }
    XSendEvent(display_, request.requestor, False, NoEventMask, &reply);
    XFlush(display_);
  }
}

}  // namespace quorvel::x11::testing
