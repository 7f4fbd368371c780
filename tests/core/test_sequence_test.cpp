// "Run Test": the four layered-window tests in their order, the scores, the
// report, and what happens when a test window is closed or cannot be layered.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/main_dialog.h"
#include "bench/layered_test_dialog.h"
#include "bench/report.h"
#include "fake/fake_platform.h"
#include "platform/resource_ids.h"

namespace quorvel {
namespace {

SystemInfo ExampleFacts() {
  SystemInfo info;
  info.adapterReportName = "NVIDIA GeForce2 MX";
  info.modeText = "1024 x 768 x 32 bits (85 Hz)";
  info.constantAlphaSentence = "Constant Alpha Blending is accelerated by these drivers.";
  info.perPixelAlphaSentence = "Per Pixel Alpha Blending is not accelerated by these drivers.";
  info.cpuSpeedText = "800 Mhz";
  return info;
}

TEST(Report, TwentyOneLinesFromTheFourScores) {
  BenchmarkScores scores;
  scores.layeredSection = kLayeredSectionStart;
  scores.layeredSection +=
      "\r\n  Black as transparent : 5.1234\r\n  47% visibility : 4.9876"
      "\r\n  50% visibility : 5.0012\r\n  100% visibility : 5.4321";
  scores.scoreTotal = 5.1234 + 4.9876 + 5.0012 + 5.4321;  // 20.5443

  const std::string scoreLine = CompleteLayeredSection(scores);
  const std::string report = ReportHead(ExampleFacts()) + scores.layeredSection;

  EXPECT_EQ(scoreLine, "Overall Benchmark Score : 20");
  EXPECT_EQ(scores.alphaTestScore, "20");
  EXPECT_EQ(scores.twoDTestScore, "0");
  EXPECT_EQ(scores.overallScore, "20");
  EXPECT_EQ(report,
            "Quorvel Results\r\n"
            "\r\n"
            "Graphics Card : NVIDIA GeForce2 MX\r\n"
            "Current Mode : 1024 x 768 x 32 bits (85 Hz)\r\n"
            "\r\n"
            "Constant Alpha Blending is accelerated by these drivers.\r\n"
            "\r\n"
            "Per Pixel Alpha Blending is not accelerated by these drivers.\r\n"
            "\r\n"
            "Running on a 800 Mhz Cpu\r\n"
            "\r\n"
            "Layered Window Tests : \r\n"
            "\r\n"
            "  Black as transparent : 5.1234\r\n"
            "  47% visibility : 4.9876\r\n"
            "  50% visibility : 5.0012\r\n"
            "  100% visibility : 5.4321\r\n"
            "\r\n"
            "Overall Layered Windows Score : 20\r\n"
            "\r\n"
            "Overall Benchmark Score : 20");
}

TEST(Report, TotalJustUnderTheNextIntegerIsTruncated) {
  BenchmarkScores scores;
  scores.scoreTotal = 20.9999;
  CompleteLayeredSection(scores);
  EXPECT_EQ(scores.alphaTestScore, "20");
  EXPECT_EQ(scores.overallScore, "20");
  EXPECT_EQ(scores.twoDTestScore, "0");
}

TEST(Report, PlatformNewlinesDropTheCarriageReturns) {
  EXPECT_EQ(WithNewlines("a\r\n\r\nb : \r\nc"), "a\n\nb : \nc");
  EXPECT_EQ(WithNewlines("lone\rcr\n"), "lone\rcr\n");
}

class TestSequenceTest : public ::testing::Test {
 protected:
  TestSequenceTest() {
    platform.fakeFacts.display = {1024, 768, 1, 32, 60};
    platform.fakeServices.frequency = 1000000;
    platform.counterPerMove = 1000;  // 900 moves take 0.9 s: 22.222 each
  }

  // Runs the dialog and presses Run Test once the slide-in has ended.
  void RunOnce(std::function<void(fake::FakeDialogHost&)> duringTest = nullptr) {
    if (duringTest) platform.dialogSystem.scripts[IDD_LAYERED_TEST] = duringTest;
    platform.dialogSystem.scripts[IDD_MAIN_DIALOG] = [this](fake::FakeDialogHost& h) {
      h.Advance(1100);
      main = &h;
      h.Click(IDC_RUN_TEST_FIRST);
    };
    dialog.DoModal();
  }

  std::vector<fake::FakeDialogHost*> TestWindows() {
    std::vector<fake::FakeDialogHost*> windows;
    for (auto& run : platform.dialogSystem.runs) {
      if (run->templateId == IDD_LAYERED_TEST) windows.push_back(run.get());
    }
    return windows;
  }

