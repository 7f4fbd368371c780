// What timing every step costs: one more reading of the stopwatch's counter
// and one stored duration per step, as the test's worker does them, on the
// X11 backend's counter. Set against the time of a step (the `p50` of the
// results file, or us_per_step of perf_test_steps), this is the share of a
// step that per-step timing takes. Opens the display for the backend's
// services (the counter itself needs none).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "bench/layered_tests.h"
#include "platform/x11/x11_platform.h"

namespace {

void BM_StepTimingPerStep(benchmark::State& state) {
  std::unique_ptr<quorvel::platform::Platform> platform = quorvel::x11::CreatePlatform();
  if (!platform) {
    state.SkipWithError("no X display");
    return;
  }
  // Through the interface, as the worker reads it.
  quorvel::platform::Services& services = platform->services();
  std::vector<std::int64_t> ticks;
  ticks.reserve(quorvel::kTestSteps);
  std::int64_t last = services.PerformanceCounter();
  for (auto _ : state) {
    if (ticks.size() == quorvel::kTestSteps) ticks.clear();
    const std::int64_t now = services.PerformanceCounter();
    ticks.push_back(now - last);
    last = now;
    benchmark::DoNotOptimize(ticks.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StepTimingPerStep);

}  // namespace

BENCHMARK_MAIN();
