#include "raster/bmp.h"

#include <cstdint>
#include <vector>

namespace quorvel::raster {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int64_t kMaxSide = 16384;

// Little-endian reads that fail rather than run past the end.
class Reader {
 public:
  Reader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
  bool Has(std::size_t offset, std::size_t count) const {
    return offset <= size_ && count <= size_ - offset;
  }
  std::uint32_t U16(std::size_t at) const { return data_[at] | (data_[at + 1] << 8); }
  std::uint32_t U32(std::size_t at) const {
    return static_cast<std::uint32_t>(data_[at]) | (static_cast<std::uint32_t>(data_[at + 1]) << 8) |
           (static_cast<std::uint32_t>(data_[at + 2]) << 16) |
           (static_cast<std::uint32_t>(data_[at + 3]) << 24);
  }
  const unsigned char* At(std::size_t at) const { return data_ + at; }

 private:
  const unsigned char* data_;
  std::size_t size_;
};

struct Header {
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: top-down
  int bitCount = 0;
  std::uint32_t colourCount = 0;
  std::size_t paletteAt = 0;
  std::size_t paletteEntrySize = 4;
  std::size_t pixelsAt = 0;
};

bool ReadHeader(const Reader& in, Header& h) {
  if (!in.Has(0, kFileHeaderSize + 4)) return false;
  if (in.At(0)[0] != 'B' || in.At(0)[1] != 'M') return false;
  h.pixelsAt = in.U32(10);
  const std::uint32_t infoSize = in.U32(kFileHeaderSize);
  if (infoSize == kCoreHeaderSize) {
    if (!in.Has(kFileHeaderSize, kCoreHeaderSize)) return false;
    h.width = in.U16(kFileHeaderSize + 4);
    h.height = in.U16(kFileHeaderSize + 6);
    if (in.U16(kFileHeaderSize + 8) != 1) return false;
    h.bitCount = static_cast<int>(in.U16(kFileHeaderSize + 10));
    h.paletteEntrySize = 3;
  } else if (infoSize >= kInfoHeaderSize) {
    if (!in.Has(kFileHeaderSize, infoSize)) return false;
    h.width = static_cast<std::int32_t>(in.U32(kFileHeaderSize + 4));
    h.height = static_cast<std::int32_t>(in.U32(kFileHeaderSize + 8));
    if (in.U16(kFileHeaderSize + 12) != 1) return false;
    h.bitCount = static_cast<int>(in.U16(kFileHeaderSize + 14));
    if (in.U32(kFileHeaderSize + 16) != 0) return false;  // only BI_RGB
    h.colourCount = in.U32(kFileHeaderSize + 32);
  } else {
    return false;
  }
  h.paletteAt = kFileHeaderSize + infoSize;
  if (h.width <= 0 || h.width > kMaxSide || h.height == 0 || h.height > kMaxSide ||
      h.height < -kMaxSide) {
    return false;
  }
  switch (h.bitCount) {
    case 1:
    case 4:
    case 8: {
      const std::uint32_t full = 1u << h.bitCount;
      if (h.colourCount == 0 || h.colourCount > full) h.colourCount = full;
      return in.Has(h.paletteAt, h.colourCount * h.paletteEntrySize);
    }
    case 24:
    case 32:
      h.colourCount = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace

std::unique_ptr<RasterCanvas> DecodeBmp(const unsigned char* data, std::size_t size) {
  if (!data) return nullptr;
  const Reader in(data, size);
  Header h;
  if (!ReadHeader(in, h)) return nullptr;

  const int width = static_cast<int>(h.width);
  const bool topDown = h.height < 0;
  const int height = static_cast<int>(topDown ? -h.height : h.height);
  const std::size_t stride = ((static_cast<std::size_t>(width) * h.bitCount + 31) / 32) * 4;
  if (!in.Has(h.pixelsAt, stride * static_cast<std::size_t>(height))) return nullptr;

  std::vector<std::uint32_t> palette(h.colourCount, 0);
  for (std::uint32_t i = 0; i < h.colourCount; ++i) {
    const unsigned char* p = in.At(h.paletteAt + i * h.paletteEntrySize);
    palette[i] = (static_cast<std::uint32_t>(p[2]) << 16) | (p[1] << 8) | p[0];
  }

  auto canvas = RasterCanvas::CreateMemory(width, height);
  if (!canvas) return nullptr;
  Surface& out = canvas->surface();
  for (int fileRow = 0; fileRow < height; ++fileRow) {
    const unsigned char* src = in.At(h.pixelsAt + stride * static_cast<std::size_t>(fileRow));
    std::uint32_t* dst = out.Row(topDown ? fileRow : height - 1 - fileRow);
    for (int x = 0; x < width; ++x) {
      switch (h.bitCount) {
        case 32:
        case 24: {
          const unsigned char* p = src + static_cast<std::size_t>(x) * (h.bitCount / 8);
          dst[x] = (static_cast<std::uint32_t>(p[2]) << 16) | (p[1] << 8) | p[0];
          break;
        }
        default: {
          // Packed indices, the leftmost pixel in the highest bits.
          const int bitIndex = x * h.bitCount;
          const int shift = 8 - h.bitCount - (bitIndex & 7);
          const unsigned index = (src[bitIndex >> 3] >> shift) & ((1u << h.bitCount) - 1);
          dst[x] = index < palette.size() ? palette[index] : 0;
          break;
        }
      }
    }
  }
  return canvas;
}

}  // namespace quorvel::raster
