// BitBlt: clipping against both surfaces and the clip rectangle, overlap
// within one surface, and the raster operations.
#include <gtest/gtest.h>

#include "pixel_helpers.h"

namespace quorvel::raster {
namespace {

using platform::Rop;
using testing::At;
using testing::FilledCanvas;
using testing::kWhite;

// Every source pixel differs: red = 10 x column + 1, green = 10 x row + 1.
Colour SourceColour(int x, int y) { return Rgb(10 * x + 1, 10 * y + 1, 99); }

std::unique_ptr<RasterCanvas> NumberedSource(int w, int h) {
  auto canvas = RasterCanvas::CreateMemory(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) canvas->surface().Row(y)[x] = PixelOf(SourceColour(x, y));
  }
  return canvas;
}

struct BlitCase {
  const char* name;
  int x, y, w, h, xSrc, ySrc;
  bool clipped = false;  // with the clip rectangle {1, 1, 5, 5}
};

class BitBltClipping : public ::testing::TestWithParam<BlitCase> {};

// Destination pixel (px, py) gets source (px - x + xSrc, py - y + ySrc) when
// it is in the block, the source pixel exists and (px, py) is inside the clip.
TEST_P(BitBltClipping, CopiesOnlyPixelsInsideBothSurfacesAndTheClip) {
  const BlitCase& c = GetParam();
  auto src = NumberedSource(4, 4);
  auto dst = FilledCanvas(6, 6, kWhite);
  const Rect clip{1, 1, 5, 5};
  if (c.clipped) dst->SetClipRect(&clip);
  dst->BitBlt(c.x, c.y, c.w, c.h, *src, c.xSrc, c.ySrc, Rop::SrcCopy);

  for (int py = 0; py < 6; ++py) {
    for (int px = 0; px < 6; ++px) {
      const int sx = px - c.x + c.xSrc;
      const int sy = py - c.y + c.ySrc;
      const bool inBlock = px >= c.x && px < c.x + c.w && py >= c.y && py < c.y + c.h;
      const bool inSource = sx >= 0 && sx < 4 && sy >= 0 && sy < 4;
      const bool inClip = !c.clipped || clip.Contains(Point{px, py});
      const Colour expected = inBlock && inSource && inClip ? SourceColour(sx, sy) : kWhite;
      ASSERT_EQ(At(dst->surface(), px, py), expected) << "pixel " << px << "," << py;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, BitBltClipping,
    ::testing::Values(BlitCase{"inside", 1, 1, 3, 3, 0, 0}, BlitCase{"offset", 2, 1, 2, 3, 1, 0},
                      BlitCase{"leftOfDest", -2, 1, 4, 4, 0, 0},
                      BlitCase{"aboveDest", 1, -3, 4, 4, 0, 0},
                      BlitCase{"rightOfDest", 4, 0, 4, 4, 0, 0},
                      BlitCase{"belowDest", 0, 5, 4, 4, 0, 0},
                      BlitCase{"negativeSourceX", 1, 1, 4, 4, -2, 0},
                      BlitCase{"negativeSourceY", 1, 1, 4, 4, 0, -1},
                      BlitCase{"pastSourceEdge", 0, 0, 6, 6, 2, 3},
                      BlitCase{"allNegative", -1, -1, 6, 6, -1, -2},
                      BlitCase{"clipped", 0, 0, 6, 6, 0, 0, true},
                      BlitCase{"clippedShifted", 2, 2, 4, 4, 0, 0, true},
                      BlitCase{"entirelyOff", 10, 10, 4, 4, 0, 0},
                      BlitCase{"sourceMissed", 0, 0, 4, 4, 4, 0},
                      BlitCase{"zeroWidth", 0, 0, 0, 4, 0, 0},
                      BlitCase{"negativeSize", 3, 3, -2, -2, 0, 0}),
    [](const ::testing::TestParamInfo<BlitCase>& info) { return info.param.name; });

TEST(BitBlt, OverlappingCopyWithinOneSurfaceReadsTheOriginalPixels) {
  for (int shift : {-1, 1}) {
    auto canvas = NumberedSource(5, 5);
    canvas->BitBlt(1 + shift, 1 + shift, 3, 3, *canvas, 1, 1, Rop::SrcCopy);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(At(canvas->surface(), 1 + shift + x, 1 + shift + y), SourceColour(1 + x, 1 + y))
            << "shift " << shift;
      }
    }
  }
}

TEST(BitBlt, RopsCombineSourceAndDestinationBitwise) {
  struct Case {
    Rop rop;
    Colour expected;
  };
  const Colour source = Rgb(0xF0, 0x0F, 0x55);
  const Colour dest = Rgb(0x3C, 0x3C, 0xAA);
  for (const Case& c : {Case{Rop::SrcCopy, source}, Case{Rop::SrcAnd, Rgb(0x30, 0x0C, 0x00)},
                        Case{Rop::SrcPaint, Rgb(0xFC, 0x3F, 0xFF)}}) {
    auto src = FilledCanvas(2, 2, source);
    auto dst = FilledCanvas(2, 2, dest);
    dst->BitBlt(0, 0, 2, 2, *src, 0, 0, c.rop);
    EXPECT_EQ(At(dst->surface(), 1, 1), c.expected);
  }
}

}  // namespace
}  // namespace quorvel::raster
