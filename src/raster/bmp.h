// Decoding Windows BMP files into memory canvases.
#pragma once

#include <cstddef>
#include <memory>

#include "raster/raster_canvas.h"

namespace quorvel::raster {

// Decodes an uncompressed (BI_RGB) Windows bitmap with 24 or 32 bits per
// pixel, or 1, 4 or 8 bits with a colour table; rows bottom-up (positive
// height) or top-down (negative height). Takes BITMAPINFOHEADER and its
// longer successors, and the old 12-byte BITMAPCOREHEADER. The fourth byte of
// 32-bit pixels is dropped. Returns a colour memory canvas, or null when the
// data is not such a bitmap or is cut short; never reads outside
// [data, data + size).
std::unique_ptr<RasterCanvas> DecodeBmp(const unsigned char* data, std::size_t size);

}  // namespace quorvel::raster
