// The nine pieces of an image element: where each comes from and goes,
// tiled and stretched, and the clip.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "element_builders.h"
#include "raster/pixel_helpers.h"
#include "recording_canvas.h"
#include "skin/image_element.h"
#include "skin_pixels.h"

namespace quorvel {
namespace {

using raster::PixelOf;
using raster::RasterCanvas;
using raster::testing::At;
using raster::testing::FilledCanvas;
using raster::testing::Picture;
using testing::PlaceAt;

constexpr Colour kWhite = Rgb(255, 255, 255);
const SkinContext kSoftware{};

// Pixels named by characters: each character c is the colour Rgb(c, 7, 0);
// '.' in a picture is white.
Colour Named(char c) { return Rgb(static_cast<unsigned char>(c), 7, 0); }

std::map<Colour, char> Legend(const std::string& names) {
  std::map<Colour, char> legend{{kWhite, '.'}};
  for (char c : names) legend[Named(c)] = c;
  return legend;
}

// A skin whose piece at (1, 1) is the 6 x 6 block below, with margins of 2
// all round: corners "AB/GH", "EF/KL", "YZ/56", "34/90"; edges "cd/ij"
// (top), "MN/ST" (left), "QR/WX" (right), "12/78" (bottom); centre "op/uv".
// The skin's other pixels are '#', which must never show.
constexpr const char* kPiece[] = {"ABcdEF", "GHijKL", "MNopQR", "STuvWX", "YZ1234", "567890"};
const std::string kPieceNames = "ABcdEFGHijKLMNopQRSTuvWXYZ1234567890#";

std::unique_ptr<RasterCanvas> NinePieceSkin() {
  auto skin = FilledCanvas(8, 8, Named('#'));
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) skin->surface().Row(y + 1)[x + 1] = PixelOf(Named(kPiece[y][x]));
  }
  return skin;
}

ImageElement NinePieceImage(const Rect& at) {
  ImageElement e;
  PlaceAt(e, at);
  e.source = Rect{1, 1, 7, 7};
  e.marginLeft = e.marginTop = e.marginRight = e.marginBottom = 2;
  return e;
}

TEST(ImageElement, TiledPiecesInTheirOrder) {
  // 9 x 7: the middle is 5 x 3. Edges and centre repeat whole tiles from
  // their top-left corners; the pieces drawn later (top-right, bottom-left,
  // bottom, right, bottom-right) cover what the tiles overran.
  auto skin = NinePieceSkin();
  const ImageElement e = NinePieceImage(Rect{1, 1, 10, 8});
  auto window = FilledCanvas(11, 9, kWhite);
  e.Draw(*window, Rect{0, 0, 11, 9}, *skin, kSoftware);
  const std::vector<std::string> want = {
      "...........",
      ".ABcdcdcEF.",
      ".GHijijiKL.",
      ".MNopopoQR.",
      ".STuvuvuWX.",
      ".MNopopoQR.",
      ".YZ1212134.",
      ".567878790.",
      "...........",
  };
  EXPECT_EQ(Picture(window->surface(), Legend(kPieceNames)), want);
}

TEST(ImageElement, StretchedPieces) {
  auto skin = NinePieceSkin();
  ImageElement e = NinePieceImage(Rect{1, 1, 9, 9});
  e.stretchLeft = e.stretchTop = e.stretchRight = e.stretchBottom = e.stretchCentre = 1;
  auto window = FilledCanvas(10, 10, kWhite);
  e.Draw(*window, Rect{0, 0, 10, 10}, *skin, kSoftware);
  const std::vector<std::string> want = {
      "..........",
      ".ABccddEF.",
      ".GHiijjKL.",
      ".MNooppQR.",
      ".MNooppQR.",
      ".STuuvvWX.",
      ".STuuvvWX.",
      ".YZ112234.",
      ".56778890.",
      "..........",
  };
  EXPECT_EQ(Picture(window->surface(), Legend(kPieceNames)), want);
}

TEST(ImageElement, HalftoneStaysSetOnTheContext) {
  auto skin = NinePieceSkin();
  for (int halftone : {0, 1}) {
    ImageElement e = NinePieceImage(Rect{0, 0, 8, 8});
    e.halftone = halftone;
    auto window = FilledCanvas(8, 8, kWhite);
    e.Draw(*window, Rect{0, 0, 8, 8}, *skin, kSoftware);
    EXPECT_EQ(window->SetStretchMode(platform::StretchMode::Plain),
              halftone ? platform::StretchMode::Halftone : platform::StretchMode::Plain);
  }
}

