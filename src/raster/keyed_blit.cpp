#include "raster/keyed_blit.h"

#include <algorithm>

#include "pixels/pixel_kernels.h"
#include "raster/rect_ops.h"

namespace quorvel::raster {
namespace {

// Calls inside(s, d, n) for the runs of each destination row whose source
// pixels lie in the source surface, and outside(d, n) for the runs whose
// source pixels do not.
template <typename Inside, typename Outside>
void ForEachRun(const DrawTarget& dst, int x, int y, int w, int h, const Surface& src, int xSrc,
                int ySrc, Inside inside, Outside outside) {
  if (!dst.surface || w <= 0 || h <= 0) return;
  const Rect r = Intersect(BlockRect(x, y, w, h), dst.area);
  if (IsEmpty(r)) return;
  const long long dx = static_cast<long long>(xSrc) - x;
  const long long dy = static_cast<long long>(ySrc) - y;
  // The destination columns whose source column lies inside the source.
  const int inLeft = static_cast<int>(std::clamp<long long>(-dx, r.left, r.right));
  const int inRight = static_cast<int>(std::clamp<long long>(src.width() - dx, inLeft, r.right));
  for (int row = r.top; row < r.bottom; ++row) {
    std::uint32_t* d = dst.surface->Row(row);
    const long long sy = row + dy;
    if (sy < 0 || sy >= src.height()) {
      outside(d + r.left, r.Width());
      continue;
    }
    if (inLeft > r.left) outside(d + r.left, inLeft - r.left);
    if (inRight > inLeft) {
      const std::uint32_t* s = src.Row(static_cast<int>(sy)) + (inLeft + dx);
      inside(s, d + inLeft, static_cast<std::size_t>(inRight - inLeft));
    }
    if (r.right > inRight) outside(d + inRight, r.right - inRight);
  }
}

}  // namespace

void KeyedCopyBlit(const DrawTarget& dst, int x, int y, int w, int h, const Surface& src,
                   int xSrc, int ySrc, std::uint32_t keyPixel) {
  ForEachRun(
      dst, x, y, w, h, src, xSrc, ySrc,
      [keyPixel](const std::uint32_t* s, std::uint32_t* d, std::size_t n) {
        KeyedCopyRow(s, d, n, keyPixel);
      },
      [keyPixel](std::uint32_t* d, int n) {
        if (IsKeyPixel(0, keyPixel)) {
          for (int i = 0; i < n; ++i) d[i] &= kColourBytes;
        } else {
          std::fill(d, d + n, 0u);
        }
      });
}

void KeyedBlendBlit(const DrawTarget& dst, int x, int y, int w, int h, const Surface& src,
                    int xSrc, int ySrc, std::uint32_t keyPixel, unsigned alpha) {
  ForEachRun(
      dst, x, y, w, h, src, xSrc, ySrc,
      [keyPixel, alpha](const std::uint32_t* s, std::uint32_t* d, std::size_t n) {
        KeyedBlendRow(s, d, n, keyPixel, alpha);
      },
      [keyPixel, alpha](std::uint32_t* d, int n) {
        const std::uint32_t black = 0;
        for (int i = 0; i < n; ++i) kernels::KeyedBlendScalar(&black, d + i, 1, keyPixel, alpha);
      });
}

}  // namespace quorvel::raster
