// Judging what the desktop showed of a test window, on pictures made here:
// a window of the test window's blue, with or without key-coloured pixels,
// over a background of many colours, shown as a desktop would show it.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "bench/layered_test_dialog.h"
#include "bench/shown_check.h"

namespace quorvel {
namespace {

constexpr Colour kBlack = Rgb(0, 0, 0);

// A background with light, dark and blue-like colours, as the results
// screen has behind the window.
std::vector<Colour> Background(int count) {
  std::vector<Colour> pixels;
  for (int i = 0; i < count; ++i) {
    pixels.push_back(Rgb((i * 37) % 256, (i * 91 + 40) % 256, (i * 53 + 200) % 256));
  }
  return pixels;
}

// How a desktop blends: 8-bit channels, rounded.
Colour Blend(Colour window, Colour beneath, double fraction) {
  const auto mix = [&](int w, int b) {
    return static_cast<int>(std::lround(w * fraction + b * (1.0 - fraction)));
  };
  return Rgb(mix(RedOf(window), RedOf(beneath)), mix(GreenOf(window), GreenOf(beneath)),
             mix(BlueOf(window), BlueOf(beneath)));
}

enum class KeyShows { Beneath, KeyColour };

// The window is the test window's blue, with every tenth pixel black when
// `keyPixels`; shown at `fraction`, its black pixels as `keyShows` says.
std::vector<ShownPixel> Picture(double fraction, bool keyPixels, KeyShows keyShows) {
  std::vector<ShownPixel> pixels;
  int i = 0;
  for (const Colour beneath : Background(400)) {
    const bool key = keyPixels && i++ % 10 == 0;
    const Colour window = key ? kBlack : kTestWindowBlue;
    Colour shown = Blend(window, beneath, fraction);
    if (key) shown = keyShows == KeyShows::Beneath ? beneath : kBlack;
    pixels.push_back(ShownPixel{window, beneath, shown});
  }
  return pixels;
}

TEST(ShownCheck, JudgesTheBlendAndTheKey) {
  const LayeredTest half = LayeredTestFor(0);      // 50 %
  const LayeredTest full = LayeredTestFor(1);      // 100 %
  const LayeredTest fortySeven = LayeredTestFor(2);
  const LayeredTest keyed = LayeredTestFor(3);     // black as transparent
  struct Case {
    const char* name;
    LayeredTest test;
    std::vector<ShownPixel> pixels;
    ShownVerdict verdict;
    double fraction;  // negative: none measured
  };
  const Case cases[] = {
      {"blended as asked", fortySeven, Picture(120 / 255.0, false, KeyShows::Beneath),
       ShownVerdict::AsAsked, 120 / 255.0},
      {"half, as asked", half, Picture(128 / 255.0, false, KeyShows::Beneath),
       ShownVerdict::AsAsked, 128 / 255.0},
      {"translucency not shown", fortySeven, Picture(1.0, false, KeyShows::Beneath),
       ShownVerdict::Opaque, 1.0},
      {"opaque, as asked", full, Picture(1.0, false, KeyShows::Beneath), ShownVerdict::AsAsked,
       1.0},
      {"blended at another opacity", half, Picture(0.25, false, KeyShows::Beneath),
       ShownVerdict::NotAsAsked, 0.25},
      {"not shown at all", full, Picture(0.0, false, KeyShows::Beneath), ShownVerdict::NotAsAsked,
       0.0},
      {"keyed as asked", keyed, Picture(1.0, true, KeyShows::Beneath), ShownVerdict::AsAsked, 1.0},
      {"key not applied", keyed, Picture(1.0, true, KeyShows::KeyColour),
       ShownVerdict::KeyNotApplied, 1.0},
      // The test window's own picture has no black: the key test is judged
      // by the opacity alone.
      {"keyed window without key pixels", keyed, Picture(1.0, false, KeyShows::Beneath),
       ShownVerdict::AsAsked, 1.0},
      {"nothing read", half, {}, ShownVerdict::Unknown, -1},
      // A background of the window's own colour tells nothing.
      {"background like the window", half,
       {{kTestWindowBlue, kTestWindowBlue, kTestWindowBlue},
        {kTestWindowBlue, Rgb(10, 40, 150), Rgb(5, 44, 153)}},
       ShownVerdict::Unknown, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ShownRecord r = JudgeShown(c.test, c.pixels);
    EXPECT_EQ(ShownText(r.verdict), std::string(ShownText(c.verdict)));
    EXPECT_EQ(r.fractionMeasured, c.fraction >= 0);
    // 8-bit rounding moves the median by less than one step of the
    // narrowest telling gap.
    if (c.fraction >= 0) EXPECT_NEAR(r.blendFraction, c.fraction, 1.0 / kTellingChannelGap);
  }
}

// A 16-bit screen rounds each channel to 5 or 6 bits, in the window, the
// background and the blend alike: still judged as asked.
TEST(ShownCheck, ToleratesASixteenBitScreen) {
  const auto to565 = [](Colour c) {
    const auto widen = [](int v, int bits) {
      const int top = v >> (8 - bits);
      return (top << (8 - bits)) | (top >> (2 * bits - 8));
    };
    return Rgb(widen(RedOf(c), 5), widen(GreenOf(c), 6), widen(BlueOf(c), 5));
  };
  std::vector<ShownPixel> pixels;
  for (const ShownPixel& p : Picture(120 / 255.0, false, KeyShows::Beneath)) {
    pixels.push_back({to565(p.window), to565(p.beneath), to565(p.shown)});
  }
  const ShownRecord r = JudgeShown(LayeredTestFor(2), pixels);
  EXPECT_EQ(r.verdict, ShownVerdict::AsAsked) << r.blendFraction;
}

TEST(ShownCheck, WarningsSayWhatTheScoreMeasured) {
  ShownRecord opaque{ShownVerdict::Opaque, true, 1.0};
  EXPECT_EQ(ShownWarning("47% visibility", opaque),
            "quorvel: this desktop showed the 47% visibility test opaque; its score measures an "
            "opaque window");
  ShownRecord key{ShownVerdict::KeyNotApplied, true, 1.0};
  EXPECT_EQ(ShownWarning("Black as transparent", key),
            "quorvel: this desktop showed the Black as transparent test without its colour key; "
            "its score measures a window without holes");
  ShownRecord other{ShownVerdict::NotAsAsked, true, 0.25};
  EXPECT_EQ(ShownWarning("50% visibility", other),
            "quorvel: this desktop showed the 50% visibility test at 25% visibility; its score "
            "measures that window");
  EXPECT_EQ(ShownWarning("50% visibility", ShownRecord{ShownVerdict::AsAsked, true, 0.5}), "");
  EXPECT_EQ(ShownWarning("50% visibility", ShownRecord{}), "");
}

}  // namespace
}  // namespace quorvel
