// Moving between the screens of the main window: the slide-in at start,
// the cross-fades between the main and results screens, the submit screen,
// and the slide-out that ends the program. Every animation runs on elapsed
// milliseconds from the tick count; the timers only set the refresh pace.
#include "app/control_layout.h"
#include "app/main_dialog.h"
#include "platform/resource_ids.h"

namespace quorvel {

namespace {
constexpr int kFarewellWidth = 126;
constexpr int kFarewellHeight = 95;
constexpr unsigned kFarewellMs = 3000;
}  // namespace

std::uint32_t MainDialog::ElapsedSinceLastChange(std::uint32_t now) {
  // The first step of an animation only takes its start time.
  if (screen_.animationLastTick == 0) screen_.animationLastTick = now;
  return now - screen_.animationLastTick;
}

void MainDialog::Repaint() { host().Invalidate(nullptr, true); }

void MainDialog::OnTimer(int id) {
  switch (id) {
    case kSlideInTimer:
      SlideInStep();
      break;
    case kSlideOutTimer:
      SlideOutStep();
      break;
    case kFadeToResultsTimer:
      FadeToResultsStep();
      break;
    case kFadeToMainTimer:
      FadeToMainStep();
      break;
    default:
      Dialog::OnTimer(id);
      break;
  }
}

void MainDialog::SlideInStep() {
  const std::uint32_t now = platform().services().TickCount();
  const std::uint32_t elapsed = ElapsedSinceLastChange(now);
  const int before = screen_.contentOffsetX;
  screen_.contentOffsetX += static_cast<int>(elapsed);
  if (screen_.contentOffsetX != before) screen_.animationLastTick = now;

  if (screen_.contentOffsetX < 0) {
    Repaint();
    return;
  }
  screen_.contentOffsetX = 0;
  host().ShowControl(IDC_LOGO, true);
  host().ShowControl(IDC_CLOSE, true);
  host().ShowControl(IDC_RUN_TEST, true);
  host().ShowControl(IDC_VIEW_DETAILS, true);
  host().ShowControl(IDC_RUN_TEST_FIRST, true);
  if (systemInfo_.screenHeight >= kTallScreenHeight) host().ShowControl(IDC_SAVE_RESULTS, true);
  host().KillTimer(kSlideInTimer);
  Repaint();

  if (runsBeforeEnd_ > 0) {
    RunBeforeEnd();
    host().EndDialog(IDOK);
  }
}

void MainDialog::OnViewDetails() {
  if (scores_.testsRun == 0) return;
  screen_.fadeLevel = 0;
  screen_.animationLastTick = platform().services().TickCount();
  screen_.enteringResults = 1;
  host().SetFocus();
  host().SetTimer(kFadeToResultsTimer, 50);
}

void MainDialog::AdvanceFade() {
  const std::uint32_t elapsed = ElapsedSinceLastChange(platform().services().TickCount());
  const int before = screen_.fadeLevel;
  screen_.fadeLevel += static_cast<int>(elapsed / 2);
  if (screen_.fadeLevel != before) {
    screen_.animationLastTick = platform().services().TickCount();
  }
}

void MainDialog::ShowResultsScreenControls() {
  host().ShowControl(IDC_VIEW_DETAILS, false);
  host().ShowControl(IDC_SAVE_RESULTS, false);
  host().ShowControl(IDC_RETURN_TO_MAIN, true);
  host().ShowControl(IDC_SUBMIT_AND_COMPARE, true);
  host().ShowControl(IDC_UNUSED_BITMAP, false);
}

void MainDialog::FadeToResultsStep() {
  if (systemInfo_.constantAlphaAccelerated == 0) {
    // Without accelerated blending the screens switch at once.
    host().KillTimer(kFadeToResultsTimer);
    screen_.enteringResults = 0;
    screen_.resultsScreenActive = 1;
    ShowResultsScreenControls();
    Repaint();
    return;
  }

  // The main screen fades out over the results screen; the opacity set
  // here lags one tick behind the advance below.
  screen_.enteringResults = 1;
  SetTopLevelComposition(skin_.mainList, 2,
                         static_cast<std::uint8_t>(255 - (screen_.fadeLevel % 256)));
  SetTopLevelComposition(skin_.resultsList, 2, 255);
  AdvanceFade();
  if (screen_.fadeLevel <= 254) {
    Repaint();
    return;
  }
  SetTopLevelComposition(skin_.resultsList, 0, 0);
  screen_.enteringResults = 0;
  screen_.resultsScreenActive = 1;
  ShowResultsScreenControls();
  host().KillTimer(kFadeToResultsTimer);
  Repaint();
}

void MainDialog::OnReturnToMain() {
  screen_.fadeLevel = 0;
  host().ShowControl(IDC_NAME_EDIT, false);
  host().ShowControl(IDC_EMAIL_EDIT, false);
  host().ShowControl(IDC_UNUSED_EDIT, false);
  host().ShowControl(IDC_SEND_RESULTS, false);
  screen_.animationLastTick = platform().services().TickCount();
  screen_.leavingResults = 1;
  host().SetTimer(kFadeToMainTimer, 50);
  host().SetFocus();
}

void MainDialog::FadeToMainStep() {
  if (systemInfo_.constantAlphaAccelerated == 0) {
    host().ShowControl(IDC_VIEW_DETAILS, true);
    host().ShowControl(IDC_SAVE_RESULTS, true);
    host().ShowControl(IDC_RETURN_TO_MAIN, false);
    host().ShowControl(IDC_SUBMIT_AND_COMPARE, false);
    screen_.leavingResults = 0;
    screen_.resultsScreenActive = 0;
    host().KillTimer(kFadeToMainTimer);
    screen_.submitScreenActive = 0;
    Repaint();
    return;
  }

  // The results screen fades out over the main screen.
  screen_.enteringResults = 0;
  screen_.leavingResults = 1;
  SetTopLevelComposition(skin_.mainList, 2, 255);
  SetTopLevelComposition(skin_.resultsList, 2,
                         static_cast<std::uint8_t>(255 - (screen_.fadeLevel % 256)));
  AdvanceFade();
  if (screen_.fadeLevel <= 254) {
    Repaint();
    return;
  }
  // 254, not 255: the blend treats both alike, as an opaque keyed copy.
  SetTopLevelComposition(skin_.mainList, 2, 254);
  host().ShowControl(IDC_VIEW_DETAILS, true);
  host().ShowControl(IDC_SAVE_RESULTS, true);
  host().ShowControl(IDC_RETURN_TO_MAIN, false);
  screen_.submitScreenActive = 0;
  host().ShowControl(IDC_SUBMIT_AND_COMPARE, false);
  screen_.leavingResults = 0;
  screen_.resultsScreenActive = 0;
  host().KillTimer(kFadeToMainTimer);
  Repaint();
}

void MainDialog::OnSubmitAndCompare() {
  screen_.submitScreenActive = 1;
  for (const auto& [id, y] : {std::pair<int, int>{IDC_NAME_EDIT, 245}, {IDC_EMAIL_EDIT, 305}}) {
    host().MoveControl(id, 120, y, 250, 25, true);
    if (skin_.fonts.body) host().SetControlFont(id, *skin_.fonts.body, true);
    host().ShowControl(id, true);
  }
  host().MoveControl(IDC_SEND_RESULTS, 235, 355, 135, 32, true);
  host().ShowControl(IDC_SEND_RESULTS, true);
  host().ShowControl(IDC_SUBMIT_AND_COMPARE, false);
  Repaint();
}

void MainDialog::OnClose() {
  for (int id : {IDC_VIEW_DETAILS, IDC_SAVE_RESULTS, IDC_RETURN_TO_MAIN, IDC_SUBMIT_AND_COMPARE,
                 IDC_NAME_EDIT, IDC_EMAIL_EDIT, IDC_RUN_TEST_FIRST, IDC_UNUSED_EDIT,
                 IDC_SEND_RESULTS, IDC_RUN_TEST, IDC_LOGO, IDC_CLOSE}) {
    host().ShowControl(id, false);
  }
  screen_.animationLastTick = platform().services().TickCount();
  host().SetTimer(kSlideOutTimer, 10);
}

void MainDialog::SlideOutStep() {
  const std::uint32_t now = platform().services().TickCount();
  const int delta = static_cast<int>(ElapsedSinceLastChange(now));
  const int before = screen_.contentOffsetX;
  screen_.contentOffsetX -= delta;
  screen_.contentOffsetY -= delta;
  if (screen_.contentOffsetX != before) screen_.animationLastTick = now;

  if (-screen_.contentOffsetX < systemInfo_.screenWidth + 100) {
    Repaint();
    return;
  }
  // The farewell picture, centred on black, for three seconds; then the end.
  host().KillTimer(kSlideOutTimer);
  host().ShowControl(IDC_FAREWELL, true);
  host().MoveControl(IDC_FAREWELL, (systemInfo_.screenWidth - kFarewellWidth) / 2,
                     (systemInfo_.screenHeight - kFarewellHeight) / 2, kFarewellWidth,
                     kFarewellHeight, true);
  host().UpdateControl(IDC_FAREWELL);
  host().Update();
  platform().services().Sleep(kFarewellMs);
  host().EndDialog(IDCANCEL);
}

}  // namespace quorvel
