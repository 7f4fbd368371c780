// SSE2 versions of the keyed copy and blend: four pixels at a time, the
// remainder with the reference code. SSE2 is part of every x86-64 processor.
#include <emmintrin.h>

#include <algorithm>

#include "pixels/pixel_kernels.h"

namespace quorvel::raster::kernels {
namespace {

__m128i Load(const std::uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
void Store(std::uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// All ones in the pixels of s that are the key.
__m128i KeyLanes(__m128i s, __m128i colourBytes, __m128i key) {
  return _mm_cmpeq_epi32(_mm_and_si128(s, colourBytes), key);
}

// mask ? a : b, bit by bit.
__m128i Select(__m128i mask, __m128i a, __m128i b) {
  return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

}  // namespace

void KeyedCopySse2(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                   std::uint32_t keyPixel) {
  const __m128i colourBytes = _mm_set1_epi32(static_cast<int>(kColourBytes));
  const __m128i key = _mm_set1_epi32(static_cast<int>(keyPixel & kColourBytes));
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i s = Load(src + i);
    const __m128i d = Load(dst + i);
    const __m128i out = Select(KeyLanes(s, colourBytes, key), d, s);
    Store(dst + i, _mm_and_si128(out, colourBytes));
  }
  KeyedCopyScalar(src + i, dst + i, n - i, keyPixel);
}

void KeyedBlendSse2(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                    std::uint32_t keyPixel, unsigned alpha) {
  const int a = static_cast<int>(std::min(alpha, 256u));
  const __m128i colourBytes = _mm_set1_epi32(static_cast<int>(kColourBytes));
  const __m128i key = _mm_set1_epi32(static_cast<int>(keyPixel & kColourBytes));
  const __m128i evenBytes = _mm_set1_epi32(0x00FF00FF);
  const __m128i oddBytes = _mm_set1_epi32(static_cast<int>(0xFF00FF00u));
  // Each pixel is split into two pairs of 16-bit lanes: (blue, red) from the
  // even bytes and (green, fourth) from the odd ones. Every lane computes
  // d * wd + s * ws <= 255 * 256 = 65280, which a 16-bit unsigned lane holds
  // exactly; the fourth byte's weights (256, 0) keep it as it is.
  const __m128i wdEven = _mm_set1_epi16(static_cast<short>(256 - a));
  const __m128i wsEven = _mm_set1_epi16(static_cast<short>(a));
  const __m128i wdOdd = _mm_set1_epi32((256 << 16) | (256 - a));
  const __m128i wsOdd = _mm_set1_epi32(a);
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i s = Load(src + i);
    const __m128i d = Load(dst + i);
    __m128i even = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(d, evenBytes), wdEven),
                                 _mm_mullo_epi16(_mm_and_si128(s, evenBytes), wsEven));
    __m128i odd = _mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(d, 8), wdOdd),
                                _mm_mullo_epi16(_mm_srli_epi16(s, 8), wsOdd));
    even = _mm_srli_epi16(even, 8);     // the result into the low byte of its lane
    odd = _mm_and_si128(odd, oddBytes);  // the result is already the high byte
    const __m128i blended = _mm_or_si128(even, odd);
    Store(dst + i, Select(KeyLanes(s, colourBytes, key), d, blended));
  }
  KeyedBlendScalar(src + i, dst + i, n - i, keyPixel, alpha);
}

}  // namespace quorvel::raster::kernels
