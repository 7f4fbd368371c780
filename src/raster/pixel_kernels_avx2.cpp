// AVX2 versions of the keyed copy and blend: eight pixels at a time, the
// remainder with the reference code. Compiled with -mavx2 and called only
// when the processor has AVX2. Every store is unconditional: the key pixels
// are chosen with a blend, since masked stores are slow on some processors.
#include <immintrin.h>

#include <algorithm>

#include "raster/pixel_kernels.h"

namespace quorvel::raster::kernels {
namespace {

inline __m256i Load(const std::uint32_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
inline void Store(std::uint32_t* p, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

}  // namespace

void KeyedCopyAvx2(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                   std::uint32_t keyPixel) {
  const __m256i colourBytes = _mm256_set1_epi32(static_cast<int>(kColourBytes));
  const __m256i key = _mm256_set1_epi32(static_cast<int>(keyPixel & kColourBytes));
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i s = Load(src + i);
    const __m256i d = Load(dst + i);
    const __m256i isKey = _mm256_cmpeq_epi32(_mm256_and_si256(s, colourBytes), key);
    Store(dst + i, _mm256_and_si256(_mm256_blendv_epi8(s, d, isKey), colourBytes));
  }
  KeyedCopyScalar(src + i, dst + i, n - i, keyPixel);
}

void KeyedBlendAvx2(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                    std::uint32_t keyPixel, unsigned alpha) {
  const int a = static_cast<int>(std::min(alpha, 256u));
  const __m256i colourBytes = _mm256_set1_epi32(static_cast<int>(kColourBytes));
  const __m256i key = _mm256_set1_epi32(static_cast<int>(keyPixel & kColourBytes));
  const __m256i evenBytes = _mm256_set1_epi32(0x00FF00FF);
  const __m256i oddBytes = _mm256_set1_epi32(static_cast<int>(0xFF00FF00u));
  // As in the SSE2 version: (blue, red) and (green, fourth) in 16-bit lanes,
  // d * wd + s * ws <= 65280 exactly, weights (256, 0) for the fourth byte.
  const __m256i wdEven = _mm256_set1_epi16(static_cast<short>(256 - a));
  const __m256i wsEven = _mm256_set1_epi16(static_cast<short>(a));
  const __m256i wdOdd = _mm256_set1_epi32((256 << 16) | (256 - a));
  const __m256i wsOdd = _mm256_set1_epi32(a);
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i s = Load(src + i);
    const __m256i d = Load(dst + i);
    __m256i even =
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(d, evenBytes), wdEven),
                         _mm256_mullo_epi16(_mm256_and_si256(s, evenBytes), wsEven));
    __m256i odd = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(d, 8), wdOdd),
                                   _mm256_mullo_epi16(_mm256_srli_epi16(s, 8), wsOdd));
    even = _mm256_srli_epi16(even, 8);
    odd = _mm256_and_si256(odd, oddBytes);
    const __m256i blended = _mm256_or_si256(even, odd);
    const __m256i isKey = _mm256_cmpeq_epi32(_mm256_and_si256(s, colourBytes), key);
    Store(dst + i, _mm256_blendv_epi8(blended, d, isKey));
  }
  KeyedBlendScalar(src + i, dst + i, n - i, keyPixel, alpha);
}

}  // namespace quorvel::raster::kernels
