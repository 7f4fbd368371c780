// Monochrome canvases and GDI's colour <-> monochrome blit conversions.
#include <gtest/gtest.h>

#include "pixel_helpers.h"

namespace quorvel::raster {
namespace {

using platform::Rop;
using testing::At;
using testing::FilledCanvas;
using testing::kBlack;
using testing::kBlue;
using testing::kGreen;
using testing::kRed;
using testing::kWhite;

RasterCanvas& AsRaster(platform::Canvas& c) { return static_cast<RasterCanvas&>(c); }

TEST(Monochrome, NewBitmapIsBlackAndCompatibleCanvasesStayMonochrome) {
  auto screen = FilledCanvas(1, 1, kWhite);
  auto mono = screen->CreateMonochrome(3, 2);
  ASSERT_TRUE(mono);
  EXPECT_TRUE(AsRaster(*mono).monochrome());
  EXPECT_EQ(At(AsRaster(*mono).surface(), 2, 1), kBlack);
  auto again = mono->CreateCompatible(2, 2);
  ASSERT_TRUE(again);
  EXPECT_TRUE(AsRaster(*again).monochrome());
  EXPECT_FALSE(AsRaster(*screen->CreateCompatible(1, 1)).monochrome());
}

TEST(Monochrome, ColourSourceBecomesWhiteWhereItEqualsTheSourceBackground) {
  auto src = FilledCanvas(4, 1, kRed);
  src->surface().Row(0)[1] = PixelOf(kKeyMagenta);
  src->surface().Row(0)[2] = PixelOf(Rgb(255, 0, 254));  // near the key is not the key
  src->surface().Row(0)[3] = PixelOf(kKeyMagenta) | 0x80000000u;  // the fourth byte plays no part
  src->SetBkColour(kKeyMagenta);
  auto mono = src->CreateMonochrome(4, 1);
  mono->BitBlt(0, 0, 4, 1, *src, 0, 0, Rop::SrcCopy);
  const Surface& m = AsRaster(*mono).surface();
  EXPECT_EQ(At(m, 0, 0), kBlack);
  EXPECT_EQ(At(m, 1, 0), kWhite);
  EXPECT_EQ(At(m, 2, 0), kBlack);
  EXPECT_EQ(At(m, 3, 0), kWhite);
}

TEST(Monochrome, MonoSourceTakesTheDestinationTextAndBackgroundColours) {
  auto screen = FilledCanvas(2, 1, kWhite);
  auto mono = screen->CreateMonochrome(2, 1);
  AsRaster(*mono).surface().Row(0)[1] = 0xFFFFFF;  // bit 1
  screen->SetTextColour(kBlue);  // for 0 bits
  screen->SetBkColour(kGreen);   // for 1 bits
  screen->BitBlt(0, 0, 2, 1, *mono, 0, 0, Rop::SrcCopy);
  EXPECT_EQ(At(screen->surface(), 0, 0), kBlue);
  EXPECT_EQ(At(screen->surface(), 1, 0), kGreen);
}

TEST(Monochrome, ShapesMapColoursToTheNearerOfBlackAndWhite) {
  auto screen = FilledCanvas(1, 1, kWhite);
  auto mono = screen->CreateMonochrome(4, 1);
  struct Case {
    Colour colour;
    Colour expected;
  };
  const Case cases[] = {{Rgb(128, 128, 128), kWhite}, {Rgb(127, 128, 128), kBlack},
                        {kRed, kBlack}, {Rgb(255, 255, 0), kWhite}};
  for (int i = 0; i < 4; ++i) {
    mono->Rectangle(Rect{i, 0, i + 1, 1}, platform::Pen{platform::kPenSolid, 0, cases[i].colour},
                    platform::Brush{cases[i].colour, -1});
    EXPECT_EQ(At(AsRaster(*mono).surface(), i, 0), cases[i].expected) << i;
  }
}

// The classic transparent blit: a mask from the key colour, then
// image & ~mask, dest & mask, dest | image.
TEST(Monochrome, MaskBlitsGiveExactlyTheKeyedCopy) {
  constexpr int kW = 5;
  constexpr int kH = 4;
  auto image = RasterCanvas::CreateMemory(kW, kH);
  auto dest = RasterCanvas::CreateMemory(kW, kH);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const bool key = (x + 2 * y) % 3 == 0;
      image->surface().Row(y)[x] = PixelOf(key ? kKeyMagenta : Rgb(17 * x + 3, 40 * y + 5, 200 - x));
      dest->surface().Row(y)[x] = PixelOf(Rgb(90 + x, 7 * y, 33 * x + y));
    }
  }
  auto expected = RasterCanvas::CreateMemory(kW, kH);
  expected->BitBlt(0, 0, kW, kH, *dest, 0, 0, Rop::SrcCopy);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      if (At(image->surface(), x, y) != kKeyMagenta) {
        expected->surface().Row(y)[x] = image->surface().Row(y)[x];
      }
    }
  }

  auto mask = image->CreateMonochrome(kW, kH);
  image->SetBkColour(kKeyMagenta);
  mask->BitBlt(0, 0, kW, kH, *image, 0, 0, Rop::SrcCopy);

  image->SetBkColour(kBlack);
  image->SetTextColour(kWhite);
  image->BitBlt(0, 0, kW, kH, *mask, 0, 0, Rop::SrcAnd);  // image & ~mask

  dest->SetBkColour(kWhite);
  dest->SetTextColour(kBlack);
  dest->BitBlt(0, 0, kW, kH, *mask, 0, 0, Rop::SrcAnd);     // dest & mask
  dest->BitBlt(0, 0, kW, kH, *image, 0, 0, Rop::SrcPaint);  // dest | image

  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      ASSERT_EQ(At(dest->surface(), x, y), At(expected->surface(), x, y)) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace quorvel::raster
