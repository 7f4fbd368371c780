// The test's own connection to the display: it plays the user and the window
// manager (keys, close requests, clipboard) and reads back what the backend
// put on the server (geometry, pixels, properties). Use one driver per thread.
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace quorvel::x11::testing {

class XDriver {
 public:
  XDriver();
  ~XDriver();
  XDriver(const XDriver&) = delete;
  XDriver& operator=(const XDriver&) = delete;

  bool ok() const { return display_ != nullptr; }
  Display* display() const { return display_; }

  // A key press and release with `keysym`, sent to `window`.
  void SendKey(Window window, unsigned long keysym, unsigned state = 0);
  // A left-button press and release at (x, y) of `window`.
  void SendClick(Window window, int x, int y);
  // A left-button press or release at (x, y) of `window`.
  void SendButton(Window window, bool press, int x, int y);
  // What a window manager sends when its close button is used.
  void SendDeleteWindow(Window window);

  // The window's place and size in root coordinates.
  Rect Geometry(Window window);
  bool Viewable(Window window);
  // The colour of the pixel (x, y) of `window` as the server has it.
  Colour PixelAt(Window window, int x, int y);
  // A 32-bit property's values; empty when the window has none.
  std::vector<unsigned long> Property32(Window window, const char* name);
  // The top-level window whose WM_NAME is `name`; None when there is none.
  Window FindWindowNamed(const std::string& name);

  // Takes CLIPBOARD (done when this returns).
  void OwnClipboard();
  // Hands out `utf8` as UTF8_STRING, and nothing for other targets, to the
  // requests that arrive until `stop` is set.
  void AnswerClipboardRequests(const std::string& utf8, const std::atomic<bool>& stop);

 private:
  Display* display_;
  Window clipboardOwner_ = None;
};

}  // namespace quorvel::x11::testing
