// A whole layered-window test on the display, and the user closing it with
// Esc while the worker's steps stream through the window's thread.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "bench/benchmark_scores.h"
#include "bench/layered_test_dialog.h"
#include "x11/x11_test_fixture.h"

namespace quorvel::x11::testing {
namespace {

using LayeredTestRun = X11Test;
using Clock = std::chrono::steady_clock;

constexpr char kCaption[] = "Testing Performance...";

TEST_F(LayeredTestRun, FullTestAddsItsScoreAndLine) {
  BenchmarkScores scores;
  scores.layeredTestIndex = 1;
  LayeredTestDialog dialog(platform(), scores);
  dialog.DoModal();
  EXPECT_EQ(dialog.lastOutcome(), LayeredTestDialog::Outcome::Scored);
  EXPECT_GT(scores.scoreTotal, 0.0);
  EXPECT_EQ(scores.layeredSection.rfind("\r\n  100% visibility : ", 0), 0u) << scores.layeredSection;
}

TEST_F(LayeredTestRun, EscapeDuringTheStepsEndsTheTestWithoutAScore) {
  BenchmarkScores scores;
  scores.layeredTestIndex = 1;
  LayeredTestDialog dialog(platform(), scores);
  std::atomic<bool> sent{false};
  Clock::time_point sentAt;
  std::thread user([&] {
    XDriver driver;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(5);
    Window w = None;
    while (w == None && Clock::now() < deadline) {
      w = driver.FindWindowNamed(kCaption);
      if (w == None) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // The first pass has begun once the window is 200 x 500.
    while (w != None && Clock::now() < deadline) {
      const Rect r = driver.Geometry(w);
      if (r.Width() == 200 && r.Height() == 500) {
        sentAt = Clock::now();
        driver.SendKey(w, XK_Escape);
        sent = true;
        return;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });
  dialog.DoModal();
  const Clock::time_point ended = Clock::now();
  user.join();
  ASSERT_TRUE(sent) << "the steps were not seen under way";
  // Input is read between the steps: the key ends the test long before its
  // 900 steps could have run out.
  EXPECT_EQ(dialog.lastOutcome(), LayeredTestDialog::Outcome::Closed);
  EXPECT_EQ(scores.scoreTotal, 0.0);
  EXPECT_EQ(scores.layeredSection, "");
  EXPECT_LT(ended - sentAt, std::chrono::milliseconds(1000));
}

}  // namespace
}  // namespace quorvel::x11::testing
