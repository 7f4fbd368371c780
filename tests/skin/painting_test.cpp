// The main window's picture as PaintSkin composes it on software surfaces:
// the real skin (fonts from the raster, the skin bitmap from res/bmp/), the
// screen flags, the slide offsets, the cross-fade and the advice panel; and
// the owner-drawn results buttons before and after a run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/resource_ids.h"
#include "raster/bmp.h"
#include "raster/pixel_helpers.h"
#include "raster/raster_font.h"
#include "skin/owner_buttons.h"
#include "skin/skin_colours.h"
#include "skin/skin_painter.h"
#include "skin_pixels.h"

namespace quorvel {
namespace {

using raster::RasterCanvas;
using raster::Surface;
using raster::testing::At;
using raster::testing::FilledCanvas;
using testing::FirstDifference;

constexpr int kW = 1024;
constexpr int kH = 768;
// What the window held before a paint: any pixel still this colour was not
// painted.
constexpr Colour kUnpainted = Rgb(0, 255, 0);

// The program's bitmaps as the resource files hold them: res/bmp/<id>_*.bmp.
std::unique_ptr<RasterCanvas> LoadResourceBitmap(int id) {
  const std::filesystem::path dir =
      std::filesystem::path(QUORVEL_TEST_FIXTURES) / ".." / ".." / "res" / "bmp";
  const std::string prefix = std::to_string(id) + "_";
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    return raster::DecodeBmp(bytes.data(), bytes.size());
  }
  return nullptr;
}

// The raster's fonts and the resource files' bitmaps, as the X11 backend
// makes them.
class RasterGraphics : public platform::Graphics {
 public:
  std::unique_ptr<platform::Font> CreateFont(const platform::FontSpec& spec) override {
    return raster::CreateRasterFont(spec);
  }
  std::unique_ptr<platform::Canvas> LoadBitmap(int id) override { return LoadResourceBitmap(id); }
};

// Per channel, as the skin's software blend does: d + (s - d) * a / 256.
Colour Blend(Colour d, Colour s, int alpha) {
  auto channel = [alpha](int dc, int sc) { return (dc * 256 + (sc - dc) * alpha) >> 8; };
  return Rgb(channel(RedOf(d), RedOf(s)), channel(GreenOf(d), GreenOf(s)),
             channel(BlueOf(d), BlueOf(s)));
}

std::string Describe(Colour c) {
  return "(" + std::to_string(RedOf(c)) + "," + std::to_string(GreenOf(c)) + "," +
         std::to_string(BlueOf(c)) + ")";
}

// The skin as the main dialog has it once it is up, with a results report
// of several lines.
class PaintingTest : public ::testing::Test {
 protected:
  PaintingTest() {
    skin.LoadResources(graphics);
    skin.Build(links, "www.quorvel.net");
    SystemInfo info;
    info.adapterLine = "Graphics Card : Test Adapter 9000";
    info.modeLine = "Current Mode : 1024 x 768 x 32 bits (60 Hz)";
    info.cpuLine = "CPU Speed : 2400 MHz";
    info.constantAlphaSentence = "Constant alpha blending is accelerated";
    info.perPixelAlphaSentence = "Per-pixel alpha blending is not accelerated";
    info.constantAlphaAccelerated = 1;
    info.adviceText = "Your graphics card accelerates the layered windows.";
    skin.ShowSystemFacts(info);
    skin.sysInfoPanel.alpha = 255;
    skin.resultPanel.alpha = 255;
    skin.reportText.text = "Quorvel Results\n\nGraphics Card : Test Adapter 9000\n"
                           "Overall Benchmark Score : 1234";
    skin.scoreText.text = "1234";
  }

  std::unique_ptr<RasterCanvas> Paint(const ScreenState& screen, int w = kW, int h = kH) {
    auto window = FilledCanvas(w, h, kUnpainted);
    PaintSkin(*window, skin, screen);
    return window;
  }

  static ScreenState Results() {
    ScreenState s;
    s.resultsScreenActive = 1;
    return s;
  }

