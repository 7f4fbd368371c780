#include <gtest/gtest.h>

#include "platform/drawn/controls/pixel_ops.h"
#include "platform/x11/painting/colour_key_shape.h"

namespace quorvel::x11 {
namespace {

TEST(ColourKeyShape, RunsCoverExactlyThePixelsThatAreNotTheKey) {
  raster::Surface picture(6, 3);
  drawn::FillPixels(picture, picture.Bounds(), Rgb(0, 0, 0));
  drawn::FillPixels(picture, Rect{1, 0, 3, 1}, Rgb(255, 0, 0));  // row 0: x 1..2
  drawn::FillPixels(picture, Rect{5, 0, 6, 1}, Rgb(1, 0, 0));    // row 0: x 5, almost black
  drawn::FillPixels(picture, Rect{0, 2, 6, 3}, Rgb(0, 0, 200));  // row 2: all
  picture.Row(2)[3] |= 0xFF000000u;                      // the fourth byte is no colour

  const std::vector<XRectangle> runs = OpaqueRuns(picture, Rgb(0, 0, 0));
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].x, 1);
  EXPECT_EQ(runs[0].y, 0);
  EXPECT_EQ(runs[0].width, 2);
  EXPECT_EQ(runs[1].x, 5);
  EXPECT_EQ(runs[1].width, 1);
  EXPECT_EQ(runs[2].y, 2);
  EXPECT_EQ(runs[2].x, 0);
  EXPECT_EQ(runs[2].width, 6);
  for (const XRectangle& r : runs) EXPECT_EQ(r.height, 1);

  // Another key: rows 0 and 1 are whole runs, row 2 is all key.
  const std::vector<XRectangle> blueKeyed = OpaqueRuns(picture, Rgb(0, 0, 200));
  ASSERT_EQ(blueKeyed.size(), 2u);
  EXPECT_EQ(blueKeyed[1].y, 1);
  EXPECT_EQ(blueKeyed[1].width, 6);
}

}  // namespace
}  // namespace quorvel::x11
