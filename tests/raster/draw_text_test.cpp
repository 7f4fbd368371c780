// DrawText geometry with an installed face: which rows and columns get ink,
// line counts and widths, rather than exact glyph shapes.
#include <gtest/gtest.h>

#include <algorithm>

#include "pixel_helpers.h"
#include "raster/glyph_blend.h"
#include "raster/raster_font.h"
#include "raster/rect_ops.h"

namespace quorvel::raster {
namespace {

namespace dt = platform::dt;
using testing::At;
using testing::Fill;
using testing::kBlack;
using testing::kGreen;
using testing::kRed;
using testing::kWhite;

constexpr int kHeight = 13;

// The smallest rectangle holding every pixel that is not `background`.
Rect InkBox(const Surface& s, Colour background) {
  Rect box{s.width(), s.height(), 0, 0};
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) {
      if (At(s, x, y) == background) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x + 1);
      box.bottom = std::max(box.bottom, y + 1);
    }
  }
  return box;
}

bool SamePixels(const Surface& a, const Surface& b) {
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.Row(y)[x] != b.Row(y)[x]) return false;
    }
  }
  return true;
}

class DrawTextTest : public ::testing::Test {
 protected:
  DrawTextTest() : font_(RasterFont::Create(platform::FontSpec{"Tahoma", kHeight, 400, 4})) {}

  std::unique_ptr<RasterCanvas> Canvas(int w = 160, int h = 60) {
    auto canvas = RasterCanvas::CreateMemory(w, h);
    Fill(canvas->surface(), kWhite);
    canvas->SelectFont(font_.get());
    canvas->SetBkMode(platform::BkMode::Transparent);
    return canvas;
  }

  int Width(const std::u32string& s) const {
    int w = 0;
    for (char32_t c : s) w += font_->Advance(c);
    return w;
  }

  // The rectangle DT_CALCRECT gives for text at (10, 5) in a `width` wide box.
  Rect Measure(const std::string& text, unsigned format, int width = 0) {
    auto canvas = Canvas();
    Rect r{10, 5, 10 + width, 5};
    canvas->DrawText(text, r, format | dt::kCalcRect);
    return r;
  }

  std::unique_ptr<RasterFont> font_;
};

TEST_F(DrawTextTest, CalcRectMeasuresWithoutDrawing) {
  auto canvas = Canvas();
  Rect r{10, 5, 10, 5};
  EXPECT_EQ(canvas->DrawText("Hello", r, dt::kSingleLine | dt::kCalcRect), kHeight);
  EXPECT_EQ(r, (Rect{10, 5, 10 + Width(U"Hello"), 5 + kHeight}));
  EXPECT_TRUE(IsEmpty(InkBox(canvas->surface(), kWhite)));

  Rect three{10, 5, 10, 5};
  EXPECT_EQ(canvas->DrawText("a\nbbb\r\ncc", three, dt::kCalcRect), 3 * kHeight);
  EXPECT_EQ(three, (Rect{10, 5, 10 + Width(U"bbb"), 5 + 3 * kHeight}));
  EXPECT_TRUE(IsEmpty(InkBox(canvas->surface(), kWhite)));
}

TEST_F(DrawTextTest, WordBreakFitsLinesToTheWidth) {
  const int twoWords = Width(U"alpha beta");
  EXPECT_EQ(Measure("alpha beta gamma", dt::kWordBreak, twoWords).Height(), 2 * kHeight);
  EXPECT_EQ(Measure("alpha beta gamma", dt::kWordBreak, twoWords).Width(), twoWords);
  EXPECT_EQ(Measure("alpha beta gamma", dt::kWordBreak, twoWords - 1).Height(), 3 * kHeight);
  // A word wider than the box is not broken; the box widens to hold it.
  const Rect wide = Measure("a extraordinarily b", dt::kWordBreak, 5);
  EXPECT_EQ(wide.Height(), 3 * kHeight);
  EXPECT_EQ(wide.Width(), Width(U"extraordinarily"));
  // Without DT_WORDBREAK the same text stays on one line.
  EXPECT_EQ(Measure("alpha beta gamma", 0, twoWords).Height(), kHeight);
}

TEST_F(DrawTextTest, EachLineInksItsOwnBand) {
  auto canvas = Canvas();
  Rect r{0, 0, Width(U"alpha beta"), 60};
  EXPECT_EQ(canvas->DrawText("alpha beta gamma\nHi", r, dt::kWordBreak), 3 * kHeight);
  for (int line = 0; line < 3; ++line) {
    auto band = RasterCanvas::CreateMemory(160, kHeight);
    band->BitBlt(0, 0, 160, kHeight, *canvas, 0, line * kHeight, platform::Rop::SrcCopy);
    EXPECT_FALSE(IsEmpty(InkBox(band->surface(), kWhite))) << "line " << line;
  }
  EXPECT_LE(InkBox(canvas->surface(), kWhite).bottom, 3 * kHeight);
}

