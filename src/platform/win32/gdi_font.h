// A font of the Win32 backend: an HFONT owned for the font's lifetime.
#pragma once

#include "platform/win32/windows_api.h"

#include "platform/canvas.h"
#include "platform/win32/gdi_handles.h"

namespace quorvel::win32 {

class GdiFont : public platform::Font {
 public:
  explicit GdiFont(UniqueFont font) : font_(std::move(font)) {}
  HFONT handle() const { return font_.get(); }

  // The HFONT behind a font of this backend; null for null or foreign fonts.
  static HFONT HandleOf(const platform::Font* font) {
    const auto* gdi = dynamic_cast<const GdiFont*>(font);
    return gdi != nullptr ? gdi->handle() : nullptr;
  }

 private:
  UniqueFont font_;
};

}  // namespace quorvel::win32
