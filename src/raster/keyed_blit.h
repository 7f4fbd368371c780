// The colour-keyed copy between surfaces, in one pass: the pixels GDI's
// monochrome-mask sequence gives (see RasterCanvas::CopyWithColourKey).
#pragma once

#include <cstdint>

#include "raster/draw_target.h"
#include "raster/surface.h"

namespace quorvel::raster {

// Copies the w x h block of src at (xSrc, ySrc) to (x, y) on a colour target,
// touching only pixels inside the target's area. Where the source pixel is
// the key the destination pixel stays; elsewhere it takes the source pixel.
// Parts of the block outside the source surface count as black source
// pixels, as the zero-filled image of the mask sequence has them there. The
// fourth byte of every pixel written is 0. src must not be the target's
// surface.
void KeyedCopyBlit(const DrawTarget& dst, int x, int y, int w, int h, const Surface& src,
                   int xSrc, int ySrc, std::uint32_t keyPixel);

}  // namespace quorvel::raster
