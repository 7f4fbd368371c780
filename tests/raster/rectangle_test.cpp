// Rectangle: GDI's edges, pens and brushes, pixel for pixel.
#include <gtest/gtest.h>

#include "pixel_helpers.h"

namespace quorvel::raster {
namespace {

using platform::Brush;
using platform::Pen;
using testing::BasicLegend;
using testing::FilledCanvas;
using testing::kBlack;
using testing::kRed;
using testing::kWhite;
using testing::Picture;

struct RectangleCase {
  const char* name;
  Rect rect;
  Pen pen;
  std::vector<std::string> expected;
};

class RectangleTest : public ::testing::TestWithParam<RectangleCase> {};

TEST_P(RectangleTest, DrawsExactlyTheseEdges) {
  const RectangleCase& c = GetParam();
  auto canvas = FilledCanvas(7, 6, kWhite);
  canvas->Rectangle(c.rect, c.pen, Brush{kRed, platform::kHatchNone});
  EXPECT_EQ(Picture(canvas->surface(), BasicLegend()), c.expected);
}

const Pen kThin{platform::kPenSolid, 0, kBlack};
const Pen kOne{platform::kPenSolid, 1, kBlack};
const Pen kTwo{platform::kPenSolid, 2, kBlack};
const Pen kNone{platform::kPenNull, 0, kBlack};

INSTANTIATE_TEST_SUITE_P(
    PensAndBrushes, RectangleTest,
    ::testing::Values(
        // Outline on left..right-1, top..bottom-1; brush inside it.
        RectangleCase{"width0", {1, 1, 6, 5}, kThin,
                      {".......", ".#####.", ".#rrr#.", ".#rrr#.", ".#####.", "......."}},
        RectangleCase{"width1", {1, 1, 6, 5}, kOne,
                      {".......", ".#####.", ".#rrr#.", ".#rrr#.", ".#####.", "......."}},
        RectangleCase{"width2", {0, 0, 7, 6}, kTwo,
                      {"#######", "#######", "##rrr##", "##rrr##", "#######", "#######"}},
        // GDI fills one pixel less on the right and bottom without a pen.
        RectangleCase{"nullPen", {1, 1, 6, 5}, kNone,
                      {".......", ".rrrr..", ".rrrr..", ".rrrr..", ".......", "......."}},
        // Corners given the wrong way round are put in order first.
        RectangleCase{"reversed", {6, 5, 1, 1}, kThin,
                      {".......", ".#####.", ".#rrr#.", ".#rrr#.", ".#####.", "......."}},
        // Too thin for an interior: only the outline.
        RectangleCase{"twoWide", {1, 1, 3, 4}, kThin,
                      {".......", ".##....", ".##....", ".##....", ".......", "......."}},
        RectangleCase{"onePixel", {2, 2, 3, 3}, kThin,
                      {".......", ".......", "..#....", ".......", ".......", "......."}},
        RectangleCase{"empty", {2, 2, 2, 5}, kThin,
                      {".......", ".......", ".......", ".......", ".......", "......."}},
        // Partly off the surface: what is on it is drawn.
        RectangleCase{"offSurface", {-2, -2, 3, 3}, kThin,
                      {"rr#....", "rr#....", "###....", ".......", ".......", "......."}}),
    [](const ::testing::TestParamInfo<RectangleCase>& info) { return info.param.name; });

TEST(RectangleClip, ClipRectCutsOutlineAndFill) {
  auto canvas = FilledCanvas(7, 6, kWhite);
  const Rect clip{2, 0, 7, 3};
  canvas->SetClipRect(&clip);
  canvas->Rectangle(Rect{1, 1, 6, 5}, kThin, Brush{kRed, platform::kHatchNone});
  EXPECT_EQ(Picture(canvas->surface(), BasicLegend()),
            (std::vector<std::string>{".......", "..####.", "..rrr#.", ".......", ".......", "......."}));

  canvas->SetClipRect(nullptr);
  canvas->Rectangle(Rect{0, 5, 7, 6}, kThin, Brush{kRed, platform::kHatchNone});
  EXPECT_EQ(Picture(canvas->surface(), BasicLegend())[5], "#######");
}

}  // namespace
}  // namespace quorvel::raster
