#include "raster/gradient.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "raster/rect_ops.h"

namespace quorvel::raster {
namespace {

int Channel(int c1, int c2, int i, int w) {
  const std::int64_t v1 = static_cast<std::int64_t>(c1) << 8;
  const std::int64_t v2 = static_cast<std::int64_t>(c2) << 8;
  const std::int64_t v = (v1 * (w - i) + v2 * i) / w;
  return static_cast<int>(v >> 8);
}

}  // namespace

Colour GradientColumn(Colour left, Colour right, int i, int w) {
  if (w <= 0) return left;
  return Rgb(Channel(RedOf(left), RedOf(right), i, w), Channel(GreenOf(left), GreenOf(right), i, w),
             Channel(BlueOf(left), BlueOf(right), i, w));
}

void FillGradientH(const DrawTarget& t, const Rect& rect, Colour left, Colour right) {
  const Rect r = Normalized(rect);
  const Rect c = Intersect(r, t.area);
  if (IsEmpty(c)) return;
  const int w = r.Width();
  // One row is worked out, then copied to every row.
  std::vector<std::uint32_t> row(static_cast<std::size_t>(c.Width()));
  for (int x = c.left; x < c.right; ++x) {
    row[x - c.left] = DevicePixel(t, GradientColumn(left, right, x - r.left, w));
  }
  for (int y = c.top; y < c.bottom; ++y) {
    std::copy(row.begin(), row.end(), t.surface->Row(y) + c.left);
  }
}

}  // namespace quorvel::raster
