// The steps every element takes: hiding, composing off screen, the
// children's parent rectangle; and the box, gradient and text pictures.
#include <gtest/gtest.h>

#include <random>

#include "element_builders.h"
#include "raster/pixel_helpers.h"
#include "raster/raster_font.h"
#include "recording_canvas.h"
#include "skin/box_element.h"
#include "skin/gradient_element.h"
#include "skin/text_element.h"
#include "skin_pixels.h"

namespace quorvel {
namespace {

using raster::RasterCanvas;
using raster::testing::At;
using raster::testing::FilledCanvas;
using testing::FirstDifference;
using testing::PlaceAt;
using testing::RecordingCanvas;
using testing::SolidBox;

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kGreen = Rgb(0, 255, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);

const SkinContext kSoftware{};

// Draws `root` into `window` over the whole window.
void DrawInto(platform::Canvas& window, const ScreenElement& root) {
  auto skin = RasterCanvas::CreateMemory(1, 1);
  root.Draw(window, Rect{0, 0, window.Width(), window.Height()}, *skin, kSoftware);
}

TEST(ScreenElement, HiddenOneHidesTheSubtreeOtherValuesDraw) {
  struct Case {
    std::uint8_t hidden;
    bool drawn;
  };
  for (const Case c : {Case{0, true}, Case{1, false}, Case{2, true}, Case{255, true}}) {
    BoxElement parent = SolidBox(Rect{4, 4, 8, 8}, kRed);
    BoxElement child = SolidBox(Rect{0, 0, 2, 2}, kGreen);
    parent.child = &child;
    parent.hidden = c.hidden;
    auto window = FilledCanvas(10, 10, kWhite);
    DrawInto(*window, parent);
    EXPECT_EQ(At(window->surface(), 5, 5), c.drawn ? kRed : kWhite) << int{c.hidden};
    EXPECT_EQ(At(window->surface(), 1, 1), c.drawn ? kGreen : kWhite) << int{c.hidden};
  }
}

TEST(ScreenElement, ChildrenDrawInChainOrderAfterTheirParent) {
  BoxElement parent = SolidBox(Rect{0, 0, 6, 6}, kRed);
  BoxElement first = SolidBox(Rect{1, 1, 4, 4}, kGreen);
  BoxElement second = SolidBox(Rect{3, 3, 5, 5}, kBlue);
  parent.child = &first;
  first.next = &second;
  auto window = FilledCanvas(6, 6, kWhite);
  DrawInto(*window, parent);
  EXPECT_EQ(At(window->surface(), 0, 0), kRed);
  EXPECT_EQ(At(window->surface(), 1, 1), kGreen);
  EXPECT_EQ(At(window->surface(), 3, 3), kBlue);
  EXPECT_EQ(At(window->surface(), 5, 5), kRed);
}

// A child placed at absolute (2, 2, 6, 6) lands there in the window under a
// direct parent, but inside the parent's surface (so at the parent's corner
// plus (2, 2)) under an off-screen parent; a per-cent child measures the
// parent's rectangle either way.
TEST(ScreenElement, ChildrenOfOffscreenElementsDrawInTheSurfacesCoordinates) {
  struct Case {
    std::uint8_t comp;
    Rect childAt;  // where the absolute child shows in the window
  };
  for (const Case c : {Case{0, Rect{2, 2, 6, 6}}, Case{1, Rect{12, 12, 16, 16}},
                       Case{2, Rect{12, 12, 16, 16}}}) {
    BoxElement parent = SolidBox(Rect{10, 10, 30, 30}, kKeyMagenta);  // draws no box
    parent.comp = c.comp;
    parent.alpha = 255;
    BoxElement child = SolidBox(Rect{2, 2, 6, 6}, kGreen);
    parent.child = &child;
    auto window = FilledCanvas(32, 32, kWhite);
    DrawInto(*window, parent);
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        ASSERT_EQ(At(window->surface(), x, y), c.childAt.Contains(Point{x, y}) ? kGreen : kWhite)
            << "comp " << int{c.comp} << " (" << x << ", " << y << ")";
      }
    }
  }
}

