#include "raster/text_draw.h"

#include <algorithm>

#include "raster/brush_fill.h"
#include "text/windows1252.h"
#include "raster/glyph_blend.h"
#include "raster/raster_font.h"
#include "raster/rect_ops.h"
#include "raster/text_layout.h"

namespace quorvel::raster {
namespace {

namespace dt = platform::dt;

const RasterFont& FontOrSystem(const platform::Font* font) {
  if (auto* raster = dynamic_cast<const RasterFont*>(font)) return *raster;
  return SystemFont();
}

// The x of a line of `width` pixels in r for the alignment flags.
int LineX(const Rect& r, int width, unsigned format) {
  if (format & dt::kCenter) return (r.left + r.right - width) / 2;
  if (format & dt::kRight) return r.right - width;
  return r.left;
}

void DrawLine(const TextPaint& paint, const RasterFont& font, const Rect& clip, const TextLine& line,
              int x, int y) {
  const FontMetrics& m = font.metrics();
  const DrawTarget& t = paint.target;
  if (paint.opaque && line.width > 0) {
    BrushPaint bk;
    bk.pixel = DevicePixel(t, paint.bkColour);
    FillRect(t, Intersect(Rect{x, y, x + line.width, y + m.height}, clip), bk);
  }
  const std::uint32_t textPixel = DevicePixel(t, paint.textColour);
  const int baseline = y + m.ascent;
  for (const LaidChar& ch : line.chars) {
    if (ch.code == U'\t') continue;
    DrawGlyph(t, clip, font.GlyphFor(ch.code), x + ch.x, baseline, textPixel);
    if (ch.underline) {
      BrushPaint ink;
      ink.pixel = textPixel;
      const int top = std::min(baseline + m.underlineOffset, y + m.height - m.underlineThickness);
      FillRect(t, Intersect(Rect{x + ch.x, top, x + ch.x + ch.advance, top + m.underlineThickness}, clip),
               ink);
    }
  }
}

}  // namespace

int DrawTextOn(const TextPaint& paint, const platform::Font* fontChoice, const std::string& text,
               Rect& r, unsigned format) {
  const RasterFont& font = FontOrSystem(fontChoice);
  const FontMetrics& m = font.metrics();
  const bool singleLine = (format & dt::kSingleLine) != 0;

  if (text.empty()) {
    // Win32: nothing drawn; the height of one line is returned.
    if (format & dt::kCalcRect) {
      r.right = r.left;
      r.bottom = singleLine ? r.top + m.height : r.top;
    }
    return m.height;
  }

  TextMeasure measure;
  measure.advance = [&font](char32_t c) { return font.Advance(c); };
  measure.aveCharWidth = m.aveCharWidth;
  const std::vector<TextLine> lines = LayOutText(text::DecodeWindows1252(text), format, r.right - r.left, measure);
  const int lineCount = static_cast<int>(lines.size());

  if (format & dt::kCalcRect) {
    int widest = 0;
    for (const TextLine& line : lines) widest = std::max(widest, line.width);
    r.right = r.left + widest;
    r.bottom = r.top + lineCount * m.height;
    return lineCount * m.height;
  }

  int y = r.top;
  if (singleLine && (format & dt::kVCenter)) {
    y = r.top + (r.bottom - r.top - m.height) / 2;
  } else if (singleLine && (format & dt::kBottom)) {
    y = r.bottom - m.height;
  }
  const int firstY = y;

  Rect clip = paint.target.area;
  if (!(format & dt::kNoClip)) clip = Intersect(clip, Normalized(r));
  const bool visible = !IsEmpty(clip);
  for (const TextLine& line : lines) {
    if (visible) DrawLine(paint, font, clip, line, LineX(r, line.width, format), y);
    y += m.height;
  }
  // Win32 returns the offset from the rectangle's top to the bottom of the
  // text, which is the text's height unless it was moved down.
  return firstY + lineCount * m.height - r.top;
}

}  // namespace quorvel::raster
