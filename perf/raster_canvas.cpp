// Software canvas throughput over a full-HD surface: the three operations
// that dominate painting the window (solid fills, the title gradient and
// copying the back buffer).
#include <benchmark/benchmark.h>

#include "raster/raster_canvas.h"

namespace {

using quorvel::Rect;
using quorvel::Rgb;
using quorvel::raster::RasterCanvas;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

void BM_RectangleFill(benchmark::State& state) {
  auto canvas = RasterCanvas::CreateMemory(kWidth, kHeight);
  const quorvel::platform::Pen pen{quorvel::platform::kPenSolid, 0, Rgb(0, 0, 0)};
  const quorvel::platform::Brush brush{Rgb(30, 60, 90), quorvel::platform::kHatchNone};
  for (auto _ : state) {
    canvas->Rectangle(Rect{0, 0, kWidth, kHeight}, pen, brush);
    benchmark::DoNotOptimize(canvas->surface().Memory());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_RectangleFill);

void BM_GradientFillH(benchmark::State& state) {
  auto canvas = RasterCanvas::CreateMemory(kWidth, kHeight);
  for (auto _ : state) {
    canvas->GradientFillH(Rect{0, 0, kWidth, kHeight}, Rgb(0, 40, 120), Rgb(200, 220, 255));
    benchmark::DoNotOptimize(canvas->surface().Memory());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_GradientFillH);

void BM_BitBlt(benchmark::State& state) {
  const auto rop = static_cast<quorvel::platform::Rop>(state.range(0));
  auto source = RasterCanvas::CreateMemory(kWidth, kHeight);
  auto target = RasterCanvas::CreateMemory(kWidth, kHeight);
  for (auto _ : state) {
    target->BitBlt(0, 0, kWidth, kHeight, *source, 0, 0, rop);
    benchmark::DoNotOptimize(target->surface().Memory());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_BitBlt)
    ->Arg(static_cast<int>(quorvel::platform::Rop::SrcCopy))
    ->Arg(static_cast<int>(quorvel::platform::Rop::SrcAnd))
    ->Arg(static_cast<int>(quorvel::platform::Rop::SrcPaint));

void BM_BitBltMonoMask(benchmark::State& state) {
  auto source = RasterCanvas::CreateMemory(kWidth, kHeight);
  auto mask = source->CreateMonochrome(kWidth, kHeight);
  source->SetBkColour(quorvel::kKeyMagenta);
  for (auto _ : state) {
    mask->BitBlt(0, 0, kWidth, kHeight, *source, 0, 0, quorvel::platform::Rop::SrcCopy);
    benchmark::DoNotOptimize(mask.get());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_BitBltMonoMask);

}  // namespace

BENCHMARK_MAIN();