TEST(ScreenElement, OffscreenElementsKeepTheWindowWhereNothingWasPainted) {
  std::mt19937 rng(5);
  auto before = RasterCanvas::CreateMemory(20, 16);
  testing::FillRandom(before->surface(), rng, 0, false);
  for (testing::RecordingSetup setup : {testing::RecordingSetup{true, false},
                                        testing::RecordingSetup{false, false}}) {
    BoxElement panel = SolidBox(Rect{3, 2, 17, 14}, kKeyMagenta);
    panel.comp = 1;
    BoxElement child = SolidBox(Rect{4, 4, 6, 7}, kRed);
    panel.child = &child;
    RecordingCanvas window(20, 16, setup);
    testing::CopyPixels(before->surface(), window.surface());
    DrawInto(window, panel);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 20; ++x) {
        const bool painted = x >= 7 && x < 9 && y >= 6 && y < 9;
        ASSERT_EQ(At(window.surface(), x, y), painted ? kRed : At(before->surface(), x, y))
            << "fast path " << setup.fastPaths << " (" << x << ", " << y << ")";
      }
    }
  }
}

TEST(ScreenElement, BlendedAtFullOpacityEqualsColourKeyedAndHalfwayBlends) {
  auto render = [](std::uint8_t comp, std::uint8_t alpha) {
    GradientElement band;
    PlaceAt(band, Rect{2, 2, 30, 12});
    band.color1 = Rgb(10, 200, 30);
    band.color2 = Rgb(250, 20, 90);
    band.comp = comp;
    band.alpha = alpha;
    BoxElement stripe = SolidBox(Rect{0, 0, 28, 3}, kBlue);
    GradientElement hole;  // magenta to magenta: a hole in the surface
    PlaceAt(hole, Rect{5, 4, 9, 8});
    hole.color1 = hole.color2 = kKeyMagenta;
    band.child = &stripe;
    stripe.next = &hole;
    auto window = FilledCanvas(32, 14, kBlack);
    DrawInto(*window, band);
    return window;
  };
  auto keyed = render(1, 0);
  EXPECT_EQ(FirstDifference(render(2, 255)->surface(), keyed->surface()), "");
  EXPECT_EQ(FirstDifference(render(7, 254)->surface(), keyed->surface()), "");
  // The blue outline at half opacity over black: (0 * 256 + 255 * 128) >> 8.
  auto half = render(2, 128);
  EXPECT_EQ(At(half->surface(), 2, 2), Rgb(0, 0, 127));
  EXPECT_EQ(At(half->surface(), 0, 0), kBlack);
  EXPECT_EQ(At(half->surface(), 8, 7), kBlack);  // under the hole
  EXPECT_EQ(At(keyed->surface(), 8, 7), kBlack);
}

TEST(BoxElement, MagentaFillDrawsOnlyTheChildren) {
  BoxElement box = SolidBox(Rect{1, 1, 9, 9}, kKeyMagenta);
  box.penColor = kBlack;  // an outline would show if the box were drawn
  BoxElement child = SolidBox(Rect{4, 4, 6, 6}, kGreen);
  box.child = &child;
  auto window = FilledCanvas(10, 10, kWhite);
  DrawInto(*window, box);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool inChild = x >= 4 && x < 6 && y >= 4 && y < 6;
      ASSERT_EQ(At(window->surface(), x, y), inChild ? kGreen : kWhite) << x << ", " << y;
    }
  }
}

TEST(BoxElement, RoundedUnlessBothEllipseSizesAreZero) {
  struct Case {
    int rx, ry;
    const char* call;
  };
  const Case cases[] = {
      {0, 0, "Rectangle 1,1,11,9"},
      {0, 5, "RoundRect 1,1,11,9,0,5"},
      {5, 0, "RoundRect 1,1,11,9,5,0"},
      {6, 6, "RoundRect 1,1,11,9,6,6"},
  };
  for (const Case& c : cases) {
    BoxElement box = SolidBox(Rect{1, 1, 11, 9}, kRed);
    box.penColor = kBlack;
    box.rx = c.rx;
    box.ry = c.ry;
    RecordingCanvas window(12, 10);
    DrawInto(window, box);
    EXPECT_EQ(window.log(), testing::CallLog{c.call});
  }
  // A real ellipse cuts the corner that a rectangle's outline fills.
  BoxElement round = SolidBox(Rect{1, 1, 11, 9}, kRed);
  round.penColor = kBlack;
  round.rx = round.ry = 6;
  auto window = FilledCanvas(12, 10, kWhite);
  DrawInto(*window, round);
  EXPECT_EQ(At(window->surface(), 1, 1), kWhite);
  EXPECT_EQ(At(window->surface(), 5, 1), kBlack);
}

