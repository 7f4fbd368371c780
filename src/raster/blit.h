// Copying pixels between surfaces: BitBlt, StretchBlt and SetDIBitsToDevice,
// with GDI's colour <-> monochrome conversions and raster operations.
#pragma once

#include <cstdint>

#include "platform/canvas.h"
#include "raster/draw_target.h"

namespace quorvel::raster {

// The source of a blit with what the conversion to the destination needs.
struct BlitSource {
  const Surface* surface = nullptr;
  bool monochrome = false;
  // The source canvas's background colour: when a colour source is copied to
  // a monochrome destination, pixels of exactly this colour become white (1)
  // and all others black (0).
  Colour bkColour = 0;
};

// The destination with its text and background colours: when a monochrome
// source is copied to a colour destination, 0 bits become the text colour
// and 1 bits the background colour.
struct BlitDest {
  DrawTarget target;
  Colour textColour = 0;
  Colour bkColour = 0;
};

// Converts source pixels to the destination's format for one blit.
class PixelConverter {
 public:
  PixelConverter(const BlitSource& src, const BlitDest& dst);
  std::uint32_t operator()(std::uint32_t sourcePixel) const;
  // True when pixels pass through unchanged (both sides the same format).
  bool identity() const { return mode_ == Mode::Copy; }

 private:
  enum class Mode { Copy, ColourToMono, MonoToColour } mode_;
  std::uint32_t keyPixel_ = 0;
  std::uint32_t zeroPixel_ = 0;
  std::uint32_t onePixel_ = 0;
};

// dst <- rop(src, dst). SRCAND and SRCPAINT combine all 32 bits.
inline std::uint32_t ApplyRop(platform::Rop rop, std::uint32_t src, std::uint32_t dst) {
  switch (rop) {
    case platform::Rop::SrcAnd: return src & dst;
    case platform::Rop::SrcPaint: return src | dst;
    case platform::Rop::SrcCopy: break;
  }
  return src;
}

// Copies the w x h block at (xSrc, ySrc) of the source to (x, y). Only pixels
// inside both surfaces and inside the destination's area are touched. Source
// and destination may be the same surface, overlapping.
void BitBlt(const BlitDest& dst, int x, int y, int w, int h, const BlitSource& src, int xSrc,
            int ySrc, platform::Rop rop);

// Scales the wSrc x hSrc block at (xSrc, ySrc) onto the w x h block at (x, y).
// Plain mode takes for destination column i the source column
// xSrc + i * wSrc / w (and likewise for rows). Halftone mode averages, with
// equal weights and rounding, the source pixels whose columns run from
// floor(i * wSrc / w) to ceil((i + 1) * wSrc / w) - 1 (at least one) and rows
// likewise, per channel; a monochrome destination always takes the nearest
// pixel. Any size that is zero or negative draws nothing;
// destination pixels whose source pixel lies outside the source surface are
// left untouched.
void StretchBlt(const BlitDest& dst, int x, int y, int w, int h, const BlitSource& src, int xSrc,
                int ySrc, int wSrc, int hSrc, platform::Rop rop, platform::StretchMode mode);

// SetDIBitsToDevice with the source origin (0, 0): the w x h block whose
// lower-left corner is the lower-left corner of the buffer goes to (x, y).
// For a top-down buffer the block is the top-left one.
void SetDIBits(const DrawTarget& t, int x, int y, int w, int h, const platform::PixelBuffer& bits);

}  // namespace quorvel::raster
