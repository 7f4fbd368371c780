// The skin's three blits over the drawing context: a colour-keyed copy, a
// colour-keyed constant-alpha blend and tiling. Portable: each uses the
// desktop's TransparentBlt / AlphaBlend when the facts found them, and GDI
// drawing calls (or a canvas fast path giving the same pixels) otherwise.
#pragma once

#include <cstdint>

#include "platform/canvas.h"
#include "platform/facts.h"
#include "sysinfo/system_info.h"

namespace quorvel {

// The entry points as the facts report them (null: not offered).
platform::ImagingEntries ImagingOf(const SystemInfo& info);

// AlphaBlend's four-byte descriptor. Only constantAlpha is used.
struct BlendFunction {
  std::uint8_t blendOp = 0;
  std::uint8_t blendFlags = 0;
  std::uint8_t constantAlpha = 0;
  std::uint8_t alphaFormat = 0;
};

// Copies the w x h block of src at (xSrc, ySrc) to (x, y) of dest, keeping
// dest wherever the source pixel is magenta (kKeyMagenta; on 32-bit pixels
// the fourth byte plays no part).
//  - With a TransparentBlt entry the canvas calls it (PlatformTransparentBlt);
//    a canvas that cannot call it falls through to the next step.
//  - Otherwise the canvas's CopyWithColourKey, when it offers it.
//  - Otherwise GDI's monochrome-mask sequence: the block is copied into an
//    image compatible with dest, a mask is made from it (key pixels 1), the
//    image's key pixels are blackened with the mask (SRCAND), dest is ANDed
//    with the mask and ORed with the image. dest's background colour is
//    white and its text colour black afterwards.
void ColorKeyBlt(platform::Canvas& dest, int x, int y, int w, int h, platform::Canvas& src,
                 int xSrc, int ySrc, const platform::ImagingEntries& entries);

// Blends the wSrc x hSrc block of src at (xSrc, ySrc) onto dest at
// (xDest, yDest) with blend.constantAlpha, leaving dest where the source is
// magenta. Returns false when nothing could be drawn:
//  - dest or src null: false.
//  - alpha 254 or 255: ColorKeyBlt of wDest x hDest (opaque), true.
//  - Both entry points set: the destination block is copied into a
//    compatible surface, the source keyed onto it (TransparentBlt), and the
//    result blended back (AlphaBlend), true. If the canvas does not call the
//    entry points, the software path runs instead.
//  - Software: both blocks are read into 32-bit buffers, blended per pixel
//    and channel d = (d * 256 + (s - d) * a) >> 8 (the fourth byte of dest
//    stays), and written back. A canvas offering BlendWithColourKey gives
//    the same pixels without the buffers. Callers pass equal sizes; when
//    wDest x hDest differs from wSrc x hSrc only the overlap (the smaller
//    width and the smaller height, from the top-left corners) is blended
//    and written, since no pixel outside both blocks has a partner. An
//    empty overlap or a buffer that cannot be made gives false.
bool BlendBlt(platform::Canvas* dest, int xDest, int yDest, int wDest, int hDest,
              platform::Canvas* src, int xSrc, int ySrc, int wSrc, int hSrc, BlendFunction blend,
              const platform::ImagingEntries& entries);

// Repeats the tileW x tileH block of src at (xSrc, ySrc) along a row from
// (x, y) when w differs from tileW, with w / tileW + 2 tiles (C++ division),
// or down a column when w equals tileW, with h / tileH + 2 tiles. Nothing is
// drawn when a tile size is not positive or the count is below 0 (the
// quotient below -1). The tiles run past the w x h block; callers clip.
void TileBlt(platform::Canvas& dest, int x, int y, int w, int h, platform::Canvas& src, int xSrc,
             int ySrc, int tileW, int tileH);

}  // namespace quorvel
