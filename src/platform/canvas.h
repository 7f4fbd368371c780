// The drawing context: the subset of GDI that the skin uses.
//
// Win32 maps every call onto GDI on an HDC; the X11 backend and the tests use
// the software raster (src/raster/). A canvas is a device context with its
// surface: the window's, or a memory surface that the canvas owns. Pens and
// brushes are passed with each shape and live only for that call.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/geometry.h"

namespace quorvel::platform {

// Raster operations of BitBlt and StretchBlt.
enum class Rop { SrcCopy, SrcAnd, SrcPaint };

// Background mode for text (GDI's TRANSPARENT = 1, OPAQUE = 2).
enum class BkMode { Transparent = 1, Opaque = 2 };

// Stretch mode: plain (nearest pixel) or halftone (averaging).
enum class StretchMode { Plain, Halftone };

// GDI pen styles used by the skin.
constexpr int kPenSolid = 0;  // PS_SOLID; width 0 draws one pixel
constexpr int kPenNull = 5;   // PS_NULL: no outline

// GDI hatch styles; kHatchNone means a solid brush.
constexpr int kHatchNone = -1;

struct Pen {
  int style = kPenSolid;
  int width = 0;
  Colour colour = 0;
};

struct Brush {
  Colour colour = 0;
  int hatch = kHatchNone;
};

// Flags of DrawText, with GDI's values.
namespace dt {
constexpr unsigned kLeft = 0x0;
constexpr unsigned kCenter = 0x1;
constexpr unsigned kRight = 0x2;
constexpr unsigned kVCenter = 0x4;
constexpr unsigned kBottom = 0x8;
constexpr unsigned kWordBreak = 0x10;
constexpr unsigned kSingleLine = 0x20;
constexpr unsigned kExpandTabs = 0x40;
constexpr unsigned kNoClip = 0x100;
constexpr unsigned kCalcRect = 0x400;
constexpr unsigned kNoPrefix = 0x800;
}  // namespace dt

// What CreateFontA is given; width, escapement, orientation, italic,
// underline, strike-out, charset, precision and pitch are fixed by the skin.
struct FontSpec {
  std::string face;
  int height = 0;   // cell height in pixels (positive)
  int weight = 400;
  int quality = 0;  // 4 antialiased, 6 ClearType
};

// A font made by the backend's Graphics; only canvases of the same backend use it.
class Font {
 public:
  virtual ~Font() = default;
};

// The pixels of a 32-bit device-independent surface: bytes blue, green, red
// and a fourth byte. Rows are width pixels with no gap. Bottom-up surfaces
// keep the picture's bottom row first in memory.
struct PixelBuffer {
  std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  bool bottomUp = true;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Size of the surface.
  virtual int Width() const = 0;
  virtual int Height() const = 0;

  // A memory canvas compatible with this one, with a w x h surface of the
  // same format. Null when it cannot be made.
  virtual std::unique_ptr<Canvas> CreateCompatible(int w, int h) = 0;
  // A memory canvas over a 32-bit bottom-up device-independent section.
  virtual std::unique_ptr<Canvas> CreateDib32(int w, int h) = 0;
  // A memory canvas over a monochrome (1 bit per pixel) bitmap.
  virtual std::unique_ptr<Canvas> CreateMonochrome(int w, int h) = 0;
  // The pixels of a canvas made by CreateDib32; false for any other.
  virtual bool Pixels(PixelBuffer& out) = 0;
  // Completes queued drawing (GdiFlush).
  virtual void Flush() = 0;

  // Context state; each setter returns the previous value.
  virtual Colour SetTextColour(Colour c) = 0;
  virtual Colour SetBkColour(Colour c) = 0;
  virtual BkMode SetBkMode(BkMode mode) = 0;
  virtual StretchMode SetStretchMode(StretchMode mode) = 0;
  // Clip all drawing to r; null removes the clip.
  virtual void SetClipRect(const Rect* r) = 0;
  // The font for DrawText; null selects the system font. Returns the previous one.
  virtual const Font* SelectFont(const Font* font) = 0;

