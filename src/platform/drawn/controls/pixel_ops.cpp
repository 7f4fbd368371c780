#include "platform/drawn/controls/pixel_ops.h"

#include <algorithm>
#include <cstring>

namespace quorvel::drawn {

void FillPixels(raster::Surface& target, const Rect& r, Colour c) {
  const int left = std::max(r.left, 0);
  const int top = std::max(r.top, 0);
  const int right = std::min(r.right, target.width());
  const int bottom = std::min(r.bottom, target.height());
  const std::uint32_t pixel = raster::PixelOf(c);
  for (int y = top; y < bottom; ++y) std::fill(target.Row(y) + left, target.Row(y) + right, pixel);
}

void CopyPixels(raster::Surface& target, int x, int y, const raster::Surface& source) {
  const int left = std::max(x, 0);
  const int top = std::max(y, 0);
  const int right = std::min(x + source.width(), target.width());
  const int bottom = std::min(y + source.height(), target.height());
  if (right <= left) return;
  for (int ty = top; ty < bottom; ++ty) {
    std::memcpy(target.Row(ty) + left, source.Row(ty - y) + (left - x),
                static_cast<std::size_t>(right - left) * sizeof(std::uint32_t));
  }
}

void FramePixels(raster::Surface& target, const Rect& r, Colour topLeft, Colour bottomRight) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  FillPixels(target, Rect{r.left, r.top, r.right, r.top + 1}, topLeft);
  FillPixels(target, Rect{r.left, r.top, r.left + 1, r.bottom}, topLeft);
  FillPixels(target, Rect{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  FillPixels(target, Rect{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

}  // namespace quorvel::drawn
