#include "platform/x11/display/x_connection.h"

#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/shape.h>
#include <X11/extensions/sync.h>
#include <fcntl.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <utility>

#include "platform/x11/display/randr_outputs.h"
#include "platform/x11/display/shm_segment.h"
#include "platform/x11/display/x_errors.h"

namespace quorvel::x11 {
namespace {

Atoms InternAtoms(Display* d) {
  const char* names[] = {
      "WM_PROTOCOLS",   "WM_DELETE_WINDOW", "_MOTIF_WM_HINTS",
      "_NET_WM_NAME",   "_NET_WM_STATE",    "_NET_WM_STATE_FULLSCREEN",
      "_NET_WM_WINDOW_OPACITY", "_NET_WM_ICON", "_NET_WM_WINDOW_TYPE",
      "_NET_WM_WINDOW_TYPE_DIALOG", "UTF8_STRING", "CLIPBOARD",
      "QUORVEL_PASTE", "_NET_SUPPORTED", "_NET_WM_SYNC_REQUEST_COUNTER",
      "_NET_WM_FRAME_DRAWN",
  };
  constexpr int kCount = sizeof names / sizeof names[0];
  Atom values[kCount] = {};
  XInternAtoms(d, const_cast<char**>(names), kCount, False, values);
  Atoms a{};
  a.wmProtocols = values[0];
  a.wmDeleteWindow = values[1];
  a.motifWmHints = values[2];
  a.netWmName = values[3];
  a.netWmState = values[4];
  a.netWmStateFullscreen = values[5];
  a.netWmWindowOpacity = values[6];
  a.netWmIcon = values[7];
  a.netWmWindowType = values[8];
  a.netWmWindowTypeDialog = values[9];
  a.utf8String = values[10];
  a.clipboard = values[11];
  a.pasteProperty = values[12];
  a.netSupported = values[13];
  a.netWmSyncRequestCounter = values[14];
  a.netWmFrameDrawn = values[15];
  return a;
}

PixelLayout ReadPixelLayout(Display* d, int screen, Visual* visual, const ColourCube* cube) {
  PixelLayout layout;
  layout.depth = DefaultDepth(d, screen);
  int count = 0;
  XPixmapFormatValues* formats = XListPixmapFormats(d, &count);
  for (int i = 0; i < count; ++i) {
    if (formats[i].depth == layout.depth) layout.bitsPerPixel = formats[i].bits_per_pixel;
  }
  if (formats != nullptr) XFree(formats);
  const bool msbFirst = ImageByteOrder(d) == MSBFirst;
  if (cube != nullptr && cube->isRamp()) {
    layout.format = PixelFormat::Ramps(layout.bitsPerPixel, msbFirst, visual->red_mask,
                                       visual->green_mask, visual->blue_mask, cube->cells());
  } else if (cube != nullptr) {
    layout.format = PixelFormat::Cube(layout.bitsPerPixel, msbFirst, cube->levels(), cube->cells());
  } else {
    layout.format = PixelFormat::Direct(layout.bitsPerPixel, msbFirst, visual->red_mask,
                                        visual->green_mask, visual->blue_mask);
  }
  return layout;
}

}  // namespace

std::unique_ptr<XConnection> XConnection::Open(const char* displayName, std::string* why) {
  InstallXErrorHandler();
  Display* display = XOpenDisplay(displayName);
  // A busy server's listen queue can be full for a moment (the local
  // socket's connect fails with EAGAIN): try again for a short while.
  const char* name = displayName != nullptr ? displayName : std::getenv("DISPLAY");
  const bool named = name != nullptr && *name != '\0';
  for (int attempt = 0; display == nullptr && named && attempt < 20; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    display = XOpenDisplay(displayName);
  }
  if (display == nullptr) {
    if (why != nullptr) {
      *why = !named
                 ? std::string("no X display: DISPLAY is not set")
                 : "cannot open X display '" + std::string(name) + "'";
    }
    return nullptr;
  }
  // Programs started from here (the browser) must not inherit the connection.
  fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
  return std::unique_ptr<XConnection>(new XConnection(display));
}

XConnection::XConnection(Display* display)
    : display_(display),
      screen_(DefaultScreen(display)),
      root_(RootWindow(display, screen_)),
      visual_(DefaultVisual(display, screen_)),
      atoms_(InternAtoms(display)) {
  const VisualColours colours = ColoursOf(visual_);
  if (colours == VisualColours::Ramps) cube_ = ColourCube::AllocateRamp(display_, screen_);
  if (colours != VisualColours::Fixed && !cube_) {
    cube_ = ColourCube::Allocate(display_, screen_, visual_,
                                 CubeLevelsFor(DefaultDepth(display_, screen_)));
  }
  layout_ = ReadPixelLayout(display_, screen_, visual_, cube_.get());
  int major = 0, minor = 0;
  Bool pixmaps = False;
  shmAvailable_ = XShmQueryVersion(display_, &major, &minor, &pixmaps) == True;
  int eventBase = 0, errorBase = 0;
  shapeAvailable_ = XShapeQueryExtension(display_, &eventBase, &errorBase) == True;
  syncAvailable_ = XSyncQueryExtension(display_, &eventBase, &errorBase) == True &&
                   XSyncInitialize(display_, &major, &minor) == True;
  isXWayland_ = ServerIsXWayland(display_, root_);
}

bool ServerIsXWayland(Display* display, Window root) {
  int opcode = 0, eventBase = 0, errorBase = 0;
  if (XQueryExtension(display, "XWAYLAND", &opcode, &eventBase, &errorBase) == True) return true;
  for (const RandrOutput& output : ReadRandrOutputs(display, root)) {
    if (output.name.compare(0, 8, "XWAYLAND") == 0) return true;
  }
  return false;
}

XConnection::~XConnection() {
  spareSegments_.clear();
  cube_.reset();
  XCloseDisplay(display_);
}

void XConnection::KeepSpareSegment(std::unique_ptr<ShmSegment> segment) {
  // Enough for a closed window's back buffer and its controls' buffers.
  constexpr std::size_t kMaxSpares = 4;
  if (!segment) return;
  if (spareSegments_.size() == kMaxSpares) spareSegments_.erase(spareSegments_.begin());
  spareSegments_.push_back(std::move(segment));
}

std::unique_ptr<ShmSegment> XConnection::TakeSpareSegment(std::size_t atLeast,
                                                          std::size_t atMost) {
  auto best = spareSegments_.end();
  for (auto it = spareSegments_.begin(); it != spareSegments_.end(); ++it) {
    const std::size_t bytes = (*it)->bytes();
    if (bytes < atLeast || bytes > atMost) continue;
    if (best == spareSegments_.end() || bytes < (*best)->bytes()) best = it;
  }
  if (best == spareSegments_.end()) return nullptr;
  std::unique_ptr<ShmSegment> segment = std::move(*best);
  spareSegments_.erase(best);
  return segment;
}

Colormap XConnection::colormap() const {
  return cube_ ? cube_->colormap() : DefaultColormap(display_, screen_);
}

int XConnection::screenWidth() const { return DisplayWidth(display_, screen_); }
int XConnection::screenHeight() const { return DisplayHeight(display_, screen_); }

}  // namespace quorvel::x11
