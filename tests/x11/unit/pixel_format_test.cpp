#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/x11/display/pixel_format.h"

namespace quorvel::x11 {
namespace {

// Raster pixels of the skin and the corners of the colour space.
constexpr std::uint32_t kBand = 0x00309C;   // 0, 48, 156
constexpr std::uint32_t kLight = 0x5A7DDE;  // 90, 125, 222
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;

std::vector<unsigned char> Converted(const PixelFormat& format, std::uint32_t raster) {
  std::vector<unsigned char> bytes(static_cast<std::size_t>(format.bitsPerPixel() / 8) + 1, 0xEE);
  format.ConvertRow(&raster, 1, bytes.data());
  return bytes;
}

TEST(PixelFormat, DirectVisualsGetEachChannelRoundedToItsWidth) {
  const struct {
    const char* visual;
    PixelFormat format;
    std::uint32_t raster;
    unsigned long pixel;
  } cases[] = {
      {"24-bit RGB", PixelFormat::Direct(32, false, 0xFF0000, 0xFF00, 0xFF), kLight, 0x5A7DDE},
      {"24-bit BGR", PixelFormat::Direct(32, false, 0xFF, 0xFF00, 0xFF0000), kLight, 0xDE7D5A},
      {"16-bit 5-6-5", PixelFormat::Direct(16, false, 0xF800, 0x07E0, 0x001F), kLight,
       (11u << 11) | (31u << 5) | 27u},
      {"16-bit white", PixelFormat::Direct(16, false, 0xF800, 0x07E0, 0x001F), kWhite, 0xFFFF},
      {"15-bit 5-5-5", PixelFormat::Direct(16, false, 0x7C00, 0x03E0, 0x001F), kBand,
       (0u << 10) | (6u << 5) | 19u},
      {"15-bit white", PixelFormat::Direct(16, false, 0x7C00, 0x03E0, 0x001F), kWhite, 0x7FFF},
      // 255 is the top of a 10-bit channel too, not 1020.
      {"30-bit white", PixelFormat::Direct(32, false, 0x3FF00000, 0xFFC00, 0x3FF), kWhite,
       0x3FFFFFFF},
      {"30-bit band", PixelFormat::Direct(32, false, 0x3FF00000, 0xFFC00, 0x3FF), kBand,
       (0ul << 20) | (193ul << 10) | 626ul},
      {"30-bit red", PixelFormat::Direct(32, false, 0x3FF00000, 0xFFC00, 0x3FF), kRed,
       0x3FF00000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.format.PixelOf(c.raster), c.pixel) << c.visual;
    EXPECT_EQ(c.format.PixelOf(c.raster | 0xFF000000u), c.pixel) << c.visual << ", top byte set";
  }
}

// DirectColor: each channel's field is whatever entry of its own map holds
// the intensity, as the allocated grey ramp says (here the maps hold the
// intensities from the top down, entry 255 - v for v).
TEST(PixelFormat, DirectColourChannelsTakeTheirEntriesFromTheGreyRamp) {
  std::vector<unsigned long> greys;
  for (unsigned long v = 0; v < 256; ++v) greys.push_back((255 - v) * 0x010101ul);
  const PixelFormat format = PixelFormat::Ramps(32, false, 0xFF0000, 0xFF00, 0xFF, greys);
  EXPECT_EQ(format.PixelOf(kLight), 0xA58221u);
  EXPECT_EQ(format.PixelOf(0x000000), 0xFFFFFFu);
  EXPECT_FALSE(format.matchesRaster());
}

TEST(PixelFormat, OnlyTheRastersOwnLayoutIsDrawnInPlace) {
  EXPECT_TRUE(PixelFormat::Direct(32, false, 0xFF0000, 0xFF00, 0xFF).matchesRaster());
  EXPECT_FALSE(PixelFormat::Direct(32, true, 0xFF0000, 0xFF00, 0xFF).matchesRaster());
  EXPECT_FALSE(PixelFormat::Direct(32, false, 0xFF, 0xFF00, 0xFF0000).matchesRaster());
  EXPECT_FALSE(PixelFormat::Direct(24, false, 0xFF0000, 0xFF00, 0xFF).matchesRaster());
  EXPECT_FALSE(PixelFormat::Direct(32, false, 0x3FF00000, 0xFFC00, 0x3FF).matchesRaster());
  EXPECT_FALSE(PixelFormat::Cube(8, false, 6, std::vector<unsigned long>(216)).matchesRaster());
}

// Cell i of the cube is pixel 40 + i, as if other programs held 0..39.
PixelFormat EightBitCube() {
  std::vector<unsigned long> cells;
  for (unsigned long i = 0; i < 216; ++i) cells.push_back(40 + i);
  return PixelFormat::Cube(8, false, 6, cells);
}

TEST(PixelFormat, ColourmapVisualsGetTheNearestCellOfTheCube) {
  const PixelFormat format = EightBitCube();
  const struct {
    std::uint32_t raster;
    int red, green, blue;  // the nearest levels of 0, 51, ..., 255
  } cases[] = {
      {0x000000, 0, 0, 0}, {kWhite, 5, 5, 5}, {kRed, 5, 0, 0},
      {kBand, 0, 1, 3},     // 0, 51, 153
      {kLight, 2, 2, 4},    // 102, 102, 204
      {0x191A19, 0, 1, 0},  // 25 rounds down, 26 up
      {0x4C4D80, 1, 2, 3},  // 76 down, 77 up, 128 to 153
  };
  for (const auto& c : cases) {
    EXPECT_EQ(format.PixelOf(c.raster), 40u + c.red * 36u + c.green * 6u + c.blue)
        << std::hex << c.raster;
  }
}

TEST(PixelFormat, RowsAreStoredInTheImagesByteOrder) {
  const struct {
    const char* visual;
    PixelFormat format;
    std::vector<unsigned char> bytes;  // one more than a pixel: left alone
  } cases[] = {
      {"8-bit cube", EightBitCube(), {40 + 2 * 36 + 2 * 6 + 4, 0xEE}},
      {"16-bit, LSB first", PixelFormat::Direct(16, false, 0xF800, 0x07E0, 0x001F),
       {0xFB, 0x5B, 0xEE}},
      {"16-bit, MSB first", PixelFormat::Direct(16, true, 0xF800, 0x07E0, 0x001F),
       {0x5B, 0xFB, 0xEE}},
      {"24-bit packed", PixelFormat::Direct(24, false, 0xFF0000, 0xFF00, 0xFF),
       {0xDE, 0x7D, 0x5A, 0xEE}},
      {"32-bit, MSB first", PixelFormat::Direct(32, true, 0xFF0000, 0xFF00, 0xFF),
       {0x00, 0x5A, 0x7D, 0xDE, 0xEE}},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(c.format.storesRows()) << c.visual;
    EXPECT_EQ(Converted(c.format, kLight), c.bytes) << c.visual;
  }
  EXPECT_FALSE(PixelFormat::Cube(4, false, 2, std::vector<unsigned long>(8)).storesRows());
}

TEST(PixelFormat, CubeLevelsLeaveRoomInTheColormap) {
  EXPECT_EQ(CubeLevelsFor(8), 6);
  EXPECT_EQ(CubeLevelsFor(4), 2);
  EXPECT_EQ(CubeLevelsFor(1), 2);
}

}  // namespace
}  // namespace quorvel::x11
