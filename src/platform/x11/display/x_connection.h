// The connection to the X server and what every window of the program needs
// from it: the screen, the visual's pixel layout and the atoms.
#pragma once

#include <X11/Xlib.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/x11/display/colour_cube.h"
#include "platform/x11/display/pixel_format.h"

namespace quorvel::x11 {

class ShmSegment;

// Interned once per connection.
struct Atoms {
  Atom wmProtocols;
  Atom wmDeleteWindow;
  Atom motifWmHints;
  Atom netWmName;
  Atom netWmState;
  Atom netWmStateFullscreen;
  Atom netWmWindowOpacity;
  Atom netWmIcon;
  Atom netWmWindowType;
  Atom netWmWindowTypeDialog;
  Atom utf8String;
  Atom clipboard;
  Atom pasteProperty;  // where a pasted selection is delivered
  Atom netSupported;
  Atom netWmSyncRequestCounter;
  Atom netWmFrameDrawn;
};

// How the default visual stores a pixel, for putting raster surfaces
// (0x00RRGGBB) into images.
struct PixelLayout {
  int depth = 0;
  int bitsPerPixel = 0;  // of the image format of `depth`
  PixelFormat format;    // the raster's pixels turned into the visual's
};

class XConnection {
 public:
  // Opens `displayName` (null: $DISPLAY). Null with `why` set when it cannot.
  static std::unique_ptr<XConnection> Open(const char* displayName, std::string* why);
  ~XConnection();
  XConnection(const XConnection&) = delete;
  XConnection& operator=(const XConnection&) = delete;

  Display* display() const { return display_; }
  int screen() const { return screen_; }
  Window root() const { return root_; }
  Visual* visual() const { return visual_; }
  // The colormap of the program's top-level windows: the default one, or
  // the program's own when an 8-bit screen's default colormap was full.
  Colormap colormap() const;
  bool hasPrivateColormap() const { return cube_ && cube_->isPrivate(); }
  int screenWidth() const;
  int screenHeight() const;
  const Atoms& atoms() const { return atoms_; }
  const PixelLayout& pixelLayout() const { return layout_; }
  // MIT-SHM is offered by the server (it can still fail for a remote client).
  bool shmAvailable() const { return shmAvailable_; }
  // Once a shared-memory attach has failed, every later image is plain.
  void DisableShm() { shmAvailable_ = false; }
  // A segment an image no longer needs, kept attached for the next one: a
  // new segment costs an attach and the first touch of every page, here and
  // in the server. A few are kept, the oldest going first.
  void KeepSpareSegment(std::unique_ptr<ShmSegment> segment);
  // The smallest spare segment of `atLeast` to `atMost` bytes, if any.
  std::unique_ptr<ShmSegment> TakeSpareSegment(std::size_t atLeast, std::size_t atMost);
  // XShape is offered by the server.
  bool shapeAvailable() const { return shapeAvailable_; }
  // From now on the connection acts as on a server without XShape: no
  // window is colour-keyed. For the tests, whose servers all have it.
  void DisableShape() { shapeAvailable_ = false; }
  // The SYNC extension (counters) is offered by the server.
  bool syncAvailable() const { return syncAvailable_; }
  // The server is XWayland (ServerIsXWayland).
  bool isXWayland() const { return isXWayland_; }

 private:
  explicit XConnection(Display* display);

  Display* display_;
  int screen_;
  Window root_;
  Visual* visual_;
  Atoms atoms_{};
  std::unique_ptr<ColourCube> cube_;  // on visuals without direct pixels
  PixelLayout layout_;
  bool shmAvailable_ = false;
  bool shapeAvailable_ = false;
  bool syncAvailable_ = false;
  bool isXWayland_ = false;
  std::vector<std::unique_ptr<ShmSegment>> spareSegments_;  // oldest first
};

// XWayland offers the XWAYLAND extension in its newer releases; every
// release names its RandR outputs XWAYLAND0, XWAYLAND1, ...
bool ServerIsXWayland(Display* display, Window root);

}  // namespace quorvel::x11