  fake::FakePlatform platform;
  SystemInfo info;
  BenchmarkScores scores;
  MainDialog dialog{platform, info, scores};
  fake::FakeDialogHost* main = nullptr;
};

TEST_F(TestSequenceTest, RunsTheFourTestsInOrderAndWritesTheReport) {
  RunOnce();

  const auto windows = TestWindows();
  ASSERT_EQ(windows.size(), 4u);
  struct Expected {
    Colour key;
    int alpha;
    unsigned flags;
  } expected[] = {{0, 0, platform::kLwaColourKey},
                  {0, 120, platform::kLwaAlpha},
                  {0, 128, platform::kLwaAlpha},
                  {0, 255, platform::kLwaAlpha}};
  for (std::size_t i = 0; i < windows.size(); ++i) {
    ASSERT_EQ(windows[i]->layered.size(), 1u) << i;
    EXPECT_EQ(windows[i]->layered[0].key, expected[i].key) << i;
    EXPECT_EQ(windows[i]->layered[0].alpha, expected[i].alpha) << i;
    EXPECT_EQ(windows[i]->layered[0].flags, expected[i].flags) << i;
    EXPECT_EQ(windows[i]->moves, 900) << i;
    // All 900 steps are timed inside one hold of the window's threads.
    EXPECT_EQ(windows[i]->timedStepsBegun, 1) << i;
    EXPECT_EQ(windows[i]->timedStepsEnded, 1) << i;
    EXPECT_EQ(windows[i]->movesOutsideTimedSteps, 0) << i;
    EXPECT_EQ(windows[i]->windowRect, (Rect{299, 299, 599, 599})) << i;
    EXPECT_EQ(windows[i]->endResult, IDCANCEL);
  }

  EXPECT_EQ(scores.testsRun, 1);
  EXPECT_EQ(scores.layeredSection,
            "Layered Window Tests : \r\n"
            "\r\n  Black as transparent : 22.222"
            "\r\n  47% visibility : 22.222"
            "\r\n  50% visibility : 22.222"
            "\r\n  100% visibility : 22.222"
            "\r\n\r\nOverall Layered Windows Score : 88\r\n\r\n"
            "Overall Benchmark Score : 88");
  EXPECT_DOUBLE_EQ(scores.scoreTotal, 4 * 22.222);
  EXPECT_EQ(dialog.resultsText, ReportHead(info) + scores.layeredSection);
  EXPECT_EQ(main->controls[IDC_RESULTS_EDIT].text, dialog.resultsText);
  EXPECT_EQ(dialog.reportTextShown(), scores.layeredSection);
  EXPECT_EQ(dialog.scoreTextShown(), "Overall Benchmark Score : 88");
  EXPECT_EQ(dialog.lastRunScoredTests(), 4);

  // The pauses, the pointer out of the way, the first Run Test button gone,
  // and the cross-fade to the results screen started.
  const std::vector<unsigned> pauses{1000, 500, 500, 500, 500};
  EXPECT_EQ(platform.fakeServices.sleeps, pauses);
  EXPECT_EQ(platform.fakeServices.cursor.x, 1024);
  EXPECT_EQ(platform.fakeServices.cursor.y, 768 - 80);
  EXPECT_FALSE(main->IsControlVisible(IDC_RUN_TEST_FIRST));
  EXPECT_TRUE(main->timers.count(kFadeToResultsTimer));
  EXPECT_EQ(dialog.screen().enteringResults, 1);
}

TEST_F(TestSequenceTest, ReportTextIsEmptiedAtTheStartOfTheFirstRun) {
  std::string shownDuringTests = "unset";
  RunOnce([&](fake::FakeDialogHost& h) {
    shownDuringTests = dialog.reportTextShown();
    while (!h.ended) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });
  EXPECT_EQ(shownDuringTests, "");
}

TEST_F(TestSequenceTest, RunTestPressedDuringARunIsIgnored) {
  RunOnce([&](fake::FakeDialogHost& h) {
    main->Click(IDC_RUN_TEST);
    while (!h.ended) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });
  EXPECT_EQ(TestWindows().size(), 4u);
}

TEST_F(TestSequenceTest, ClosingATestWindowEndsThatTestWithoutALine) {
  // The second test (47%) is closed by the user at its tenth step.
  std::atomic<bool> atTenthStep{false};
  platform.onMove = [&](fake::FakeDialogHost& w, int move) {
    if (w.showing != 1 || move != 10) return;
    atTenthStep = true;
    while (!w.ended) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  RunOnce([&](fake::FakeDialogHost& h) {
    if (h.showing == 1) {
      while (!atTenthStep) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      h.Click(IDCANCEL);
    }
    while (!h.ended) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });

  EXPECT_EQ(scores.layeredSection.find("47% visibility"), std::string::npos);
  EXPECT_NE(scores.layeredSection.find("50% visibility : 22.222"), std::string::npos);
  EXPECT_DOUBLE_EQ(scores.scoreTotal, 3 * 22.222);
  EXPECT_EQ(dialog.lastRunScoredTests(), 3);
}

TEST_F(TestSequenceTest, WindowsThatCannotBeLayeredSaySoInsteadOfAScore) {
  platform.layeredWorks = false;
  RunOnce();
  EXPECT_NE(scores.layeredSection.find(std::string("\r\n  50% visibility : ") + kTestNotRunText),
            std::string::npos);
  EXPECT_EQ(scores.overallScore, "0");
  EXPECT_EQ(dialog.lastRunScoredTests(), 0);
  for (fake::FakeDialogHost* w : TestWindows()) EXPECT_EQ(w->moves, 0);
}

TEST_F(TestSequenceTest, SecondRunStartsFromZeroAndKeepsTheOldSectionUntilDone) {
  std::string first, shownDuringSecondRun;
  platform.dialogSystem.scripts[IDD_MAIN_DIALOG] = [&](fake::FakeDialogHost& h) {
    h.Advance(1100);
    h.Click(IDC_RUN_TEST_FIRST);
    first = scores.layeredSection;
    platform.counterPerMove = 2000;  // slower: 11.111 each
    platform.dialogSystem.scripts[IDD_LAYERED_TEST] = [&](fake::FakeDialogHost& t) {
      shownDuringSecondRun = dialog.reportTextShown();
      while (!t.ended) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    h.Click(IDC_RUN_TEST);
  };
  dialog.DoModal();

  EXPECT_EQ(shownDuringSecondRun, first);
  EXPECT_EQ(scores.overallScore, "44");
  EXPECT_EQ(TestWindows().size(), 8u);
}

}  // namespace
}  // namespace quorvel
