// quorvel_wayland_probe: what a Wayland compositor does with the test's
// steps, without the rest of the program. Opens a full-screen window filled
// with one colour, puts a 300 x 300 subsurface on it, moves that along the
// test's path (300 to the right, 300 down, 300 diagonally), each move a
// step that ends with the compositor's answer to a sync, and prints one
// line per fact:
//
//   compositor: weston
//   output: 1280x1024 at 60.000 Hz, scale 1
//   missing: none
//   window: 1280x1024 (configured 1280x1024 fullscreen)
//   steps: 900, p50 41 us, p99 95 us
//   frames: 900 commits, 12 presented, 0 discarded, 0 unanswered
//   latency: p50 8123 us, p99 16012 us
//   refresh: 16.667 ms
//   clock: CLOCK_MONOTONIC
//
// `--hold MS` keeps the window on the screen for MS ms after the steps,
// for a picture of where the test window ended; `--steps N` makes only the
// first N steps (0: the test window stays where it starts, at 0, 0). Exits 1, with the reason on
// standard error, when it cannot.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/layered_tests.h"
#include "bench/step_statistics.h"
#include "platform/wayland/clock_reading.h"
#include "platform/wayland/presentation_recorder.h"
#include "platform/wayland/subsurface.h"
#include "platform/wayland/toplevel.h"
#include "platform/wayland/wayland_connection.h"

namespace {

using namespace quorvel;
using namespace quorvel::wayland;

constexpr int kTestWindowSize = 300;
constexpr int kStepTimeoutMs = 1000;

int Usage(const char* program) {
  std::fprintf(stderr,
               "usage: %s [--display NAME] [--alpha 0-255] [--hold MS] [--steps 0-900]\n"
               "  --display NAME  the compositor's socket (default: $WAYLAND_DISPLAY)\n"
               "  --alpha N       the test window's opacity (default 255)\n"
               "  --hold MS       keep the window on the screen MS ms after the steps\n"
               "  --steps N       make only the first N steps (default 900)\n",
               program);
  return 2;
}

int Fail(const std::string& why) {
  std::fprintf(stderr, "quorvel_wayland_probe: %s\n", why.c_str());
  return 1;
}

double PercentileUs(std::vector<std::int64_t> ns, double percent) {
  std::vector<double> us;
  us.reserve(ns.size());
  for (std::int64_t value : ns) us.push_back(static_cast<double>(value) / 1000.0);
  std::sort(us.begin(), us.end());
  return Percentile(us, percent);
}

// With the report out (so that whoever reads it knows the steps are
// done), keeps the window on the screen for `holdMs`.
void HoldWindow(WaylandConnection& connection, int holdMs) {
  std::fflush(stdout);
  if (holdMs > 0) connection.DispatchUntil([] { return false; }, holdMs);
}

}  // namespace

