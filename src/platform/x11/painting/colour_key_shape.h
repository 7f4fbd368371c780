// A window's colour key (SetLayeredWindowAttributes with LWA_COLORKEY) as an
// XShape bounding region: the pixels of the key colour are cut out of the
// window.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "platform/geometry.h"
#include "raster/surface.h"

namespace quorvel::x11 {

// The runs of `picture` that are not `key`, one rectangle per run, in
// YX-banded order.
std::vector<XRectangle> OpaqueRuns(const raster::Surface& picture, Colour key);

// Shapes `window` to the pixels of `picture` (the window's content, top-left
// at the window's origin) that are not `key`.
void ApplyColourKeyShape(Display* display, Window window, const raster::Surface& picture,
                         Colour key);

// Gives `window` its plain rectangular shape back.
void ClearShape(Display* display, Window window);

}  // namespace quorvel::x11
