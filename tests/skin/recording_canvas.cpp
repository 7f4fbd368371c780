#include "recording_canvas.h"

#include <algorithm>
#include <cstdio>

namespace quorvel::testing {
namespace {

std::string Format(const char* name, std::initializer_list<long long> values) {
  std::string out = name;
  char buffer[32];
  const char* separator = " ";
  for (long long v : values) {
    std::snprintf(buffer, sizeof buffer, "%s%lld", separator, v);
    out += buffer;
    separator = ",";
  }
  return out;
}

}  // namespace

RecordingCanvas::RecordingCanvas(int w, int h, RecordingSetup setup, std::shared_ptr<CallLog> log)
    : OwnedSurface{raster::Surface(w, h)},
      RasterCanvas(&pixels),
      setup_(setup),
      log_(std::move(log)) {}

int RecordingCanvas::Count(const std::string& prefix) const {
  return static_cast<int>(std::count_if(log_->begin(), log_->end(), [&](const std::string& call) {
    return call.compare(0, prefix.size(), prefix) == 0;
  }));
}

std::unique_ptr<platform::Canvas> RecordingCanvas::CreateCompatible(int w, int h) {
  Note(Format("CreateCompatible", {w, h}));
  if (w < 0 || h < 0) return nullptr;
  return std::make_unique<RecordingCanvas>(w, h, setup_, log_);
}

Colour RecordingCanvas::SetTextColour(Colour c) {
  Note(Format("SetTextColour", {static_cast<long long>(c)}));
  return RasterCanvas::SetTextColour(c);
}

Colour RecordingCanvas::SetBkColour(Colour c) {
  Note(Format("SetBkColour", {static_cast<long long>(c)}));
  return RasterCanvas::SetBkColour(c);
}

void RecordingCanvas::Rectangle(const Rect& r, const platform::Pen& pen,
                                const platform::Brush& brush) {
  Note(Format("Rectangle", {r.left, r.top, r.right, r.bottom}));
  RasterCanvas::Rectangle(r, pen, brush);
}

void RecordingCanvas::RoundRect(const Rect& r, int rx, int ry, const platform::Pen& pen,
                                const platform::Brush& brush) {
  Note(Format("RoundRect", {r.left, r.top, r.right, r.bottom, rx, ry}));
  RasterCanvas::RoundRect(r, rx, ry, pen, brush);
}

void RecordingCanvas::BitBlt(int x, int y, int w, int h, platform::Canvas& src, int xSrc, int ySrc,
                             platform::Rop rop) {
  Note(Format("BitBlt", {x, y, w, h, xSrc, ySrc, static_cast<int>(rop)}));
  RasterCanvas::BitBlt(x, y, w, h, src, xSrc, ySrc, rop);
}

void RecordingCanvas::StretchBlt(int x, int y, int w, int h, platform::Canvas& src, int xSrc,
                                 int ySrc, int wSrc, int hSrc, platform::Rop rop) {
  Note(Format("StretchBlt", {x, y, w, h, xSrc, ySrc, wSrc, hSrc}));
  RasterCanvas::StretchBlt(x, y, w, h, src, xSrc, ySrc, wSrc, hSrc, rop);
}

void RecordingCanvas::SetDIBitsToDevice(int x, int y, int w, int h,
                                        const platform::PixelBuffer& bits) {
  Note(Format("SetDIBitsToDevice", {x, y, w, h}));
  RasterCanvas::SetDIBitsToDevice(x, y, w, h, bits);
}

bool RecordingCanvas::CopyWithColourKey(int x, int y, int w, int h, platform::Canvas& src,
                                        int xSrc, int ySrc, Colour key) {
  if (!setup_.fastPaths) return false;
  Note(Format("CopyWithColourKey", {x, y, w, h, xSrc, ySrc}));
  return RasterCanvas::CopyWithColourKey(x, y, w, h, src, xSrc, ySrc, key);
}

bool RecordingCanvas::BlendWithColourKey(int x, int y, int w, int h, platform::Canvas& src,
                                         int xSrc, int ySrc, std::uint8_t alpha, Colour key) {
  if (!setup_.fastPaths) return false;
  Note(Format("BlendWithColourKey", {x, y, w, h, xSrc, ySrc, alpha}));
  return RasterCanvas::BlendWithColourKey(x, y, w, h, src, xSrc, ySrc, alpha, key);
}

bool RecordingCanvas::PlatformTransparentBlt(void* entry, int x, int y, int w, int h,
                                             platform::Canvas& src, int xSrc, int ySrc, int wSrc,
                                             int hSrc, Colour key) {
  if (!setup_.platformBlits) return false;
  Note(Format("TransparentBlt", {reinterpret_cast<long long>(entry), x, y, w, h, xSrc, ySrc, wSrc,
                                 hSrc, static_cast<long long>(key)}));
  return RasterCanvas::CopyWithColourKey(x, y, w, h, src, xSrc, ySrc, key);
}

bool RecordingCanvas::PlatformAlphaBlend(void* entry, int x, int y, int w, int h,
                                         platform::Canvas& src, int xSrc, int ySrc, int wSrc,
                                         int hSrc, std::uint8_t alpha) {
  if (!setup_.platformBlits) return false;
  Note(Format("AlphaBlend",
              {reinterpret_cast<long long>(entry), x, y, w, h, xSrc, ySrc, wSrc, hSrc, alpha}));
  auto* source = dynamic_cast<RasterCanvas*>(&src);
  if (!source) return false;
  const Rect area = surface().Bounds();
  const Rect from = source->surface().Bounds();
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      if (!area.Contains(Point{x + i, y + j}) || !from.Contains(Point{xSrc + i, ySrc + j})) continue;
      const std::uint32_t s = source->surface().Row(ySrc + j)[xSrc + i];
      std::uint32_t& d = surface().Row(y + j)[x + i];
      std::uint32_t out = 0;
      for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned sc = (s >> shift) & 0xFF;
        const unsigned dc = (d >> shift) & 0xFF;
        out |= ((sc * alpha + dc * (255 - alpha) + 127) / 255) << shift;
      }
      d = out;
    }
  }
  return true;
}

}  // namespace quorvel::testing
