// The GDI canvas: each call must reach GDI with the program's arguments.
// Checked on 32-bit memory surfaces, pixel by pixel.
#include <gtest/gtest.h>

#include "platform/resource_ids.h"
#include "platform/win32/gdi_graphics.h"
#include "test_surface.h"

namespace quorvel::win32 {
namespace {

using testing::Fill;
using testing::NewDib;
using testing::PixelAt;

const Colour kWhite = Rgb(255, 255, 255);
const Colour kRed = Rgb(255, 0, 0);
const Colour kBlue = Rgb(0, 0, 255);
const platform::Pen kNoPen{platform::kPenNull, 0, 0};

TEST(GdiCanvas, RectangleOutlineInsideRightAndBottomExclusive) {
  auto canvas = NewDib(10, 10);
  canvas->Rectangle(Rect{2, 2, 8, 8}, platform::Pen{platform::kPenSolid, 0, kRed},
                    platform::Brush{kBlue});
  EXPECT_EQ(PixelAt(*canvas, 2, 2), kRed);
  EXPECT_EQ(PixelAt(*canvas, 7, 7), kRed);
  EXPECT_EQ(PixelAt(*canvas, 4, 4), kBlue);
  EXPECT_EQ(PixelAt(*canvas, 8, 8), kWhite);
  EXPECT_EQ(PixelAt(*canvas, 1, 1), kWhite);
}

TEST(GdiCanvas, HatchedBrushLeavesBackgroundBetweenLines) {
  auto canvas = NewDib(16, 16);
  canvas->SetBkMode(platform::BkMode::Transparent);
  canvas->Rectangle(Rect{0, 0, 17, 17}, kNoPen, platform::Brush{kRed, HS_HORIZONTAL});
  int red = 0, white = 0;
  for (int y = 0; y < 16; ++y) (PixelAt(*canvas, 3, y) == kRed ? red : white)++;
  EXPECT_GT(red, 0);
  EXPECT_GT(white, red);
}

TEST(GdiCanvas, RoundRectKeepsCornersOut) {
  auto canvas = NewDib(20, 20);
  canvas->RoundRect(Rect{0, 0, 20, 20}, 10, 10, platform::Pen{platform::kPenSolid, 0, kRed},
                    platform::Brush{kBlue});
  EXPECT_EQ(PixelAt(*canvas, 0, 0), kWhite);
  EXPECT_EQ(PixelAt(*canvas, 10, 10), kBlue);
  EXPECT_EQ(PixelAt(*canvas, 10, 0), kRed);
}

TEST(GdiCanvas, HorizontalGradientRunsLeftToRight) {
  auto canvas = NewDib(64, 4);
  canvas->GradientFillH(Rect{0, 0, 64, 4}, Rgb(0, 0, 0), Rgb(255, 128, 0));
  const Colour left = PixelAt(*canvas, 0, 1);
  const Colour right = PixelAt(*canvas, 63, 1);
  EXPECT_LE(RedOf(left), 8);
  EXPECT_GE(RedOf(right), 240);
  EXPECT_NEAR(GreenOf(right), 128, 8);
  EXPECT_EQ(BlueOf(right), 0);
  EXPECT_NEAR(RedOf(PixelAt(*canvas, 32, 1)), 128, 12);
}

TEST(GdiCanvas, BlitRasterOperations) {
  auto source = NewDib(4, 4, Rgb(0x0F, 0xF0, 0x33));
  struct Case {
    platform::Rop rop;
    Colour expected;
  };
  for (const Case& c : {Case{platform::Rop::SrcCopy, Rgb(0x0F, 0xF0, 0x33)},
                        Case{platform::Rop::SrcAnd, Rgb(0x0F & 0xAA, 0xF0 & 0xAA, 0x33 & 0xAA)},
                        Case{platform::Rop::SrcPaint, Rgb(0x0F | 0xAA, 0xF0 | 0xAA, 0x33 | 0xAA)}}) {
    auto dest = NewDib(4, 4, Rgb(0xAA, 0xAA, 0xAA));
    dest->BitBlt(1, 1, 2, 2, *source, 0, 0, c.rop);
    EXPECT_EQ(PixelAt(*dest, 1, 1), c.expected) << static_cast<int>(c.rop);
    EXPECT_EQ(PixelAt(*dest, 3, 3), Rgb(0xAA, 0xAA, 0xAA));
  }
}

TEST(GdiCanvas, StretchBltScalesAndReportsTheMode) {
  auto source = NewDib(2, 1, kRed);
  source->Rectangle(Rect{1, 0, 3, 2}, kNoPen, platform::Brush{kBlue});
  auto dest = NewDib(8, 2);
  EXPECT_EQ(dest->SetStretchMode(platform::StretchMode::Halftone), platform::StretchMode::Plain);
  EXPECT_EQ(dest->SetStretchMode(platform::StretchMode::Plain), platform::StretchMode::Halftone);
  dest->StretchBlt(0, 0, 8, 2, *source, 0, 0, 2, 1, platform::Rop::SrcCopy);
  EXPECT_EQ(PixelAt(*dest, 0, 0), kRed);
  EXPECT_EQ(PixelAt(*dest, 3, 1), kRed);
  EXPECT_EQ(PixelAt(*dest, 4, 0), kBlue);
  EXPECT_EQ(PixelAt(*dest, 7, 1), kBlue);
}

// Colour to monochrome: the source's background colour becomes white (1);
// back to colour, 1 takes the destination's background colour and 0 its
// text colour. The mask technique of the skin relies on both.
TEST(GdiCanvas, MonochromeMaskRoundTrip) {
  auto picture = NewDib(4, 1, kRed);
  picture->Rectangle(Rect{2, 0, 5, 2}, kNoPen, platform::Brush{kKeyMagenta});
  auto mask = picture->CreateMonochrome(4, 1);
  ASSERT_NE(mask, nullptr);
  picture->SetBkColour(kKeyMagenta);
  mask->BitBlt(0, 0, 4, 1, *picture, 0, 0, platform::Rop::SrcCopy);

  auto out = NewDib(4, 1);
  out->SetTextColour(Rgb(0, 0, 0));
  out->SetBkColour(Rgb(255, 255, 255));
  out->BitBlt(0, 0, 4, 1, *mask, 0, 0, platform::Rop::SrcCopy);
  EXPECT_EQ(PixelAt(*out, 0, 0), Rgb(0, 0, 0));
  EXPECT_EQ(PixelAt(*out, 3, 0), Rgb(255, 255, 255));

  platform::PixelBuffer none;
  EXPECT_FALSE(mask->Pixels(none));
}

// Rows of the buffer are bottom-up: its last row in memory is the top one
// drawn. The block starts at the buffer's lower-left corner.
TEST(GdiCanvas, SetDIBitsToDeviceFromBottomUpBuffer) {
  // 2 x 3 buffer, memory rows bottom first: red, blue, green.
  const std::uint32_t bits[] = {0xFF0000, 0xFF0000, 0x0000FF, 0x0000FF, 0x00FF00, 0x00FF00};
  platform::PixelBuffer buffer{const_cast<std::uint32_t*>(bits), 2, 3, true};
  auto canvas = NewDib(4, 4);
  canvas->SetDIBitsToDevice(1, 1, 2, 3, buffer);
  EXPECT_EQ(PixelAt(*canvas, 1, 1), Rgb(0, 255, 0));
  EXPECT_EQ(PixelAt(*canvas, 2, 2), kBlue);
  EXPECT_EQ(PixelAt(*canvas, 1, 3), kRed);
  EXPECT_EQ(PixelAt(*canvas, 0, 0), kWhite);

  // A block shorter than the buffer: its lowest rows.
  auto small = NewDib(4, 4);
  small->SetDIBitsToDevice(0, 0, 2, 1, buffer);
  EXPECT_EQ(PixelAt(*small, 0, 0), kRed);
  EXPECT_EQ(PixelAt(*small, 0, 1), kWhite);
}

TEST(GdiCanvas, ClipLimitsDrawingUntilRemoved) {
  auto canvas = NewDib(10, 10);
  const Rect clip{2, 2, 5, 5};
  canvas->SetClipRect(&clip);
  Fill(*canvas, kRed);
  EXPECT_EQ(PixelAt(*canvas, 3, 3), kRed);
  EXPECT_EQ(PixelAt(*canvas, 6, 6), kWhite);
  const Rect other{6, 6, 8, 8};
  canvas->SetClipRect(&other);  // replaces, does not intersect with the old clip
  Fill(*canvas, kBlue);
  EXPECT_EQ(PixelAt(*canvas, 6, 6), kBlue);
  canvas->SetClipRect(nullptr);
  Fill(*canvas, kBlue);
  EXPECT_EQ(PixelAt(*canvas, 0, 0), kBlue);
}

TEST(GdiCanvas, ContextSettersReturnPreviousValues) {
  auto canvas = NewDib(2, 2);
  canvas->SetTextColour(kRed);
  EXPECT_EQ(canvas->SetTextColour(kBlue), kRed);
  canvas->SetBkColour(kBlue);
  EXPECT_EQ(canvas->SetBkColour(kRed), kBlue);
  EXPECT_EQ(canvas->SetBkMode(platform::BkMode::Transparent), platform::BkMode::Opaque);
  EXPECT_EQ(canvas->SetBkMode(platform::BkMode::Opaque), platform::BkMode::Transparent);
}

TEST(GdiCanvas, FontsAndText) {
  GdiGraphics graphics;
  auto big = graphics.CreateFont(platform::FontSpec{"Arial", 40, 700, 4});
  auto small = graphics.CreateFont(platform::FontSpec{"Arial", 12, 400, 0});
  ASSERT_NE(big, nullptr);
  ASSERT_NE(small, nullptr);
  auto canvas = NewDib(200, 100);

  EXPECT_EQ(canvas->SelectFont(big.get()), nullptr);
  Rect bigRect{0, 0, 0, 0};
  const int bigHeight = canvas->DrawText("Quorvel", bigRect, platform::dt::kCalcRect |
                                                                  platform::dt::kSingleLine);
  EXPECT_EQ(canvas->SelectFont(small.get()), big.get());
  Rect smallRect{0, 0, 0, 0};
  const int smallHeight = canvas->DrawText("Quorvel", smallRect, platform::dt::kCalcRect |
                                                                      platform::dt::kSingleLine);
  EXPECT_EQ(canvas->SelectFont(nullptr), small.get());
  EXPECT_GT(bigHeight, smallHeight);
  EXPECT_GT(bigRect.Width(), smallRect.Width());
  EXPECT_EQ(bigRect.Height(), bigHeight);

  // Two lines measure about twice as high as one; drawing puts ink down.
  canvas->SelectFont(small.get());
  Rect twoLines{0, 0, 200, 0};
  EXPECT_GE(canvas->DrawText("one\r\ntwo", twoLines, platform::dt::kCalcRect),
            2 * smallHeight - 1);
  canvas->SetTextColour(Rgb(0, 0, 0));
  canvas->SetBkMode(platform::BkMode::Transparent);
  Rect box{0, 0, 200, 100};
  canvas->DrawText("MMMM", box, platform::dt::kLeft);
  int ink = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) ink += PixelAt(*canvas, x, y) != kWhite;
  EXPECT_GT(ink, 10);
  canvas->SelectFont(nullptr);
}

TEST(GdiGraphics, LoadsBitmapResources) {
  GdiGraphics graphics;
  auto skin = graphics.LoadBitmap(IDB_SKIN);
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(skin->Width(), 232);
  EXPECT_EQ(skin->Height(), 150);
  auto logo = graphics.LoadBitmap(IDB_LOGO);
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(logo->Width(), 82);
  EXPECT_EQ(logo->Height(), 66);
  EXPECT_EQ(graphics.LoadBitmap(4321), nullptr);

  // What the bitmap holds arrives on a 32-bit surface unchanged in size.
  auto copy = NewDib(232, 150, kKeyMagenta);
  copy->BitBlt(0, 0, 232, 150, *skin, 0, 0, platform::Rop::SrcCopy);
  int magenta = 0;
  for (int x = 0; x < 232; x += 7) magenta += PixelAt(*copy, x, 75) == kKeyMagenta;
  EXPECT_LT(magenta, 232 / 7);
}

TEST(GdiCanvas, MadeCanvasesHaveTheirSizeAndFormat) {
  auto root = NewDib(4, 4);
  auto compatible = root->CreateCompatible(30, 20);
  ASSERT_NE(compatible, nullptr);
  EXPECT_EQ(compatible->Width(), 30);
  EXPECT_EQ(compatible->Height(), 20);
  auto dib = compatible->CreateDib32(5, 6);
  ASSERT_NE(dib, nullptr);
  platform::PixelBuffer buffer;
  ASSERT_TRUE(dib->Pixels(buffer));
  EXPECT_EQ(buffer.width, 5);
  EXPECT_EQ(buffer.height, 6);
  EXPECT_TRUE(buffer.bottomUp);
  EXPECT_EQ(root->CreateCompatible(0, 5), nullptr);
  EXPECT_EQ(root->CreateDib32(5, -1), nullptr);
}

}  // namespace
}  // namespace quorvel::win32
