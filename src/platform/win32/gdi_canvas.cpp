#include "platform/win32/gdi_canvas.h"

#include <algorithm>

#include "platform/win32/gdi_font.h"

namespace quorvel::win32 {
namespace {

DWORD RopCode(platform::Rop rop) {
  switch (rop) {
    case platform::Rop::SrcAnd:
      return SRCAND;
    case platform::Rop::SrcPaint:
      return SRCPAINT;
    case platform::Rop::SrcCopy:
      break;
  }
  return SRCCOPY;
}

UniquePen MakePen(const platform::Pen& pen) {
  return UniquePen(::CreatePen(pen.style, pen.width, pen.colour));
}

UniqueBrush MakeBrush(const platform::Brush& brush) {
  if (brush.hatch == platform::kHatchNone) return UniqueBrush(::CreateSolidBrush(brush.colour));
  return UniqueBrush(::CreateHatchBrush(brush.hatch, brush.colour));
}

// The device context of another canvas of this backend, or null.
HDC DcOf(platform::Canvas& canvas) {
  auto* gdi = dynamic_cast<GdiCanvas*>(&canvas);
  return gdi != nullptr ? gdi->dc() : nullptr;
}

COLOR16 Channel16(int value) { return static_cast<COLOR16>(value << 8); }

TRIVERTEX Vertex(int x, int y, Colour c) {
  TRIVERTEX v{};
  v.x = x;
  v.y = y;
  v.Red = Channel16(RedOf(c));
  v.Green = Channel16(GreenOf(c));
  v.Blue = Channel16(BlueOf(c));
  v.Alpha = 0;
  return v;
}

}  // namespace

GdiCanvas::GdiCanvas(HDC borrowed, int width, int height)
    : dc_(borrowed), width_(width), height_(height), savedState_(::SaveDC(borrowed)) {}

GdiCanvas::GdiCanvas(UniqueMemoryDc dc, UniqueBitmap bitmap, HGDIOBJ previousBitmap, int width,
                     int height, std::uint32_t* pixels)
    : dc_(dc.get()),
      width_(width),
      height_(height),
      savedState_(::SaveDC(dc.get())),
      ownedDc_(std::move(dc)),
      bitmap_(std::move(bitmap)),
      previousBitmap_(previousBitmap),
      pixels_(pixels) {}

GdiCanvas::~GdiCanvas() {
  // Puts back whatever font, clip and modes the drawing selected, so a
  // borrowed context is returned as it was given and a font freed after
  // this canvas is no longer selected anywhere.
  if (savedState_ != 0) ::RestoreDC(dc_, savedState_);
  if (ownedDc_) {
    if (previousBitmap_ != nullptr) ::SelectObject(dc_, previousBitmap_);
    ownedDc_.reset();  // the context first: a bitmap is freed once it is deselected
    bitmap_.reset();
  }
}

std::unique_ptr<GdiCanvas> GdiCanvas::OverBitmap(HDC reference, UniqueBitmap bitmap,
                                                 std::uint32_t* pixels) {
  if (!bitmap) return nullptr;
  BITMAP info{};
  if (::GetObjectA(bitmap.get(), sizeof(info), &info) == 0) return nullptr;
  UniqueMemoryDc dc(::CreateCompatibleDC(reference));
  if (!dc) return nullptr;
  HGDIOBJ previous = ::SelectObject(dc.get(), bitmap.get());
  if (previous == nullptr || previous == HGDI_ERROR) return nullptr;
  return std::make_unique<GdiCanvas>(std::move(dc), std::move(bitmap), previous, info.bmWidth,
                                     info.bmHeight, pixels);
}

std::unique_ptr<platform::Canvas> GdiCanvas::CreateCompatible(int w, int h) {
  if (w <= 0 || h <= 0) return nullptr;
  // A bitmap compatible with this context has the format of the surface it
  // draws on: the screen's for a window, the selected bitmap's for memory.
  return OverBitmap(dc_, UniqueBitmap(::CreateCompatibleBitmap(dc_, w, h)));
}

std::unique_ptr<platform::Canvas> GdiCanvas::CreateDib32(int w, int h) {
  if (w <= 0 || h <= 0) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;  // positive: bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) return nullptr;
  return OverBitmap(dc_, std::move(bitmap), static_cast<std::uint32_t*>(bits));
}

std::unique_ptr<platform::Canvas> GdiCanvas::CreateMonochrome(int w, int h) {
  if (w <= 0 || h <= 0) return nullptr;
  return OverBitmap(dc_, UniqueBitmap(::CreateBitmap(w, h, 1, 1, nullptr)));
}

bool GdiCanvas::Pixels(platform::PixelBuffer& out) {
  if (pixels_ == nullptr) return false;
  ::GdiFlush();  // the section's memory is current only once queued drawing is done
  out.pixels = pixels_;
  out.width = width_;
  out.height = height_;
  out.bottomUp = true;
  return true;
}

void GdiCanvas::Flush() { ::GdiFlush(); }

Colour GdiCanvas::SetTextColour(Colour c) { return ::SetTextColor(dc_, c); }

Colour GdiCanvas::SetBkColour(Colour c) { return ::SetBkColor(dc_, c); }

platform::BkMode GdiCanvas::SetBkMode(platform::BkMode mode) {
  const int previous = ::SetBkMode(dc_, static_cast<int>(mode));
  return previous == TRANSPARENT ? platform::BkMode::Transparent : platform::BkMode::Opaque;
}

platform::StretchMode GdiCanvas::SetStretchMode(platform::StretchMode mode) {
  const bool halftone = mode == platform::StretchMode::Halftone;
  const int previous = ::SetStretchBltMode(dc_, halftone ? HALFTONE : COLORONCOLOR);
  // HALFTONE leaves the brush origin undefined; it must be set again after.
  if (halftone) ::SetBrushOrgEx(dc_, 0, 0, nullptr);
  return previous == HALFTONE ? platform::StretchMode::Halftone : platform::StretchMode::Plain;
}

void GdiCanvas::SetClipRect(const Rect* r) {
  ::SelectClipRgn(dc_, nullptr);
  if (r != nullptr) ::IntersectClipRect(dc_, r->left, r->top, r->right, r->bottom);
}

const platform::Font* GdiCanvas::SelectFont(const platform::Font* font) {
  HFONT handle = GdiFont::HandleOf(font);
  if (handle == nullptr) {
    font = nullptr;
    handle = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
  }
  ::SelectObject(dc_, handle);
  const platform::Font* previous = font_;
  font_ = font;
  return previous;
}

void GdiCanvas::Rectangle(const Rect& r, const platform::Pen& pen, const platform::Brush& brush) {
  UniquePen gdiPen = MakePen(pen);
  UniqueBrush gdiBrush = MakeBrush(brush);
  if (!gdiPen || !gdiBrush) return;
  ScopedSelect selectPen(dc_, gdiPen.get());
  ScopedSelect selectBrush(dc_, gdiBrush.get());
  ::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void GdiCanvas::RoundRect(const Rect& r, int rx, int ry, const platform::Pen& pen,
                          const platform::Brush& brush) {
  UniquePen gdiPen = MakePen(pen);
  UniqueBrush gdiBrush = MakeBrush(brush);
  if (!gdiPen || !gdiBrush) return;
  ScopedSelect selectPen(dc_, gdiPen.get());
  ScopedSelect selectBrush(dc_, gdiBrush.get());
  ::RoundRect(dc_, r.left, r.top, r.right, r.bottom, rx, ry);
}

void GdiCanvas::GradientFillH(const Rect& r, Colour left, Colour right) {
  TRIVERTEX vertices[2] = {Vertex(r.left, r.top, left), Vertex(r.right, r.bottom, right)};
  GRADIENT_RECT mesh{0, 1};
  ::GradientFill(dc_, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_H);
}

void GdiCanvas::BitBlt(int x, int y, int w, int h, platform::Canvas& src, int xSrc, int ySrc,
                       platform::Rop rop) {
  HDC source = DcOf(src);
  if (source == nullptr) return;
  ::BitBlt(dc_, x, y, w, h, source, xSrc, ySrc, RopCode(rop));
}

void GdiCanvas::StretchBlt(int x, int y, int w, int h, platform::Canvas& src, int xSrc, int ySrc,
                           int wSrc, int hSrc, platform::Rop rop) {
  HDC source = DcOf(src);
  if (source == nullptr) return;
  ::StretchBlt(dc_, x, y, w, h, source, xSrc, ySrc, wSrc, hSrc, RopCode(rop));
}

void GdiCanvas::SetDIBitsToDevice(int x, int y, int w, int h, const platform::PixelBuffer& bits) {
  if (bits.pixels == nullptr || bits.width <= 0 || bits.height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = bits.width;
  info.bmiHeader.biHeight = bits.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::SetDIBitsToDevice(dc_, x, y, static_cast<DWORD>(std::max(w, 0)),
                      static_cast<DWORD>(std::max(h, 0)), 0, 0, 0,
                      static_cast<UINT>(bits.height), bits.pixels, &info, DIB_RGB_COLORS);
}

int GdiCanvas::DrawText(const std::string& text, Rect& r, unsigned format) {
  RECT rc{r.left, r.top, r.right, r.bottom};
  const int height =
      ::DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &rc, format);
  if ((format & DT_CALCRECT) != 0) r = Rect{rc.left, rc.top, rc.right, rc.bottom};
  return height;
}

}  // namespace quorvel::win32

namespace quorvel::win32 {
namespace {

using TransparentBltFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
using AlphaBlendFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                   BLENDFUNCTION);

}  // namespace

bool GdiCanvas::PlatformTransparentBlt(void* entry, int x, int y, int w, int h,
                                       platform::Canvas& src, int xSrc, int ySrc, int wSrc,
                                       int hSrc, Colour key) {
  HDC source = DcOf(src);
  if (entry == nullptr || source == nullptr) return false;
  // The result is not looked at: a failed call draws nothing, like any GDI call.
  reinterpret_cast<TransparentBltFn>(entry)(dc_, x, y, w, h, source, xSrc, ySrc, wSrc, hSrc, key);
  return true;
}

bool GdiCanvas::PlatformAlphaBlend(void* entry, int x, int y, int w, int h, platform::Canvas& src,
                                   int xSrc, int ySrc, int wSrc, int hSrc, std::uint8_t alpha) {
  HDC source = DcOf(src);
  if (entry == nullptr || source == nullptr) return false;
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
  reinterpret_cast<AlphaBlendFn>(entry)(dc_, x, y, w, h, source, xSrc, ySrc, wSrc, hSrc, blend);
  return true;
}

}  // namespace quorvel::win32