TEST(BoxElement, HatchedBrushAndPen) {
  BoxElement box = SolidBox(Rect{0, 0, 10, 10}, kRed);
  box.hatch = 0;  // HS_HORIZONTAL
  box.penColor = kBlue;
  box.penWidth = 2;
  auto window = FilledCanvas(10, 10, kWhite);
  DrawInto(*window, box);
  auto direct = FilledCanvas(10, 10, kWhite);
  direct->SetBkMode(platform::BkMode::Opaque);
  direct->Rectangle(Rect{0, 0, 10, 10}, platform::Pen{platform::kPenSolid, 2, kBlue},
                    platform::Brush{kRed, 0});
  EXPECT_EQ(FirstDifference(window->surface(), direct->surface()), "");
  EXPECT_EQ(At(window->surface(), 1, 1), kBlue);
}

TEST(GradientElement, FillsItsRectangle) {
  GradientElement g;
  g.lVal = 3;  // inset 3 on the left, 2 at the bottom
  g.bVal = 2;
  g.color1 = Rgb(0, 0, 0);
  g.color2 = Rgb(200, 100, 50);
  auto window = FilledCanvas(12, 6, kWhite);
  DrawInto(*window, g);
  auto direct = FilledCanvas(12, 6, kWhite);
  direct->GradientFillH(Rect{3, 0, 12, 4}, g.color1, g.color2);
  EXPECT_EQ(FirstDifference(window->surface(), direct->surface()), "");
}

// The shadow is the text's own ink moved by the mode's offset. The text is
// drawn in the window's colour, so only the shadow shows except where the
// text covers it; a black render without shadow gives the ink to expect.
TEST(TextElement, ShadowFallsByItsMode) {
  auto element = [](Colour colour, std::int32_t shadowMode) {
    TextElement t;
    PlaceAt(t, Rect{4, 3, 60, 30});
    t.text = "Hx";
    t.font = nullptr;  // the system font
    t.color = colour;
    t.shadowColor = kBlack;
    t.shadowMode = shadowMode;
    t.dtFormat = platform::dt::kSingleLine | platform::dt::kNoPrefix;
    return t;
  };
  auto ink = FilledCanvas(64, 32, kWhite);
  DrawInto(*ink, element(kBlack, kNoShadow));

  struct Case {
    std::int32_t mode;
    bool shadow;
    int dx, dy;
  };
  const Case cases[] = {{0, false, 0, 0}, {1, true, 2, 1}, {2, true, 2, 2}, {3, false, 0, 0},
                        {-1, false, 0, 0}};
  for (const Case& c : cases) {
    auto window = FilledCanvas(64, 32, kWhite);
    DrawInto(*window, element(kWhite, c.mode));
    int shadowPixels = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 64; ++x) {
        const Colour got = At(window->surface(), x, y);
        if (got != kWhite) ++shadowPixels;
        if (!c.shadow) {
          ASSERT_EQ(got, kWhite) << "mode " << c.mode << " (" << x << ", " << y << ")";
          continue;
        }
        if (At(ink->surface(), x, y) != kWhite) continue;  // under the text itself
        const int sx = x - c.dx;
        const int sy = y - c.dy;
        const Colour want = sx >= 0 && sy >= 0 ? At(ink->surface(), sx, sy) : kWhite;
        ASSERT_EQ(got, want) << "mode " << c.mode << " (" << x << ", " << y << ")";
      }
    }
    if (c.shadow) {
      EXPECT_GT(shadowPixels, 20) << "mode " << c.mode;
    }
  }
}

TEST(TextElement, RestoresTheFontAndLeavesTheBackgroundTransparent) {
  auto callers = raster::CreateRasterFont(platform::FontSpec{"Sans", 12, 400, 4});
  auto own = raster::CreateRasterFont(platform::FontSpec{"Sans", 14, 700, 4});
  TextElement t;
  t.text = "x";
  t.font = own.get();
  RecordingCanvas window(20, 20);
  window.SelectFont(callers.get());
  window.SetBkMode(platform::BkMode::Opaque);
  DrawInto(window, t);
  EXPECT_EQ(window.SelectFont(nullptr), callers.get());
  EXPECT_EQ(window.SetBkMode(platform::BkMode::Opaque), platform::BkMode::Transparent);
}

}  // namespace
}  // namespace quorvel
