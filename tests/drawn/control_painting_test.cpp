// How a control reaches its surface without a desktop: drawn over what lies
// behind it, shown again without drawing after the desktop lost it, drawn
// again when its size changed, never while hidden; and the bitmap static
// sized to its picture or centring it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawn/fake_dialog.h"

namespace quorvel::drawn::testing {
namespace {

using platform::ControlKind;

constexpr Colour kPaper = Rgb(200, 200, 200);
constexpr Colour kInk = Rgb(0, 0, 255);
constexpr Colour kBrush = Rgb(10, 20, 30);

// One string per row: '.' paper, '#' ink, 'o' the dialog's brush.
std::vector<std::string> Picture(const raster::Surface& s) {
  std::vector<std::string> rows;
  for (int y = 0; y < s.height(); ++y) {
    std::string row;
    for (int x = 0; x < s.width(); ++x) {
      const Colour c = raster::ColourOf(s.Row(y)[x]);
      row += c == kPaper ? '.' : c == kInk ? '#' : c == kBrush ? 'o' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

raster::Surface Filled(int width, int height, Colour c) {
  raster::Surface s(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) s.Row(y)[x] = raster::PixelOf(c);
  }
  return s;
}

TEST(ControlPainting, AControlIsDrawnOverTheDialogsPictureElseItsBrush) {
  // An owner-drawn button whose handler draws nothing shows what is behind.
  FakeDialog dialog;
  dialog.handlers_.brush = kBrush;
  dialog.Make({LayoutOf(1, ControlKind::OwnerDrawButton, Rect{2, 1, 5, 3})});
  Control& button = *dialog.controls().Find(1);
  button.Paint();
  EXPECT_EQ(Picture(button.picture()), (std::vector<std::string>{"ooo", "ooo"}));

  raster::Surface behind = Filled(6, 4, kPaper);
  behind.Row(1)[2] = raster::PixelOf(kInk);
  behind.Row(2)[4] = raster::PixelOf(kInk);
  dialog.picture = &behind;
  button.Paint();
  EXPECT_EQ(Picture(button.picture()), (std::vector<std::string>{"#..", "..#"}));
  EXPECT_EQ(dialog.paintedControls, 2);
}

TEST(ControlPainting, AfterAnExposureTheSamePixelsAreShownAgainUnlessTheSizeChanged) {
  FakeDialog dialog;
  dialog.Make({LayoutOf(1, ControlKind::OwnerDrawButton, Rect{0, 0, 40, 30})});
  Control& button = *dialog.controls().Find(1);
  FakeSurface& surface = dialog.SurfaceOf(1);
  EXPECT_EQ(surface.pointer, PointerInput::ButtonsAndCrossing);
  button.PaintIfInvalid();  // a new control is invalid
  EXPECT_EQ(surface.prepared, 1);
  EXPECT_EQ(surface.presented, 1);
  EXPECT_FALSE(button.invalid());

  button.MarkExposed();
  EXPECT_TRUE(button.invalid());
  button.PaintIfInvalid();
  EXPECT_EQ(surface.prepared, 1);  // not drawn again
  EXPECT_EQ(surface.presented, 2);

  button.Move(Rect{10, 10, 60, 40}, false);  // a new size is drawn anew
  EXPECT_EQ(surface.place.left, 10);
  button.MarkExposed();
  button.PaintIfInvalid();
  EXPECT_EQ(surface.prepared, 2);
  EXPECT_EQ(button.picture().width(), 50);

  button.Move(Rect{20, 10, 70, 40}, false);  // moved only: nothing to draw
  EXPECT_FALSE(button.invalid());
  button.Move(Rect{20, 20, 70, 50}, true);  // unless asked to
  EXPECT_TRUE(button.invalid());

  button.Show(false);
  EXPECT_FALSE(surface.visible);
  EXPECT_FALSE(button.invalid());
  button.PaintIfInvalid();
  EXPECT_EQ(surface.prepared, 2);
  button.Show(true);
  EXPECT_TRUE(surface.visible);
  button.PaintIfInvalid();
  EXPECT_EQ(surface.prepared, 3);

  button.ReleaseSurface();
  EXPECT_TRUE(button.picture().empty());
  EXPECT_FALSE(button.painted());
  button.Paint();  // without a surface there is nothing to draw into
  EXPECT_EQ(dialog.paintedControls, 3);
}

TEST(ControlPainting, ABitmapStaticTakesItsPictureSizeOrCentresIt) {
  raster::Surface bitmap = Filled(3, 2, kPaper);
  bitmap.Row(1)[2] = raster::PixelOf(kInk);

  FakeDialog dialog;
  dialog.graphics_.bitmaps[50] = std::move(bitmap);
  ControlLayout sized = LayoutOf(1, ControlKind::BitmapStatic, Rect{4, 4, 20, 20});
  sized.bitmapId = 50;
  ControlLayout centred = LayoutOf(2, ControlKind::BitmapStatic, Rect{0, 0, 5, 4});
  centred.bitmapId = 50;
  centred.centreImage = true;
  dialog.Make({sized, centred});

  Control& first = *dialog.controls().Find(1);
  EXPECT_EQ(first.rect().Width(), 3);
  EXPECT_EQ(first.rect().Height(), 2);
  first.Paint();
  EXPECT_EQ(Picture(first.picture()), (std::vector<std::string>{"...", "..#"}));

  Control& second = *dialog.controls().Find(2);
  second.Paint();
  // The rest is filled in the colour of the picture's top-left pixel.
  EXPECT_EQ(Picture(second.picture()),
            (std::vector<std::string>{".....", ".....", "...#.", "....."}));
}

}  // namespace
}  // namespace quorvel::drawn::testing