int main(int argc, char** argv) {
  const char* display = nullptr;
  int alpha = 255;
  int holdMs = 0;
  int stepCount = kTestSteps;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--display") == 0 && i + 1 < argc) {
      display = argv[++i];
    } else if (std::strcmp(argv[i], "--alpha") == 0 && i + 1 < argc) {
      alpha = std::atoi(argv[++i]);
      if (alpha < 0 || alpha > 255) return Usage(argv[0]);
    } else if (std::strcmp(argv[i], "--hold") == 0 && i + 1 < argc) {
      holdMs = std::atoi(argv[++i]);
      if (holdMs < 0) return Usage(argv[0]);
    } else if (std::strcmp(argv[i], "--steps") == 0 && i + 1 < argc) {
      stepCount = std::atoi(argv[++i]);
      if (stepCount < 0 || stepCount > kTestSteps) return Usage(argv[0]);
    } else {
      return Usage(argv[0]);
    }
  }

  std::string why;
  auto connection = WaylandConnection::Connect(display, &why);
  if (!connection) return Fail(why);
  const std::string name = connection->compositorName();
  std::printf("compositor: %s\n", name.empty() ? "unknown" : name.c_str());
  if (const OutputInfo* output = connection->FirstOutputWithMode()) {
    std::printf("output: %dx%d at %.3f Hz, scale %d\n", output->current.width,
                output->current.height, output->current.refreshMilliHz / 1000.0, output->scale);
  } else {
    std::printf("output: unknown\n");
  }
  const std::string missing = DescribeMissing(connection->missing());
  std::printf("missing: %s\n", missing.empty() ? "none" : missing.c_str());
  if (!connection->HasRequiredGlobals()) return Fail("the compositor lacks " + missing);

  auto window = Toplevel::Create(*connection, "Quorvel", 0x00204080, &why);
  if (!window) return Fail(why);
  // The first configure, and the last when the compositor sent more (sway
  // makes the window full screen once it is shown).
  auto described = [](const ToplevelConfigure& configure) {
    return std::to_string(configure.width) + "x" + std::to_string(configure.height) +
           (configure.fullscreen ? " fullscreen" : "");
  };
  std::string configured = described(window->firstConfigure());
  if (window->configures() > 1) configured += ", then " + described(window->lastConfigure());
  std::printf("window: %dx%d (configured %s)\n", window->width(), window->height(),
              configured.c_str());

  auto child = Subsurface::Create(*window, kTestWindowSize, kTestWindowSize,
                                  ShmFormat::Argb8888Premultiplied, &why);
  if (!child) return Fail(why);
  const std::uint32_t pixel = PremultipliedArgb(Rgb(0x30, 0x60, 0xF0), alpha);
  if (!child->SetPicture([&](ShmBuffer& buffer) { buffer.Fill(pixel); })) {
    return Fail("the test window's picture could not be shown: " + connection->error());
  }
  // The window and its test window are on the screen before the first step.
  if (connection->Roundtrip(kStepTimeoutMs) != Wait::Done) {
    return Fail("the compositor did not answer: " + connection->error());
  }

  PresentationRecorder recorder(*connection);
  window->SetPresentationRecorder(&recorder);
  std::vector<std::int64_t> steps;
  steps.reserve(static_cast<std::size_t>(stepCount));
  for (int i = 0; i < stepCount; ++i) {
    const TestStep place = LayeredTestStep(i);
    const MoveStep step = child->Move(place.x, place.y, kStepTimeoutMs);
    if (step.result != Wait::Done) {
      return Fail("step " + std::to_string(i + 1) + ": " +
                  (step.result == Wait::TimedOut
                       ? "the compositor did not answer within " + std::to_string(kStepTimeoutMs) + " ms"
                       : connection->error()));
    }
    steps.push_back(step.ns);
  }
  window->SetPresentationRecorder(nullptr);
  const PresentationReport frames = recorder.Take();

  const StepStatistics figures = SummariseSteps(steps, 1000000000);
  std::printf("steps: %zu, p50 %.0f us, p99 %.0f us\n", steps.size(), figures.p50, figures.p99);
  if (!frames.reported) {
    std::printf("frames: not reported (no wp_presentation)\n");
    HoldWindow(*connection, holdMs);
    return 0;
  }
  std::printf("frames: %d commits, %d presented, %d discarded, %d unanswered\n", frames.commits,
              frames.presented, frames.discarded, frames.unanswered);
  if (frames.latencyNs.empty()) {
    std::printf("latency: unknown\n");
  } else {
    std::printf("latency: p50 %.0f us, p99 %.0f us\n", PercentileUs(frames.latencyNs, 50),
                PercentileUs(frames.latencyNs, 99));
  }
  if (frames.refreshNs > 0) {
    std::printf("refresh: %.3f ms\n", frames.refreshNs / 1e6);
  } else {
    std::printf("refresh: unknown\n");
  }
  if (frames.clockIsMonotonic) {
    std::printf("clock: CLOCK_MONOTONIC\n");
  } else {
    std::printf("clock: %s (not CLOCK_MONOTONIC; latencies are measured on it)%s\n",
                ClockName(frames.clock), frames.clockReadable ? "" : ", not readable here");
  }
  HoldWindow(*connection, holdMs);
  return 0;
}
