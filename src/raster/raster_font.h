// Fonts for the raster canvas: fontconfig picks the face, FreeType renders
// antialiased glyphs, and each font keeps the glyphs it has rendered.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace quorvel::raster {

// Sizes in pixels. height = ascent + descent is the cell height of a line.
struct FontMetrics {
  int height = 0;
  int ascent = 0;
  int descent = 0;
  int aveCharWidth = 1;        // GDI's tmAveCharWidth; tab stops are 8 of these
  int underlineOffset = 1;     // rows below the baseline to the underline's top
  int underlineThickness = 1;
};

// One rendered glyph: 8-bit coverage, `width` x `rows`, placed `left` pixels
// right of the pen and `top` rows above the baseline.
struct Glyph {
  int width = 0;
  int rows = 0;
  int left = 0;
  int top = 0;
  int advance = 0;  // whole pixels, as GDI positions characters
  std::vector<std::uint8_t> coverage;
};

class RasterFont : public platform::Font {
 public:
  // Never null; see CreateRasterFont.
  static std::unique_ptr<RasterFont> Create(const platform::FontSpec& spec);
  ~RasterFont() override;
  RasterFont(const RasterFont&) = delete;
  RasterFont& operator=(const RasterFont&) = delete;

  const FontMetrics& metrics() const;
  // The glyph of a Unicode code point, rendered on first use and kept.
  // Control characters have no ink and no width. Safe from any thread.
  const Glyph& GlyphFor(char32_t code) const;
  int Advance(char32_t code) const { return GlyphFor(code).advance; }
  // The font file in use; empty when no face could be loaded at all (then
  // the font measures text but draws no ink).
  const std::string& facePath() const;

 private:
  struct Impl;
  explicit RasterFont(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// A font for RasterCanvas::DrawText. Never null: when the requested face is
// not installed the closest installed sans face is used. A positive height
// is the cell height (ascent + descent) in pixels, as GDI takes a positive
// lfHeight; a negative one is the em size; 0 gives 16 pixels. The face file
// is read once, when the font is made.
std::unique_ptr<platform::Font> CreateRasterFont(const platform::FontSpec& spec);

// The font DrawText uses when none is selected: bold sans, 16 pixels, like
// GDI's system font. Made on first use and kept for the process.
const RasterFont& SystemFont();

}  // namespace quorvel::raster
