// Putting antialiased glyph coverage onto a surface.
#pragma once

#include <cstdint>

#include "raster/draw_target.h"
#include "raster/raster_font.h"

namespace quorvel::raster {

// dst + (text - dst) * coverage / 255 per channel, rounded to nearest.
inline std::uint32_t BlendCoverage(std::uint32_t dst, std::uint32_t text, unsigned coverage) {
  if (coverage == 0) return dst;
  if (coverage >= 255) return text;
  std::uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int d = static_cast<int>((dst >> shift) & 0xFF);
    const int t = static_cast<int>((text >> shift) & 0xFF);
    const int v = d * 255 + (t - d) * static_cast<int>(coverage);  // 255 x result
    out |= static_cast<std::uint32_t>((v + 127) / 255) << shift;
  }
  return out;
}

// Draws a glyph with its origin (pen position on the baseline) at
// (penX, baseline), cut to `clip`. Monochrome targets take the text pixel
// where coverage is at least half.
void DrawGlyph(const DrawTarget& t, const Rect& clip, const Glyph& g, int penX, int baseline,
               std::uint32_t textPixel);

}  // namespace quorvel::raster
