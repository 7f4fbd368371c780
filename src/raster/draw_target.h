// Where a drawing operation writes: a surface, the area it may touch (the
// surface's bounds cut by the clip rectangle) and whether it is monochrome.
#pragma once

#include <cstdint>

#include "platform/geometry.h"
#include "raster/surface.h"

namespace quorvel::raster {

// Monochrome surfaces keep one of these two values in every pixel.
constexpr std::uint32_t kMonoBlack = 0x000000u;
constexpr std::uint32_t kMonoWhite = 0xFFFFFFu;

struct DrawTarget {
  Surface* surface = nullptr;
  Rect area;  // never larger than the surface
  bool monochrome = false;
};

// The pixel a colour is drawn with on the target. A monochrome target takes
// the nearer of black and white: white when the channel sum is at least 384
// (an average of 128 or more).
inline std::uint32_t DevicePixel(const DrawTarget& t, Colour c) {
  if (!t.monochrome) return PixelOf(c);
  return RedOf(c) + GreenOf(c) + BlueOf(c) >= 384 ? kMonoWhite : kMonoBlack;
}

}  // namespace quorvel::raster
