// The screen as the desktop shows it, layered windows included.
#pragma once

#include <vector>

#include "platform/geometry.h"

namespace quorvel::win32 {

// The screen's colours in `screenRect`, row by row from the top left, read
// from the screen's device context with layered windows captured
// (CAPTUREBLT). False, with `pixels` empty, when the rectangle is not
// wholly on the screen or the copy fails.
bool CaptureScreen(const Rect& screenRect, std::vector<Colour>& pixels);

}  // namespace quorvel::win32
