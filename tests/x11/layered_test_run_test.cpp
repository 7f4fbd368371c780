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
#include "platform/x11/display/x_connection.h"
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

// Without XShape no colour key can be applied: the black-as-transparent
// test is not run and says why, while an alpha test still scores.
TEST_F(LayeredTestRun, WithoutShapeTheColourKeyTestIsNotRun) {
  x11().connection().DisableShape();
  BenchmarkScores scores;
  scores.layeredTestIndex = 3;
  LayeredTestDialog dialog(platform(), scores);
  dialog.DoModal();
  EXPECT_EQ(dialog.lastOutcome(), LayeredTestDialog::Outcome::NotRun);
  EXPECT_EQ(scores.scoreTotal, 0.0);
  EXPECT_EQ(scores.layeredSection,
            "\r\n  Black as transparent : not run (the desktop cannot make layered windows)");

  scores.layeredTestIndex = 2;
  dialog.DoModal();
  EXPECT_EQ(dialog.lastOutcome(), LayeredTestDialog::Outcome::Scored);
  EXPECT_GT(scores.scoreTotal, 0.0);
}

// Presses `keysym` on the test window once its first pass is under way;
// `sent` says whether it got that far, `sentAt` when.
class KeyDuringTheSteps {
 public:
  explicit KeyDuringTheSteps(unsigned long keysym)
      : user_([this, keysym] { Press(keysym); }) {}
  ~KeyDuringTheSteps() {
    if (user_.joinable()) user_.join();
  }
  void Join() { user_.join(); }
  bool sent() const { return sent_; }
  Clock::time_point sentAt() const { return sentAt_; }

 private:
  void Press(unsigned long keysym) {
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
        sentAt_ = Clock::now();
        driver.SendKey(w, keysym);
        sent_ = true;
        return;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  }

  std::atomic<bool> sent_{false};
  Clock::time_point sentAt_;
  std::thread user_;
};

TEST_F(LayeredTestRun, EscapeDuringTheStepsEndsTheTestWithoutAScore) {
  BenchmarkScores scores;
  scores.layeredTestIndex = 1;
  LayeredTestDialog dialog(platform(), scores);
  KeyDuringTheSteps user(XK_Escape);
  dialog.DoModal();
  const Clock::time_point ended = Clock::now();
  user.Join();
  ASSERT_TRUE(user.sent()) << "the steps were not seen under way";
  // Input is read between the steps: the key ends the test long before its
  // 900 steps could have run out.
  EXPECT_EQ(dialog.lastOutcome(), LayeredTestDialog::Outcome::Closed);
  EXPECT_EQ(scores.scoreTotal, 0.0);
  EXPECT_EQ(scores.layeredSection, "");
  EXPECT_LT(ended - user.sentAt(), std::chrono::milliseconds(1000));
}

// The test window's OK button is disabled: Enter leaves the test running
// to its score.
TEST_F(LayeredTestRun, EnterDuringTheStepsLeavesTheTestRunning) {
  BenchmarkScores scores;
  scores.layeredTestIndex = 1;
  LayeredTestDialog dialog(platform(), scores);
  KeyDuringTheSteps user(XK_Return);
  dialog.DoModal();
  user.Join();
  ASSERT_TRUE(user.sent()) << "the steps were not seen under way";
  EXPECT_EQ(dialog.lastOutcome(), LayeredTestDialog::Outcome::Scored);
  EXPECT_GT(scores.scoreTotal, 0.0);
  EXPECT_EQ(scores.layeredSection.rfind("\r\n  100% visibility : ", 0), 0u) << scores.layeredSection;
}

}  // namespace
}  // namespace quorvel::x11::testing
