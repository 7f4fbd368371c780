// Memory canvases: compatible, DIB and window-surface canvases, their sizes
// and pixels, and SetDIBitsToDevice.
#include <gtest/gtest.h>

#include <vector>

#include "pixel_helpers.h"

namespace quorvel::raster {
namespace {

using platform::Brush;
using platform::Pen;
using platform::PixelBuffer;
using testing::At;
using testing::FilledCanvas;
using testing::kBlue;
using testing::kGreen;
using testing::kRed;
using testing::kWhite;

TEST(RasterCanvas, DrawsIntoASurfaceOwnedElsewhere) {
  Surface window(4, 3);
  RasterCanvas canvas(&window);
  EXPECT_EQ(canvas.Width(), 4);
  EXPECT_EQ(canvas.Height(), 3);
  EXPECT_EQ(&canvas.surface(), &window);
  canvas.Rectangle(Rect{0, 0, 4, 3}, Pen{platform::kPenSolid, 0, kRed}, Brush{kRed, -1});
  EXPECT_EQ(window.Row(2)[3], PixelOf(kRed));
  PixelBuffer pixels;
  EXPECT_FALSE(canvas.Pixels(pixels));
}

TEST(RasterCanvas, CompatibleCanvasesAreZeroFilledAndSized) {
  auto screen = FilledCanvas(2, 2, kWhite);
  auto memory = screen->CreateCompatible(5, 4);
  ASSERT_TRUE(memory);
  EXPECT_EQ(memory->Width(), 5);
  EXPECT_EQ(memory->Height(), 4);
  auto& surface = static_cast<RasterCanvas&>(*memory).surface();
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(surface.Row(y)[x], 0u);
  }
  PixelBuffer pixels;
  EXPECT_FALSE(memory->Pixels(pixels));
  EXPECT_FALSE(screen->CreateCompatible(-1, 4));
  EXPECT_FALSE(RasterCanvas::CreateMemory(3, -3));
}

TEST(RasterCanvas, DibCanvasesExposeBottomUpPixels) {
  auto screen = FilledCanvas(1, 1, kWhite);
  auto dib = screen->CreateDib32(3, 2);
  ASSERT_TRUE(dib);
  PixelBuffer pixels;
  ASSERT_TRUE(dib->Pixels(pixels));
  EXPECT_TRUE(pixels.bottomUp);
  EXPECT_EQ(pixels.width, 3);
  EXPECT_EQ(pixels.height, 2);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(pixels.pixels[i], 0u);

  // Drawing on the top row lands in the last row of memory.
  dib->Rectangle(Rect{0, 0, 3, 1}, Pen{platform::kPenSolid, 0, kRed}, Brush{kRed, -1});
  EXPECT_EQ(pixels.pixels[0], 0u);
  EXPECT_EQ(pixels.pixels[3], PixelOf(kRed));
  EXPECT_EQ(pixels.pixels[5], PixelOf(kRed));

  // Writing memory shows through the canvas: the first memory row is the bottom.
  pixels.pixels[1] = PixelOf(kBlue);
  EXPECT_EQ(At(static_cast<RasterCanvas&>(*dib).surface(), 1, 1), kBlue);
}

TEST(RasterCanvas, StateSettersReturnThePreviousValue) {
  auto canvas = RasterCanvas::CreateMemory(1, 1);
  EXPECT_EQ(canvas->SetTextColour(kRed), Rgb(0, 0, 0));
  EXPECT_EQ(canvas->SetTextColour(kBlue), kRed);
  EXPECT_EQ(canvas->SetBkColour(kGreen), kWhite);
  EXPECT_EQ(canvas->SetBkColour(kRed), kGreen);
  EXPECT_EQ(canvas->SetBkMode(platform::BkMode::Transparent), platform::BkMode::Opaque);
  EXPECT_EQ(canvas->SetBkMode(platform::BkMode::Opaque), platform::BkMode::Transparent);
  EXPECT_EQ(canvas->SetStretchMode(platform::StretchMode::Halftone), platform::StretchMode::Plain);
  EXPECT_EQ(canvas->SetStretchMode(platform::StretchMode::Plain), platform::StretchMode::Halftone);
  platform::Font* const none = nullptr;
  EXPECT_EQ(canvas->SelectFont(none), nullptr);
}

// A 3 x 3 bottom-up buffer: memory row 0 (the picture's bottom) red, row 1
// green, row 2 (the top) blue.
std::vector<std::uint32_t> StripedBuffer() {
  std::vector<std::uint32_t> memory;
  for (Colour c : {kRed, kGreen, kBlue}) {
    for (int i = 0; i < 3; ++i) memory.push_back(PixelOf(c));
  }
  return memory;
}

TEST(SetDIBitsToDevice, WritesABottomUpBufferTheRightWayUp) {
  auto memory = StripedBuffer();
  const PixelBuffer bits{memory.data(), 3, 3, true};
  auto canvas = FilledCanvas(5, 5, kWhite);
  canvas->SetDIBitsToDevice(1, 1, 3, 3, bits);
  EXPECT_EQ(At(canvas->surface(), 1, 1), kBlue);
  EXPECT_EQ(At(canvas->surface(), 3, 2), kGreen);
  EXPECT_EQ(At(canvas->surface(), 2, 3), kRed);
  EXPECT_EQ(At(canvas->surface(), 0, 1), kWhite);
  EXPECT_EQ(At(canvas->surface(), 4, 3), kWhite);
  EXPECT_EQ(At(canvas->surface(), 2, 4), kWhite);
}

TEST(SetDIBitsToDevice, ShorterBlockTakesTheBufferBottomRows) {
  // The source origin is the buffer's lower-left corner.
  auto memory = StripedBuffer();
  const PixelBuffer bits{memory.data(), 3, 3, true};
  auto canvas = FilledCanvas(3, 3, kWhite);
  canvas->SetDIBitsToDevice(0, 0, 2, 2, bits);
  EXPECT_EQ(At(canvas->surface(), 0, 0), kGreen);
  EXPECT_EQ(At(canvas->surface(), 1, 1), kRed);
  EXPECT_EQ(At(canvas->surface(), 2, 0), kWhite);
  EXPECT_EQ(At(canvas->surface(), 0, 2), kWhite);
}

TEST(SetDIBitsToDevice, IsClippedToTheSurfaceAndClipRect) {
  auto memory = StripedBuffer();
  const PixelBuffer bits{memory.data(), 3, 3, true};
  auto canvas = FilledCanvas(4, 4, kWhite);
  const Rect clip{0, 0, 4, 2};
  canvas->SetClipRect(&clip);
  canvas->SetDIBitsToDevice(-1, -1, 3, 3, bits);  // block rows: blue, green, red
  EXPECT_EQ(At(canvas->surface(), 0, 0), kGreen);
  EXPECT_EQ(At(canvas->surface(), 1, 1), kRed);
  canvas->SetDIBitsToDevice(2, 1, 3, 3, bits);
  EXPECT_EQ(At(canvas->surface(), 3, 1), kBlue);
  EXPECT_EQ(At(canvas->surface(), 3, 2), kWhite);  // below the clip
  EXPECT_EQ(At(canvas->surface(), 2, 3), kWhite);
}

}  // namespace
}  // namespace quorvel::raster
