#include "platform/x11/painting/x11_graphics.h"

#include "platform/embedded_resources.h"
#include "raster/bmp.h"
#include "raster/raster_font.h"

namespace quorvel::x11 {

std::unique_ptr<platform::Font> X11Graphics::CreateFont(const platform::FontSpec& spec) {
  return raster::CreateRasterFont(spec);
}

std::unique_ptr<platform::Canvas> X11Graphics::LoadBitmap(int id) {
  const resources::EmbeddedResource* bitmap = resources::FindEmbeddedBitmap(id);
  if (bitmap == nullptr) return nullptr;
  return raster::DecodeBmp(bitmap->data, bitmap->size);
}

}  // namespace quorvel::x11
