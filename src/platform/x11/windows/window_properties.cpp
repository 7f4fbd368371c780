#include "platform/x11/windows/window_properties.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <vector>

#include "platform/x11/display/x_connection.h"
#include "text/windows1252.h"

namespace quorvel::x11 {

using text::Windows1252ToUtf8;

namespace {

// The layout of _MOTIF_WM_HINTS.
struct MotifHints {
  unsigned long flags;
  unsigned long functions;
  unsigned long decorations;
  long inputMode;
  unsigned long status;
};
constexpr unsigned long kMotifHintsDecorations = 1ul << 1;

constexpr long kNetWmStateAdd = 1;

}  // namespace

void SetWindowTitle(XConnection& c, Window w, const std::string& title) {
  Display* d = c.display();
  // WM_NAME is Latin-1, which Windows-1252 matches outside 0x80..0x9F.
  XStoreName(d, w, title.c_str());
  const std::string utf8 = Windows1252ToUtf8(title);
  XChangeProperty(d, w, c.atoms().netWmName, c.atoms().utf8String, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(utf8.data()),
                  static_cast<int>(utf8.size()));
}

void SetUndecorated(XConnection& c, Window w) {
  MotifHints hints{kMotifHintsDecorations, 0, 0, 0, 0};
  XChangeProperty(c.display(), w, c.atoms().motifWmHints, c.atoms().motifWmHints, 32,
                  PropModeReplace, reinterpret_cast<unsigned char*>(&hints), 5);
}

void EnableDeleteProtocol(XConnection& c, Window w) {
  Atom protocols[] = {c.atoms().wmDeleteWindow};
  XSetWMProtocols(c.display(), w, protocols, 1);
}

void SetOwner(XConnection& c, Window w, Window owner) {
  if (owner != None) XSetTransientForHint(c.display(), w, owner);
  Atom type = c.atoms().netWmWindowTypeDialog;
  XChangeProperty(c.display(), w, c.atoms().netWmWindowType, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&type), 1);
}

void RequestFullscreen(XConnection& c, Window w, bool mapped) {
  Display* d = c.display();
  Atom state = c.atoms().netWmStateFullscreen;
  if (!mapped) {
    XChangeProperty(d, w, c.atoms().netWmState, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&state), 1);
    return;
  }
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = c.atoms().netWmState;
  e.xclient.format = 32;
  e.xclient.data.l[0] = kNetWmStateAdd;
  e.xclient.data.l[1] = static_cast<long>(state);
  e.xclient.data.l[3] = 1;  // a normal application
  XSendEvent(d, c.root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

void SetPlacementHints(XConnection& c, Window w, int x, int y, int width, int height) {
  XSizeHints hints{};
  hints.flags = USPosition | USSize | PWinGravity;
  hints.x = x;
  hints.y = y;
  hints.width = width;
  hints.height = height;
  hints.win_gravity = NorthWestGravity;
  XSetWMNormalHints(c.display(), w, &hints);
}

void SetOpacity(XConnection& c, Window w, int alpha) {
  if (alpha < 0) alpha = 0;
  if (alpha > 255) alpha = 255;
  // Format-32 property data is passed as longs, whatever their size.
  unsigned long value = static_cast<unsigned long>(alpha) * 0x01010101ul;
  XChangeProperty(c.display(), w, c.atoms().netWmWindowOpacity, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&value), 1);
}

void SetIconImages(XConnection& c, Window w, const std::vector<raster::IconImage>& images) {
  // Width, height, then the ARGB pixels row by row, for each size in turn;
  // format-32 property data is passed as longs, whatever their size.
  std::vector<unsigned long> data;
  for (const raster::IconImage& image : images) {
    data.push_back(static_cast<unsigned long>(image.width));
    data.push_back(static_cast<unsigned long>(image.height));
    for (std::uint32_t pixel : image.argb) data.push_back(pixel);
  }
  if (data.empty()) return;
  XChangeProperty(c.display(), w, c.atoms().netWmIcon, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(data.data()), static_cast<int>(data.size()));
}

}  // namespace quorvel::x11
