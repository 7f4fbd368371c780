// Moving between the screens: slides and cross-fades run on elapsed
// milliseconds, and each screen shows its own controls.
#include <gtest/gtest.h>

#include "app/main_dialog.h"
#include "fake/fake_platform.h"
#include "platform/resource_ids.h"

namespace quorvel {
namespace {

class ScreenFlowTest : public ::testing::Test {
 protected:
  ScreenFlowTest() {
    platform.fakeFacts.display = {1024, 768, 1, 32, 60};
    platform.counterPerMove = 1000;
    platform.fakeServices.frequency = 1000000;
  }

  // Runs the dialog; `script` drives it once the slide-in has ended.
  void Run(std::function<void(fake::FakeDialogHost&)> script) {
    platform.dialogSystem.scripts[IDD_MAIN_DIALOG] = [&, script](fake::FakeDialogHost& h) {
      host = &h;
      h.Advance(1100);
      script(h);
    };
    dialog.DoModal();
  }

  void Accelerated(bool on) {
    // The constant-alpha bit of the display's blend capabilities.
    platform.fakeFacts.shadeBlendCaps = on ? 1u : 0u;
  }

  std::vector<int> Visible(std::initializer_list<int> ids) {
    std::vector<int> shown;
    for (int id : ids) {
      if (host->IsControlVisible(id)) shown.push_back(id);
    }
    return shown;
  }

  static std::vector<std::pair<int, int>> CompAlpha(ElementList& list) {
    std::vector<std::pair<int, int>> out;
    for (ScreenElement* e = list.first; e != nullptr; e = e->next) {
      out.emplace_back(e->comp, e->alpha);
    }
    return out;
  }

