// Filling rectangles with a solid or hatched brush.
#pragma once

#include <cstdint>

#include "platform/canvas.h"
#include "raster/draw_target.h"

namespace quorvel::raster {

// A brush resolved for one target: its pixel, and for hatched brushes the
// pattern and what fills the gaps between the lines.
struct BrushPaint {
  std::uint32_t pixel = 0;
  int hatch = platform::kHatchNone;  // kHatchNone or a GDI hatch style 0..5
  bool opaqueGaps = true;            // gaps take gapPixel (OPAQUE); else untouched
  std::uint32_t gapPixel = 0;
};

// The row of the 8 x 8 pattern of a hatch style; bit 7 is the leftmost
// pixel. The pattern is aligned to the surface origin.
std::uint8_t HatchRow(int hatch, int y);

// Fills r (already clipped to the target's area by the caller or not: it is
// clipped here) with the brush.
void FillRect(const DrawTarget& t, const Rect& r, const BrushPaint& brush);

// Fills pixels [x0, x1) of row y, clipped to the target's area.
void FillSpan(const DrawTarget& t, int y, int x0, int x1, const BrushPaint& brush);

}  // namespace quorvel::raster
