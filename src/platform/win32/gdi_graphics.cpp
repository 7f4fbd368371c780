#include "platform/win32/gdi_graphics.h"

#include "platform/win32/gdi_canvas.h"
#include "platform/win32/gdi_font.h"
#include "platform/win32/module.h"

namespace quorvel::win32 {

std::unique_ptr<platform::Font> GdiGraphics::CreateFont(const platform::FontSpec& spec) {
  UniqueFont font(::CreateFontA(spec.height, 0, 0, 0, spec.weight, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                                static_cast<DWORD>(spec.quality), 0, spec.face.c_str()));
  if (!font) return nullptr;
  return std::make_unique<GdiFont>(std::move(font));
}

std::unique_ptr<platform::Canvas> GdiGraphics::LoadBitmap(int id) {
  // Without flags LoadImage makes a bitmap in the screen's format, the one
  // BitBlt to the window needs no conversion for.
  UniqueBitmap bitmap(static_cast<HBITMAP>(
      ::LoadImageA(ResourceModule(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0)));
  return GdiCanvas::OverBitmap(nullptr, std::move(bitmap));
}

}  // namespace quorvel::win32
