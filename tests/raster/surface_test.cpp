#include "raster/surface.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

namespace quorvel::raster {
namespace {

TEST(PixelConversion, SwapsRedAndBlueAndIgnoresTheFourthByte) {
  EXPECT_EQ(PixelOf(Rgb(0x11, 0x22, 0x33)), 0x00112233u);
  EXPECT_EQ(ColourOf(0xAB112233u), Rgb(0x11, 0x22, 0x33));
  EXPECT_EQ(ColourOf(PixelOf(Rgb(1, 2, 3))), Rgb(1, 2, 3));

  // In memory the bytes are blue, green, red.
  const std::uint32_t px = PixelOf(Rgb(0x11, 0x22, 0x33));
  unsigned char bytes[4];
  std::memcpy(bytes, &px, 4);
  EXPECT_EQ(bytes[0], 0x33);
  EXPECT_EQ(bytes[1], 0x22);
  EXPECT_EQ(bytes[2], 0x11);
}

TEST(Surface, OwnedSurfacesAreZeroFilledTopDownOrBottomUp) {
  Surface top(3, 2);
  ASSERT_EQ(top.width(), 3);
  ASSERT_EQ(top.height(), 2);
  EXPECT_EQ(top.Memory(), top.Row(0));
  EXPECT_EQ(top.Row(1), top.Row(0) + 3);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(top.Row(y)[x], 0u);
  }

  Surface bottom = Surface::BottomUp(3, 2);
  ASSERT_EQ(bottom.height(), 2);
  EXPECT_EQ(bottom.Memory(), bottom.Row(1));  // bottom row first in memory
  EXPECT_EQ(bottom.Row(0), bottom.Memory() + 3);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(bottom.Memory()[i], 0u);
}

TEST(Surface, WrapBorrowsMemoryWithPaddedOrNegativeStride) {
  std::vector<std::uint32_t> memory(4 * 3, 0);
  Surface down = Surface::Wrap(memory.data(), 3, 3, 4);
  ASSERT_EQ(down.width(), 3);
  EXPECT_EQ(down.Row(2), memory.data() + 8);
  down.Row(1)[2] = 7;
  EXPECT_EQ(memory[6], 7u);

  Surface up = Surface::Wrap(memory.data(), 3, 3, -4);
  EXPECT_EQ(up.Memory(), memory.data());
  EXPECT_EQ(up.Row(0), memory.data() + 8);
  EXPECT_EQ(up.Row(2), memory.data());
}

TEST(Surface, RefusesImpossibleSizes) {
  std::uint32_t pixel = 0;
  const Surface cases[] = {
      Surface(-1, 5),
      Surface(5, 0),
      Surface(1 << 20, 1 << 20),
      Surface::BottomUp(0, 3),
      Surface::Wrap(nullptr, 1, 1, 1),
      Surface::Wrap(&pixel, 2, 1, 1),  // stride shorter than a row
  };
  for (const Surface& s : cases) {
    EXPECT_EQ(s.width(), 0);
    EXPECT_EQ(s.height(), 0);
    EXPECT_TRUE(s.empty());
  }
}

TEST(Surface, MovingTransfersTheMemory) {
  Surface a(2, 2);
  std::uint32_t* memory = a.Memory();
  Surface b = std::move(a);
  EXPECT_EQ(b.Memory(), memory);
  EXPECT_EQ(b.width(), 2);
  EXPECT_TRUE(a.empty());  // NOLINT(bugprone-use-after-move): moved-from state is defined
  Surface c;
  c = std::move(b);
  EXPECT_EQ(c.Memory(), memory);
  EXPECT_TRUE(b.empty());  // NOLINT(bugprone-use-after-move)
}

}  // namespace
}  // namespace quorvel::raster
