// 32-bit memory surfaces for pixel checks, made through the backend's own
// canvas so that the tests draw exactly as the program does.
#pragma once

#include "platform/win32/windows_api.h"

#include <memory>

#include "platform/win32/gdi_canvas.h"

namespace quorvel::win32::testing {

// A w x h 32-bit canvas compatible with the screen, filled with `fill`.
std::unique_ptr<GdiCanvas> NewDib(int w, int h, Colour fill = Rgb(255, 255, 255));

// The colour at (x, y), y counted from the top, of a canvas with Pixels().
Colour PixelAt(platform::Canvas& canvas, int x, int y);

// Fills the whole canvas with one colour, without a pen.
void Fill(platform::Canvas& canvas, Colour colour);

}  // namespace quorvel::win32::testing
