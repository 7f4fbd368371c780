// DecodeBmp on bitmaps written here byte by byte, and on damaged data.
#include "raster/bmp.h"

#include <gtest/gtest.h>

#include <vector>

#include "pixel_helpers.h"

namespace quorvel::raster {
namespace {

using testing::At;

void Put16(std::vector<unsigned char>& b, std::size_t at, unsigned v) {
  b[at] = v & 0xFF;
  b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}

// A BMP file of w x h pixels given top row first as GDI colours. Paletted
// files use `palette` and take pixel values as indices.
std::vector<unsigned char> MakeBmp(int w, int h, int bits, bool topDown,
                                   const std::vector<std::vector<Colour>>& rows,
                                   const std::vector<Colour>& palette = {}) {
  const std::size_t stride = ((static_cast<std::size_t>(w) * bits + 31) / 32) * 4;
  const std::size_t offset = 14 + 40 + palette.size() * 4;
  std::vector<unsigned char> b(offset + stride * h, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<std::uint32_t>(b.size()));
  Put32(b, 10, static_cast<std::uint32_t>(offset));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<std::uint32_t>(w));
  Put32(b, 22, static_cast<std::uint32_t>(topDown ? -h : h));
  Put16(b, 26, 1);
  Put16(b, 28, bits);
  Put32(b, 46, static_cast<std::uint32_t>(palette.size()));
  for (std::size_t i = 0; i < palette.size(); ++i) {
    b[54 + i * 4] = BlueOf(palette[i]);
    b[55 + i * 4] = GreenOf(palette[i]);
    b[56 + i * 4] = RedOf(palette[i]);
  }
  for (int y = 0; y < h; ++y) {
    const int fileRow = topDown ? y : h - 1 - y;
    unsigned char* row = b.data() + offset + stride * fileRow;
    for (int x = 0; x < w; ++x) {
      const Colour c = rows[y][x];
      if (bits == 8) {
        row[x] = static_cast<unsigned char>(c);
      } else {
        unsigned char* p = row + x * (bits / 8);
        p[0] = BlueOf(c);
        p[1] = GreenOf(c);
        p[2] = RedOf(c);
        if (bits == 32) p[3] = 0xEE;  // the fourth byte is not part of the colour
      }
    }
  }
  return b;
}

const std::vector<std::vector<Colour>> kPicture = {
    {Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9)},
    {Rgb(10, 11, 12), Rgb(13, 14, 15), Rgb(16, 17, 18)},
};

void ExpectPicture(const std::unique_ptr<RasterCanvas>& canvas) {
  ASSERT_TRUE(canvas);
  ASSERT_EQ(canvas->Width(), 3);
  ASSERT_EQ(canvas->Height(), 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(At(canvas->surface(), x, y), kPicture[y][x]) << x << "," << y;
      EXPECT_EQ(canvas->surface().Row(y)[x] >> 24, 0u);
    }
  }
}

TEST(DecodeBmp, TrueColourBitmapsEitherWayUp) {
  for (int bits : {24, 32}) {
    for (bool topDown : {false, true}) {
      SCOPED_TRACE(::testing::Message() << bits << " bits, top-down " << topDown);
      const auto file = MakeBmp(3, 2, bits, topDown, kPicture);
      ExpectPicture(DecodeBmp(file.data(), file.size()));
    }
  }
}

TEST(DecodeBmp, PalettedBitmapLooksColoursUp) {
  const std::vector<Colour> palette = {Rgb(1, 2, 3),    Rgb(4, 5, 6),    Rgb(7, 8, 9),
                                       Rgb(10, 11, 12), Rgb(13, 14, 15), Rgb(16, 17, 18)};
  const auto file = MakeBmp(3, 2, 8, false, {{0, 1, 2}, {3, 4, 5}}, palette);
  ExpectPicture(DecodeBmp(file.data(), file.size()));

  // An index past the colour table gives black instead of reading past it.
  const auto beyond = MakeBmp(1, 1, 8, false, {{200}}, {Rgb(9, 9, 9)});
  auto canvas = DecodeBmp(beyond.data(), beyond.size());
  ASSERT_TRUE(canvas);
  EXPECT_EQ(At(canvas->surface(), 0, 0), Rgb(0, 0, 0));
}

TEST(DecodeBmp, EveryTruncationIsRefused) {
  const auto file = MakeBmp(3, 2, 24, false, kPicture);
  for (std::size_t n = 0; n < file.size(); ++n) {
    // A copy of exactly n bytes, so that reading past it is caught.
    std::vector<unsigned char> cut(file.begin(), file.begin() + n);
    EXPECT_FALSE(DecodeBmp(cut.data(), cut.size())) << n << " bytes";
  }
  EXPECT_FALSE(DecodeBmp(nullptr, 100));
}

TEST(DecodeBmp, MalformedHeadersAreRefused) {
  struct Damage {
    const char* what;
    std::size_t at;
    std::uint32_t value;
    int bytes;
  };
  const Damage damages[] = {
      {"magic", 0, 'X', 1},
      {"header size", 14, 20, 4},
      {"zero width", 18, 0, 4},
      {"negative width", 18, 0xFFFFFFFD, 4},
      {"zero height", 22, 0, 4},
      {"huge width", 18, 0x7FFFFFFF, 4},
      {"huge height", 22, 0x80000001, 4},
      {"planes", 26, 2, 2},
      {"16 bits", 28, 16, 2},
      {"RLE", 30, 1, 4},
      {"offset past end", 10, 0xFFFFFFF0, 4},
  };
  for (const Damage& d : damages) {
    auto file = MakeBmp(3, 2, 24, false, kPicture);
    if (d.bytes == 1) file[d.at] = static_cast<unsigned char>(d.value);
    if (d.bytes == 2) Put16(file, d.at, d.value);
    if (d.bytes == 4) Put32(file, d.at, d.value);
    EXPECT_FALSE(DecodeBmp(file.data(), file.size())) << d.what;
  }

  auto palettePastEnd = MakeBmp(1, 1, 8, false, {{0}}, {Rgb(1, 1, 1)});
  Put32(palettePastEnd, 46, 256);  // claims a 1 KiB colour table
  palettePastEnd.resize(60);
  EXPECT_FALSE(DecodeBmp(palettePastEnd.data(), palettePastEnd.size()));
}

TEST(DecodeBmp, GarbageNeverCrashes) {
  // Deterministic noise behind a valid-looking signature and header size.
  std::uint32_t state = 12345;
  for (int round = 0; round < 2000; ++round) {
    std::vector<unsigned char> bytes(14 + (round % 97));
    for (auto& b : bytes) {
      state = state * 1664525u + 1013904223u;
      b = static_cast<unsigned char>(state >> 24);
    }
    bytes[0] = 'B';
    bytes[1] = 'M';
    if (bytes.size() >= 18) Put32(bytes, 14, round % 2 ? 40 : 12);
    auto canvas = DecodeBmp(bytes.data(), bytes.size());
    if (canvas) {
      EXPECT_GT(canvas->Width(), 0);
    }
  }
}

}  // namespace
}  // namespace quorvel::raster