// Margins 0 and a source as wide as the rectangle: the centre grid has two
// columns (45 / 45 + 1) and the clip cuts the second whole.
TEST(ImageElement, CentreGridTilesFromTheCornerAndTheClipCutsTheRest) {
  auto skin = RasterCanvas::CreateMemory(60, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 60; ++x) skin->surface().Row(y)[x] = PixelOf(Rgb(x + 1, 40 + y, 0));
  }
  ImageElement e;
  PlaceAt(e, Rect{10, 3, 55, 7});
  e.source = Rect{5, 0, 50, 4};
  testing::RecordingCanvas window(100, 10);
  raster::testing::Fill(window.surface(), kWhite);
  e.Draw(window, Rect{0, 0, 100, 10}, *skin, kSoftware);

  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 100; ++x) {
      const bool inside = x >= 10 && x < 55 && y >= 3 && y < 7;
      const Colour want = inside ? Rgb(x - 10 + 5 + 1, 40 + y - 3, 0) : kWhite;
      ASSERT_EQ(At(window.surface(), x, y), want) << x << ", " << y;
    }
  }
  const testing::CallLog& log = window.log();
  const testing::CallLog centre = {
      "BitBlt 10,3,45,4,5,0,0", "BitBlt 55,3,45,4,5,0,0",
      "BitBlt 10,7,45,4,5,0,0", "BitBlt 55,7,45,4,5,0,0"};
  testing::CallLog tiles;
  for (const std::string& call : log) {
    if (call.find(",45,4,") != std::string::npos) tiles.push_back(call);
  }
  EXPECT_EQ(tiles, centre);
}

TEST(ImageElement, WiderRectangleRepeatsTheCentre) {
  auto skin = RasterCanvas::CreateMemory(3, 1);
  for (int x = 0; x < 3; ++x) skin->surface().Row(0)[x] = PixelOf(Rgb(10 * (x + 1), 0, 0));
  ImageElement e;
  PlaceAt(e, Rect{2, 0, 10, 2});
  e.source = Rect{0, 0, 3, 1};
  auto window = FilledCanvas(12, 2, kWhite);
  e.Draw(*window, Rect{0, 0, 12, 2}, *skin, kSoftware);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 12; ++x) {
      const Colour want = x >= 2 && x < 10 ? Rgb(10 * ((x - 2) % 3 + 1), 0, 0) : kWhite;
      EXPECT_EQ(At(window->surface(), x, y), want) << x << ", " << y;
    }
  }
}

TEST(ImageElement, EmptySourcePieceDrawsNothingNotEvenChildren) {
  auto skin = NinePieceSkin();
  for (const Rect& source : {Rect{1, 1, 1, 7}, Rect{1, 1, 7, 1}, Rect{7, 1, 1, 7}}) {
    ImageElement e = NinePieceImage(Rect{0, 0, 8, 8});
    e.source = source;
    BoxElement child = testing::SolidBox(Rect{1, 1, 3, 3}, Rgb(0, 255, 0));
    e.child = &child;
    for (std::uint8_t comp : {0, 1}) {
      e.comp = comp;
      testing::RecordingCanvas window(8, 8);
      raster::testing::Fill(window.surface(), kWhite);
      e.Draw(window, Rect{0, 0, 8, 8}, *skin, kSoftware);
      EXPECT_TRUE(window.log().empty());
      EXPECT_EQ(At(window.surface(), 2, 2), kWhite);
    }
  }
}

TEST(ImageElement, ClipIsRemovedAfterwardsAndTheChildrenAreNotClipped) {
  auto skin = NinePieceSkin();
  ImageElement e = NinePieceImage(Rect{2, 2, 6, 6});
  BoxElement child = testing::SolidBox(Rect{0, 0, 2, 2}, Rgb(0, 255, 0));
  e.child = &child;
  auto window = FilledCanvas(10, 10, kWhite);
  const Rect callersClip{0, 0, 5, 5};
  window->SetClipRect(&callersClip);
  e.Draw(*window, Rect{0, 0, 10, 10}, *skin, kSoftware);
  EXPECT_EQ(At(window->surface(), 0, 0), Rgb(0, 255, 0));  // outside the image
  window->Rectangle(Rect{8, 8, 10, 10}, platform::Pen{platform::kPenSolid, 0, Rgb(0, 0, 255)},
                    platform::Brush{Rgb(0, 0, 255), platform::kHatchNone});
  EXPECT_EQ(At(window->surface(), 9, 9), Rgb(0, 0, 255));  // the caller's clip is gone
}

TEST(ImageElement, OffscreenImageEqualsTheDirectOne) {
  auto skin = NinePieceSkin();
  auto direct = FilledCanvas(11, 9, kWhite);
  ImageElement e = NinePieceImage(Rect{1, 1, 10, 8});
  e.Draw(*direct, Rect{0, 0, 11, 9}, *skin, kSoftware);
  for (std::uint8_t comp : {1, 2}) {
    e.comp = comp;
    e.alpha = 255;
    auto composed = FilledCanvas(11, 9, kWhite);
    e.Draw(*composed, Rect{0, 0, 11, 9}, *skin, kSoftware);
    EXPECT_EQ(testing::FirstDifference(composed->surface(), direct->surface()), "") << int{comp};
  }
}

}  // namespace
}  // namespace quorvel
