// Plain pixel copies and fills on raster surfaces, clipped to both surfaces.
#pragma once

#include "platform/geometry.h"
#include "raster/surface.h"

namespace quorvel::drawn {

// Fills `r` of `target` with colour `c`.
void FillPixels(raster::Surface& target, const Rect& r, Colour c);

// Copies `source` into `target` with the source's (0, 0) at (x, y) of the
// target; pixels outside either surface are left alone.
void CopyPixels(raster::Surface& target, int x, int y, const raster::Surface& source);

// A one-pixel frame just inside `r`: top and left edges in `topLeft`,
// bottom and right edges in `bottomRight` (a raised or sunken edge).
void FramePixels(raster::Surface& target, const Rect& r, Colour topLeft, Colour bottomRight);

}  // namespace quorvel::drawn
