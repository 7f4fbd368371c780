// What a top-level window tells the window manager: title, decorations,
// full-screen state, the close protocol, its owner, opacity and icon.
#pragma once

#include <X11/Xlib.h>

#include <string>
#include <vector>

#include "raster/ico.h"

namespace quorvel::x11 {

class XConnection;

// WM_NAME and _NET_WM_NAME from Windows-1252 text.
void SetWindowTitle(XConnection& c, Window w, const std::string& title);
// Motif hints asking for no decorations at all.
void SetUndecorated(XConnection& c, Window w);
// The window manager's close button arrives as a WM_DELETE_WINDOW message.
void EnableDeleteProtocol(XConnection& c, Window w);
// A dialog belonging to `owner`: kept above it by window managers.
void SetOwner(XConnection& c, Window w, Window owner);
// _NET_WM_STATE_FULLSCREEN: in the property before the window is mapped,
// and as a request to the window manager when it already is.
void RequestFullscreen(XConnection& c, Window w, bool mapped);
// Position and size the window manager should respect, with the window's
// top-left corner as the reference point.
void SetPlacementHints(XConnection& c, Window w, int x, int y, int width, int height);
// _NET_WM_WINDOW_OPACITY as CARDINAL/32: alpha x 0x01010101.
void SetOpacity(XConnection& c, Window w, int alpha);
// _NET_WM_ICON with every image of an icon; nothing when there is none.
void SetIconImages(XConnection& c, Window w, const std::vector<raster::IconImage>& images);

}  // namespace quorvel::x11
