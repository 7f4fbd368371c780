// A rectangle of 32-bit pixels: bytes blue, green, red and a fourth byte that
// drawing leaves at zero (a uint32_t reads 0xXXRRGGBB on little-endian
// machines). The surface either owns its memory or borrows memory that lives
// elsewhere, such as an XImage or a device-independent section.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/geometry.h"

namespace quorvel::raster {

// The pixel value of a GDI colour: 0x00RRGGBB from 0x00BBGGRR.
constexpr std::uint32_t PixelOf(Colour c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

// The GDI colour of a pixel value; the fourth byte is ignored.
constexpr Colour ColourOf(std::uint32_t pixel) {
  return ((pixel >> 16) & 0xFFu) | (pixel & 0xFF00u) | ((pixel & 0xFFu) << 16);
}

class Surface {
 public:
  // An empty 0 x 0 surface.
  Surface() = default;
  // Owns zero-filled memory, rows top-down. A size that is negative or too
  // large to allocate gives an empty surface.
  Surface(int width, int height);

  // Borrows memory owned elsewhere. `pixels` is the first pixel in memory
  // order. A positive stride means the rows are stored top-down; a negative
  // stride means they are stored bottom-up, so the picture's top row is at
  // pixels + (height - 1) * -stridePixels. |stridePixels| must be >= width.
  static Surface Wrap(std::uint32_t* pixels, int width, int height, int stridePixels);
  // Owns zero-filled memory laid out bottom row first, as a bottom-up DIB.
  static Surface BottomUp(int width, int height);

  Surface(Surface&& other) noexcept;
  Surface& operator=(Surface&& other) noexcept;
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  ~Surface() = default;

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ <= 0 || height_ <= 0; }
  // Pixels between the starts of two rows of the picture going down.
  std::ptrdiff_t stride() const { return stride_; }

  // Row y of the picture; y = 0 is the top row.
  std::uint32_t* Row(int y) { return top_ + stride_ * y; }
  const std::uint32_t* Row(int y) const { return top_ + stride_ * y; }
  // The first pixel in memory order (the bottom row for bottom-up layouts).
  std::uint32_t* Memory() { return memory_; }
  const std::uint32_t* Memory() const { return memory_; }

  Rect Bounds() const { return Rect{0, 0, width_, height_}; }

 private:
  static Surface Allocate(int width, int height, bool bottomUp);
  void Reset();

  std::unique_ptr<std::uint32_t[]> owned_;
  std::uint32_t* memory_ = nullptr;
  std::uint32_t* top_ = nullptr;
  std::ptrdiff_t stride_ = 0;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace quorvel::raster
