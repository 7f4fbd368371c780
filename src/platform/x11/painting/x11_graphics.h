// Fonts and bitmaps for the X11 backend: both come from the software raster
// (FreeType fonts, bitmaps decoded from the copies compiled into the program).
#pragma once

#include "platform/canvas.h"

namespace quorvel::x11 {

class X11Graphics : public platform::Graphics {
 public:
  std::unique_ptr<platform::Font> CreateFont(const platform::FontSpec& spec) override;
  // The embedded bitmap `id` decoded; null when there is none or it is broken.
  std::unique_ptr<platform::Canvas> LoadBitmap(int id) override;
};

}  // namespace quorvel::x11
