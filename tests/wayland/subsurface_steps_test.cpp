// The test window's steps on weston: 900 moves along the test's path, each
// answered by the compositor's sync, with its presentation feedback
// counted beside them; and a compositor that dies in the middle.
#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "bench/layered_tests.h"
#include "platform/wayland/clock_reading.h"
#include "platform/wayland/presentation_recorder.h"
#include "platform/wayland/subsurface.h"
#include "platform/wayland/toplevel.h"
#include "weston_fixture.h"

namespace quorvel::wayland_test {
namespace {

using wayland::MoveStep;
using wayland::PresentationRecorder;
using wayland::ShmBuffer;
using wayland::ShmFormat;
using wayland::Subsurface;
using wayland::Toplevel;
using wayland::Wait;

class TestWindowOnWeston : public OnWeston {
 protected:
  void SetUp() override {
    OnWeston::SetUp();
    if (HasFatalFailure()) return;
    std::string why;
    window_ = Toplevel::Create(*connection_, "Quorvel", 0x00204080, &why);
    ASSERT_TRUE(window_) << why;
    child_ = Subsurface::Create(*window_, 300, 300, ShmFormat::Argb8888Premultiplied, &why);
    ASSERT_TRUE(child_) << why;
    ASSERT_TRUE(child_->SetPicture([](ShmBuffer& buffer) { buffer.Fill(0xF03060F0u); }));
    ASSERT_EQ(connection_->Roundtrip(1000), Wait::Done);
  }
  void TearDown() override {
    child_.reset();
    window_.reset();
  }

  std::unique_ptr<Toplevel> window_;
  std::unique_ptr<Subsurface> child_;
};

TEST_F(TestWindowOnWeston, NineHundredMovesAreEachAnsweredAndTheirFramesCounted) {
  PresentationRecorder recorder(*connection_);
  ASSERT_TRUE(recorder.available());
  window_->SetPresentationRecorder(&recorder);
  for (int i = 0; i < kTestSteps; ++i) {
    const TestStep place = LayeredTestStep(i);
    const MoveStep step = child_->Move(place.x, place.y, 1000);
    ASSERT_EQ(step.result, Wait::Done) << "step " << i << ": " << connection_->error();
    EXPECT_GT(step.ns, 0);
  }
  window_->SetPresentationRecorder(nullptr);
  const wayland::PresentationReport report = recorder.Take(1000);

  EXPECT_TRUE(report.reported);
  EXPECT_EQ(report.commits, kTestSteps);
  EXPECT_EQ(report.presented + report.discarded + report.unanswered, kTestSteps);
  EXPECT_GT(report.presented, 0);
  EXPECT_EQ(report.unanswered, 0) << "weston answers every commit within a second";
  EXPECT_EQ(recorder.pending(), 0);
  EXPECT_EQ(report.clock, connection_->presentationClock());
  EXPECT_EQ(report.clockIsMonotonic, report.clock == CLOCK_MONOTONIC);
  ASSERT_TRUE(report.clockReadable);
  ASSERT_EQ(static_cast<int>(report.latencyNs.size()), report.presented);
  for (std::int64_t latency : report.latencyNs) {
    EXPECT_GT(latency, 0);
    EXPECT_LT(latency, 2000000000);
  }
  // Weston's headless output refreshes at 60 Hz.
  EXPECT_NEAR(static_cast<double>(report.refreshNs), 1e9 / 60, 1000);

  // Take starts counting anew.
  const wayland::PresentationReport next = recorder.Take(0);
  EXPECT_EQ(next.commits, 0);
  EXPECT_EQ(next.presented, 0);
}

TEST_F(TestWindowOnWeston, AStepEndsOnlyWithTheCompositorsAnswer) {
  ASSERT_EQ(child_->Move(10, 10, 1000).result, Wait::Done);
  // A compositor that does not answer: the step waits for it, up to its
  // limit, and the connection stays usable.
  ASSERT_EQ(kill(weston_.pid(), SIGSTOP), 0);
  const MoveStep stalled = child_->Move(20, 20, 200);
  kill(weston_.pid(), SIGCONT);
  EXPECT_EQ(stalled.result, Wait::TimedOut);
  EXPECT_GE(stalled.ns, 200000000);
  EXPECT_FALSE(connection_->failed());
  EXPECT_EQ(child_->Move(30, 30, 2000).result, Wait::Done) << connection_->error();
}

TEST_F(TestWindowOnWeston, ACompositorKilledMidRunEndsTheStepsWithAnError) {
  PresentationRecorder recorder(*connection_);
  window_->SetPresentationRecorder(&recorder);
  std::atomic<std::int64_t> killedAt{0};
  std::thread killer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    killedAt = wayland::MonotonicNs();
    weston_.Kill();
  });
  MoveStep last;
  int steps = 0;
  const std::int64_t began = wayland::MonotonicNs();
  // Moves until one fails; the path repeats, the compositor dies on its way.
  while (wayland::MonotonicNs() - began < 10000000000LL) {
    const TestStep place = LayeredTestStep(steps % kTestSteps);
    last = child_->Move(place.x, place.y, 5000);
    ++steps;
    if (last.result != Wait::Done) break;
  }
  const std::int64_t endedAt = wayland::MonotonicNs();
  killer.join();

  EXPECT_EQ(last.result, Wait::Failed) << "after " << steps << " steps";
  EXPECT_TRUE(connection_->failed());
  EXPECT_FALSE(connection_->error().empty());
  ASSERT_GT(killedAt.load(), 0);
  EXPECT_LT(endedAt - killedAt.load(), 3000000000LL) << "the failure took too long to show";
  // Everything after says so at once, and nothing crashes on the way out.
  EXPECT_EQ(child_->Move(0, 0, 5000).result, Wait::Failed);
  EXPECT_EQ(connection_->Roundtrip(5000), Wait::Failed);
  EXPECT_FALSE(window_->Present([](ShmBuffer&) {}, 5000));
  const wayland::PresentationReport report = recorder.Take(1000);
  EXPECT_EQ(report.presented + report.discarded + report.unanswered, report.commits);
  window_->SetPresentationRecorder(nullptr);
}

}  // namespace
}  // namespace quorvel::wayland_test
