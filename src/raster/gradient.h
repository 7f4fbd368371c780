// GDI's GradientFill with GRADIENT_FILL_RECT_H between two colours.
#pragma once

#include "raster/draw_target.h"

namespace quorvel::raster {

// The colour of column i of a horizontal gradient w columns wide. Each
// channel works on 16-bit vertex values (8-bit value x 256):
// (c1 * (w - i) + c2 * i) / w, then >> 8. Column 0 is exactly `left`; the last
// column stops one step short of `right`.
Colour GradientColumn(Colour left, Colour right, int i, int w);

// Fills r (right and bottom exclusive) column by column.
void FillGradientH(const DrawTarget& t, const Rect& r, Colour left, Colour right);

}  // namespace quorvel::raster
