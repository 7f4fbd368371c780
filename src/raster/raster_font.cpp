#include "raster/raster_font.h"

namespace quorvel::raster {
namespace {
class PlaceholderFont : public platform::Font {};
}  // namespace

std::unique_ptr<platform::Font> CreateRasterFont(const platform::FontSpec&) {
  return std::make_unique<PlaceholderFont>();
}

}  // namespace quorvel::raster
