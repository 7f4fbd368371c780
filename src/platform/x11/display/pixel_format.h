// How the raster's pixels (0x00RRGGBB) become the pixels of a visual, and
// how those are laid out in an image's memory. Two kinds of visual:
//   - direct (TrueColor): each channel is scaled to the width of its mask
//     and moved into its place (15/16-bit 5-6-5 and 5-5-5, 24/32-bit,
//     30-bit 10-10-10, either channel order);
//   - through a colour cube (PseudoColor, StaticColor and the grey
//     visuals): each channel is rounded to the nearest of the cube's
//     levels, and the cube's cell names the colormap entry to use.
// Knows nothing of the X server: the connection describes the visual.
#pragma once

#include <cstdint>
#include <vector>

namespace quorvel::x11 {

class PixelFormat {
 public:
  // A direct format. `msbFirst`: the image stores multi-byte pixels most
  // significant byte first.
  static PixelFormat Direct(int bitsPerPixel, bool msbFirst, unsigned long redMask,
                            unsigned long greenMask, unsigned long blueMask);
  // A direct format whose channels index maps of their own (DirectColor):
  // `greys[v]` is the pixel of grey v (256 entries), so its field in each
  // mask is that channel's intensity v.
  static PixelFormat Ramps(int bitsPerPixel, bool msbFirst, unsigned long redMask,
                           unsigned long greenMask, unsigned long blueMask,
                           const std::vector<unsigned long>& greys);
  // A cube of `levels` per channel (at least 2): level i of a channel is
  // the intensity i * 255 / (levels - 1) rounded, and `cells` holds the pixel of
  // each cell, red slowest, blue fastest (levels^3 entries).
  static PixelFormat Cube(int bitsPerPixel, bool msbFirst, int levels,
                          std::vector<unsigned long> cells);

  PixelFormat() = default;

  // The visual's pixel for a raster pixel (the top byte is ignored).
  unsigned long PixelOf(std::uint32_t rasterPixel) const {
    // Direct channels occupy separate bits; cube shares add up to the index.
    const unsigned long index = red_[(rasterPixel >> 16) & 0xFF] +
                                green_[(rasterPixel >> 8) & 0xFF] + blue_[rasterPixel & 0xFF];
    return cells_.empty() ? index : cells_[index];
  }

  int bitsPerPixel() const { return bitsPerPixel_; }
  // Rows of this format can be written by ConvertRow (8, 16, 24 or 32 bits
  // a pixel); other widths go through the image library pixel by pixel.
  bool storesRows() const;
  // Writes `count` pixels of `source` into image memory at `target`.
  void ConvertRow(const std::uint32_t* source, int count, unsigned char* target) const;
  // The format is the raster's own: 32-bit 0x00RRGGBB words in the host's
  // byte order, so the raster can draw into the image memory directly.
  bool matchesRaster() const { return matchesRaster_; }

 private:
  int bitsPerPixel_ = 32;
  bool msbFirst_ = false;
  bool matchesRaster_ = false;
  // Per channel intensity: the bits of the pixel (direct) or the channel's
  // share of the cube index (cube).
  std::uint32_t red_[256] = {};
  std::uint32_t green_[256] = {};
  std::uint32_t blue_[256] = {};
  std::vector<unsigned long> cells_;  // empty for a direct format
};

// The number of cube levels a visual of `depth` bits gets: 6 (216 colours,
// leaving room in a 256-entry colormap for other programs) from 8 bits on,
// else 2.
int CubeLevelsFor(int depth);

}  // namespace quorvel::x11
