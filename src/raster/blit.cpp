#include "raster/blit.h"

#include <algorithm>
#include <vector>

#include "raster/rect_ops.h"

namespace quorvel::raster {
namespace {

using platform::Rop;

// The source block that lands inside the destination's area and inside the
// source surface, as a destination rectangle.
Rect ClippedDest(const BlitDest& dst, int x, int y, int w, int h, const Surface& src, int xSrc,
                 int ySrc) {
  Rect r = Intersect(BlockRect(x, y, w, h), dst.target.area);
  const long long dx = static_cast<long long>(x) - xSrc;
  const long long dy = static_cast<long long>(y) - ySrc;
  const Rect srcInDest = ClampedRect(dx, dy, dx + src.width(), dy + src.height());
  return Intersect(r, srcInDest);
}

std::uint32_t ChannelAverage(const std::uint64_t sums[3], std::uint64_t count) {
  const std::uint64_t half = count / 2;
  const auto r = static_cast<std::uint32_t>((sums[0] + half) / count);
  const auto g = static_cast<std::uint32_t>((sums[1] + half) / count);
  const auto b = static_cast<std::uint32_t>((sums[2] + half) / count);
  return (r << 16) | (g << 8) | b;
}

// The source range [first, last] that destination index i of n covers when
// `size` source pixels are spread over n, for halftone averaging.
void CoveredRange(int i, int n, int size, int& first, int& last) {
  const long long lo = static_cast<long long>(i) * size;
  const long long hi = static_cast<long long>(i + 1) * size;
  first = static_cast<int>(lo / n);
  last = static_cast<int>((hi + n - 1) / n) - 1;
  if (last < first) last = first;
}

// One row of a blit between surfaces of the same format, in loops simple
// enough for the compiler to vectorise.
void CombineRow(Rop rop, const std::uint32_t* s, std::uint32_t* d, int n) {
  switch (rop) {
    case Rop::SrcCopy:
      std::copy(s, s + n, d);
      return;
    case Rop::SrcAnd:
      for (int i = 0; i < n; ++i) d[i] &= s[i];
      return;
    case Rop::SrcPaint:
      for (int i = 0; i < n; ++i) d[i] |= s[i];
      return;
  }
}

}  // namespace

PixelConverter::PixelConverter(const BlitSource& src, const BlitDest& dst) {
  if (src.monochrome == dst.target.monochrome) {
    mode_ = Mode::Copy;
  } else if (dst.target.monochrome) {
    mode_ = Mode::ColourToMono;
    keyPixel_ = PixelOf(src.bkColour);
  } else {
    mode_ = Mode::MonoToColour;
    zeroPixel_ = PixelOf(dst.textColour);
    onePixel_ = PixelOf(dst.bkColour);
  }
}

std::uint32_t PixelConverter::operator()(std::uint32_t p) const {
  switch (mode_) {
    case Mode::ColourToMono: return (p & 0xFFFFFFu) == keyPixel_ ? kMonoWhite : kMonoBlack;
    case Mode::MonoToColour: return (p & 0xFFFFFFu) != 0 ? onePixel_ : zeroPixel_;
    case Mode::Copy: break;
  }
  return p;
}

void BitBlt(const BlitDest& dst, int x, int y, int w, int h, const BlitSource& src, int xSrc,
            int ySrc, Rop rop) {
  if (!src.surface || !dst.target.surface || w <= 0 || h <= 0) return;
  const Rect r = ClippedDest(dst, x, y, w, h, *src.surface, xSrc, ySrc);
  if (IsEmpty(r)) return;
  const int dx = xSrc - x;
  const int dy = ySrc - y;
  const int width = r.Width();
  const PixelConverter convert(src, dst);
  Surface& out = *dst.target.surface;

  // When both are the same surface the block is read whole before writing.
  std::vector<std::uint32_t> copy;
  const bool same = src.surface == &out;
  if (same) {
    copy.resize(static_cast<std::size_t>(width) * r.Height());
    for (int row = r.top; row < r.bottom; ++row) {
      const std::uint32_t* s = src.surface->Row(row + dy) + r.left + dx;
      std::copy(s, s + width, copy.begin() + static_cast<std::ptrdiff_t>(row - r.top) * width);
    }
  }
  for (int row = r.top; row < r.bottom; ++row) {
    const std::uint32_t* s =
        same ? copy.data() + static_cast<std::ptrdiff_t>(row - r.top) * width
             : src.surface->Row(row + dy) + r.left + dx;
    std::uint32_t* d = out.Row(row) + r.left;
    if (convert.identity()) {
      CombineRow(rop, s, d, width);
    } else {
      for (int i = 0; i < width; ++i) d[i] = ApplyRop(rop, convert(s[i]), d[i]);
    }
  }
}

void StretchBlt(const BlitDest& dst, int x, int y, int w, int h, const BlitSource& src, int xSrc,
                int ySrc, int wSrc, int hSrc, Rop rop, platform::StretchMode mode) {
  if (!src.surface || !dst.target.surface || w <= 0 || h <= 0 || wSrc <= 0 || hSrc <= 0) return;
  const Rect r = Intersect(BlockRect(x, y, w, h), dst.target.area);
  if (IsEmpty(r)) return;
  const Surface& in = *src.surface;
  const PixelConverter convert(src, dst);
  Surface& out = *dst.target.surface;

  // Read the part of the source block inside the source surface first, so
  // that a stretch within one surface never reads pixels it has written.
  const long long srcRight = std::min<long long>(static_cast<long long>(xSrc) + wSrc, in.width());
  const long long srcBottom = std::min<long long>(static_cast<long long>(ySrc) + hSrc, in.height());
  const Rect have{std::max(xSrc, 0), std::max(ySrc, 0), static_cast<int>(srcRight),
                  static_cast<int>(srcBottom)};
  if (IsEmpty(have)) return;
  const int haveWidth = have.Width();
  std::vector<std::uint32_t> block(static_cast<std::size_t>(haveWidth) * have.Height());
  for (int sy = have.top; sy < have.bottom; ++sy) {
    const std::uint32_t* s = in.Row(sy);
    std::uint32_t* b = block.data() + static_cast<std::ptrdiff_t>(sy - have.top) * haveWidth;
    for (int sx = have.left; sx < have.right; ++sx) b[sx - have.left] = convert(s[sx]);
  }
  // The converted source pixel at block offset (i, j), or false outside it.
  auto fetch = [&](int i, int j, std::uint32_t& out) {
    const int sx = xSrc + i;
    const int sy = ySrc + j;
    if (!have.Contains(Point{sx, sy})) return false;
    out = block[static_cast<std::size_t>(sy - have.top) * haveWidth + (sx - have.left)];
    return true;
  };

  for (int row = r.top; row < r.bottom; ++row) {
    const int j = row - y;
    std::uint32_t* d = out.Row(row);
    for (int col = r.left; col < r.right; ++col) {
      const int i = col - x;
      std::uint32_t value = 0;
      if (mode == platform::StretchMode::Plain || dst.target.monochrome) {
        const int si = static_cast<int>(static_cast<long long>(i) * wSrc / w);
        const int sj = static_cast<int>(static_cast<long long>(j) * hSrc / h);
        if (!fetch(si, sj, value)) continue;
      } else {
        int i0, i1, j0, j1;
        CoveredRange(i, w, wSrc, i0, i1);
        CoveredRange(j, h, hSrc, j0, j1);
        std::uint64_t sums[3] = {0, 0, 0};
        std::uint64_t count = 0;
        for (int sj = j0; sj <= j1; ++sj) {
          for (int si = i0; si <= i1; ++si) {
            std::uint32_t p;
            if (!fetch(si, sj, p)) continue;
            sums[0] += (p >> 16) & 0xFF;
            sums[1] += (p >> 8) & 0xFF;
            sums[2] += p & 0xFF;
            ++count;
          }
        }
        if (count == 0) continue;
        value = ChannelAverage(sums, count);
      }
      d[col] = ApplyRop(rop, value, d[col]);
    }
  }
}

void SetDIBits(const DrawTarget& t, int x, int y, int w, int h, const platform::PixelBuffer& bits) {
  if (!t.surface || !bits.pixels || bits.width <= 0 || bits.height <= 0 || w <= 0 || h <= 0) return;
  w = std::min(w, bits.width);
  const Rect r = Intersect(BlockRect(x, y, w, h), t.area);
  if (IsEmpty(r)) return;
  const std::ptrdiff_t stride = bits.width;
  for (int row = r.top; row < r.bottom; ++row) {
    const int j = row - y;  // row of the block, 0 at its top
    // Bottom-up: block row j is buffer row h - 1 - j counted from the bottom,
    // which is that row in memory. Top-down: block row j is memory row j.
    const int memoryRow = bits.bottomUp ? h - 1 - j : j;
    if (memoryRow < 0 || memoryRow >= bits.height) continue;
    const std::uint32_t* s = bits.pixels + stride * memoryRow + (r.left - x);
    std::uint32_t* d = t.surface->Row(row) + r.left;
    for (int i = 0; i < r.Width(); ++i) d[i] = t.monochrome ? DevicePixel(t, ColourOf(s[i])) : s[i];
  }
}

}  // namespace quorvel::raster