  RasterGraphics graphics;
  LinkRects links;
  SkinContent skin;
};

TEST_F(PaintingTest, SkinResourcesLoadFromTheResourceFiles) {
  ASSERT_TRUE(skin.skinBitmap);
  EXPECT_EQ(skin.skinBitmap->Width(), 232);
  EXPECT_EQ(skin.skinBitmap->Height(), 150);
  for (const auto* font : {&skin.fonts.title, &skin.fonts.small, &skin.fonts.button,
                           &skin.fonts.body, &skin.fonts.heading}) {
    EXPECT_TRUE(*font);
  }
}

TEST_F(PaintingTest, MainScreenHasTheBandsAndTheContentAndNothingUnpainted) {
  auto window = Paint(ScreenState{});
  const Surface& s = window->surface();
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      ASSERT_NE(At(s, x, y), kUnpainted) << "(" << x << ", " << y << ")";
    }
  }
  EXPECT_EQ(At(s, 2, 2), skin::kBandBlue);
  EXPECT_EQ(At(s, kW - 2, 40), skin::kBandBlue);
  EXPECT_EQ(At(s, kW / 2, kH - 5), skin::kBandBlue);
  EXPECT_EQ(At(s, 30, kH / 2), skin::kLightBlue);
  EXPECT_EQ(At(s, kW - 30, 300), skin::kLightBlue);
}

// Antialiased text on the colour-keyed panels blends with what lies beneath
// it: no pixel leans toward the key colour (red and blue both well above
// green), on any screen, while the panels' text still has its soft edges.
TEST_F(PaintingTest, NoScreenShowsKeyTintedPixels) {
  ScreenState submit;
  submit.resultsScreenActive = 1;
  submit.submitScreenActive = 1;
  const std::pair<const char*, ScreenState> screens[] = {
      {"main", ScreenState{}}, {"results", Results()}, {"submit", submit}};
  for (const auto& [name, screen] : screens) {
    auto window = Paint(screen);
    const Surface& s = window->surface();
    int tinted = 0;
    int softEdges = 0;
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        const Colour c = At(s, x, y);
        const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
        if (r - g > 60 && b - g > 60 && tinted++ < 3) {
          ADD_FAILURE() << name << ": (" << x << ", " << y << ") is " << Describe(c);
        }
        // Between the light blue content and white text.
        softEdges += b > 230 && r > 110 && r < 230 && g > 140 && g < 240 && r < g;
      }
    }
    EXPECT_EQ(tinted, 0) << name;
    EXPECT_GT(softEdges, 200) << name << ": the text has lost its antialiased edges";
  }
}

// At the start of the slide-in the picture lies a whole window width to
// the left: the window is black.
TEST_F(PaintingTest, SlideInStartIsAllBlack) {
  ScreenState screen;
  screen.contentOffsetX = -kW;
  auto window = Paint(screen);
  const Surface& s = window->surface();
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      ASSERT_EQ(At(s, x, y), skin::kBlack) << "(" << x << ", " << y << ")";
    }
  }
}

// The slide-out moves the picture up and left: the strips it uncovers on
// the right and at the bottom are black, the rest is the picture shifted.
TEST_F(PaintingTest, SlideOutOffsetsShiftThePictureAndBlackenTheUncoveredStrips) {
  struct Case {
    int dx;
    int dy;
  };
  auto still = Paint(ScreenState{});
  for (const Case c : {Case{-100, -100}, Case{-1, 0}, Case{-kW + 1, -kH + 1}}) {
    ScreenState screen;
    screen.contentOffsetX = c.dx;
    screen.contentOffsetY = c.dy;
    auto moved = Paint(screen);
    const Surface& s = moved->surface();
    int wrong = 0;
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        const bool uncovered = x >= kW + c.dx || y >= kH + c.dy;
        const Colour want = uncovered ? skin::kBlack : At(still->surface(), x - c.dx, y - c.dy);
        if (At(s, x, y) != want && wrong++ < 3) {
          ADD_FAILURE() << "offset (" << c.dx << ", " << c.dy << ") pixel (" << x << ", " << y
                        << ") is " << Describe(At(s, x, y)) << ", not " << Describe(want);
        }
      }
    }
    EXPECT_EQ(wrong, 0) << "offset (" << c.dx << ", " << c.dy << ")";
  }
}

// The submit screen wins over a cross-fade still marked as running: only
// the submit list is painted after the frame lists.
TEST_F(PaintingTest, SubmitScreenWinsOverARunningCrossFade) {
  ScreenState submitOnly;
  submitOnly.submitScreenActive = 1;
  auto expected = Paint(submitOnly);

  SetTopLevelComposition(skin.mainList, 2, 128);
  SetTopLevelComposition(skin.resultsList, 2, 255);
  ScreenState both = submitOnly;
  both.enteringResults = 1;
  auto painted = Paint(both);
  EXPECT_EQ(FirstDifference(painted->surface(), expected->surface()), "");

  // The submit heading's area shows the heading, not the results screen.
  SetTopLevelComposition(skin.mainList, 0, 0);
  SetTopLevelComposition(skin.resultsList, 0, 0);
  auto results = Paint(Results());
  int differing = 0;
  int white = 0;
  for (int y = 180; y < 205; ++y) {
    for (int x = 60; x < 400; ++x) {
      const Colour c = At(painted->surface(), x, y);
      differing += c != At(results->surface(), x, y);
      white += c == skin::kWhite;
    }
  }
  EXPECT_GT(white, 100) << "the heading's white letters";
  EXPECT_GT(differing, 100);
}

