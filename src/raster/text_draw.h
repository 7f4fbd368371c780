// DrawText on a raster target: layout, background and antialiased glyphs.
#pragma once

#include <string>

#include "platform/canvas.h"
#include "raster/draw_target.h"

namespace quorvel::raster {

struct TextPaint {
  DrawTarget target;  // the surface cut by the canvas's clip
  Colour textColour = 0;
  Colour bkColour = 0xFFFFFF;
  bool opaque = true;
};

// Win32's DrawTextA with the dt:: flags; `font` null (or not a raster font)
// means the system font. Returns the height of the text.
int DrawTextOn(const TextPaint& paint, const platform::Font* font, const std::string& text, Rect& r,
               unsigned format);

}  // namespace quorvel::raster
