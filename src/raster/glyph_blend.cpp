#include "raster/glyph_blend.h"

#include <algorithm>

namespace quorvel::raster {

void DrawGlyph(const DrawTarget& t, const Rect& clip, const Glyph& g, int penX, int baseline,
               std::uint32_t textPixel) {
  const int left = penX + g.left;
  const int top = baseline - g.top;
  const int x0 = std::max(left, clip.left);
  const int x1 = std::min(left + g.width, clip.right);
  const int y0 = std::max(top, clip.top);
  const int y1 = std::min(top + g.rows, clip.bottom);
  for (int y = y0; y < y1; ++y) {
    const std::uint8_t* cov = g.coverage.data() + static_cast<std::ptrdiff_t>(y - top) * g.width;
    std::uint32_t* row = t.surface->Row(y);
    for (int x = x0; x < x1; ++x) {
      const unsigned c = cov[x - left];
      if (t.monochrome) {
        if (c >= 128) row[x] = textPixel;
      } else {
        row[x] = BlendCoverage(row[x] & 0xFFFFFFu, textPixel, c);
      }
    }
  }
}

}  // namespace quorvel::raster
