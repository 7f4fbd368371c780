// StretchBlt: nearest pixel and halftone averaging.
#include <gtest/gtest.h>

#include <vector>

#include "pixel_helpers.h"

namespace quorvel::raster {
namespace {

using platform::Rop;
using platform::StretchMode;
using testing::At;
using testing::FilledCanvas;
using testing::kWhite;

// A one-row source whose pixel i has red 10 * (i + 1).
std::unique_ptr<RasterCanvas> RowSource(int n) {
  auto c = RasterCanvas::CreateMemory(n, 1);
  for (int i = 0; i < n; ++i) c->surface().Row(0)[i] = PixelOf(Rgb(10 * (i + 1), 0, 0));
  return c;
}

std::vector<int> Reds(const Surface& s, int y) {
  std::vector<int> out;
  for (int x = 0; x < s.width(); ++x) out.push_back(RedOf(At(s, x, y)));
  return out;
}

struct StretchCase {
  int sourceWidth, destWidth, xSrc, wSrc;
  StretchMode mode;
  std::vector<int> reds;  // destination row, 255 = untouched white
};

class StretchRow : public ::testing::TestWithParam<StretchCase> {};

TEST_P(StretchRow, PicksOrAveragesTheSourceColumns) {
  const StretchCase& c = GetParam();
  auto src = RowSource(c.sourceWidth);
  auto dst = FilledCanvas(c.destWidth, 1, kWhite);
  dst->SetStretchMode(c.mode);
  dst->StretchBlt(0, 0, c.destWidth, 1, *src, c.xSrc, 0, c.wSrc, 1, Rop::SrcCopy);
  EXPECT_EQ(Reds(dst->surface(), 0), c.reds);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StretchRow,
    ::testing::Values(
        // Plain: source column xSrc + i * wSrc / w.
        StretchCase{3, 7, 0, 3, StretchMode::Plain, {10, 10, 10, 20, 20, 30, 30}},
        StretchCase{4, 2, 0, 4, StretchMode::Plain, {10, 30}},
        StretchCase{5, 3, 1, 4, StretchMode::Plain, {20, 30, 40}},
        StretchCase{3, 3, 0, 3, StretchMode::Plain, {10, 20, 30}},
        // Source columns off the source leave their pixels untouched.
        StretchCase{2, 4, -1, 4, StretchMode::Plain, {255, 10, 20, 255}},
        // Halftone: the covered columns averaged, rounded.
        StretchCase{4, 2, 0, 4, StretchMode::Halftone, {15, 35}},
        StretchCase{3, 2, 0, 3, StretchMode::Halftone, {15, 25}},
        StretchCase{6, 1, 0, 6, StretchMode::Halftone, {35}},
        StretchCase{2, 4, 0, 2, StretchMode::Halftone, {10, 10, 20, 20}},
        StretchCase{3, 1, 0, 2, StretchMode::Halftone, {15}}));

TEST(StretchBlt, HalftoneAveragesRowsAndColumnsPerChannel) {
  auto src = RasterCanvas::CreateMemory(2, 2);
  src->surface().Row(0)[0] = PixelOf(Rgb(0, 255, 1));
  src->surface().Row(0)[1] = PixelOf(Rgb(100, 255, 2));
  src->surface().Row(1)[0] = PixelOf(Rgb(200, 0, 2));
  src->surface().Row(1)[1] = PixelOf(Rgb(1, 0, 2));
  auto dst = FilledCanvas(1, 1, kWhite);
  dst->SetStretchMode(StretchMode::Halftone);
  dst->StretchBlt(0, 0, 1, 1, *src, 0, 0, 2, 2, Rop::SrcCopy);
  // (0+100+200+1)/4 = 75.25, 510/4 = 127.5 rounds up, 7/4 = 1.75.
  EXPECT_EQ(At(dst->surface(), 0, 0), Rgb(75, 128, 2));
}

TEST(StretchBlt, ZeroOrNegativeSizesDrawNothing) {
  auto src = RowSource(4);
  const int sizes[][4] = {{0, 1, 4, 1}, {4, 0, 4, 1}, {4, 1, 0, 1}, {4, 1, 4, 0},
                          {-4, 1, 4, 1}, {4, 1, -4, 1}, {4, -1, 4, 1}, {4, 1, 4, -1}};
  for (const auto& s : sizes) {
    auto dst = FilledCanvas(6, 3, kWhite);
    dst->StretchBlt(1, 1, s[0], s[1], *src, 3, 0, s[2], s[3], Rop::SrcCopy);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 6; ++x) ASSERT_EQ(At(dst->surface(), x, y), kWhite);
    }
  }
}

TEST(StretchBlt, IsClippedAndAppliesTheRop) {
  auto src = RowSource(2);
  auto dst = FilledCanvas(6, 2, Rgb(0x3C, 0xFF, 0xFF));
  const Rect clip{0, 0, 3, 2};
  dst->SetClipRect(&clip);
  dst->StretchBlt(-1, 0, 6, 2, *src, 0, 0, 2, 1, Rop::SrcAnd);
  // Columns -1..4 take source 0,0,0,1,1,1; the clip keeps columns 0..2.
  EXPECT_EQ(Reds(dst->surface(), 1), (std::vector<int>{10 & 0x3C, 10 & 0x3C, 20 & 0x3C, 0x3C, 0x3C, 0x3C}));
  EXPECT_EQ(At(dst->surface(), 0, 0), Rgb(10 & 0x3C, 0, 0));
}

}  // namespace
}  // namespace quorvel::raster
