// Fonts: face choice with fallback, cell height, glyph cache, threads.
#include "raster/raster_font.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>


namespace quorvel::raster {
namespace {

const RasterFont& AsRasterFont(const std::unique_ptr<platform::Font>& f) {
  return dynamic_cast<const RasterFont&>(*f);
}

bool HasInk(const Glyph& g) {
  for (auto c : g.coverage) {
    if (c > 0) return true;
  }
  return false;
}

TEST(RasterFont, SkinFacesAndMissingFacesAllGiveAWorkingFont) {
  for (const char* face : {"Trebuchet MS", "Tahoma", "Verdana", "No Such Face", ""}) {
    auto font = CreateRasterFont(platform::FontSpec{face, 13, 400, 4});
    ASSERT_TRUE(font) << face;
    const RasterFont& f = AsRasterFont(font);
    EXPECT_FALSE(f.facePath().empty()) << face;
    EXPECT_TRUE(HasInk(f.GlyphFor(U'W'))) << face;
    EXPECT_GT(f.Advance(U'W'), 0) << face;
  }
}

TEST(RasterFont, CellHeightIsTheRequestedHeight) {
  for (int height : {8, 11, 13, 16, 24, 40}) {
    for (int weight : {400, 600, 700}) {
      auto font = RasterFont::Create(platform::FontSpec{"Tahoma", height, weight, 4});
      const FontMetrics& m = font->metrics();
      EXPECT_EQ(m.height, height);
      EXPECT_EQ(m.ascent + m.descent, height);
      EXPECT_GT(m.ascent, m.descent);
      EXPECT_GT(m.aveCharWidth, 0);
      // Glyphs stay within the cell: tall letters do not rise above the
      // ascent and descenders do not drop below the descent.
      for (char32_t c : {U'H', U'g', U'j', U'\u00C9'}) {
        const Glyph& g = font->GlyphFor(c);
        EXPECT_LE(g.top, m.ascent + 1) << height;
        EXPECT_LE(g.rows - g.top, m.descent + 1) << height;
      }
    }
  }
}

TEST(RasterFont, BoldIsWiderThanNormal) {
  auto normal = RasterFont::Create(platform::FontSpec{"Verdana", 20, 400, 4});
  auto bold = RasterFont::Create(platform::FontSpec{"Verdana", 20, 700, 4});
  int normalWidth = 0;
  int boldWidth = 0;
  for (char32_t c : std::u32string(U"Benchmark")) {
    normalWidth += normal->Advance(c);
    boldWidth += bold->Advance(c);
  }
  EXPECT_GT(boldWidth, normalWidth);
}

TEST(RasterFont, GlyphsAreRenderedOnceAndControlsAreEmpty) {
  auto font = RasterFont::Create(platform::FontSpec{"Tahoma", 13, 400, 4});
  EXPECT_EQ(&font->GlyphFor(U'a'), &font->GlyphFor(U'a'));
  for (char32_t c : {U'\t', U'\n', U'\r', char32_t{0x7F}}) {
    EXPECT_EQ(font->GlyphFor(c).advance, 0);
    EXPECT_FALSE(HasInk(font->GlyphFor(c)));
  }
  EXPECT_FALSE(HasInk(font->GlyphFor(U' ')));
  EXPECT_GT(font->Advance(U' '), 0);
}

TEST(RasterFont, FontsCanBeMadeAndUsedFromSeveralThreads) {
  auto shared = RasterFont::Create(platform::FontSpec{"Tahoma", 13, 400, 4});
  std::vector<std::thread> threads;
  std::vector<int> widths(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      auto own = RasterFont::Create(platform::FontSpec{"Verdana", 12 + t, 400, 4});
      for (char32_t c = U'!'; c < U'~'; ++c) {
        widths[t] += shared->Advance(c);
        own->GlyphFor(c);
      }
    });
  }
  for (auto& t : threads) t.join();
  for (int w : widths) EXPECT_EQ(w, widths[0]);
}

}  // namespace
}  // namespace quorvel::raster
