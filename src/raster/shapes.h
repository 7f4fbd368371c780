// Rectangles and rounded rectangles with GDI's edge conventions.
#pragma once

#include "platform/canvas.h"
#include "raster/brush_fill.h"
#include "raster/draw_target.h"

namespace quorvel::raster {

// A pen resolved for one target; width 0 (no outline) for PS_NULL. Every
// other style draws solid; a pen of width 0 or 1 is one pixel wide, and a
// wider one lies wholly inside the shape's edge, as PS_INSIDEFRAME would.
struct PenPaint {
  std::uint32_t pixel = 0;
  int width = 1;
};

PenPaint ResolvePen(const DrawTarget& t, const platform::Pen& pen);

// GDI's Rectangle: the shape covers left..right-1 and top..bottom-1 with the
// outline inside it and the brush in the interior. Without an outline GDI
// fills one pixel less on the right and at the bottom, left..right-2 and
// top..bottom-2, and so does this.
void DrawRectangle(const DrawTarget& t, const Rect& r, const PenPaint& pen, const BrushPaint& brush);

// GDI's RoundRect. ellipseWidth and ellipseHeight are the full size of the
// ellipse whose quarters round the corners (RoundRect's nWidth and nHeight,
// not radii), clamped to the shape's size. The shape box is the one
// Rectangle uses (one pixel smaller without a pen). A row of a corner holds
// the pixels whose centres lie inside the ellipse inscribed in an
// ellipseWidth x ellipseHeight box; the outline is the shape's own boundary
// pixels, so it stays inside. When either ellipse dimension is 0 or 1 the
// corners are square and the result equals Rectangle's.
void DrawRoundRect(const DrawTarget& t, const Rect& r, int ellipseWidth, int ellipseHeight,
                   const PenPaint& pen, const BrushPaint& brush);

}  // namespace quorvel::raster
