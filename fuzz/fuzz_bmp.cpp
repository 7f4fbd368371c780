// The BMP reader on any bytes: it decodes or refuses, never reads outside
// the data (ASan), and a decoded bitmap has a usable size whose pixels all
// can be read.
#include <cstdint>

#include "fuzz_check.h"
#include "raster/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const auto canvas = quorvel::raster::DecodeBmp(data, size);
  if (!canvas) return 0;
  const int w = canvas->Width();
  const int h = canvas->Height();
  FUZZ_CHECK(w > 0 && h > 0, "a decoded bitmap has pixels");
  std::uint32_t sum = 0;
  const auto& surface = canvas->surface();
  for (int y = 0; y < surface.height(); ++y) {
    for (int x = 0; x < surface.width(); ++x) sum += surface.Row(y)[x];
  }
  FUZZ_CHECK(surface.width() == w && surface.height() == h, "the surface is the bitmap's size");
  return static_cast<int>(sum & 0);
}
