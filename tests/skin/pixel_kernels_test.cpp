// The keyed copy and keyed blend kernels: the reference against exact
// values, and every vector version against the reference.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "pixels/pixel_kernels.h"

namespace quorvel::raster {
namespace {

constexpr std::uint32_t kKey = 0x00FF00FF;  // magenta

using CopyFn = void (*)(const std::uint32_t*, std::uint32_t*, std::size_t, std::uint32_t);
using BlendFn = void (*)(const std::uint32_t*, std::uint32_t*, std::size_t, std::uint32_t,
                         unsigned);

struct Version {
  const char* name;
  CopyFn copy;
  BlendFn blend;
  bool (*runsHere)();
};

bool Always() { return true; }

// Every vector version, and the entry points that choose one. A version the
// processor lacks is skipped with a message, so a run shows what it did not
// check.
const Version kVersions[] = {
    {"sse2", kernels::KeyedCopySse2, kernels::KeyedBlendSse2, Always},
    {"avx2", kernels::KeyedCopyAvx2, kernels::KeyedBlendAvx2, kernels::HasAvx2},
    {"avx512", kernels::KeyedCopyScalar, kernels::KeyedBlendAvx512, kernels::HasAvx512},
    {"chosen", KeyedCopyRow, KeyedBlendRow, Always},
};

class VectorVersion : public ::testing::TestWithParam<Version> {
 protected:
  void SetUp() override {
    if (!GetParam().runsHere()) {
      GTEST_SKIP() << "the processor cannot run the " << GetParam().name
                   << " version: it was not checked";
    }
  }
};

// Random pixels with random fourth bytes; about one in four is a key pixel
// (half of those with a non-zero fourth byte) and some are one step off
// the key, which are ordinary colours.
std::vector<std::uint32_t> RandomPixels(std::mt19937& rng, std::size_t n) {
  std::vector<std::uint32_t> out(n);
  for (auto& p : out) {
    const std::uint32_t r = rng();
    switch (r % 8) {
      case 0: p = kKey; break;
      case 1: p = kKey | (r & 0xFF000000u) | 0x01000000u; break;
      case 2: p = 0x00FF01FFu; break;  // green 1
      case 3: p = 0x00FE00FFu; break;  // red 254
      default: p = rng(); break;
    }
  }
  return out;
}

TEST(PixelKernels, ReferenceValues) {
  struct Case {
    const char* what;
    std::uint32_t s, d;
    unsigned alpha;
    std::uint32_t blended, copied;
  };
  const Case cases[] = {
      {"key keeps dst; copy clears the fourth byte", kKey, 0xAB123456, 128, 0xAB123456, 0x00123456},
      {"key with a fourth byte is still the key", 0x7FFF00FF, 0x00123456, 200, 0x00123456, 0x00123456},
      {"green 1 is a colour", 0x00FF01FF, 0x00000000, 255, 0x00FE00FE, 0x00FF01FF},
      {"red 254 is a colour", 0x00FE00FF, 0x00000000, 128, 0x007F007F, 0x00FE00FF},
      {"alpha 0 changes nothing", 0x00FFFFFF, 0x5A102030, 0, 0x5A102030, 0x00FFFFFF},
      {"128: 255 over 0 gives 127", 0x00FFFFFF, 0x00000000, 128, 0x007F7F7F, 0x00FFFFFF},
      {"128: 0 over 255 rounds down to 127", 0x00000000, 0x00FFFFFF, 128, 0x007F7F7F, 0x00000000},
      {"channels apart, fourth byte of dst stays", 0x99FF0064, 0x2200FF32, 128,
       0x227F7F4B, 0x00FF0064},
      {"253: 0 over 255 gives 2", 0x00000000, 0x00FFFFFF, 253, 0x00020202, 0x00000000},
      {"1: 255 over 0 gives 0", 0x00FFFFFF, 0x00000000, 1, 0x00000000, 0x00FFFFFF},
  };
  for (const Case& c : cases) {
    std::uint32_t d = c.d;
    kernels::KeyedBlendScalar(&c.s, &d, 1, kKey, c.alpha);
    EXPECT_EQ(d, c.blended) << c.what;
    d = c.d;
    kernels::KeyedCopyScalar(&c.s, &d, 1, kKey);
    EXPECT_EQ(d, c.copied) << c.what;
  }
}

TEST_P(VectorVersion, MatchesTheReferenceOnRandomRows) {
  const Version& v = GetParam();
  std::mt19937 rng(12345);
  // Odd lengths and every tail length of the vector widths; the rows start
  // one pixel into the buffers so that nothing is aligned.
  const std::size_t lengths[] = {0,  1,  2,  3,  4,  5,  7,  8,  9,   11,
                                 15, 16, 17, 23, 31, 33, 47, 63, 800, 1921};
  const unsigned opacities[] = {0, 1, 127, 128, 253, 255, 256};
  {
    for (std::size_t n : lengths) {
      const std::vector<std::uint32_t> src = RandomPixels(rng, n + 1);
      const std::vector<std::uint32_t> dst = RandomPixels(rng, n + 2);
      std::vector<std::uint32_t> want = dst;
      std::vector<std::uint32_t> got = dst;
      kernels::KeyedCopyScalar(src.data() + 1, want.data() + 1, n, kKey);
      v.copy(src.data() + 1, got.data() + 1, n, kKey);
      ASSERT_EQ(got, want) << v.name << " copy, " << n << " pixels";
      for (unsigned a : opacities) {
        want = dst;
        got = dst;
        kernels::KeyedBlendScalar(src.data() + 1, want.data() + 1, n, kKey, a);
        v.blend(src.data() + 1, got.data() + 1, n, kKey, a);
        ASSERT_EQ(got, want) << v.name << " blend, " << n << " pixels, alpha " << a;
      }
    }
  }
}

// Every (s, d) byte pair in every channel, for every opacity the software
// blend is used with, against the formula written out here.
TEST_P(VectorVersion, EveryBytePairForEveryOpacity) {
  const Version& v = GetParam();
  constexpr std::size_t kPairs = 256 * 256;
  std::vector<std::uint32_t> src(kPairs);
  std::vector<std::uint32_t> dst(kPairs);
  // Pair i is (i & 0xFF, i >> 8) in blue; green and red see the pairs in
  // other orders; the fourth bytes vary too.
  auto pair = [](std::size_t i, int channel) {
    const std::size_t k = (i * (channel == 0 ? 1 : channel == 1 ? 40503 : 25979)) % kPairs;
    return std::pair<std::uint32_t, std::uint32_t>(k & 0xFF, k >> 8);
  };
  for (std::size_t i = 0; i < kPairs; ++i) {
    std::uint32_t s = (i * 7) << 24, d = (i * 13) << 24;
    for (int c = 0; c < 3; ++c) {
      s |= pair(i, c).first << (8 * c);
      d |= pair(i, c).second << (8 * c);
    }
    src[i] = s;
    dst[i] = d;
  }
  std::vector<std::uint32_t> want(kPairs);
  std::vector<std::uint32_t> got(kPairs);
  for (unsigned a = 0; a <= 253; ++a) {
    for (std::size_t i = 0; i < kPairs; ++i) {
      if (IsKeyPixel(src[i], kKey)) {
        want[i] = dst[i];
        continue;
      }
      std::uint32_t out = dst[i] & 0xFF000000u;
      for (int c = 0; c < 3; ++c) {
        const std::uint32_t s = (src[i] >> (8 * c)) & 0xFF;
        const std::uint32_t d = (dst[i] >> (8 * c)) & 0xFF;
        out |= ((d * (256 - a) + s * a) >> 8) << (8 * c);
      }
      want[i] = out;
    }
    got = dst;
    kernels::KeyedBlendScalar(src.data(), got.data(), kPairs, kKey, a);
    ASSERT_EQ(got, want) << "reference, alpha " << a;
    got = dst;
    v.blend(src.data(), got.data(), kPairs, kKey, a);
    ASSERT_EQ(got, want) << v.name << ", alpha " << a;
  }
  got = dst;
  std::vector<std::uint32_t> copied = dst;
  kernels::KeyedCopyScalar(src.data(), copied.data(), kPairs, kKey);
  v.copy(src.data(), got.data(), kPairs, kKey);
  ASSERT_EQ(got, copied) << v.name << " copy";
}

INSTANTIATE_TEST_SUITE_P(PixelKernels, VectorVersion, ::testing::ValuesIn(kVersions),
                         [](const ::testing::TestParamInfo<Version>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace quorvel::raster
