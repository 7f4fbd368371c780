// Icon files: their 32-bit images with alpha, and data that is not one.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "raster/ico.h"

namespace quorvel::raster {
namespace {

void Put16(std::vector<unsigned char>& out, std::uint32_t v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}
void Put32(std::vector<unsigned char>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A 2 x 2 DIB entry whose bottom-up rows hold `bgraBottomUp`, with the AND
// mask after it.
std::vector<unsigned char> Dib(int bits, const std::vector<std::uint32_t>& bgraBottomUp) {
  std::vector<unsigned char> dib;
  Put32(dib, 40);
  Put32(dib, 2);
  Put32(dib, 4);  // colour and mask rows
  Put16(dib, 1);
  Put16(dib, static_cast<std::uint32_t>(bits));
  for (int i = 0; i < 6; ++i) Put32(dib, 0);
  for (std::uint32_t p : bgraBottomUp) Put32(dib, p);
  for (int i = 0; i < 8; ++i) dib.push_back(0);  // AND mask: 2 rows of 4 bytes
  return dib;
}

std::vector<unsigned char> Ico(const std::vector<std::vector<unsigned char>>& entries) {
  std::vector<unsigned char> out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(entries.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
  for (const auto& e : entries) {
    out.insert(out.end(), {2, 2, 0, 0});
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<std::uint32_t>(e.size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(e.size());
  }
  for (const auto& e : entries) out.insert(out.end(), e.begin(), e.end());
  return out;
}

TEST(Ico, ThirtyTwoBitImagesComeTopDownWithTheirAlpha) {
  const std::vector<unsigned char> file =
      Ico({Dib(32, {0x80112233, 0xFF445566, 0x00778899, 0x40AABBCC}), Dib(8, {0, 0, 0, 0})});
  const std::vector<IconImage> images = DecodeIco(file.data(), file.size());
  ASSERT_EQ(images.size(), 1u);  // the 8-bit entry is left out
  EXPECT_EQ(images[0].width, 2);
  EXPECT_EQ(images[0].height, 2);
  EXPECT_EQ(images[0].argb, (std::vector<std::uint32_t>{0x00778899, 0x40AABBCC, 0x80112233,
                                                        0xFF445566}));
}

TEST(Ico, DataThatIsNotAWholeIconGivesNoImages) {
  const std::vector<unsigned char> good = Ico({Dib(32, {1, 2, 3, 4})});
  ASSERT_EQ(DecodeIco(good.data(), good.size()).size(), 1u);
  std::vector<unsigned char> cursorFile = good;
  cursorFile[2] = 2;  // a cursor file, not an icon
  const std::vector<unsigned char>& cursor = cursorFile;
  const std::vector<unsigned char> cut(good.begin(), good.end() - 20);
  for (const auto* bad : {&cursor, &cut}) {
    EXPECT_TRUE(DecodeIco(bad->data(), bad->size()).empty());
  }
  EXPECT_TRUE(DecodeIco(good.data(), 5).empty());
  EXPECT_TRUE(DecodeIco(nullptr, 0).empty());
}

}  // namespace
}  // namespace quorvel::raster