TEST_F(DrawTextTest, AlignmentShiftsTheSameInk) {
  auto left = Canvas();
  Rect r{7, 3, 150, 50};
  left->DrawText("Quorvel", r, dt::kSingleLine);
  const int width = Width(U"Quorvel");

  struct Case {
    unsigned format;
    int dx, dy;
  };
  const Case cases[] = {
      {dt::kCenter, (7 + 150 - width) / 2 - 7, 0},
      {dt::kRight, 150 - width - 7, 0},
      {dt::kVCenter | dt::kSingleLine, 0, (47 - kHeight) / 2},
      {dt::kBottom | dt::kSingleLine, 0, 50 - kHeight - 3},
      {dt::kCenter | dt::kVCenter | dt::kSingleLine, (7 + 150 - width) / 2 - 7, (47 - kHeight) / 2},
      {dt::kVCenter, 0, 0},  // vertical placement needs DT_SINGLELINE
  };
  for (const Case& c : cases) {
    auto canvas = Canvas();
    Rect box = r;
    const int returned = canvas->DrawText("Quorvel", box, c.format);
    EXPECT_EQ(returned, c.dy + kHeight) << c.format;
    auto expected = Canvas();
    expected->BitBlt(c.dx, c.dy, 160, 60, *left, 0, 0, platform::Rop::SrcCopy);
    EXPECT_TRUE(SamePixels(canvas->surface(), expected->surface())) << c.format;
  }
}

TEST_F(DrawTextTest, PrefixesVanishAndDoubleAmpersandShowsOne) {
  auto doubled = Canvas();
  auto plain = Canvas();
  Rect r{2, 2, 150, 40};
  Rect r2 = r;
  doubled->DrawText("R&&D", r, 0);
  plain->DrawText("R&D", r2, dt::kNoPrefix);
  EXPECT_TRUE(SamePixels(doubled->surface(), plain->surface()));
  EXPECT_EQ(Measure("&Save", 0).Width(), Width(U"Save"));
  EXPECT_EQ(Measure("&Save", dt::kNoPrefix).Width(), Width(U"&Save"));

  // "&Save" draws "Save" with the S underlined below the baseline.
  auto prefixed = Canvas();
  auto bare = Canvas();
  Rect a{2, 2, 150, 40};
  Rect b = a;
  prefixed->DrawText("&Save", a, 0);
  bare->DrawText("Save", b, 0);
  const int underlineRow = 2 + font_->metrics().ascent + font_->metrics().underlineOffset;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 160; ++x) {
      const bool underlined = y == underlineRow && x >= 2 && x < 2 + font_->Advance(U'S');
      if (underlined) {
        EXPECT_EQ(At(prefixed->surface(), x, y), kBlack) << x;
      } else {
        ASSERT_EQ(At(prefixed->surface(), x, y), At(bare->surface(), x, y)) << x << "," << y;
      }
    }
  }
}

TEST_F(DrawTextTest, TabsExpandToEightAverageWidths) {
  const int stop = 8 * font_->metrics().aveCharWidth;
  EXPECT_EQ(Measure("a\tb", dt::kExpandTabs).Width(), stop + font_->Advance(U'b'));
  EXPECT_EQ(Measure("a\t\tb", dt::kExpandTabs).Width(), 2 * stop + font_->Advance(U'b'));
  // The b after the tab starts at the stop.
  auto canvas = Canvas();
  Rect r{0, 0, 160, 40};
  canvas->DrawText("\tl", r, dt::kExpandTabs);
  const Rect ink = InkBox(canvas->surface(), kWhite);
  EXPECT_GE(ink.left, stop);
  EXPECT_LT(ink.left, stop + font_->Advance(U'l'));
}

TEST_F(DrawTextTest, TextIsClippedToTheRectUnlessNoClip) {
  Rect r{20, 10, 40, 20};  // narrower and shorter than the text
  auto clipped = Canvas();
  Rect box = r;
  clipped->DrawText("Wide text here", box, dt::kSingleLine);
  const Rect ink = InkBox(clipped->surface(), kWhite);
  EXPECT_FALSE(IsEmpty(ink));
  EXPECT_GE(ink.left, 20);
  EXPECT_LE(ink.right, 40);
  EXPECT_GE(ink.top, 10);
  EXPECT_LE(ink.bottom, 20);

  auto unclipped = Canvas();
  box = r;
  unclipped->DrawText("Wide text here", box, dt::kSingleLine | dt::kNoClip);
  EXPECT_GT(InkBox(unclipped->surface(), kWhite).right, 40);

  // The canvas's clip rectangle applies even with DT_NOCLIP.
  auto canvasClip = Canvas();
  const Rect clip{0, 0, 30, 60};
  canvasClip->SetClipRect(&clip);
  box = r;
  canvasClip->DrawText("Wide text here", box, dt::kSingleLine | dt::kNoClip);
  EXPECT_LE(InkBox(canvasClip->surface(), kWhite).right, 30);
}

