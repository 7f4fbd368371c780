#include "raster/raster_canvas.h"

#include <utility>

#include "raster/blit.h"
#include "raster/brush_fill.h"
#include "raster/gradient.h"
#include "raster/keyed_blit.h"
#include "raster/rect_ops.h"
#include "raster/shapes.h"
#include "raster/text_draw.h"

namespace quorvel::raster {

RasterCanvas::RasterCanvas(Surface* target) : target_(target ? target : &owned_), kind_(Kind::Target) {}

RasterCanvas::RasterCanvas(Surface owned, Kind kind)
    : owned_(std::move(owned)), target_(&owned_), kind_(kind) {}

std::unique_ptr<RasterCanvas> RasterCanvas::Make(Surface owned, Kind kind, int w, int h) {
  if (w < 0 || h < 0) return nullptr;
  if (w > 0 && h > 0 && owned.empty()) return nullptr;  // out of memory or too large
  return std::unique_ptr<RasterCanvas>(new RasterCanvas(std::move(owned), kind));
}

std::unique_ptr<RasterCanvas> RasterCanvas::CreateMemory(int w, int h) {
  return Make(Surface(w, h), Kind::Memory, w, h);
}

int RasterCanvas::Width() const { return target_->width(); }
int RasterCanvas::Height() const { return target_->height(); }

std::unique_ptr<platform::Canvas> RasterCanvas::CreateCompatible(int w, int h) {
  // Like CreateCompatibleBitmap on this context: a monochrome context gives
  // monochrome bitmaps, any other the colour format.
  if (monochrome()) return CreateMonochrome(w, h);
  return CreateMemory(w, h);
}

std::unique_ptr<platform::Canvas> RasterCanvas::CreateDib32(int w, int h) {
  return Make(Surface::BottomUp(w, h), Kind::Dib, w, h);
}

std::unique_ptr<platform::Canvas> RasterCanvas::CreateMonochrome(int w, int h) {
  // A new monochrome bitmap is all black (0 bits), as CreateBitmap makes it.
  return Make(Surface(w, h), Kind::Monochrome, w, h);
}

bool RasterCanvas::Pixels(platform::PixelBuffer& out) {
  if (kind_ != Kind::Dib) return false;
  out.pixels = target_->Memory();
  out.width = target_->width();
  out.height = target_->height();
  out.bottomUp = true;
  return true;
}

void RasterCanvas::Flush() {}

Colour RasterCanvas::SetTextColour(Colour c) { return std::exchange(text_, c & 0xFFFFFFu); }
Colour RasterCanvas::SetBkColour(Colour c) { return std::exchange(bk_, c & 0xFFFFFFu); }
platform::BkMode RasterCanvas::SetBkMode(platform::BkMode mode) { return std::exchange(bkMode_, mode); }
platform::StretchMode RasterCanvas::SetStretchMode(platform::StretchMode mode) {
  return std::exchange(stretchMode_, mode);
}

void RasterCanvas::SetClipRect(const Rect* r) {
  if (r) {
    clip_ = Normalized(*r);
  } else {
    clip_.reset();
  }
}

const platform::Font* RasterCanvas::SelectFont(const platform::Font* font) {
  return std::exchange(font_, font);
}

DrawTarget RasterCanvas::Target() {
  DrawTarget t;
  t.surface = target_;
  t.area = target_->Bounds();
  if (clip_) t.area = Intersect(t.area, *clip_);
  if (IsEmpty(t.area)) t.area = Rect{};
  t.monochrome = monochrome();
  return t;
}

namespace {

BrushPaint ResolveBrush(const DrawTarget& t, const platform::Brush& brush, Colour bk,
                        platform::BkMode mode) {
  BrushPaint b;
  b.pixel = DevicePixel(t, brush.colour);
  b.hatch = brush.hatch;
  b.opaqueGaps = mode == platform::BkMode::Opaque;
  b.gapPixel = DevicePixel(t, bk);
  return b;
}

}  // namespace

void RasterCanvas::Rectangle(const Rect& r, const platform::Pen& pen, const platform::Brush& brush) {
  const DrawTarget t = Target();
  DrawRectangle(t, r, ResolvePen(t, pen), ResolveBrush(t, brush, bk_, bkMode_));
}

void RasterCanvas::RoundRect(const Rect& r, int rx, int ry, const platform::Pen& pen,
                             const platform::Brush& brush) {
  const DrawTarget t = Target();
  DrawRoundRect(t, r, rx, ry, ResolvePen(t, pen), ResolveBrush(t, brush, bk_, bkMode_));
}

void RasterCanvas::GradientFillH(const Rect& r, Colour left, Colour right) {
  FillGradientH(Target(), r, left, right);
}

namespace {

bool AsSource(platform::Canvas& canvas, BlitSource& out) {
  auto* src = dynamic_cast<RasterCanvas*>(&canvas);
  if (!src) return false;
  out.surface = &src->surface();
  out.monochrome = src->monochrome();
  out.bkColour = src->bkColour();
  return true;
}

}  // namespace

void RasterCanvas::BitBlt(int x, int y, int w, int h, platform::Canvas& src, int xSrc, int ySrc,
                          platform::Rop rop) {
  BlitSource source;
  if (!AsSource(src, source)) return;
  raster::BitBlt(BlitDest{Target(), text_, bk_}, x, y, w, h, source, xSrc, ySrc, rop);
}

void RasterCanvas::StretchBlt(int x, int y, int w, int h, platform::Canvas& src, int xSrc, int ySrc,
                              int wSrc, int hSrc, platform::Rop rop) {
  BlitSource source;
  if (!AsSource(src, source)) return;
  raster::StretchBlt(BlitDest{Target(), text_, bk_}, x, y, w, h, source, xSrc, ySrc, wSrc, hSrc,
                     rop, stretchMode_);
}

void RasterCanvas::SetDIBitsToDevice(int x, int y, int w, int h, const platform::PixelBuffer& bits) {
  SetDIBits(Target(), x, y, w, h, bits);
}

bool RasterCanvas::CopyWithColourKey(int x, int y, int w, int h, platform::Canvas& src, int xSrc,
                                     int ySrc, Colour key) {
  auto* source = dynamic_cast<RasterCanvas*>(&src);
  // Monochrome conversions, a copy within one surface and empty blocks are
  // left to the mask sequence; none of them is a hot path.
  if (!source || source->monochrome() || monochrome() || &source->surface() == target_ ||
      w <= 0 || h <= 0) {
    return false;
  }
  KeyedCopyBlit(Target(), x, y, w, h, source->surface(), xSrc, ySrc, PixelOf(key));
  // The mask sequence leaves the destination with these colours.
  bk_ = 0xFFFFFF;
  text_ = 0x000000;
  return true;
}

bool RasterCanvas::BlendWithColourKey(int x, int y, int w, int h, platform::Canvas& src, int xSrc,
                                      int ySrc, std::uint8_t alpha, Colour key) {
  auto* source = dynamic_cast<RasterCanvas*>(&src);
  if (!source || source->monochrome() || monochrome() || &source->surface() == target_ ||
      w <= 0 || h <= 0) {
    return false;
  }
  KeyedBlendBlit(Target(), x, y, w, h, source->surface(), xSrc, ySrc, PixelOf(key), alpha);
  return true;
}

int RasterCanvas::DrawText(const std::string& text, Rect& r, unsigned format) {
  TextPaint paint;
  paint.target = Target();
  paint.textColour = text_;
  paint.bkColour = bk_;
  paint.opaque = bkMode_ == platform::BkMode::Opaque;
  return DrawTextOn(paint, font_, text, r, format);
}

}  // namespace quorvel::raster
