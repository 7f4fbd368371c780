// platform::Graphics with GDI fonts and the bitmaps of the module's resources.
#pragma once

#include "platform/canvas.h"

namespace quorvel::win32 {

class GdiGraphics : public platform::Graphics {
 public:
  std::unique_ptr<platform::Font> CreateFont(const platform::FontSpec& spec) override;
  std::unique_ptr<platform::Canvas> LoadBitmap(int id) override;
};

}  // namespace quorvel::win32
