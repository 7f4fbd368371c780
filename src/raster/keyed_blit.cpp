#include "raster/keyed_blit.h"

#include <algorithm>

#include "raster/pixel_kernels.h"
#include "raster/rect_ops.h"

namespace quorvel::raster {
namespace {

// n destination pixels whose source pixel is outside the source surface,
// which reads as black.
void OutsideSource(std::uint32_t* d, int n, std::uint32_t keyPixel) {
  if (n <= 0) return;
  if (IsKeyPixel(0, keyPixel)) {
    for (int i = 0; i < n; ++i) d[i] &= kColourBytes;
  } else {
    std::fill(d, d + n, 0u);
  }
}

}  // namespace

void KeyedCopyBlit(const DrawTarget& dst, int x, int y, int w, int h, const Surface& src,
                   int xSrc, int ySrc, std::uint32_t keyPixel) {
  if (!dst.surface || w <= 0 || h <= 0) return;
  const Rect r = Intersect(BlockRect(x, y, w, h), dst.area);
  if (IsEmpty(r)) return;
  // The destination columns whose source column lies inside the source.
  const long long dx = static_cast<long long>(xSrc) - x;
  const long long dy = static_cast<long long>(ySrc) - y;
  const int inLeft = static_cast<int>(std::clamp<long long>(-dx, r.left, r.right));
  const int inRight = static_cast<int>(std::clamp<long long>(src.width() - dx, inLeft, r.right));
  for (int row = r.top; row < r.bottom; ++row) {
    std::uint32_t* d = dst.surface->Row(row);
    const long long sy = row + dy;
    if (sy < 0 || sy >= src.height()) {
      OutsideSource(d + r.left, r.Width(), keyPixel);
      continue;
    }
    OutsideSource(d + r.left, inLeft - r.left, keyPixel);
    if (inRight > inLeft) {
      const std::uint32_t* s = src.Row(static_cast<int>(sy)) + (inLeft + dx);
      KeyedCopyRow(s, d + inLeft, static_cast<std::size_t>(inRight - inLeft), keyPixel);
    }
    OutsideSource(d + inRight, r.right - inRight, keyPixel);
  }
}

}  // namespace quorvel::raster
