// The two blending sentences and the advice paragraph.
#include <gtest/gtest.h>

#include "sysinfo/advice.h"

namespace quorvel {
namespace {

TEST(Advice, SentencesForEachPairOfFlags) {
  struct Row {
    int constant, perPixel;
    const char* constantSentence;
    const char* perPixelSentence;
  };
  const Row rows[] = {
      {1, 1, "Constant Alpha Blending is accelerated by these drivers.",
       "Per Pixel Alpha Blending is also accelerated by these drivers."},
      {1, 0, "Constant Alpha Blending is accelerated by these drivers.",
       "Per Pixel Alpha Blending is not accelerated by these drivers."},
      {0, 1, "Constant Alpha Blending is not accelerated by these drivers.",
       "Per Pixel Alpha Blending is accelerated by the drivers though."},
      {0, 0, "Constant Alpha Blending is not accelerated by these drivers.",
       "Per Pixel Alpha Blending is not accelerated by these drivers either."},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "constant " << r.constant << " per-pixel " << r.perPixel);
    SystemInfo info;
    info.constantAlphaAccelerated = r.constant;
    info.perPixelAlphaAccelerated = r.perPixel;
    ApplyAdvice(info);
    EXPECT_EQ(info.constantAlphaSentence, r.constantSentence);
    EXPECT_EQ(info.perPixelAlphaSentence, r.perPixelSentence);
  }
}

TEST(Advice, WarningForTheColourDepthThenTheDriverParagraph) {
  const std::string drivers =
      "To improve the performance of your graphics card, you may want to download the latest "
      "drivers for your card.\n\nClick here to visit a download site for your drivers...";
  const std::pair<int, std::string> cases[] = {
      {8, "You are using 8 bit colour which does not support alpha blended windows.\n\n" +
              drivers},
      {16, drivers},
      {24,
       "You are using 24 bit colour which may be much slower than 16 or 32 bit colour.  You "
       "might want to consider changing your colour depth.\n\n" +
           drivers},
      {32,
       "You are using 32 bit colour which can be about half the speed of 16 bit colour when "
       "doing alpha blending\n\n" +
           drivers},
      {15, drivers},
      {0, drivers},
  };
  for (const auto& [bits, expected] : cases) {
    SystemInfo info;
    info.colourBits = bits;
    ApplyAdvice(info);
    EXPECT_EQ(info.adviceText, expected) << bits << " bits";
  }
}

}  // namespace
}  // namespace quorvel
