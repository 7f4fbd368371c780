#include "skin/blits.h"

#include <algorithm>
#include <cstddef>
#include <memory>

#include "pixels/pixel_kernels.h"

namespace quorvel {
namespace {

using platform::Canvas;
using platform::Rop;

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlack = Rgb(0, 0, 0);
// Magenta as a 32-bit pixel (blue, green, red, fourth byte in memory).
constexpr std::uint32_t kKeyPixel = 0x00FF00FFu;

// GDI's colour-key sequence with a monochrome mask.
void MaskedCopy(Canvas& dest, int x, int y, int w, int h, Canvas& src, int xSrc, int ySrc) {
  std::unique_ptr<Canvas> image = dest.CreateCompatible(w, h);
  std::unique_ptr<Canvas> mask = dest.CreateMonochrome(w, h);
  if (!image || !mask) return;
  image->BitBlt(0, 0, w, h, src, xSrc, ySrc, Rop::SrcCopy);
  // Colour to monochrome: pixels of the background colour become 1.
  image->SetBkColour(kKeyMagenta);
  mask->BitBlt(0, 0, w, h, *image, 0, 0, Rop::SrcCopy);
  // Monochrome to colour: 1 bits take the background colour, 0 bits the
  // text colour, so the key pixels of the image turn black.
  image->SetBkColour(kBlack);
  image->SetTextColour(kWhite);
  image->BitBlt(0, 0, w, h, *mask, 0, 0, Rop::SrcAnd);
  // dest keeps its pixels under the key and is cleared elsewhere, then the
  // image fills the cleared pixels.
  dest.SetBkColour(kWhite);
  dest.SetTextColour(kBlack);
  dest.BitBlt(x, y, w, h, *mask, 0, 0, Rop::SrcAnd);
  dest.BitBlt(x, y, w, h, *image, 0, 0, Rop::SrcPaint);
}

// The desktop's TransparentBlt onto a copy of the destination block, then
// its AlphaBlend back; false when the canvas does not call them.
bool PlatformBlend(Canvas& dest, int xDest, int yDest, Canvas& src, int xSrc, int ySrc, int wSrc,
                   int hSrc, std::uint8_t alpha, const platform::ImagingEntries& entries) {
  std::unique_ptr<Canvas> work = dest.CreateCompatible(wSrc, hSrc);
  if (!work) return false;
  work->BitBlt(0, 0, wSrc, hSrc, dest, xDest, yDest, Rop::SrcCopy);
  if (!work->PlatformTransparentBlt(entries.transparentBlt, 0, 0, wSrc, hSrc, src, xSrc, ySrc,
                                    wSrc, hSrc, kKeyMagenta)) {
    return false;
  }
  return dest.PlatformAlphaBlend(entries.alphaBlend, xDest, yDest, wSrc, hSrc, *work, 0, 0, wSrc,
                                 hSrc, alpha);
}

// The software blend through two 32-bit buffers of w x h.
bool SoftwareBlend(Canvas& dest, int xDest, int yDest, Canvas& src, int xSrc, int ySrc, int w,
                   int h, std::uint8_t alpha) {
  const long long n = static_cast<long long>(w) * h;
  if (w <= 0 || h <= 0 || n <= 0) return false;

  std::unique_ptr<Canvas> source = src.CreateDib32(w, h);
  if (!source) return false;
  source->Flush();
  source->BitBlt(0, 0, w, h, src, xSrc, ySrc, Rop::SrcCopy);

  std::unique_ptr<Canvas> target = dest.CreateDib32(w, h);
  if (!target) return false;
  target->Flush();
  target->BitBlt(0, 0, w, h, dest, xDest, yDest, Rop::SrcCopy);
  target->Flush();

  platform::PixelBuffer s;
  platform::PixelBuffer d;
  if (!source->Pixels(s) || !target->Pixels(d) || !s.pixels || !d.pixels) return false;
  // Both buffers are w x h with rows of w pixels and the same row order, so
  // pixel i of one lines up with pixel i of the other.
  raster::KeyedBlendRow(s.pixels, d.pixels, static_cast<std::size_t>(n), kKeyPixel, alpha);

  dest.SetDIBitsToDevice(xDest, yDest, w, h, d);
  dest.Flush();
  return true;
}

}  // namespace

platform::ImagingEntries ImagingOf(const SystemInfo& info) {
  platform::ImagingEntries entries;
  entries.transparentBlt = info.transparentBltEntry;
  entries.alphaBlend = info.alphaBlendEntry;
  return entries;
}

void ColorKeyBlt(Canvas& dest, int x, int y, int w, int h, Canvas& src, int xSrc, int ySrc,
                 const platform::ImagingEntries& entries) {
  if (entries.transparentBlt &&
      dest.PlatformTransparentBlt(entries.transparentBlt, x, y, w, h, src, xSrc, ySrc, w, h,
                                  kKeyMagenta)) {
    return;
  }
  if (dest.CopyWithColourKey(x, y, w, h, src, xSrc, ySrc, kKeyMagenta)) return;
  MaskedCopy(dest, x, y, w, h, src, xSrc, ySrc);
}

bool BlendBlt(Canvas* dest, int xDest, int yDest, int wDest, int hDest, Canvas* src, int xSrc,
              int ySrc, int wSrc, int hSrc, BlendFunction blend,
              const platform::ImagingEntries& entries) {
  if (!dest || !src) return false;
  const std::uint8_t alpha = blend.constantAlpha;
  if (alpha > 253) {
    ColorKeyBlt(*dest, xDest, yDest, wDest, hDest, *src, xSrc, ySrc, entries);
    return true;
  }
  if (entries.transparentBlt && entries.alphaBlend &&
      PlatformBlend(*dest, xDest, yDest, *src, xSrc, ySrc, wSrc, hSrc, alpha, entries)) {
    return true;
  }
  const int w = std::min(wSrc, wDest);
  const int h = std::min(hSrc, hDest);
  if (w > 0 && h > 0 &&
      dest->BlendWithColourKey(xDest, yDest, w, h, *src, xSrc, ySrc, alpha, kKeyMagenta)) {
    return true;
  }
  return SoftwareBlend(*dest, xDest, yDest, *src, xSrc, ySrc, w, h, alpha);
}

void TileBlt(Canvas& dest, int x, int y, int w, int h, Canvas& src, int xSrc, int ySrc, int tileW,
             int tileH) {
  if (tileW <= 0 || tileH <= 0) return;
  const bool across = w != tileW;
  const int q = across ? w / tileW : h / tileH;
  if (q < -1) return;
  const long long count = static_cast<long long>(q) + 2;
  for (long long k = 0; k < count; ++k) {
    // Tiles past the int range could not land on any surface.
    const long long tx = across ? x + k * tileW : x;
    const long long ty = across ? y : y + k * tileH;
    if (tx > INT32_MAX || ty > INT32_MAX) break;
    dest.BitBlt(static_cast<int>(tx), static_cast<int>(ty), tileW, tileH, src, xSrc, ySrc,
                Rop::SrcCopy);
  }
}

}  // namespace quorvel
