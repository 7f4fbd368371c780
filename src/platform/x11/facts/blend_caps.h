// Which blends the X desktop accelerates, in the bits of the Windows
// SHADEBLENDCAPS, read from the server when asked:
//   constant alpha  a compositing manager owns _NET_WM_CM_S<screen>, so
//                   window opacity is blended rather than ignored
//   per-pixel alpha that, and a depth-32 TrueColor visual whose RENDER
//                   format has an alpha channel (ARGB windows)
//   gradients       the RENDER extension, version 0.10 or later (the
//                   version that brought gradient pictures)
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

namespace quorvel::x11 {

class XConnection;

std::uint32_t ReadShadeBlendCaps(XConnection& connection);

// A compositing manager owns the _NET_WM_CM_S<screen> selection.
bool CompositorRunning(Display* display, int screen);

}  // namespace quorvel::x11
