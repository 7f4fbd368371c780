// AVX-512 (F and BW) version of the keyed blend: sixteen pixels at a time,
// the same arithmetic as the AVX2 version (see there). The blend is bound
// by arithmetic rather than memory, so processors with 512-bit vectors run
// it this way; the keyed copy is bound by memory and stays with AVX2.
// Compiled with -mavx512f -mavx512bw and called only when the processor
// has both.
#include <immintrin.h>

#include <algorithm>
#include <cstdint>

#include "pixels/pixel_kernels.h"

namespace quorvel::raster::kernels {
namespace {

// How many pixels lie before the first `bytes`-aligned one, at most n.
std::size_t AlignHead(const std::uint32_t* p, std::size_t n, std::size_t bytes) {
  const std::size_t misalign = reinterpret_cast<std::uintptr_t>(p) % bytes;
  const std::size_t head = misalign == 0 ? 0 : (bytes - misalign) / sizeof *p;
  return std::min(head, n);
}

template <bool kFromSource>
void BlendAvx512(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                 std::uint32_t keyPixel, int w) {
  const __m512i colourBytes = _mm512_set1_epi32(static_cast<int>(kColourBytes));
  const __m512i key = _mm512_set1_epi32(static_cast<int>(keyPixel & kColourBytes));
  const std::uint32_t pair = (static_cast<std::uint32_t>(w - 1) & 0xFF) |
                             ((static_cast<std::uint32_t>(-w) & 0xFF) << 8);
  const std::uint32_t fourth = kFromSource ? 0 : 0x00FF;  // (-1, 0)
  const __m512i weights = _mm512_set1_epi64(static_cast<long long>(
      (static_cast<std::uint64_t>(pair | (pair << 16)) |
       (static_cast<std::uint64_t>(pair | (fourth << 16)) << 32))));
  const __m512i fourthBytes = _mm512_set1_epi32(static_cast<int>(0xFF000000u));
  auto blend16 = [&](__m512i s, __m512i d) {
    const __m512i p = kFromSource ? d : s;
    const __m512i q = kFromSource ? s : d;
    const __m512i lo = _mm512_unpacklo_epi8(p, q);
    const __m512i hi = _mm512_unpackhi_epi8(p, q);
    const __m512i lo8 =
        _mm512_srli_epi16(_mm512_add_epi16(lo, _mm512_maddubs_epi16(lo, weights)), 8);
    const __m512i hi8 =
        _mm512_srli_epi16(_mm512_add_epi16(hi, _mm512_maddubs_epi16(hi, weights)), 8);
    __m512i blended = _mm512_packus_epi16(lo8, hi8);
    // From the source side the fourth byte comes from d: bitwise
    // fourthBytes ? d : blended.
    if (kFromSource) blended = _mm512_ternarylogic_epi32(blended, d, fourthBytes, 0xD8);
    const __mmask16 isKey = _mm512_cmpeq_epi32_mask(_mm512_and_si512(s, colourBytes), key);
    return _mm512_mask_mov_epi32(blended, isKey, d);  // a select; the store is whole
  };
  // Whole-line stores: the pixels before the first 64-byte boundary of dst
  // go the reference way (lines split by every load and store cost about
  // half the speed when streaming).
  std::size_t i = AlignHead(dst, n, 64);
  KeyedBlendScalar(src, dst, i, keyPixel, kFromSource ? 256 - w : w);
  for (; i + 32 <= n; i += 32) {
    const __m512i s0 = _mm512_loadu_si512(src + i);
    const __m512i s1 = _mm512_loadu_si512(src + i + 16);
    const __m512i d0 = _mm512_loadu_si512(dst + i);
    const __m512i d1 = _mm512_loadu_si512(dst + i + 16);
    _mm512_storeu_si512(dst + i, blend16(s0, d0));
    _mm512_storeu_si512(dst + i + 16, blend16(s1, d1));
  }
  for (; i + 16 <= n; i += 16) {
    _mm512_storeu_si512(dst + i, blend16(_mm512_loadu_si512(src + i), _mm512_loadu_si512(dst + i)));
  }
  KeyedBlendScalar(src + i, dst + i, n - i, keyPixel, kFromSource ? 256 - w : w);
}

}  // namespace

void KeyedBlendAvx512(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                      std::uint32_t keyPixel, unsigned alpha) {
  const int a = static_cast<int>(std::min(alpha, 256u));
  if (a <= 128) {
    BlendAvx512<false>(src, dst, n, keyPixel, a);
  } else {
    BlendAvx512<true>(src, dst, n, keyPixel, 256 - a);
  }
}

}  // namespace quorvel::raster::kernels
