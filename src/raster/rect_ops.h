// Small helpers on GDI rectangles (right and bottom exclusive).
#pragma once

#include <algorithm>
#include <climits>

#include "platform/geometry.h"

namespace quorvel::raster {

inline bool IsEmpty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

inline Rect Intersect(const Rect& a, const Rect& b) {
  return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

// The same rectangle with left <= right and top <= bottom.
inline Rect Normalized(const Rect& r) {
  return Rect{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
              std::max(r.top, r.bottom)};
}

// A rectangle from 64-bit edges, each clamped to the int range, so that
// offsets and sizes near the limits cannot overflow.
inline Rect ClampedRect(long long left, long long top, long long right, long long bottom) {
  auto clamp = [](long long v) {
    return static_cast<int>(std::min<long long>(std::max<long long>(v, INT_MIN), INT_MAX));
  };
  return Rect{clamp(left), clamp(top), clamp(right), clamp(bottom)};
}

// The w x h block at (x, y).
inline Rect BlockRect(int x, int y, int w, int h) {
  return ClampedRect(x, y, static_cast<long long>(x) + w, static_cast<long long>(y) + h);
}

}  // namespace quorvel::raster
