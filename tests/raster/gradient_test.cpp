#include "raster/gradient.h"

#include <gtest/gtest.h>

#include "pixel_helpers.h"

namespace quorvel::raster {
namespace {

using testing::At;
using testing::FilledCanvas;
using testing::kWhite;

TEST(GradientColumn, EndsAndMiddleOnSixteenBitChannels) {
  struct Case {
    Colour left, right;
    int i, w;
    Colour expected;
  };
  const Case cases[] = {
      {Rgb(0, 0, 0), Rgb(255, 255, 255), 0, 4, Rgb(0, 0, 0)},  // first column: exactly left
      {Rgb(0, 0, 0), Rgb(255, 255, 255), 3, 4, Rgb(191, 191, 191)},  // last: one step short
      {Rgb(0, 0, 0), Rgb(255, 255, 255), 2, 4, Rgb(127, 127, 127)},  // 0x7F80 >> 8
      {Rgb(200, 10, 100), Rgb(100, 10, 200), 1, 3, Rgb(166, 10, 133)},
      {Rgb(255, 0, 0), Rgb(0, 0, 255), 1, 2, Rgb(127, 0, 127)},
      {Rgb(10, 20, 30), Rgb(250, 240, 230), 0, 1, Rgb(10, 20, 30)},  // one column
      {Rgb(0, 0, 0), Rgb(255, 0, 0), 255, 256, Rgb(254, 0, 0)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GradientColumn(c.left, c.right, c.i, c.w), c.expected) << c.i << "/" << c.w;
  }
}

TEST(GradientFillH, FillsEveryRowAlikeWithinTheClip) {
  auto canvas = FilledCanvas(10, 4, kWhite);
  const Rect clip{0, 0, 10, 3};
  canvas->SetClipRect(&clip);
  const Colour left = Rgb(0, 100, 255);
  const Colour right = Rgb(255, 100, 0);
  canvas->GradientFillH(Rect{1, 1, 9, 4}, left, right);
  const Surface& s = canvas->surface();
  for (int x = 1; x < 9; ++x) {
    EXPECT_EQ(At(s, x, 1), GradientColumn(left, right, x - 1, 8));
    EXPECT_EQ(At(s, x, 2), At(s, x, 1));
    EXPECT_EQ(At(s, x, 3), kWhite);  // below the clip
  }
  EXPECT_EQ(At(s, 1, 1), left);
  EXPECT_EQ(At(s, 8, 1), Rgb(223, 100, 31));
  EXPECT_EQ(At(s, 0, 1), kWhite);
  EXPECT_EQ(At(s, 9, 1), kWhite);
  EXPECT_EQ(At(s, 4, 0), kWhite);
}

TEST(GradientFillH, ColumnsOffTheSurfaceStillCountInTheSteps) {
  auto canvas = FilledCanvas(4, 1, kWhite);
  canvas->GradientFillH(Rect{-4, 0, 4, 1}, Rgb(0, 0, 0), Rgb(255, 255, 255));
  EXPECT_EQ(At(canvas->surface(), 0, 0), GradientColumn(Rgb(0, 0, 0), Rgb(255, 255, 255), 4, 8));
  EXPECT_EQ(At(canvas->surface(), 0, 0), Rgb(127, 127, 127));
}

}  // namespace
}  // namespace quorvel::raster