  fake::FakePlatform platform;
  SystemInfo info;
  BenchmarkScores scores;
  MainDialog dialog{platform, info, scores};
  fake::FakeDialogHost* host = nullptr;
};

const std::initializer_list<int> kScreenControls = {
    IDC_LOGO,        IDC_CLOSE,          IDC_RUN_TEST,           IDC_VIEW_DETAILS,
    IDC_RUN_TEST_FIRST, IDC_SAVE_RESULTS, IDC_RETURN_TO_MAIN,     IDC_SUBMIT_AND_COMPARE,
    IDC_NAME_EDIT,   IDC_EMAIL_EDIT,     IDC_SEND_RESULTS,       IDC_FAREWELL};

TEST_F(ScreenFlowTest, SlideInOfA1024PixelScreenEndsAfter1024Milliseconds) {
  platform.dialogSystem.scripts[IDD_MAIN_DIALOG] = [&](fake::FakeDialogHost& h) {
    host = &h;
    h.Advance(10);  // the first tick takes the start time
    h.Advance(1023);
    EXPECT_LT(dialog.screen().contentOffsetX, 0);
    EXPECT_TRUE(h.timers.count(kSlideInTimer));
    h.Advance(10);
    EXPECT_EQ(dialog.screen().contentOffsetX, 0);
    EXPECT_FALSE(h.timers.count(kSlideInTimer));
  };
  dialog.DoModal();
  EXPECT_EQ(Visible(kScreenControls),
            (std::vector<int>{IDC_LOGO, IDC_CLOSE, IDC_RUN_TEST, IDC_VIEW_DETAILS,
                              IDC_RUN_TEST_FIRST, IDC_SAVE_RESULTS}));
}

TEST_F(ScreenFlowTest, ViewDetailsBeforeAnyRunDoesNothing) {
  Run([&](fake::FakeDialogHost& h) {
    h.Click(IDC_VIEW_DETAILS);
    h.Advance(1000);
  });
  EXPECT_FALSE(host->timers.count(kFadeToResultsTimer));
  EXPECT_EQ(dialog.screen().enteringResults, 0);
  EXPECT_EQ(dialog.screen().resultsScreenActive, 0);
}

TEST_F(ScreenFlowTest, WithoutAccelerationBothFadesEndAtTheFirstTick) {
  Accelerated(false);
  Run([&](fake::FakeDialogHost& h) {
    scores.testsRun = 1;  // as after a run
    h.Click(IDC_VIEW_DETAILS);
    h.Advance(50);
    EXPECT_EQ(dialog.screen().resultsScreenActive, 1);
    EXPECT_EQ(dialog.screen().enteringResults, 0);
    EXPECT_FALSE(h.timers.count(kFadeToResultsTimer));
    EXPECT_EQ(Visible(kScreenControls),
              (std::vector<int>{IDC_LOGO, IDC_CLOSE, IDC_RUN_TEST, IDC_RUN_TEST_FIRST,
                                IDC_RETURN_TO_MAIN, IDC_SUBMIT_AND_COMPARE}));

    h.Click(IDC_RETURN_TO_MAIN);
    h.Advance(50);
    EXPECT_EQ(dialog.screen().resultsScreenActive, 0);
    EXPECT_EQ(dialog.screen().leavingResults, 0);
    EXPECT_FALSE(h.timers.count(kFadeToMainTimer));
  });
  // No blended frame: the lists kept their start-up composition.
  for (auto [comp, alpha] : CompAlpha(dialog.skinContent().resultsList)) EXPECT_EQ(comp, 0);
}

TEST_F(ScreenFlowTest, CrossFadeRunsHalfALevelPerMillisecondAndEndsOnTheResultsScreen) {
  Accelerated(true);
  Run([&](fake::FakeDialogHost& h) {
    scores.testsRun = 1;
    h.Click(IDC_VIEW_DETAILS);
    h.Advance(50);  // 50 ms: level 25, the main list still at 255 (one tick behind)
    EXPECT_EQ(dialog.screen().fadeLevel, 25);
    for (auto [comp, alpha] : CompAlpha(dialog.skinContent().mainList)) {
      EXPECT_EQ(comp, 2);
      EXPECT_EQ(alpha, 255);
    }
    h.Advance(50);
    for (auto [comp, alpha] : CompAlpha(dialog.skinContent().mainList)) EXPECT_EQ(alpha, 230);
    EXPECT_EQ(dialog.screen().enteringResults, 1);
    h.Advance(400);  // 500 ms: level 250, still fading
    EXPECT_EQ(dialog.screen().resultsScreenActive, 0);
    h.Advance(50);  // level 275: done
    EXPECT_EQ(dialog.screen().resultsScreenActive, 1);
    EXPECT_EQ(dialog.screen().enteringResults, 0);
  });
  for (auto [comp, alpha] : CompAlpha(dialog.skinContent().resultsList)) {
    EXPECT_EQ(comp, 0);
    EXPECT_EQ(alpha, 0);
  }
}

TEST_F(ScreenFlowTest, TicksOneMillisecondApartDoNotMoveTheFadeButTheTimeCounts) {
  Accelerated(true);
  Run([&](fake::FakeDialogHost& h) {
    scores.testsRun = 1;
    h.Click(IDC_VIEW_DETAILS);
    // Deliver timer 33 by hand at chosen times.
    h.KillTimer(kFadeToResultsTimer);
    platform.fakeServices.tick += 1;
    dialog.OnTimer(kFadeToResultsTimer);
    EXPECT_EQ(dialog.screen().fadeLevel, 0);
    platform.fakeServices.tick += 1;
    dialog.OnTimer(kFadeToResultsTimer);
    EXPECT_EQ(dialog.screen().fadeLevel, 1);  // both milliseconds counted
  });
}

TEST_F(ScreenFlowTest, ReturnToMainLeavesTheMainListBlendedAt254) {
  Accelerated(true);
  Run([&](fake::FakeDialogHost& h) {
    scores.testsRun = 1;
    h.Click(IDC_VIEW_DETAILS);
    h.Advance(600);
    h.Click(IDC_RETURN_TO_MAIN);
    h.Advance(600);
  });
  EXPECT_EQ(dialog.screen().resultsScreenActive, 0);
  EXPECT_EQ(dialog.screen().leavingResults, 0);
  for (auto [comp, alpha] : CompAlpha(dialog.skinContent().mainList)) {
    EXPECT_EQ(comp, 2);
    EXPECT_EQ(alpha, 254);
  }
  EXPECT_EQ(Visible(kScreenControls),
            (std::vector<int>{IDC_LOGO, IDC_CLOSE, IDC_RUN_TEST, IDC_VIEW_DETAILS,
                              IDC_RUN_TEST_FIRST, IDC_SAVE_RESULTS}));
}

TEST_F(ScreenFlowTest, SaveButtonBelow700PixelsAppearsOnlyAfterTheFirstReturn) {
  platform.fakeFacts.display = {800, 600, 1, 32, 60};
  Accelerated(false);
  Run([&](fake::FakeDialogHost& h) {
    EXPECT_FALSE(h.IsControlVisible(IDC_SAVE_RESULTS));
    scores.testsRun = 1;
    h.Click(IDC_VIEW_DETAILS);
    h.Advance(50);
    h.Click(IDC_RETURN_TO_MAIN);
    h.Advance(50);
    EXPECT_TRUE(h.IsControlVisible(IDC_SAVE_RESULTS));
  });
}

TEST_F(ScreenFlowTest, RunTestOnTheResultsScreenReplaysTheFade) {
  Accelerated(true);
  Run([&](fake::FakeDialogHost& h) {
    h.Click(IDC_RUN_TEST_FIRST);
    h.Advance(600);
    EXPECT_EQ(dialog.screen().resultsScreenActive, 1);
    h.Click(IDC_RUN_TEST);
    EXPECT_TRUE(h.timers.count(kFadeToResultsTimer));
    EXPECT_EQ(dialog.screen().enteringResults, 1);
  });
}

TEST_F(ScreenFlowTest, SubmitScreenShowsItsEditsAndButton) {
  Accelerated(false);
  Run([&](fake::FakeDialogHost& h) {
    scores.testsRun = 1;
    h.Click(IDC_VIEW_DETAILS);
    h.Advance(50);
    h.Click(IDC_SUBMIT_AND_COMPARE);
  });
  EXPECT_EQ(dialog.screen().submitScreenActive, 1);
  EXPECT_EQ(Visible(kScreenControls),
            (std::vector<int>{IDC_LOGO, IDC_CLOSE, IDC_RUN_TEST, IDC_RUN_TEST_FIRST,
                              IDC_RETURN_TO_MAIN, IDC_NAME_EDIT, IDC_EMAIL_EDIT,
                              IDC_SEND_RESULTS}));
  EXPECT_EQ(host->controls[IDC_NAME_EDIT].rect, (Rect{120, 245, 370, 270}));
  EXPECT_EQ(host->controls[IDC_EMAIL_EDIT].rect, (Rect{120, 305, 370, 330}));
  EXPECT_EQ(host->controls[IDC_SEND_RESULTS].rect, (Rect{235, 355, 370, 387}));
  EXPECT_NE(host->controls[IDC_NAME_EDIT].font, nullptr);
}

TEST_F(ScreenFlowTest, SlideOutTakes1124MillisecondsThenTheFarewellForThreeSeconds) {
  Run([&](fake::FakeDialogHost& h) {
    h.Click(IDC_CLOSE);
    for (int id : kScreenControls) EXPECT_FALSE(h.IsControlVisible(id)) << id;
    h.Advance(1120);
    EXPECT_FALSE(h.ended);
    EXPECT_EQ(dialog.screen().contentOffsetY, dialog.screen().contentOffsetX);
    h.Advance(20);
    EXPECT_TRUE(h.ended);
  });
  EXPECT_TRUE(host->IsControlVisible(IDC_FAREWELL));
  EXPECT_EQ(host->controls[IDC_FAREWELL].rect, (Rect{449, 336, 575, 431}));
  EXPECT_EQ(platform.fakeServices.sleeps.back(), 3000u);
  EXPECT_EQ(host->endResult, IDCANCEL);
}

}  // namespace
}  // namespace quorvel

