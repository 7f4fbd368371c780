// Decoding Windows icon (.ico) files into their images with alpha.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvel::raster {

// One image of an icon: width x height pixels, rows top-down, each pixel
// 0xAARRGGBB (alpha in the high byte, not premultiplied).
struct IconImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
};

// The images of an icon file whose entries are 32-bit uncompressed DIBs
// (colour with alpha, then the AND mask, which 32-bit images do not need).
// Entries of other kinds (PNG, palettes) are left out. Never reads outside
// [data, data + size); data that is not an icon gives no images.
std::vector<IconImage> DecodeIco(const unsigned char* data, std::size_t size);

}  // namespace quorvel::raster
