// One run of the layered-window tests on the X11 backend (needs a display,
// e.g. Xvfb): how much of each move-and-update step is spent in our own
// code (painting the test window, handing the step between the worker and
// the user-interface thread) against the whole step, the rest being the X
// server's work and round trips.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/benchmark_scores.h"
#include "bench/layered_test_dialog.h"
#include "bench/layered_tests.h"
#include "platform/drawn/handover/worker_call_times.h"
#include "platform/x11/x11_platform.h"

namespace {

void BM_LayeredTestSequence(benchmark::State& state) {
  std::unique_ptr<quorvel::platform::Platform> platform = quorvel::x11::CreatePlatform();
  if (!platform) {
    state.SkipWithError("no X display");
    return;
  }
  quorvel::drawn::WorkerCallTimes& times = quorvel::drawn::TheWorkerCallTimes();
  std::int64_t exchange = 0, carriedOut = 0, painting = 0, calls = 0, queued = 0, answer = 0;
  for (auto _ : state) {
    quorvel::BenchmarkScores scores;
    quorvel::LayeredTestDialog dialog(*platform, scores);
    times.Reset();
    for (int index : quorvel::kLayeredTestOrder) {
      scores.layeredTestIndex = index;
      dialog.DoModal();
    }
    exchange += times.exchangeNs;
    carriedOut += times.carriedOutNs;
    painting += times.paintingNs;
    calls += times.calls;
    queued += times.queuedNs;
    answer += times.answerNs;
  }
  const double total = static_cast<double>(exchange);
  if (total <= 0) return;
  const double handOver = static_cast<double>(exchange - carriedOut);
  state.counters["steps"] = static_cast<double>(calls) / state.iterations();
  state.counters["us_per_step"] = total / 1000.0 / static_cast<double>(calls);
  state.counters["paint_share"] = static_cast<double>(painting) / total;
  state.counters["handover_share"] = handOver / total;
  state.counters["queued_share"] = static_cast<double>(queued) / total;
  state.counters["answer_share"] = static_cast<double>(answer) / total;
  state.counters["own_share"] = (static_cast<double>(painting) + handOver) / total;
}
BENCHMARK(BM_LayeredTestSequence)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
