#include "raster/text_draw.h"

namespace quorvel::raster {

int DrawTextOn(const TextPaint&, const platform::Font*, const std::string&, Rect&, unsigned) {
  return 0;
}

}  // namespace quorvel::raster