namespace quorvel {
namespace {

TEST_F(ScreenFlowTest, HelpIconTogglesTheBlendedAdvicePanelAndItsDriverLink) {
  platform.fakeFacts.adapter.adapterFound = true;
  platform.fakeFacts.adapter.adapterDescription = "Creative 3D Blaster GeForce";
  Run([&](fake::FakeDialogHost& h) {
    const Point help{310, 215}, panel{400, 300};
    h.handlers->OnLButtonUp(panel);  // hidden panel: nothing
    EXPECT_TRUE(platform.fakeServices.pagesOpened.empty());
    h.handlers->OnLButtonUp(help);
    EXPECT_EQ(dialog.skinContent().advicePanel.hidden, 0);
    EXPECT_EQ(dialog.skinContent().advicePanel.comp, 2);
    EXPECT_EQ(dialog.skinContent().advicePanel.alpha, 220);
    h.handlers->OnLButtonUp(panel);
    ASSERT_EQ(platform.fakeServices.pagesOpened.size(), 1u);
    EXPECT_NE(platform.fakeServices.pagesOpened[0].find("nvidia"), std::string::npos);
    h.handlers->OnLButtonUp(help);
    h.handlers->OnLButtonUp(panel);
    EXPECT_EQ(platform.fakeServices.pagesOpened.size(), 1u);
  });
  EXPECT_EQ(dialog.skinContent().advicePanel.hidden, 1);
}

}  // namespace
}  // namespace quorvel
