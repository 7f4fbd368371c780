// platform::Canvas on a GDI device context.
//
// A canvas either borrows the device context of a message (WM_ERASEBKGND,
// WM_DRAWITEM), whose state it saves on creation and restores when it goes
// away, or owns a memory device context together with the bitmap selected
// into it.
#pragma once

#include "platform/win32/windows_api.h"

#include <memory>
#include <string>

#include "platform/canvas.h"
#include "platform/win32/gdi_handles.h"

namespace quorvel::win32 {

class GdiCanvas : public platform::Canvas {
 public:
  // Draws on a device context owned elsewhere whose surface is w x h pixels
  // (the window's client area). The context's state is restored when the
  // canvas is destroyed.
  GdiCanvas(HDC borrowed, int width, int height);
  // Takes a memory device context and the bitmap already selected into it;
  // `pixels` is the bitmap's memory for a 32-bit section, else null.
  GdiCanvas(UniqueMemoryDc dc, UniqueBitmap bitmap, HGDIOBJ previousBitmap, int width, int height,
            std::uint32_t* pixels);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  // A memory canvas over `bitmap`, in a device context compatible with
  // `reference` (null: the screen). Null when the context cannot be made.
  static std::unique_ptr<GdiCanvas> OverBitmap(HDC reference, UniqueBitmap bitmap,
                                               std::uint32_t* pixels = nullptr);

  HDC dc() const { return dc_; }

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  std::unique_ptr<platform::Canvas> CreateCompatible(int w, int h) override;
  std::unique_ptr<platform::Canvas> CreateDib32(int w, int h) override;
  std::unique_ptr<platform::Canvas> CreateMonochrome(int w, int h) override;
  bool Pixels(platform::PixelBuffer& out) override;
  void Flush() override;

  Colour SetTextColour(Colour c) override;
  Colour SetBkColour(Colour c) override;
  platform::BkMode SetBkMode(platform::BkMode mode) override;
  platform::StretchMode SetStretchMode(platform::StretchMode mode) override;
  void SetClipRect(const Rect* r) override;
  const platform::Font* SelectFont(const platform::Font* font) override;

  void Rectangle(const Rect& r, const platform::Pen& pen, const platform::Brush& brush) override;
  void RoundRect(const Rect& r, int rx, int ry, const platform::Pen& pen,
                 const platform::Brush& brush) override;
  void GradientFillH(const Rect& r, Colour left, Colour right) override;

  void BitBlt(int x, int y, int w, int h, platform::Canvas& src, int xSrc, int ySrc,
              platform::Rop rop) override;
  void StretchBlt(int x, int y, int w, int h, platform::Canvas& src, int xSrc, int ySrc, int wSrc,
                  int hSrc, platform::Rop rop) override;
  void SetDIBitsToDevice(int x, int y, int w, int h, const platform::PixelBuffer& bits) override;

  int DrawText(const std::string& text, Rect& r, unsigned format) override;
  // The desktop's TransparentBlt and AlphaBlend, through the entry points
  // looked up in msimg32 at start-up.
  bool PlatformTransparentBlt(void* entry, int x, int y, int w, int h, platform::Canvas& src,
                              int xSrc, int ySrc, int wSrc, int hSrc, Colour key) override;
  bool PlatformAlphaBlend(void* entry, int x, int y, int w, int h, platform::Canvas& src,
                          int xSrc, int ySrc, int wSrc, int hSrc, std::uint8_t alpha) override;

 private:
  HDC dc_;
  int width_;
  int height_;
  int savedState_ = 0;  // SaveDC level to return to; 0 when none was saved
  UniqueMemoryDc ownedDc_;
  UniqueBitmap bitmap_;
  HGDIOBJ previousBitmap_ = nullptr;
  std::uint32_t* pixels_ = nullptr;
  const platform::Font* font_ = nullptr;
};

}  // namespace quorvel::win32
