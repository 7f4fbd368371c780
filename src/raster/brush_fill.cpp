#include "raster/brush_fill.h"

#include <algorithm>

#include "raster/rect_ops.h"

namespace quorvel::raster {
namespace {

// GDI's hatch patterns, one byte a row, bit 7 the leftmost pixel.
constexpr std::uint8_t kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal, "\"
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal, "/"
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0xFF},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
};

bool IsHatched(int hatch) { return hatch >= 0 && hatch < 6; }

}  // namespace

std::uint8_t HatchRow(int hatch, int y) {
  if (!IsHatched(hatch)) return 0xFF;
  return kHatches[hatch][y & 7];
}

void FillSpan(const DrawTarget& t, int y, int x0, int x1, const BrushPaint& brush) {
  if (y < t.area.top || y >= t.area.bottom) return;
  x0 = std::max(x0, t.area.left);
  x1 = std::min(x1, t.area.right);
  if (x0 >= x1) return;
  std::uint32_t* row = t.surface->Row(y);
  if (!IsHatched(brush.hatch)) {
    std::fill(row + x0, row + x1, brush.pixel);
    return;
  }
  const std::uint8_t bits = HatchRow(brush.hatch, y);
  for (int x = x0; x < x1; ++x) {
    if (bits & (0x80u >> (x & 7))) {
      row[x] = brush.pixel;
    } else if (brush.opaqueGaps) {
      row[x] = brush.gapPixel;
    }
  }
}

void FillRect(const DrawTarget& t, const Rect& r, const BrushPaint& brush) {
  const Rect c = Intersect(r, t.area);
  if (IsEmpty(c)) return;
  if (IsHatched(brush.hatch) && !brush.opaqueGaps) {
    for (int y = c.top; y < c.bottom; ++y) FillSpan(t, y, c.left, c.right, brush);
    return;
  }
  // Solid and opaque hatched fills repeat every row or every eighth row, so
  // after the first period each row is a copy of one drawn before.
  const int period = IsHatched(brush.hatch) ? 8 : 1;
  const int width = c.Width();
  for (int y = c.top; y < c.bottom; ++y) {
    if (y - c.top < period) {
      FillSpan(t, y, c.left, c.right, brush);
    } else {
      const std::uint32_t* from = t.surface->Row(y - period) + c.left;
      std::copy(from, from + width, t.surface->Row(y) + c.left);
    }
  }
}

}  // namespace quorvel::raster
