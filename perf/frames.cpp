// The cost of painting the main window with the software raster, as the X11
// backend does on every refresh: one PaintSkin frame of the main screen, of
// a cross-fade frame and of the results screen, at 1024x768 and 1920x1080;
// and the time to the first painted frame (the skin made and built, the
// facts shown, one paint at 1920x1080).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/x11/painting/x11_graphics.h"
#include "raster/raster_canvas.h"
#include "skin/skin_content.h"
#include "skin/skin_painter.h"
#include "sysinfo/link_handler.h"
#include "sysinfo/system_info.h"

namespace {

using quorvel::ScreenState;
using quorvel::SkinContent;
using quorvel::raster::RasterCanvas;

quorvel::SystemInfo Facts() {
  quorvel::SystemInfo info;
  info.adapterLine = "Graphics Card : llvmpipe (LLVM 15.0.6, 256 bits) with 256 MB";
  info.modeLine = "Current Mode : 1920 x 1080 x 32 bits (60 Hz)";
  info.cpuLine = "Running on a 2 x 2994 MHz AMD EPYC Cpu";
  info.constantAlphaSentence = "Constant alpha blending is accelerated by your graphics card.";
  info.perPixelAlphaSentence = "Per-pixel alpha blending is not accelerated by your graphics card.";
  info.constantAlphaAccelerated = 1;
  info.adviceText =
      "Your graphics card accelerates constant alpha blending but not per-pixel alpha "
      "blending. A newer driver from the maker of your card may accelerate both.";
  return info;
}

// A report of 21 lines, as a finished run leaves it.
std::string Report21() {
  return "Quorvel Results\n\n"
         "Graphics Card : llvmpipe (LLVM 15.0.6, 256 bits)\n"
         "Current Mode : 1920 x 1080 x 32 bits (60 Hz)\n\n"
         "Constant alpha blending is accelerated by your graphics card.\n\n"
         "Per-pixel alpha blending is not accelerated by your graphics card.\n\n"
         "Running on a 2994 MHz Cpu\n\n"
         "Layered Window Tests : \n"
         "  Black as transparent : 211.4321\n"
         "  47% visibility : 198.1234\n"
         "  50% visibility : 197.5678\n"
         "  100% visibility : 254.0012\n\n"
         "Overall Layered Windows Score : 861\n\n"
         "Overall Benchmark Score : 861\n";
}

// The skin as the main dialog has it once it is up.
void MakeSkin(SkinContent& skin, quorvel::platform::Graphics& graphics,
              quorvel::LinkRects& links, const quorvel::SystemInfo& info) {
  skin.LoadResources(graphics);
  skin.Build(links, "www.quorvel.net");
  skin.ShowSystemFacts(info);
  skin.sysInfoPanel.alpha = 255;
  skin.sysInfoPanel.comp = quorvel::kDrawColourKeyed;
  skin.resultPanel.alpha = 255;
  skin.resultPanel.comp = quorvel::kDrawColourKeyed;
}

enum Screen { kMain = 0, kCrossFade = 1, kResults = 2 };

void BM_Frame(benchmark::State& state) {
  const auto screen = static_cast<Screen>(state.range(0));
  const int w = static_cast<int>(state.range(1));
  const int h = static_cast<int>(state.range(2));
  quorvel::x11::X11Graphics graphics;
  quorvel::LinkRects links;
  SkinContent skin;
  MakeSkin(skin, graphics, links, Facts());
  ScreenState flags;
  switch (screen) {
    case kMain:
      state.SetLabel("main");
      break;
    case kCrossFade:
      state.SetLabel("cross-fade");
      quorvel::SetTopLevelComposition(skin.mainList, 2, 128);
      quorvel::SetTopLevelComposition(skin.resultsList, 2, 255);
      flags.enteringResults = 1;
      break;
    case kResults:
      state.SetLabel("results");
      skin.reportText.text = Report21();
      flags.resultsScreenActive = 1;
      break;
  }
  auto window = RasterCanvas::CreateMemory(w, h);
  quorvel::PaintSkin(*window, skin, flags);  // glyphs rendered once, as after start-up
  for (auto _ : state) {
    quorvel::PaintSkin(*window, skin, flags);
    benchmark::DoNotOptimize(window->surface().Memory());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(w) * h);
}
BENCHMARK(BM_Frame)
    ->ArgNames({"screen", "w", "h"})
    ->Args({kMain, 1024, 768})
    ->Args({kMain, 1920, 1080})
    ->Args({kCrossFade, 1024, 768})
    ->Args({kCrossFade, 1920, 1080})
    ->Args({kResults, 1024, 768})
    ->Args({kResults, 1920, 1080})
    ->Unit(benchmark::kMillisecond);

// From nothing to the first picture: fonts made and the skin bitmap decoded,
// the elements built, the facts shown, one paint (every glyph rendered for
// the first time).
void BM_FirstFrame(benchmark::State& state) {
  const quorvel::SystemInfo info = Facts();
  for (auto _ : state) {
    quorvel::x11::X11Graphics graphics;
    quorvel::LinkRects links;
    SkinContent skin;
    MakeSkin(skin, graphics, links, info);
    ScreenState flags;
    auto window = RasterCanvas::CreateMemory(1920, 1080);
    quorvel::PaintSkin(*window, skin, flags);
    benchmark::DoNotOptimize(window->surface().Memory());
  }
}
BENCHMARK(BM_FirstFrame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
