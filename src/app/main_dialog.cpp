#include "app/main_dialog.h"

#include "app/control_layout.h"
#include "platform/resource_ids.h"
#include "sysinfo/graphics_probe.h"
#include "sysinfo/os_probe.h"
#include "sysinfo/processor_probe.h"

namespace quorvel {

MainDialog::MainDialog(platform::Platform& platform, SystemInfo& systemInfo,
                       BenchmarkScores& scores)
    : Dialog(platform, IDD_MAIN_DIALOG), systemInfo_(systemInfo), scores_(scores) {}

bool MainDialog::OnInitDialog() {
  platform::Platform& p = platform();

  ProbeOperatingSystem(systemInfo_, p.facts());
  UpdateData(false);
  ProbeDriverAndImaging(systemInfo_, p.facts());

  Dialog::OnInitDialog();

  ProbeAdapterModeAndCapabilities(systemInfo_, p.facts());
  ProbeProcessor(systemInfo_, p.facts().Hardware());
  FinishProbing(systemInfo_);
  // The picture starts one screen width to the left and slides in.
  screen_.contentOffsetX = -systemInfo_.screenWidth;

  host().ShowWindow(platform::Show::Maximized);
  PlaceMainControls(host(), host().WindowRect(), systemInfo_.screenHeight);

  const std::string about = p.services().LoadString(IDS_ABOUTBOX);
  if (!about.empty()) host().AppendSystemMenuItem(IDM_ABOUTBOX, about);
  host().SetIcon(IDR_MAINFRAME);

  resultsText = "Press 'Run Test' to run a new test";
  reportText_ = resultsText;
  UpdateData(false);

  host().SetTimer(kSlideInTimer, 10);
  host().Invalidate(nullptr, true);
  return true;
}

bool MainDialog::OnEraseBackground(platform::Canvas& window) {
  const Rect client{0, 0, window.Width(), window.Height()};
  window.Rectangle(Rect{client.left, client.top, client.right + 1, client.bottom + 1},
                   platform::Pen{platform::kPenNull, 0, 0}, platform::Brush{kLightBlue});
  return true;
}

void MainDialog::OnTimer(int id) {
  if (id == kSlideInTimer) SlideInStep();
}

void MainDialog::SlideInStep() {
  const std::uint32_t now = platform().services().TickCount();
  if (screen_.animationLastTick == 0) screen_.animationLastTick = now;
  const int before = screen_.contentOffsetX;
  screen_.contentOffsetX += static_cast<int>(now - screen_.animationLastTick);
  if (screen_.contentOffsetX != before) screen_.animationLastTick = now;

  if (screen_.contentOffsetX < 0) {
    host().Invalidate(nullptr, true);
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
  host().Invalidate(nullptr, true);

  if (runOnceAndEnd_) {
    OnRunTest();
    host().EndDialog(IDOK);
  }
}

void MainDialog::OnCommand(int id) {
  switch (id) {
    case IDC_RUN_TEST:
    case IDC_RUN_TEST_FIRST:
      OnRunTest();
      break;
    case IDC_VIEW_DETAILS:
      OnViewDetails();
      break;
    default:
      Dialog::OnCommand(id);
      break;
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

// No system command (move, size, minimise, close, the about item) has any
// effect on the main window.
bool MainDialog::OnSystemCommand(unsigned) { return true; }

bool MainDialog::OnNonClientActivate() { return true; }

Colour MainDialog::DialogBrushColour() { return kLightBlue; }

void MainDialog::DoDataExchange(bool saveAndValidate) {
  if (saveAndValidate) {
    resultsText = host().GetControlText(IDC_RESULTS_EDIT);
    userName = host().GetControlText(IDC_NAME_EDIT);
    email = host().GetControlText(IDC_EMAIL_EDIT);
  } else {
    host().SetControlText(IDC_RESULTS_EDIT, resultsText);
    host().SetControlText(IDC_NAME_EDIT, userName);
    host().SetControlText(IDC_EMAIL_EDIT, email);
  }
}

}  // namespace quorvel
