// The colour-keyed copy and blend between surfaces, in one pass: the pixels
// GDI's monochrome-mask sequence and the skin's buffered software blend give
// (see RasterCanvas::CopyWithColourKey and BlendWithColourKey).
#pragma once

#include <cstdint>

#include "raster/draw_target.h"
#include "raster/surface.h"

namespace quorvel::raster {

// Both take the w x h block of src at (xSrc, ySrc) to (x, y) on a colour
// target, touching only pixels inside the target's area. Parts of the block
// outside the source surface count as black source pixels, as the
// zero-filled buffers of the sequences they stand for have them there. src
// must not be the target's surface.

// Where the source pixel is the key the destination pixel stays; elsewhere
// it takes the source pixel. The fourth byte of every pixel written is 0.
void KeyedCopyBlit(const DrawTarget& dst, int x, int y, int w, int h, const Surface& src,
                   int xSrc, int ySrc, std::uint32_t keyPixel);

// KeyedBlendRow on every row: key pixels of the source leave the destination
// as it is, the others are blended with `alpha`; fourth bytes stay.
void KeyedBlendBlit(const DrawTarget& dst, int x, int y, int w, int h, const Surface& src,
                    int xSrc, int ySrc, std::uint32_t keyPixel, unsigned alpha);

}  // namespace quorvel::raster
