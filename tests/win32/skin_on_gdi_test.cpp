// The skin's blits and elements on real GDI: the desktop's TransparentBlt
// and AlphaBlend against the portable paths, and composition of elements.
#include <gtest/gtest.h>

#include <cstdlib>

#include "skin/blits.h"
#include "skin/box_element.h"
#include "skin/text_element.h"
#include "test_surface.h"

namespace quorvel::win32 {
namespace {

using testing::Fill;
using testing::NewDib;
using testing::PixelAt;

platform::ImagingEntries Msimg32() {
  HMODULE module = ::LoadLibraryA("msimg32.dll");
  platform::ImagingEntries entries;
  if (module != nullptr) {
    entries.transparentBlt = reinterpret_cast<void*>(::GetProcAddress(module, "TransparentBlt"));
    entries.alphaBlend = reinterpret_cast<void*>(::GetProcAddress(module, "AlphaBlend"));
  }
  return entries;
}

// A source with magenta holes, and a destination with its own pattern.
void Paint(GdiCanvas& src, GdiCanvas& dest) {
  std::srand(7);
  for (int y = 0; y < src.Height(); ++y) {
    for (int x = 0; x < src.Width(); ++x) {
      const Colour c = (x * 7 + y * 3) % 5 == 0 ? kKeyMagenta
                                                : Rgb(std::rand() % 256, std::rand() % 256,
                                                      std::rand() % 256);
      ::SetPixel(src.dc(), x, y, c);
      ::SetPixel(dest.dc(), x, y, Rgb((x * 13) % 256, (y * 29) % 256, (x + y) % 256));
    }
  }
}

int MaxChannelDifference(platform::Canvas& a, platform::Canvas& b) {
  int worst = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      const Colour p = PixelAt(a, x, y), q = PixelAt(b, x, y);
      for (int shift : {0, 8, 16}) {
        worst = std::max(worst, std::abs(static_cast<int>((p >> shift) & 0xFF) -
                                         static_cast<int>((q >> shift) & 0xFF)));
      }
    }
  }
  return worst;
}

TEST(SkinOnGdi, DesktopEntryPointsAreFound) {
  const platform::ImagingEntries entries = Msimg32();
  EXPECT_NE(entries.transparentBlt, nullptr);
  EXPECT_NE(entries.alphaBlend, nullptr);
}

TEST(SkinOnGdi, ColourKeyedCopyIsTheSameThroughTransparentBltAndTheMask) {
  auto src = NewDib(37, 23), viaDesktop = NewDib(37, 23), viaMask = NewDib(37, 23);
  Paint(*src, *viaDesktop);
  Paint(*src, *viaMask);
  ColorKeyBlt(*viaDesktop, 0, 0, 37, 23, *src, 0, 0, Msimg32());
  ColorKeyBlt(*viaMask, 0, 0, 37, 23, *src, 0, 0, platform::ImagingEntries{});
  EXPECT_EQ(MaxChannelDifference(*viaDesktop, *viaMask), 0);
  EXPECT_EQ(PixelAt(*viaMask, 0, 0), PixelAt(*NewDib(1, 1, Rgb((0 * 13) % 256, 0, 0)), 0, 0))
      << "a key pixel of the source keeps the destination";
}

// The desktop divides by 255 and rounds; the software blend divides by 256
// and rounds down. Near full opacity the two can differ by two levels (seen
// at alpha 253 under Wine); anything more would be a wrong blend.
TEST(SkinOnGdi, BlendThroughAlphaBlendIsWithinTwoLevelsOfTheSoftwareBlend) {
  for (int alpha : {0, 1, 127, 128, 253}) {
    auto src = NewDib(31, 17), viaDesktop = NewDib(31, 17), viaSoftware = NewDib(31, 17);
    Paint(*src, *viaDesktop);
    Paint(*src, *viaSoftware);
    const BlendFunction blend{0, 0, static_cast<std::uint8_t>(alpha), 0};
    ASSERT_TRUE(BlendBlt(viaDesktop.get(), 0, 0, 31, 17, src.get(), 0, 0, 31, 17, blend,
                         Msimg32()));
    ASSERT_TRUE(BlendBlt(viaSoftware.get(), 0, 0, 31, 17, src.get(), 0, 0, 31, 17, blend,
                         platform::ImagingEntries{}));
    EXPECT_LE(MaxChannelDifference(*viaDesktop, *viaSoftware), alpha < 128 ? 1 : 2)
        << "alpha " << alpha;
  }
}

TEST(SkinOnGdi, OpaqueBlendIsTheKeyedCopy) {
  auto src = NewDib(20, 20), blended = NewDib(20, 20), copied = NewDib(20, 20);
  Paint(*src, *blended);
  Paint(*src, *copied);
  ASSERT_TRUE(BlendBlt(blended.get(), 0, 0, 20, 20, src.get(), 0, 0, 20, 20,
                       BlendFunction{0, 0, 255, 0}, Msimg32()));
  ColorKeyBlt(*copied, 0, 0, 20, 20, *src, 0, 0, Msimg32());
  EXPECT_EQ(MaxChannelDifference(*blended, *copied), 0);
}

TEST(SkinOnGdi, KeyedBoxKeepsTheWindowWhereNothingWasPainted) {
  for (const platform::ImagingEntries& entries : {Msimg32(), platform::ImagingEntries{}}) {
    auto window = NewDib(60, 40, Rgb(90, 125, 222));
    auto skinBitmap = NewDib(1, 1);
    BoxElement panel;
    panel.lVal = 10;
    panel.tVal = 5;
    panel.rVal = 10;
    panel.bVal = 5;
    panel.fill = kKeyMagenta;
    panel.penStyle = platform::kPenNull;
    panel.hatch = platform::kHatchNone;
    panel.comp = 1;
    BoxElement inner;
    inner.lVal = 5;
    inner.tVal = 5;
    inner.rMode = 1;
    inner.rVal = 15;
    inner.bMode = 1;
    inner.bVal = 15;
    inner.fill = Rgb(255, 0, 0);
    inner.penStyle = platform::kPenNull;
    inner.hatch = platform::kHatchNone;
    panel.child = &inner;
    panel.Draw(*window, Rect{0, 0, 60, 40}, *skinBitmap, SkinContext{entries});

    EXPECT_EQ(PixelAt(*window, 16, 11), Rgb(255, 0, 0));      // the child, in surface coordinates
    EXPECT_EQ(PixelAt(*window, 40, 20), Rgb(90, 125, 222));   // the panel's magenta: untouched
    EXPECT_EQ(PixelAt(*window, 5, 5), Rgb(90, 125, 222));     // outside the panel
  }
}

}  // namespace
}  // namespace quorvel::win32
