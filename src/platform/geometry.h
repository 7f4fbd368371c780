// Plain geometry and colour values shared by the core and the backends.
#pragma once

#include <cstdint>

namespace quorvel {

// A GDI colour value: red in the low byte, then green, then blue (0x00BBGGRR).
using Colour = std::uint32_t;

constexpr Colour Rgb(int r, int g, int b) {
  return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

// The transparent colour of all drawing code.
constexpr Colour kKeyMagenta = Rgb(255, 0, 255);

struct Point {
  int x = 0;
  int y = 0;
};

// Left and top edges inside, right and bottom edges outside, as in GDI.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr bool Contains(Point p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  constexpr Rect Offset(int dx, int dy) const {
    return Rect{left + dx, top + dy, right + dx, bottom + dy};
  }
  friend constexpr bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
  friend constexpr bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }
};

}  // namespace quorvel
