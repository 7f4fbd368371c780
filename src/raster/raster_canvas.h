// The software implementation of platform::Canvas: GDI's drawing rules on a
// 32-bit pixel surface. The X11 backend paints its window with it and the
// pixel tests use it.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/canvas.h"
#include "raster/draw_target.h"
#include "raster/surface.h"

namespace quorvel::raster {

class RasterCanvas : public platform::Canvas {
 public:
  // Draws into a surface owned elsewhere (the window's back buffer), which
  // must outlive the canvas.
  explicit RasterCanvas(Surface* target);
  // A canvas owning a zero-filled top-down w x h surface; null when w or h
  // is negative or the memory cannot be had.
  static std::unique_ptr<RasterCanvas> CreateMemory(int w, int h);

  Surface& surface() { return *target_; }
  const Surface& surface() const { return *target_; }
  // True for canvases made by CreateMonochrome: every pixel is 0x000000
  // (0, black) or 0xFFFFFF (1, white).
  bool monochrome() const { return kind_ == Kind::Monochrome; }
  Colour textColour() const { return text_; }
  Colour bkColour() const { return bk_; }

  int Width() const override;
  int Height() const override;
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

  // The colour-key copy in one pass (KeyedCopyBlit) between two colour
  // canvases that are not the same surface; false otherwise, and then the
  // caller's mask sequence gives the same pixels.
  bool CopyWithColourKey(int x, int y, int w, int h, platform::Canvas& src, int xSrc, int ySrc,
                         Colour key) override;
  // The keyed constant-alpha blend in one pass (KeyedBlendBlit), under the
  // same conditions.
  bool BlendWithColourKey(int x, int y, int w, int h, platform::Canvas& src, int xSrc, int ySrc,
                          std::uint8_t alpha, Colour key) override;

 private:
  enum class Kind { Target, Memory, Dib, Monochrome };
  RasterCanvas(Surface owned, Kind kind);
  static std::unique_ptr<RasterCanvas> Make(Surface owned, Kind kind, int w, int h);

  // The surface with the area drawing may touch: its bounds cut by the clip.
  DrawTarget Target();

  Surface owned_;
  Surface* target_;
  Kind kind_;
  Colour text_ = 0x000000;
  Colour bk_ = 0xFFFFFF;
  platform::BkMode bkMode_ = platform::BkMode::Opaque;
  platform::StretchMode stretchMode_ = platform::StretchMode::Plain;
  std::optional<Rect> clip_;
  const platform::Font* font_ = nullptr;
};

}  // namespace quorvel::raster