// Each screen flag paints its own lists: the results screen and the main
// screen differ where their headings stand.
TEST_F(PaintingTest, ResultsScreenShowsItsHeadingAndReport) {
  auto main = Paint(ScreenState{});
  auto results = Paint(Results());
  int white = 0;
  int differing = 0;
  for (int y = 110; y < 140; ++y) {
    for (int x = 60; x < 400; ++x) {
      const Colour c = At(results->surface(), x, y);
      white += c == skin::kWhite;
      differing += c != At(main->surface(), x, y);
    }
  }
  EXPECT_GT(white, 100) << "\"Detailed Test Results\" in white";
  EXPECT_GT(differing, 100);
  // Four report lines from y 150.
  int reportRowsWithInk = 0;
  for (int y = 150; y < 260; ++y) {
    for (int x = 100; x < 600; ++x) {
      if (At(results->surface(), x, y) == skin::kWhite) {
        ++reportRowsWithInk;
        break;
      }
    }
  }
  EXPECT_GT(reportRowsWithInk, 20);
}

TEST_F(PaintingTest, HiddenAdvicePanelDrawsNothing) {
  const Rect panel{305, 230, 805, 380};
  // Hidden as built (drawn directly) and hidden again after two toggles
  // (drawn off screen and blended).
  for (std::uint8_t comp : {0, 2}) {
    skin.advicePanel.hidden = 1;
    skin.advicePanel.comp = comp;
    skin.advicePanel.alpha = 220;
    auto hidden = Paint(ScreenState{});
    ASSERT_EQ(skin.helpIcon.next, &skin.advicePanel);
    skin.helpIcon.next = skin.advicePanel.next;
    auto without = Paint(ScreenState{});
    skin.helpIcon.next = &skin.advicePanel;
    EXPECT_EQ(FirstDifference(hidden->surface(), without->surface()), "") << int{comp};
    // The panel's area holds the main screen's own pixels there.
    EXPECT_EQ(At(hidden->surface(), panel.left + 100, panel.top + 100), skin::kLightBlue);
  }
}

// Shown, the panel is the rule-blue box with its frame, blended at 220 over
// what the main list drew there; nothing outside it changes.
TEST_F(PaintingTest, ShownAdvicePanelBlendsItsBoxOverTheMainScreen) {
  const Rect panel{305, 230, 805, 380};
  skin.adviceBodyText.text = "";
  auto hidden = Paint(ScreenState{});
  skin.advicePanel.hidden = 0;
  skin.advicePanel.comp = 2;
  skin.advicePanel.alpha = 220;
  auto shown = Paint(ScreenState{});

  int wrong = 0;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const Colour under = At(hidden->surface(), x, y);
      Colour want = under;
      if (panel.Contains(Point{x, y})) {
        const bool frame = x == panel.left || x == panel.right - 1 || y == panel.top ||
                           y == panel.bottom - 1;
        want = Blend(under, frame ? skin::kFrameWhite : skin::kRuleBlue, 220);
      }
      const Colour got = At(shown->surface(), x, y);
      if (got != want && wrong++ < 3) {
        ADD_FAILURE() << "(" << x << ", " << y << ") is " << Describe(got) << ", not "
                      << Describe(want);
      }
    }
  }
  EXPECT_EQ(wrong, 0);

  // Its advice text shows in white inside the frame.
  skin.adviceBodyText.text = "Your graphics card accelerates the layered windows.";
  auto withText = Paint(ScreenState{});
  int bright = 0;
  for (int y = panel.top + 5; y < panel.top + 30; ++y) {
    for (int x = panel.left + 5; x < panel.right - 5; ++x) {
      bright += RedOf(At(withText->surface(), x, y)) > 200;
    }
  }
  EXPECT_GT(bright, 50);
}

