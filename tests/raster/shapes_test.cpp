// Hatched brushes and RoundRect.
#include <gtest/gtest.h>

#include <algorithm>

#include "pixel_helpers.h"
#include "raster/brush_fill.h"

namespace quorvel::raster {
namespace {

using platform::BkMode;
using platform::Brush;
using platform::Pen;
using testing::BasicLegend;
using testing::FilledCanvas;
using testing::kBlack;
using testing::kBlue;
using testing::kGreen;
using testing::kRed;
using testing::kWhite;
using testing::Picture;

const Pen kThin{platform::kPenSolid, 0, kBlack};
const Pen kNone{platform::kPenNull, 0, kBlack};

struct HatchCase {
  int hatch;
  std::vector<std::string> cell;  // the 8 x 8 pattern: 'r' line, 'g' gap
};

class HatchTest : public ::testing::TestWithParam<HatchCase> {};

// Filled with red lines on a green background, the pattern repeats every 8
// pixels from the surface origin, not from the shape's corner.
TEST_P(HatchTest, PatternIsAlignedToTheSurfaceOrigin) {
  const HatchCase& c = GetParam();
  auto canvas = FilledCanvas(19, 19, kWhite);
  canvas->SetBkColour(kGreen);
  canvas->Rectangle(Rect{3, 2, 20, 20}, kNone, Brush{kRed, c.hatch});
  const auto picture = Picture(canvas->surface(), BasicLegend());
  for (int y = 2; y < 18; ++y) {
    for (int x = 3; x < 18; ++x) {
      ASSERT_EQ(picture[y][x], c.cell[y % 8][x % 8]) << "hatch " << c.hatch << " at " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, HatchTest,
    ::testing::Values(
        HatchCase{0, {"gggggggg", "gggggggg", "gggggggg", "gggggggg", "gggggggg", "gggggggg",
                      "gggggggg", "rrrrrrrr"}},
        HatchCase{1, {"ggggrggg", "ggggrggg", "ggggrggg", "ggggrggg", "ggggrggg", "ggggrggg",
                      "ggggrggg", "ggggrggg"}},
        HatchCase{2, {"rggggggg", "grgggggg", "ggrggggg", "gggrgggg", "ggggrggg", "gggggrgg",
                      "ggggggrg", "gggggggr"}},
        HatchCase{3, {"gggggggr", "ggggggrg", "gggggrgg", "ggggrggg", "gggrgggg", "ggrggggg",
                      "grgggggg", "rggggggg"}},
        HatchCase{4, {"ggggrggg", "ggggrggg", "ggggrggg", "ggggrggg", "ggggrggg", "ggggrggg",
                      "ggggrggg", "rrrrrrrr"}},
        HatchCase{5, {"rggggggr", "grggggrg", "ggrggrgg", "gggrrggg", "gggrrggg", "ggrggrgg",
                      "grggggrg", "rggggggr"}}));

TEST(HatchedBrush, TransparentModeLeavesTheGapsAlone) {
  auto canvas = FilledCanvas(8, 8, kBlue);
  canvas->SetBkColour(kGreen);
  canvas->SetBkMode(BkMode::Transparent);
  canvas->Rectangle(Rect{0, 0, 8, 8}, kThin, Brush{kRed, 0});
  const auto picture = Picture(canvas->surface(), BasicLegend());
  EXPECT_EQ(picture[3], "#bbbbbb#");  // gaps keep what was there
  EXPECT_EQ(picture[6], "#bbbbbb#");
  // Row 7 is the outline; the horizontal hatch line of the interior would be
  // on row 7 too, so a 12-row shape shows it.
  auto tall = FilledCanvas(8, 12, kBlue);
  tall->SetBkMode(BkMode::Transparent);
  tall->Rectangle(Rect{0, 0, 8, 12}, kThin, Brush{kRed, 0});
  EXPECT_EQ(Picture(tall->surface(), BasicLegend())[7], "#rrrrrr#");
}

// Mirror images of a picture.
std::vector<std::string> FlipX(std::vector<std::string> p) {
  for (auto& row : p) std::reverse(row.begin(), row.end());
  return p;
}
std::vector<std::string> FlipY(std::vector<std::string> p) {
  std::reverse(p.begin(), p.end());
  return p;
}

TEST(RoundRect, PinnedShapeOfACircularCorner) {
  // Corner ellipse 12 x 12 on a 12 x 12 box: a circle. The outline is the
  // boundary of the pixels whose centres lie inside the ellipse.
  auto canvas = FilledCanvas(12, 12, kWhite);
  canvas->RoundRect(Rect{0, 0, 12, 12}, 12, 12, kThin, Brush{kRed, -1});
  EXPECT_EQ(Picture(canvas->surface(), BasicLegend()),
            (std::vector<std::string>{
                "....####....", "..##rrrr##..", ".#rrrrrrrr#.", ".#rrrrrrrr#.",
                "#rrrrrrrrrr#", "#rrrrrrrrrr#", "#rrrrrrrrrr#", "#rrrrrrrrrr#",
                ".#rrrrrrrr#.", ".#rrrrrrrr#.", "..##rrrr##..", "....####...."}));
}

TEST(RoundRect, CornersAreSymmetricForEverySize) {
  for (const Pen& pen : {kThin, kNone}) {
    for (int w = 1; w <= 14; w += 3) {
      for (int h = 1; h <= 12; h += 2) {
        for (int e : {3, 4, 7, 10, 40}) {
          auto canvas = FilledCanvas(w, h, kWhite);
          // Without a pen the shape loses a column and a row, so it is drawn
          // one larger to fill the same box.
          const int grow = pen.style == platform::kPenNull ? 1 : 0;
          canvas->RoundRect(Rect{0, 0, w + grow, h + grow}, e, e - 1, pen, Brush{kRed, -1});
          const auto p = Picture(canvas->surface(), BasicLegend());
          ASSERT_EQ(p, FlipX(p)) << w << "x" << h << " ellipse " << e;
          ASSERT_EQ(p, FlipY(p)) << w << "x" << h << " ellipse " << e;
        }
      }
    }
  }
}

TEST(RoundRect, ZeroOrOnePixelEllipseGivesARectangle) {
  for (const Pen& pen : {kThin, kNone}) {
    for (auto [ew, eh] : {std::pair{0, 6}, std::pair{6, 0}, std::pair{0, 0}, std::pair{1, 5}}) {
      auto round = FilledCanvas(9, 8, kWhite);
      auto square = FilledCanvas(9, 8, kWhite);
      round->RoundRect(Rect{1, 1, 8, 7}, ew, eh, pen, Brush{kRed, -1});
      square->Rectangle(Rect{1, 1, 8, 7}, pen, Brush{kRed, -1});
      EXPECT_EQ(Picture(round->surface(), BasicLegend()), Picture(square->surface(), BasicLegend()))
          << ew << "x" << eh;
    }
  }
}

TEST(RoundRect, NullPenFillsOneLessOnTheRightAndBottom) {
  auto canvas = FilledCanvas(8, 6, kWhite);
  canvas->RoundRect(Rect{0, 0, 8, 6}, 4, 4, kNone, Brush{kRed, -1});
  EXPECT_EQ(Picture(canvas->surface(), BasicLegend()),
            (std::vector<std::string>{".rrrrr..", "rrrrrrr.", "rrrrrrr.", "rrrrrrr.", ".rrrrr..",
                                      "........"}));
}

TEST(RoundRect, ClippedDrawingIsTheUnclippedDrawingCut) {
  auto full = FilledCanvas(14, 12, kWhite);
  full->RoundRect(Rect{0, 0, 14, 12}, 10, 8, Pen{platform::kPenSolid, 2, kBlack}, Brush{kRed, -1});
  const Rect clips[] = {{0, 0, 6, 12}, {5, 3, 9, 8}, {7, 0, 14, 2}, {2, 9, 14, 12}, {13, 11, 20, 20}};
  for (const Rect& clip : clips) {
    auto canvas = FilledCanvas(14, 12, kWhite);
    canvas->SetClipRect(&clip);
    canvas->RoundRect(Rect{0, 0, 14, 12}, 10, 8, Pen{platform::kPenSolid, 2, kBlack},
                      Brush{kRed, -1});
    for (int y = 0; y < 12; ++y) {
      for (int x = 0; x < 14; ++x) {
        const Colour expected =
            clip.Contains(Point{x, y}) ? testing::At(full->surface(), x, y) : kWhite;
        ASSERT_EQ(testing::At(canvas->surface(), x, y), expected) << x << "," << y;
      }
    }
  }
}

TEST(RoundRect, HugeShapesOnlyCostTheirVisiblePart) {
  auto canvas = FilledCanvas(6, 4, kWhite);
  canvas->RoundRect(Rect{-1000000000, -5, 1000000000, 4}, 20, 20, kThin, Brush{kRed, -1});
  EXPECT_EQ(Picture(canvas->surface(), BasicLegend()),
            (std::vector<std::string>{"rrrrrr", "rrrrrr", "rrrrrr", "######"}));
}

}  // namespace
}  // namespace quorvel::raster
