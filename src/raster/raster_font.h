// Fonts for the raster canvas: fontconfig picks the face, FreeType renders
// antialiased glyphs, cached per font.
#pragma once

#include <memory>

#include "platform/canvas.h"

namespace quorvel::raster {

// A font for RasterCanvas::DrawText. Never null: when the requested face is
// not installed the closest installed sans face is used.
std::unique_ptr<platform::Font> CreateRasterFont(const platform::FontSpec& spec);

}  // namespace quorvel::raster