// A cross-fade frame: the results list composed opaque, the main list
// blended over it at 128. The two screens are the fade's ends, each list
// composed off screen at 255. Wherever the main screen shows only its
// background, the frame is the exact blend of the two screens. (Elsewhere
// it need not be: every top-level element blends on its own, and text
// drawn on the magenta surfaces keeps near-magenta edge pixels.)
TEST_F(PaintingTest, CrossFadeFrameIsTheBlendOfTheTwoScreens) {
  SetTopLevelComposition(skin.resultsList, 2, 255);
  auto results = Paint(Results());
  SetTopLevelComposition(skin.mainList, 2, 255);
  auto main = Paint(ScreenState{});
  // Where the main screen shows its background alone, another fill shows.
  skin.mainBackground.fill = Rgb(1, 2, 3);
  auto probe = Paint(ScreenState{});
  skin.mainBackground.fill = skin::kLightBlue;
  SetTopLevelComposition(skin.mainList, 2, 128);
  ScreenState fading;
  fading.enteringResults = 1;
  auto frame = Paint(fading);

  int compared = 0;
  int resultsInk = 0;
  int wrong = 0;
  for (int y = 79; y < kH - 79; ++y) {
    for (int x = 0; x < kW; ++x) {
      // Where the main screen shows its background alone; the edges of its
      // text are blended element by element, as the elements are drawn.
      if (At(probe->surface(), x, y) != Rgb(1, 2, 3)) continue;
      const Colour m = At(main->surface(), x, y);
      const Colour r = At(results->surface(), x, y);
      const Colour want = Blend(r, m, 128);
      const Colour got = At(frame->surface(), x, y);
      ++compared;
      resultsInk += r != skin::kLightBlue;
      if (got != want && wrong++ < 3) {
        ADD_FAILURE() << "(" << x << ", " << y << ") is " << Describe(got) << ", not "
                      << Describe(want) << " from " << Describe(r) << " and " << Describe(m);
      }
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(compared, kW * (kH - 158) / 2);
  EXPECT_GT(resultsInk, 500) << "the results heading and report under the main background";
  // The bands are outside the fade.
  EXPECT_EQ(At(frame->surface(), 2, 2), skin::kBandBlue);
  EXPECT_EQ(At(frame->surface(), kW / 2, kH - 5), skin::kBandBlue);
}

// The results screen's two buttons before and after the first run.
class ResultsButtonsTest : public ::testing::Test {
 protected:
  ResultsButtonsTest() { skin.LoadResources(graphics); }

  RasterGraphics graphics;
  SkinContent skin;
};

TEST_F(ResultsButtonsTest, BeforeARunDetailsIsLeftAloneAndSaveIsBackgroundOnly) {
  OwnerButtons buttons(graphics, skin.fonts.button.get());
  const Rect r{0, 0, 252, 32};

  auto details = FilledCanvas(r.Width(), r.Height(), kUnpainted);
  EXPECT_FALSE(buttons.Draw(platform::DrawItem{IDC_VIEW_DETAILS, r, false}, *details, 0));
  auto untouched = FilledCanvas(r.Width(), r.Height(), kUnpainted);
  EXPECT_EQ(FirstDifference(details->surface(), untouched->surface()), "");

  auto save = FilledCanvas(r.Width(), r.Height(), kUnpainted);
  EXPECT_TRUE(buttons.Draw(platform::DrawItem{IDC_SAVE_RESULTS, r, false}, *save, 0));
  auto lightBlue = FilledCanvas(r.Width(), r.Height(), skin::kLightBlue);
  EXPECT_EQ(FirstDifference(save->surface(), lightBlue->surface()), "");
}

TEST_F(ResultsButtonsTest, AfterARunBothShowPictureAndCaption) {
  struct Case {
    int id;
    bool pressed;
    int picture;
  };
  OwnerButtons buttons(graphics, skin.fonts.button.get());
  const Rect r{0, 0, 252, 32};
  for (const Case c : {Case{IDC_VIEW_DETAILS, false, IDB_VIEW_DETAILS},
                       Case{IDC_VIEW_DETAILS, true, IDB_VIEW_DETAILS_PRESSED},
                       Case{IDC_SAVE_RESULTS, false, IDB_SAVE},
                       Case{IDC_SAVE_RESULTS, true, IDB_SAVE_PRESSED}}) {
    auto canvas = FilledCanvas(r.Width(), r.Height(), kUnpainted);
    EXPECT_TRUE(buttons.Draw(platform::DrawItem{c.id, r, c.pressed}, *canvas, 1)) << c.id;
    auto picture = LoadResourceBitmap(c.picture);
    ASSERT_TRUE(picture);
    const Surface& s = canvas->surface();
    int pictureWrong = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) pictureWrong += At(s, x, y) != At(picture->surface(), x, y);
    }
    EXPECT_EQ(pictureWrong, 0) << c.id << (c.pressed ? " pressed" : "");
    int caption = 0;
    int other = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 32; x < r.right; ++x) {
        const Colour p = At(s, x, y);
        if (p == skin::kWhite) {
          ++caption;
        } else if (p == kUnpainted) {
          ++other;
        }
      }
    }
    EXPECT_GT(caption, 40) << c.id << ": the white caption";
    EXPECT_EQ(other, 0) << c.id;
  }
}

}  // namespace
}  // namespace quorvel
