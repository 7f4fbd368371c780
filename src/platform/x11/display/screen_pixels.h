// The screen as the X server shows it: the root window's pixels, which hold
// what a compositing manager draws as well as the windows themselves.
#pragma once

#include <vector>

#include "platform/geometry.h"

namespace quorvel::x11 {

class XConnection;

// The colours of the root window's pixels in `screenRect`, row by row from
// the top left. False, with `pixels` empty, when the rectangle is not
// wholly on the screen, the server refuses the image, or the root's visual
// is not TrueColor (other visuals' pixels name colormap cells).
bool ReadScreenPixels(XConnection& connection, const Rect& screenRect, std::vector<Colour>& pixels);

}  // namespace quorvel::x11
