#include "raster/ico.h"

#include <utility>

namespace quorvel::raster {
namespace {

std::uint32_t Read16(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

std::uint32_t Read32(const unsigned char* p) { return Read16(p) | Read16(p + 2) << 16; }

constexpr std::size_t kDirectoryBytes = 6;
constexpr std::size_t kEntryBytes = 16;
constexpr std::size_t kInfoHeaderBytes = 40;

// One directory entry's DIB, or an empty image when it is not a 32-bit
// uncompressed one lying wholly inside the file.
IconImage DecodeEntry(const unsigned char* data, std::size_t size, std::size_t offset,
                      std::size_t length) {
  IconImage image;
  if (offset > size || length > size - offset || length < kInfoHeaderBytes) return image;
  const unsigned char* dib = data + offset;
  const std::uint32_t headerBytes = Read32(dib);
  const auto width = static_cast<std::int32_t>(Read32(dib + 4));
  const auto doubledHeight = static_cast<std::int32_t>(Read32(dib + 8));
  const std::uint32_t bits = Read16(dib + 14);
  const std::uint32_t compression = Read32(dib + 16);
  // The height counts the colour rows and the mask rows.
  if (headerBytes < kInfoHeaderBytes || headerBytes > length || bits != 32 || compression != 0 ||
      width <= 0 || width > 1024 || doubledHeight <= 0 || doubledHeight > 2048 ||
      doubledHeight % 2 != 0) {
    return image;
  }
  const int height = doubledHeight / 2;
  const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (pixels * 4 > length - headerBytes) return image;
  const unsigned char* colour = dib + headerBytes;
  image.width = width;
  image.height = height;
  image.argb.resize(pixels);
  for (int y = 0; y < height; ++y) {
    // Rows are stored bottom-up.
    const unsigned char* row = colour + static_cast<std::size_t>(height - 1 - y) * width * 4;
    for (int x = 0; x < width; ++x) {
      image.argb[static_cast<std::size_t>(y) * width + x] = Read32(row + 4 * x);  // B, G, R, A
    }
  }
  return image;
}

}  // namespace

std::vector<IconImage> DecodeIco(const unsigned char* data, std::size_t size) {
  std::vector<IconImage> images;
  if (data == nullptr || size < kDirectoryBytes) return images;
  if (Read16(data) != 0 || Read16(data + 2) != 1) return images;  // reserved, type "icon"
  const std::size_t count = Read16(data + 4);
  if (count > (size - kDirectoryBytes) / kEntryBytes) return images;
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned char* entry = data + kDirectoryBytes + i * kEntryBytes;
    IconImage image = DecodeEntry(data, size, Read32(entry + 12), Read32(entry + 8));
    if (!image.argb.empty()) images.push_back(std::move(image));
  }
  return images;
}

}  // namespace quorvel::raster
