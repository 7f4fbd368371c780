// AVX2 versions of the keyed copy and blend: eight pixels at a time, the
// remainder with the reference code. Compiled with -mavx2 and called only
// when the processor has AVX2. Every store is unconditional: the key pixels
// are chosen with a blend, since masked stores are slow on some processors.
#include <immintrin.h>

#include <algorithm>
#include <cstdint>

#include "pixels/pixel_kernels.h"

namespace quorvel::raster::kernels {
namespace {

inline __m256i Load(const std::uint32_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
inline void Store(std::uint32_t* p, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// How many pixels lie before the first 32-byte-aligned one, at most n. The
// kernels do these the reference way so that no store splits a cache line.
std::size_t AlignHead(const std::uint32_t* p, std::size_t n) {
  const std::size_t misalign = reinterpret_cast<std::uintptr_t>(p) % 32;
  const std::size_t head = misalign == 0 ? 0 : (32 - misalign) / sizeof *p;
  return std::min(head, n);
}

}  // namespace

void KeyedCopyAvx2(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                   std::uint32_t keyPixel) {
  const __m256i colourBytes = _mm256_set1_epi32(static_cast<int>(kColourBytes));
  const __m256i key = _mm256_set1_epi32(static_cast<int>(keyPixel & kColourBytes));
  std::size_t i = AlignHead(dst, n);
  KeyedCopyScalar(src, dst, i, keyPixel);
  // Two vectors per round, all loads before the stores.
  for (; i + 16 <= n; i += 16) {
    const __m256i s0 = _mm256_and_si256(Load(src + i), colourBytes);
    const __m256i s1 = _mm256_and_si256(Load(src + i + 8), colourBytes);
    const __m256i d0 = _mm256_and_si256(Load(dst + i), colourBytes);
    const __m256i d1 = _mm256_and_si256(Load(dst + i + 8), colourBytes);
    Store(dst + i, _mm256_blendv_epi8(s0, d0, _mm256_cmpeq_epi32(s0, key)));
    Store(dst + i + 8, _mm256_blendv_epi8(s1, d1, _mm256_cmpeq_epi32(s1, key)));
  }
  for (; i + 8 <= n; i += 8) {
    const __m256i s = _mm256_and_si256(Load(src + i), colourBytes);
    const __m256i d = _mm256_and_si256(Load(dst + i), colourBytes);
    Store(dst + i, _mm256_blendv_epi8(s, d, _mm256_cmpeq_epi32(s, key)));
  }
  KeyedCopyScalar(src + i, dst + i, n - i, keyPixel);
}

namespace {

// The blend as d + ((s - d) * a) >> 8 computed in 16-bit lanes that hold a
// pair of bytes (p, q), p low: the lane's value is L = p + 256 q, and
// pmaddubsw with the signed weights (w - 1, -w) gives p (w - 1) - q w, so
// L + that = 256 q + (p - q) w, which lies in 0..65280 and is the exact
// blend times 256; a logical shift by 8 leaves the result. The weights fit
// signed bytes for w <= 128, and the products stay inside pmaddubsw's
// saturation bounds. For a <= 128, p = s, q = d and w = a; the fourth byte's
// weights (-1, 0) keep d. For a > 128 the same sum is written from the
// other side, 256 s + (d - s)(256 - a), so p = d, q = s and w = 256 - a; the
// fourth byte is then taken from d by the final select.
template <bool kFromSource>
void BlendAvx2(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
               std::uint32_t keyPixel, int w) {
  const __m256i colourBytes = _mm256_set1_epi32(static_cast<int>(kColourBytes));
  const __m256i key = _mm256_set1_epi32(static_cast<int>(keyPixel & kColourBytes));
  // Weights per pixel (bytes p, q for blue, green, red, fourth).
  const std::uint32_t pair = (static_cast<std::uint32_t>(w - 1) & 0xFF) |
                             ((static_cast<std::uint32_t>(-w) & 0xFF) << 8);
  const std::uint32_t fourth = kFromSource ? 0 : 0x00FF;  // (-1, 0)
  const __m256i weights = _mm256_set1_epi64x(static_cast<long long>(
      (static_cast<std::uint64_t>(pair | (pair << 16)) |
       (static_cast<std::uint64_t>(pair | (fourth << 16)) << 32))));
  const __m256i keepDest =
      _mm256_set1_epi32(kFromSource ? static_cast<int>(0xFF000000u) : 0);
  // Eight pixels: blend, then keep d under the key (and its fourth byte
  // when blending from the source side).
  auto blend8 = [&](__m256i s, __m256i d) {
    const __m256i p = kFromSource ? d : s;
    const __m256i q = kFromSource ? s : d;
    const __m256i lo = _mm256_unpacklo_epi8(p, q);
    const __m256i hi = _mm256_unpackhi_epi8(p, q);
    const __m256i lo8 =
        _mm256_srli_epi16(_mm256_add_epi16(lo, _mm256_maddubs_epi16(lo, weights)), 8);
    const __m256i hi8 =
        _mm256_srli_epi16(_mm256_add_epi16(hi, _mm256_maddubs_epi16(hi, weights)), 8);
    const __m256i blended = _mm256_packus_epi16(lo8, hi8);
    __m256i fromDest = _mm256_cmpeq_epi32(_mm256_and_si256(s, colourBytes), key);
    if (kFromSource) fromDest = _mm256_or_si256(fromDest, keepDest);
    return _mm256_blendv_epi8(blended, d, fromDest);
  };
  std::size_t i = AlignHead(dst, n);
  KeyedBlendScalar(src, dst, i, keyPixel, kFromSource ? 256 - w : w);
  for (; i + 16 <= n; i += 16) {
    const __m256i s0 = Load(src + i);
    const __m256i s1 = Load(src + i + 8);
    const __m256i d0 = Load(dst + i);
    const __m256i d1 = Load(dst + i + 8);
    Store(dst + i, blend8(s0, d0));
    Store(dst + i + 8, blend8(s1, d1));
  }
  for (; i + 8 <= n; i += 8) Store(dst + i, blend8(Load(src + i), Load(dst + i)));
  KeyedBlendScalar(src + i, dst + i, n - i, keyPixel, kFromSource ? 256 - w : w);
}

}  // namespace

void KeyedBlendAvx2(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                    std::uint32_t keyPixel, unsigned alpha) {
  const int a = static_cast<int>(std::min(alpha, 256u));
  if (a <= 128) {
    BlendAvx2<false>(src, dst, n, keyPixel, a);
  } else {
    BlendAvx2<true>(src, dst, n, keyPixel, 256 - a);
  }
}

}  // namespace quorvel::raster::kernels
