// The main dialog's start-up and its window rules, driven by the fake backend.
#include <gtest/gtest.h>

#include "app/main_dialog.h"
#include "fake/fake_platform.h"
#include "platform/resource_ids.h"

namespace quorvel {
namespace {

class MainDialogTest : public ::testing::Test {
 protected:
  // Runs the dialog; `script` drives it while it runs.
  fake::FakeDialogHost& Run(std::function<void(fake::FakeDialogHost&)> script) {
    platform.dialogSystem.scripts[IDD_MAIN_DIALOG] = std::move(script);
    result = dialog.DoModal();
    return *platform.dialogSystem.runs.back();
  }

  fake::FakePlatform platform;
  SystemInfo info;
  BenchmarkScores scores;
  MainDialog dialog{platform, info, scores};
  int result = -1;
};

TEST_F(MainDialogTest, StartsMaximisedWithTheFactsAndTheSlideInReady) {
  platform.fakeFacts.buildNumber = 2600;
  platform.fakeFacts.display = {1280, 1024, 1, 32, 60};
  platform.fakeFacts.hardware.SetNumber("CentralProcessor\\0", "~Mhz", 2400);

  fake::FakeDialogHost& host = Run([](fake::FakeDialogHost&) {});

  EXPECT_TRUE(host.maximized);
  EXPECT_EQ(info.isWindowsXP, 1);
  EXPECT_EQ(info.screenWidth, 1280);
  EXPECT_EQ(info.screenHeight, 1024);
  EXPECT_EQ(info.cpuSpeedText, "2400 Mhz");
  EXPECT_EQ(dialog.screen().contentOffsetX, -1280);
  EXPECT_EQ(dialog.screen().contentOffsetY, 0);
  ASSERT_EQ(host.systemMenu.size(), 1u);
  EXPECT_EQ(host.systemMenu[0].first, 0x10u);
  EXPECT_EQ(host.systemMenu[0].second, "&About Ostrin...");
  EXPECT_EQ(host.icon, IDR_MAINFRAME);
  EXPECT_EQ(host.controls[IDC_RESULTS_EDIT].text, "Press 'Run Test' to run a new test");
  ASSERT_TRUE(host.timers.count(kSlideInTimer));
  EXPECT_EQ(host.timers[kSlideInTimer].period, 10u);
  EXPECT_GE(host.invalidations, 1);
  // Every control stays hidden until the slide-in ends.
  for (const auto& [id, control] : host.controls) EXPECT_FALSE(control.visible) << id;
}

// The machine is probed in two rounds around the skin: the operating
// system, the driver (DirectDraw) and then the imaging entry points; the 3D
// library once, after the skin's fonts and bitmap; then the adapter's name,
// and one hold of the desktop from the display mode until the processor's
// four registry reads are done.
TEST_F(MainDialogTest, ProbesTheMachineInItsOrderAroundTheSkin) {
  std::size_t fontsAtLoad = 0;
  platform.fakeFacts.onLoadDirect3D = [&] {
    fontsAtLoad = platform.fakeGraphics.fontsCreated.size();
  };
  Run([](fake::FakeDialogHost&) {});
  const std::vector<std::string> order = {
      "os",   "driver",  "imaging", "direct3d", "adapter",  "hold",     "display",  "caps",
      "hardware", "hardware", "hardware", "hardware", "release"};
  EXPECT_EQ(platform.fakeFacts.calls, order);
  EXPECT_GT(fontsAtLoad, 0u);
  EXPECT_EQ(fontsAtLoad, platform.fakeGraphics.fontsCreated.size());
}

TEST_F(MainDialogTest, EmptyAboutStringOrNoSystemMenuAppendsNothing) {
  platform.fakeServices.strings.clear();
  fake::FakeDialogHost& host = Run([](fake::FakeDialogHost&) {});
  EXPECT_TRUE(host.systemMenu.empty());
}

TEST_F(MainDialogTest, WindowRules) {
  EXPECT_TRUE(dialog.OnSystemCommand(platform::kScClose));
  EXPECT_TRUE(dialog.OnSystemCommand(platform::kScMove));
  EXPECT_TRUE(dialog.OnSystemCommand(0x10));  // the about item
  EXPECT_TRUE(dialog.OnNonClientActivate());
  EXPECT_EQ(dialog.DialogBrushColour(), Rgb(90, 125, 222));
}

TEST_F(MainDialogTest, SystemCommandsDoNotEndTheDialogButEscDoes) {
  bool stillRunning = false;
  fake::FakeDialogHost& host = Run([&](fake::FakeDialogHost& h) {
    h.handlers->OnSystemCommand(platform::kScClose);
    stillRunning = !h.ended;
    h.Click(IDCANCEL);
  });
  EXPECT_TRUE(stillRunning);
  EXPECT_TRUE(host.ended);
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(MainDialogTest, EnterEndsTheDialog) {
  Run([](fake::FakeDialogHost& h) { h.Click(IDOK); });
  EXPECT_EQ(result, IDOK);
}

TEST_F(MainDialogTest, SlideInTakesOneMillisecondPerPixelThenShowsTheControls) {
  platform.fakeFacts.display = {1024, 768, 1, 32, 60};
  bool hiddenJustBefore = false;
  fake::FakeDialogHost& host = Run([&](fake::FakeDialogHost& h) {
    h.Advance(10);  // first tick only takes the start time
    h.Advance(1013);
    hiddenJustBefore = !h.IsControlVisible(IDC_RUN_TEST) && h.timers.count(kSlideInTimer);
    h.Advance(20);
  });
  EXPECT_TRUE(hiddenJustBefore);
  EXPECT_EQ(dialog.screen().contentOffsetX, 0);
  EXPECT_FALSE(host.timers.count(kSlideInTimer));
  for (int id : {IDC_LOGO, IDC_CLOSE, IDC_RUN_TEST, IDC_VIEW_DETAILS, IDC_RUN_TEST_FIRST,
                 IDC_SAVE_RESULTS}) {
    EXPECT_TRUE(host.IsControlVisible(id)) << id;
  }
  for (int id : {IDC_RETURN_TO_MAIN, IDC_SUBMIT_AND_COMPARE, IDC_NAME_EDIT, IDC_EMAIL_EDIT,
                 IDC_SEND_RESULTS, IDC_FAREWELL}) {
    EXPECT_FALSE(host.IsControlVisible(id)) << id;
  }
}

TEST_F(MainDialogTest, SaveButtonStaysHiddenAfterTheSlideInBelow700Pixels) {
  platform.fakeFacts.display = {800, 600, 1, 32, 60};
  fake::FakeDialogHost& host = Run([](fake::FakeDialogHost& h) { h.Advance(1000); });
  EXPECT_TRUE(host.IsControlVisible(IDC_RUN_TEST_FIRST));
  EXPECT_FALSE(host.IsControlVisible(IDC_SAVE_RESULTS));
}

}  // namespace
}  // namespace quorvel
