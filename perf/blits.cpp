// The colour-keyed blits: the keyed blend and keyed copy kernels against
// memcpy of the same bytes and pixman's OVER with a constant a8 mask, on a
// full-HD frame (in cache, and from RAM by rotating over buffers larger than
// the last-level cache) and on an 800 x 215 panel; then BlendBlt and
// ColorKeyBlt end to end on the raster canvas. Rates are pixels per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#ifdef QUORVEL_HAVE_PIXMAN
#include <pixman.h>
#endif

#include "platform/facts.h"
#include "pixels/pixel_kernels.h"
#include "raster/raster_canvas.h"
#include "skin/blits.h"

namespace {

using quorvel::raster::RasterCanvas;
namespace kernels = quorvel::raster::kernels;

constexpr std::uint32_t kKey = 0x00FF00FF;
constexpr unsigned kAlpha = 128;

// Where the pixels come from: the same pair of buffers every time, or the
// next of enough pairs that none is still cached when it comes round.
enum Residency { kInCache = 0, kFromRam = 1 };
constexpr std::size_t kRamBytes = 160u << 20;  // over four times a 32 MiB L3

std::uint32_t NextRandom(std::uint64_t& state) {
  state ^= state << 13;
  state ^= state >> 7;
  state ^= state << 17;
  return static_cast<std::uint32_t>(state >> 11);
}

struct BufferPair {
  std::vector<std::uint32_t> src;
  std::vector<std::uint32_t> dst;
};

// Source pixels with about one key pixel in eight; random destination.
// Made once per size and residency and kept for the whole run.
std::vector<BufferPair>& Buffers(int w, int h, Residency residency) {
  static std::map<std::tuple<int, int, int>, std::vector<BufferPair>> pool;
  auto& pairs = pool[{w, h, residency}];
  if (!pairs.empty()) return pairs;
  const std::size_t n = static_cast<std::size_t>(w) * h;
  const std::size_t pairBytes = n * 8;
  const std::size_t count = residency == kInCache ? 1 : (kRamBytes + pairBytes - 1) / pairBytes;
  std::uint64_t state = 0x9E3779B97F4A7C15ull;
  pairs.resize(count);
  for (BufferPair& p : pairs) {
    p.src.resize(n);
    p.dst.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint32_t r = NextRandom(state);
      p.src[i] = (r & 7) == 0 ? kKey : (r & 0x00FFFFFF);
      p.dst[i] = NextRandom(state) & 0x00FFFFFF;
    }
  }
  return pairs;
}

// Runs `op(src, dst, n)` over the buffers of one configuration.
template <typename Op>
void RunOverBuffers(benchmark::State& state, Op op) {
  const int w = static_cast<int>(state.range(0));
  const int h = static_cast<int>(state.range(1));
  const auto residency = static_cast<Residency>(state.range(2));
  std::vector<BufferPair>& pairs = Buffers(w, h, residency);
  const std::size_t n = static_cast<std::size_t>(w) * h;
  std::size_t next = 0;
  for (auto _ : state) {
    BufferPair& p = pairs[next];
    next = next + 1 == pairs.size() ? 0 : next + 1;
    op(p.src.data(), p.dst.data(), n);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * w * h);
  state.SetLabel(residency == kInCache ? "in cache" : "from RAM");
}

void Configurations(benchmark::internal::Benchmark* b) {
  b->ArgNames({"w", "h", "ram"});
  b->Args({1920, 1080, kInCache});
  b->Args({1920, 1080, kFromRam});
  b->Args({800, 215, kInCache});
}

void BM_Memcpy(benchmark::State& state) {
  RunOverBuffers(state, [](const std::uint32_t* s, std::uint32_t* d, std::size_t n) {
    std::memcpy(d, s, n * sizeof *s);
  });
}
BENCHMARK(BM_Memcpy)->Apply(Configurations);

void BM_KeyedBlend(benchmark::State& state) {
  RunOverBuffers(state, [](const std::uint32_t* s, std::uint32_t* d, std::size_t n) {
    quorvel::raster::KeyedBlendRow(s, d, n, kKey, kAlpha);
  });
}
BENCHMARK(BM_KeyedBlend)->Apply(Configurations);

void BM_KeyedBlendAvx2(benchmark::State& state) {
  if (!kernels::HasAvx2()) {
    state.SkipWithError("no AVX2");
    return;
  }
  RunOverBuffers(state, [](const std::uint32_t* s, std::uint32_t* d, std::size_t n) {
    kernels::KeyedBlendAvx2(s, d, n, kKey, kAlpha);
  });
}
BENCHMARK(BM_KeyedBlendAvx2)->Apply(Configurations);

void BM_KeyedBlendSse2(benchmark::State& state) {
  RunOverBuffers(state, [](const std::uint32_t* s, std::uint32_t* d, std::size_t n) {
    kernels::KeyedBlendSse2(s, d, n, kKey, kAlpha);
  });
}
BENCHMARK(BM_KeyedBlendSse2)->Apply(Configurations);

void BM_KeyedBlendScalar(benchmark::State& state) {
  RunOverBuffers(state, [](const std::uint32_t* s, std::uint32_t* d, std::size_t n) {
    kernels::KeyedBlendScalar(s, d, n, kKey, kAlpha);
  });
}
BENCHMARK(BM_KeyedBlendScalar)->Apply(Configurations);

void BM_KeyedCopy(benchmark::State& state) {
  RunOverBuffers(state, [](const std::uint32_t* s, std::uint32_t* d, std::size_t n) {
    quorvel::raster::KeyedCopyRow(s, d, n, kKey);
  });
}
BENCHMARK(BM_KeyedCopy)->Apply(Configurations);

