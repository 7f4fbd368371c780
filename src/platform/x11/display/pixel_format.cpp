#include "platform/x11/display/pixel_format.h"

#include <utility>

namespace quorvel::x11 {
namespace {

// The nearest value of a channel `bits` wide to the 8-bit intensity `v`:
// 255 is the channel's maximum (1023 for 10 bits), 0 its minimum.
std::uint32_t Scaled(unsigned v, int bits) {
  const std::uint64_t maximum = (std::uint64_t{1} << bits) - 1;
  return static_cast<std::uint32_t>((v * maximum + 127) / 255);
}

int LowestBit(unsigned long mask) {
  int shift = 0;
  while (shift < 64 && ((mask >> shift) & 1u) == 0) ++shift;
  return shift;
}

int Width(unsigned long mask, int shift) {
  int bits = 0;
  while (shift + bits < 64 && ((mask >> (shift + bits)) & 1u) != 0) ++bits;
  return bits;
}

void FillChannel(std::uint32_t (&table)[256], unsigned long mask) {
  if (mask == 0) return;
  const int shift = LowestBit(mask);
  const int bits = Width(mask, shift);
  for (unsigned v = 0; v < 256; ++v) {
    table[v] = static_cast<std::uint32_t>((static_cast<unsigned long>(Scaled(v, bits)) << shift) &
                                          mask);
  }
}

bool HostIsLittleEndian() {
  const unsigned one = 1;
  return *reinterpret_cast<const unsigned char*>(&one) == 1;
}

}  // namespace

int CubeLevelsFor(int depth) { return depth >= 8 ? 6 : 2; }

PixelFormat PixelFormat::Direct(int bitsPerPixel, bool msbFirst, unsigned long redMask,
                                unsigned long greenMask, unsigned long blueMask) {
  PixelFormat f;
  f.bitsPerPixel_ = bitsPerPixel;
  f.msbFirst_ = msbFirst;
  FillChannel(f.red_, redMask);
  FillChannel(f.green_, greenMask);
  FillChannel(f.blue_, blueMask);
  f.matchesRaster_ = bitsPerPixel == 32 && msbFirst == !HostIsLittleEndian() &&
                     redMask == 0xFF0000 && greenMask == 0x00FF00 && blueMask == 0x0000FF;
  return f;
}

PixelFormat PixelFormat::Ramps(int bitsPerPixel, bool msbFirst, unsigned long redMask,
                               unsigned long greenMask, unsigned long blueMask,
                               const std::vector<unsigned long>& greys) {
  PixelFormat f;
  f.bitsPerPixel_ = bitsPerPixel;
  f.msbFirst_ = msbFirst;
  for (std::size_t v = 0; v < 256 && v < greys.size(); ++v) {
    f.red_[v] = static_cast<std::uint32_t>(greys[v] & redMask);
    f.green_[v] = static_cast<std::uint32_t>(greys[v] & greenMask);
    f.blue_[v] = static_cast<std::uint32_t>(greys[v] & blueMask);
  }
  return f;
}

PixelFormat PixelFormat::Cube(int bitsPerPixel, bool msbFirst, int levels,
                              std::vector<unsigned long> cells) {
  PixelFormat f;
  f.bitsPerPixel_ = bitsPerPixel;
  f.msbFirst_ = msbFirst;
  if (levels < 2) levels = 2;
  const auto count = static_cast<std::size_t>(levels) * levels * levels;
  cells.resize(count, 0);  // a short list shows its missing cells as pixel 0
  f.cells_ = std::move(cells);
  const unsigned top = static_cast<unsigned>(levels - 1);
  for (unsigned v = 0; v < 256; ++v) {
    const std::uint32_t level = (v * top + 127) / 255;  // the nearest level
    f.red_[v] = level * static_cast<std::uint32_t>(levels * levels);
    f.green_[v] = level * static_cast<std::uint32_t>(levels);
    f.blue_[v] = level;
  }
  return f;
}

bool PixelFormat::storesRows() const {
  return bitsPerPixel_ == 8 || bitsPerPixel_ == 16 || bitsPerPixel_ == 24 || bitsPerPixel_ == 32;
}

void PixelFormat::ConvertRow(const std::uint32_t* source, int count, unsigned char* target) const {
  const int bytes = bitsPerPixel_ / 8;
  for (int i = 0; i < count; ++i) {
    const unsigned long p = PixelOf(source[i]);
    if (bytes == 1) {
      *target++ = static_cast<unsigned char>(p);
      continue;
    }
    for (int b = 0; b < bytes; ++b) {
      const int shift = msbFirst_ ? 8 * (bytes - 1 - b) : 8 * b;
      *target++ = static_cast<unsigned char>(p >> shift);
    }
  }
}

}  // namespace quorvel::x11
