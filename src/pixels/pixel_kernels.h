// Row kernels over 32-bit pixels (bytes blue, green, red and a fourth byte)
// for the colour-keyed blits: a keyed copy and a keyed constant-alpha blend.
//
// These have no dependencies and are built into their own library
// (quorvel_pixel_kernels) for every backend: the raster canvas uses the
// keyed copy, the skin's BlendBlt the blend. Each has a plain reference
// version and SSE2 and AVX2 versions that give the same bits, and the blend
// an AVX-512 one too; the entry points pick the fastest the processor runs,
// once.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvel::raster {

// A pixel whose blue, green and red bytes equal those of `keyPixel` is the
// key; the fourth byte plays no part. The skin's key, magenta, is 0x00FF00FF.
constexpr std::uint32_t kColourBytes = 0x00FFFFFFu;
constexpr bool IsKeyPixel(std::uint32_t p, std::uint32_t keyPixel) {
  return (p & kColourBytes) == (keyPixel & kColourBytes);
}

// dst[i] = src[i] where src[i] is not the key, and stays dst[i] where it is;
// either way the fourth byte of the result is 0. That is what GDI's
// monochrome-mask sequence (SRCAND of the mask, SRCPAINT of the masked
// image) leaves on a 32-bit surface, so this can stand in for it.
void KeyedCopyRow(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                  std::uint32_t keyPixel);

// Constant-alpha blend of src over dst, skipping key pixels of src. For each
// pixel that is not the key and each of blue, green and red:
//   d = (d * 256 + (s - d) * alpha) >> 8
// (exactly; equal to (d * (256 - alpha) + s * alpha) >> 8). The fourth byte
// of dst is left as it is. alpha = 0 changes nothing; alpha may be up to 256.
void KeyedBlendRow(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                   std::uint32_t keyPixel, unsigned alpha);

// The individual versions, for the tests and the benchmarks. The AVX2 ones
// must only be called when HasAvx2() is true, the AVX-512 one when
// HasAvx512() is.
namespace kernels {

bool HasAvx2();
bool HasAvx512();  // AVX-512 F and BW

void KeyedCopyScalar(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                     std::uint32_t keyPixel);
void KeyedCopySse2(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                   std::uint32_t keyPixel);
void KeyedCopyAvx2(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                   std::uint32_t keyPixel);

void KeyedBlendScalar(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                      std::uint32_t keyPixel, unsigned alpha);
void KeyedBlendSse2(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                    std::uint32_t keyPixel, unsigned alpha);
void KeyedBlendAvx2(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                    std::uint32_t keyPixel, unsigned alpha);
void KeyedBlendAvx512(const std::uint32_t* src, std::uint32_t* dst, std::size_t n,
                      std::uint32_t keyPixel, unsigned alpha);

}  // namespace kernels
}  // namespace quorvel::raster