void BM_KeyedCopySse2(benchmark::State& state) {
  RunOverBuffers(state, [](const std::uint32_t* s, std::uint32_t* d, std::size_t n) {
    kernels::KeyedCopySse2(s, d, n, kKey);
  });
}
BENCHMARK(BM_KeyedCopySse2)->Apply(Configurations);

void BM_KeyedCopyScalar(benchmark::State& state) {
  RunOverBuffers(state, [](const std::uint32_t* s, std::uint32_t* d, std::size_t n) {
    kernels::KeyedCopyScalar(s, d, n, kKey);
  });
}
BENCHMARK(BM_KeyedCopyScalar)->Apply(Configurations);

#ifdef QUORVEL_HAVE_PIXMAN
// OVER of an opaque x8r8g8b8 source through a 1 x 1 repeating a8 mask of
// the constant alpha: pixman's constant-alpha blend.
void BM_PixmanOverConstantMask(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0));
  const int h = static_cast<int>(state.range(1));
  std::uint32_t maskBits = kAlpha;  // one a8 pixel, padded to a 4-byte row
  pixman_image_t* mask = pixman_image_create_bits(PIXMAN_a8, 1, 1, &maskBits, 4);
  pixman_image_set_repeat(mask, PIXMAN_REPEAT_NORMAL);
  struct Images {
    pixman_image_t* src;
    pixman_image_t* dst;
  };
  std::vector<Images> images;
  for (BufferPair& p : Buffers(w, h, static_cast<Residency>(state.range(2)))) {
    images.push_back({pixman_image_create_bits(PIXMAN_x8r8g8b8, w, h, p.src.data(), w * 4),
                      pixman_image_create_bits(PIXMAN_x8r8g8b8, w, h, p.dst.data(), w * 4)});
  }
  std::size_t next = 0;
  for (auto _ : state) {
    const Images& i = images[next];
    next = next + 1 == images.size() ? 0 : next + 1;
    pixman_image_composite32(PIXMAN_OP_OVER, i.src, mask, i.dst, 0, 0, 0, 0, 0, 0, w, h);
    benchmark::ClobberMemory();
  }
  for (const Images& i : images) {
    pixman_image_unref(i.src);
    pixman_image_unref(i.dst);
  }
  pixman_image_unref(mask);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * w * h);
  state.SetLabel(state.range(2) == kInCache ? "in cache" : "from RAM");
}
BENCHMARK(BM_PixmanOverConstantMask)->Apply(Configurations);
#endif

// --- End to end on the raster canvas ---------------------------------------

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A full-HD source with key pixels and a destination, as canvases.
struct CanvasPair {
  std::unique_ptr<RasterCanvas> src = RasterCanvas::CreateMemory(kWidth, kHeight);
  std::unique_ptr<RasterCanvas> dst = RasterCanvas::CreateMemory(kWidth, kHeight);
  CanvasPair() {
    const BufferPair& p = Buffers(kWidth, kHeight, kInCache).front();
    for (int y = 0; y < kHeight; ++y) {
      std::memcpy(src->surface().Row(y), p.src.data() + std::size_t{kWidth} * y, kWidth * 4);
      std::memcpy(dst->surface().Row(y), p.dst.data() + std::size_t{kWidth} * y, kWidth * 4);
    }
  }
};

// A raster canvas without the one-pass fast paths: ColorKeyBlt then takes
// the four-blit mask sequence and BlendBlt its two 32-bit buffers, as they
// do on a canvas that offers neither.
class WithoutFastPaths : public RasterCanvas {
 public:
  explicit WithoutFastPaths(quorvel::raster::Surface* s) : RasterCanvas(s) {}
  bool CopyWithColourKey(int, int, int, int, quorvel::platform::Canvas&, int, int,
                         quorvel::Colour) override {
    return false;
  }
  bool BlendWithColourKey(int, int, int, int, quorvel::platform::Canvas&, int, int, std::uint8_t,
                          quorvel::Colour) override {
    return false;
  }
};

void BM_BlendBltRaster(benchmark::State& state) {
  CanvasPair c;
  const quorvel::platform::ImagingEntries none;
  for (auto _ : state) {
    quorvel::BlendBlt(c.dst.get(), 0, 0, kWidth, kHeight, c.src.get(), 0, 0, kWidth, kHeight,
                      quorvel::BlendFunction{0, 0, kAlpha, 0}, none);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_BlendBltRaster)->Unit(benchmark::kMillisecond);

void BM_BlendBltBuffers(benchmark::State& state) {
  CanvasPair c;
  WithoutFastPaths dst(&c.dst->surface());
  const quorvel::platform::ImagingEntries none;
  for (auto _ : state) {
    quorvel::BlendBlt(&dst, 0, 0, kWidth, kHeight, c.src.get(), 0, 0, kWidth, kHeight,
                      quorvel::BlendFunction{0, 0, kAlpha, 0}, none);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_BlendBltBuffers)->Unit(benchmark::kMillisecond);

void BM_ColorKeyBltRaster(benchmark::State& state) {
  CanvasPair c;
  const quorvel::platform::ImagingEntries none;
  for (auto _ : state) {
    quorvel::ColorKeyBlt(*c.dst, 0, 0, kWidth, kHeight, *c.src, 0, 0, none);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_ColorKeyBltRaster)->Unit(benchmark::kMillisecond);

void BM_ColorKeyBltMaskSequence(benchmark::State& state) {
  CanvasPair c;
  WithoutFastPaths dst(&c.dst->surface());
  const quorvel::platform::ImagingEntries none;
  for (auto _ : state) {
    quorvel::ColorKeyBlt(dst, 0, 0, kWidth, kHeight, *c.src, 0, 0, none);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_ColorKeyBltMaskSequence)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