  // Shapes, with GDI's edge conventions: right and bottom exclusive, the
  // outline inside the shape.
  virtual void Rectangle(const Rect& r, const Pen& pen, const Brush& brush) = 0;
  virtual void RoundRect(const Rect& r, int rx, int ry, const Pen& pen, const Brush& brush) = 0;
  // Horizontal two-colour gradient: 16-bit vertex channels (8-bit value x 256).
  virtual void GradientFillH(const Rect& r, Colour left, Colour right) = 0;

  virtual void BitBlt(int x, int y, int w, int h, Canvas& src, int xSrc, int ySrc, Rop rop) = 0;
  virtual void StretchBlt(int x, int y, int w, int h, Canvas& src, int xSrc, int ySrc, int wSrc,
                          int hSrc, Rop rop) = 0;
  // Writes the rectangle (x, y, w, h) from a 32-bit bottom-up pixel buffer
  // whose rows are bits.width pixels; the buffer's (0, 0) is its bottom-left.
  virtual void SetDIBitsToDevice(int x, int y, int w, int h, const PixelBuffer& bits) = 0;

  // DrawTextA: the text with "\n" and "\r\n" as line breaks; returns the
  // height of the text drawn. With dt::kCalcRect only measures, into r.
  virtual int DrawText(const std::string& text, Rect& r, unsigned format) = 0;

  // Optional fast paths. Each returns false when this canvas does not offer
  // it; the caller then takes its portable path.

  // The desktop's TransparentBlt reached through `entry` (the address the
  // facts report): copies the wSrc x hSrc block of src at (xSrc, ySrc) onto
  // the w x h block at (x, y), leaving this canvas's pixels where the source
  // is `key`. True once the entry point has been called.
  virtual bool PlatformTransparentBlt(void* /*entry*/, int /*x*/, int /*y*/, int /*w*/,
                                      int /*h*/, Canvas& /*src*/, int /*xSrc*/, int /*ySrc*/,
                                      int /*wSrc*/, int /*hSrc*/, Colour /*key*/) {
    return false;
  }
  // The desktop's AlphaBlend reached through `entry`, with a constant alpha
  // and no per-pixel alpha. True once the entry point has been called.
  virtual bool PlatformAlphaBlend(void* /*entry*/, int /*x*/, int /*y*/, int /*w*/, int /*h*/,
                                  Canvas& /*src*/, int /*xSrc*/, int /*ySrc*/, int /*wSrc*/,
                                  int /*hSrc*/, std::uint8_t /*alpha*/) {
    return false;
  }
  // The same pixels as the monochrome-mask colour-key sequence (see
  // skin/blits.h, ColorKeyBlt) in one pass: the w x h block of src at
  // (xSrc, ySrc) goes to (x, y) except where its pixel is `key` (the fourth
  // byte ignored); afterwards the background colour is white and the text
  // colour black, as that sequence leaves them. False when the canvas cannot
  // promise identical pixels for these arguments.
  virtual bool CopyWithColourKey(int /*x*/, int /*y*/, int /*w*/, int /*h*/, Canvas& /*src*/,
                                 int /*xSrc*/, int /*ySrc*/, Colour /*key*/) {
    return false;
  }
  // The same pixels as the software colour-keyed blend (see skin/blits.h,
  // BlendBlt) without its two 32-bit buffers: the w x h block of src at
  // (xSrc, ySrc) is blended onto (x, y) per channel as
  // d = (d * 256 + (s - d) * alpha) >> 8, except where its pixel is `key`;
  // the fourth byte of this canvas's pixels stays. False when the canvas
  // cannot promise identical pixels for these arguments.
  virtual bool BlendWithColourKey(int /*x*/, int /*y*/, int /*w*/, int /*h*/, Canvas& /*src*/,
                                  int /*xSrc*/, int /*ySrc*/, std::uint8_t /*alpha*/,
                                  Colour /*key*/) {
    return false;
  }
};

// Device-independent drawing objects: fonts and the program's bitmaps.
class Graphics {
 public:
  virtual ~Graphics() = default;
  virtual std::unique_ptr<Font> CreateFont(const FontSpec& spec) = 0;
  // A memory canvas holding bitmap resource `id`; null when it is missing.
  virtual std::unique_ptr<Canvas> LoadBitmap(int id) = 0;
};

}  // namespace quorvel::platform
