#include "pixels/pixel_kernels.h"

#include <algorithm>

namespace quorvel::raster {
namespace kernels {

// These also check that the operating system saves the wider registers.
bool HasAvx2() {
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
#else
  return false;
#endif
}

bool HasAvx512() {
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512bw") != 0;
#else
  return false;
#endif
}

void KeyedCopyScalar(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                     std::uint32_t keyPixel) {
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint32_t s = src[i];
    dst[i] = (IsKeyPixel(s, keyPixel) ? dst[i] : s) & kColourBytes;
  }
}

void KeyedBlendScalar(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                      std::uint32_t keyPixel, unsigned alpha) {
  const int a = static_cast<int>(std::min(alpha, 256u));
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint32_t s = src[i];
    if (IsKeyPixel(s, keyPixel)) continue;
    const std::uint32_t d = dst[i];
    std::uint32_t out = d & ~kColourBytes;
    for (int shift = 0; shift <= 16; shift += 8) {
      const int dc = static_cast<int>((d >> shift) & 0xFF);
      const int sc = static_cast<int>((s >> shift) & 0xFF);
      // Never negative for a <= 256, so the shift is a plain division by 256.
      const int v = (dc * 256 + (sc - dc) * a) >> 8;
      out |= static_cast<std::uint32_t>(v) << shift;
    }
    dst[i] = out;
  }
}

}  // namespace kernels

namespace {

using CopyFn = void (*)(const std::uint32_t*, std::uint32_t*, std::size_t, std::uint32_t);
using BlendFn = void (*)(const std::uint32_t*, std::uint32_t*, std::size_t, std::uint32_t,
                         unsigned);

CopyFn ChooseCopy() {
  return kernels::HasAvx2() ? kernels::KeyedCopyAvx2 : kernels::KeyedCopySse2;
}

BlendFn ChooseBlend() {
  if (kernels::HasAvx512()) return kernels::KeyedBlendAvx512;
  return kernels::HasAvx2() ? kernels::KeyedBlendAvx2 : kernels::KeyedBlendSse2;
}

}  // namespace

void KeyedCopyRow(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                  std::uint32_t keyPixel) {
  static const CopyFn copy = ChooseCopy();
  copy(src, dst, n, keyPixel);
}

void KeyedBlendRow(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                   std::uint32_t keyPixel, unsigned alpha) {
  static const BlendFn blend = ChooseBlend();
  blend(src, dst, n, keyPixel, alpha);
}

}  // namespace quorvel::raster