TEST_F(DrawTextTest, OpaqueModeFillsEachLineExtentFirst) {
  auto canvas = Canvas();
  canvas->SetBkMode(platform::BkMode::Opaque);
  canvas->SetBkColour(kGreen);
  Rect r{5, 5, 150, 50};
  canvas->DrawText("ab\nlonger", r, 0);
  const Surface& s = canvas->surface();
  const int first = Width(U"ab");
  const int second = Width(U"longer");
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 160; ++x) {
      const bool inFirst = y >= 5 && y < 5 + kHeight && x >= 5 && x < 5 + first;
      const bool inSecond = y >= 5 + kHeight && y < 5 + 2 * kHeight && x >= 5 && x < 5 + second;
      if (!inFirst && !inSecond) {
        ASSERT_EQ(At(s, x, y), kWhite) << x << "," << y;
      } else {
        ASSERT_NE(At(s, x, y), kWhite) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(At(s, 5, 5), kGreen);
}

TEST_F(DrawTextTest, InkBlendsTowardsTheTextColour) {
  auto canvas = Canvas();
  canvas->SetTextColour(kRed);
  Rect r{0, 0, 160, 40};
  canvas->DrawText("Mg", r, 0);
  int full = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 160; ++x) {
      const Colour c = At(canvas->surface(), x, y);
      // On white, red text only lowers green and blue, equally.
      ASSERT_EQ(RedOf(c), 255);
      ASSERT_EQ(GreenOf(c), BlueOf(c));
      if (c == kRed) ++full;
    }
  }
  EXPECT_GT(full, 0);
}

TEST(BlendCoverage, RoundsTheWeightedMean) {
  struct Case {
    std::uint32_t dst, text;
    unsigned coverage;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {0xFFFFFF, 0x000000, 0, 0xFFFFFF},   {0xFFFFFF, 0x000000, 255, 0x000000},
      {0xFFFFFF, 0x000000, 128, 0x7F7F7F},  // 255 * 127 / 255 = 127
      {0x000000, 0xFFFFFF, 128, 0x808080},  {0x000000, 0x0000FF, 1, 0x000001},  // 1.0
      {0x000000, 0x00007F, 1, 0x000000},    // 0.498 rounds down
      {0x102030, 0x302010, 51, 0x16202A},   // 16 + 6.4 = 22.4, 48 - 6.4 = 41.6
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BlendCoverage(c.dst, c.text, c.coverage), c.expected) << c.coverage;
  }
}

TEST_F(DrawTextTest, EmptyTextReturnsTheLineHeight) {
  auto canvas = Canvas();
  Rect r{10, 10, 50, 50};
  EXPECT_EQ(canvas->DrawText("", r, dt::kCalcRect | dt::kSingleLine), kHeight);
  EXPECT_EQ(r, (Rect{10, 10, 10, 10 + kHeight}));
  Rect multi{10, 10, 50, 50};
  EXPECT_EQ(canvas->DrawText("", multi, dt::kCalcRect), kHeight);
  EXPECT_EQ(multi, (Rect{10, 10, 10, 10}));
}

TEST_F(DrawTextTest, WithoutAFontTheSystemFontIsUsed) {
  auto canvas = Canvas();
  canvas->SelectFont(nullptr);
  Rect r{0, 0, 160, 60};
  EXPECT_EQ(canvas->DrawText("System", r, 0), SystemFont().metrics().height);
  EXPECT_FALSE(IsEmpty(InkBox(canvas->surface(), kWhite)));
}

TEST_F(DrawTextTest, MonochromeTargetsGetOnlyBlackAndWhite) {
  auto screen = Canvas();
  auto mono = screen->CreateMonochrome(80, 20);
  auto& m = static_cast<RasterCanvas&>(*mono);
  Fill(m.surface(), kWhite);
  m.SelectFont(font_.get());
  m.SetBkMode(platform::BkMode::Transparent);
  Rect r{0, 0, 80, 20};
  m.DrawText("Mask", r, 0);
  int black = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 80; ++x) {
      const Colour c = At(m.surface(), x, y);
      ASSERT_TRUE(c == kWhite || c == kBlack);
      black += c == kBlack;
    }
  }
  EXPECT_GT(black, 0);
}

}  // namespace
}  // namespace quorvel::raster
