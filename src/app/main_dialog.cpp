#include "app/main_dialog.h"

#include "app/control_layout.h"
#include "platform/resource_ids.h"
#include "results/identity.h"
#include "results/save_results.h"
#include "results/send_results.h"
#include "site/site_addresses.h"
#include "skin/skin_painter.h"
#include "sysinfo/graphics_probe.h"
#include "sysinfo/os_probe.h"
#include "sysinfo/system_probe.h"

namespace quorvel {

MainDialog::MainDialog(platform::Platform& platform, SystemInfo& systemInfo,
                       BenchmarkScores& scores)
    : Dialog(platform, IDD_MAIN_DIALOG), systemInfo_(systemInfo), scores_(scores) {}

bool MainDialog::OnInitDialog() {
  platform::Platform& p = platform();

  ProbeOperatingSystem(systemInfo_, p.facts());
  const Identity identity = ReadIdentity(p.profile());
  userName = identity.userName;
  email = identity.email;
  UpdateData(false);
  const std::uint64_t directDrawTotal = ProbeDriverAndImaging(systemInfo_, p.facts());
  skin_.LoadResources(p.graphics());
  buttons_ = std::make_unique<OwnerButtons>(p.graphics(), skin_.fonts.button.get());
  p.facts().LoadDirect3D();

  Dialog::OnInitDialog();

  skin_.Build(links_, ResultsServerInUse().host);
  ProbeAfterScreenElements(systemInfo_, p.facts(), directDrawTotal);
  skin_.ShowSystemFacts(systemInfo_);
  skin_.context.entries = {systemInfo_.transparentBltEntry, systemInfo_.alphaBlendEntry};
  // The picture starts one screen width to the left and slides in.
  screen_.contentOffsetX = -systemInfo_.screenWidth;

  host().ShowWindow(platform::Show::Maximized);
  PlaceMainControls(host(), host().WindowRect(), systemInfo_.screenHeight);

  const std::string about = p.services().LoadString(IDS_ABOUTBOX);
  if (!about.empty()) host().AppendSystemMenuItem(IDM_ABOUTBOX, about);
  host().SetIcon(IDR_MAINFRAME);

  resultsText = "Press 'Run Test' to run a new test";
  UpdateData(false);

  host().SetTimer(kSlideInTimer, 10);
  skin_.sysInfoPanel.alpha = 255;
  skin_.sysInfoPanel.comp = kDrawColourKeyed;
  skin_.resultPanel.alpha = 255;
  skin_.resultPanel.comp = kDrawColourKeyed;
  Repaint();
  links_.Append(Rect{systemInfo_.screenWidth - 92, 0, systemInfo_.screenWidth, 82});
  return true;
}

bool MainDialog::OnEraseBackground(platform::Canvas& window) {
  PaintSkin(window, skin_, screen_);
  return true;
}

bool MainDialog::OnDrawItem(const platform::DrawItem& item, platform::Canvas& canvas) {
  return buttons_ && buttons_->Draw(item, canvas, scores_.testsRun);
}

void MainDialog::OnCommand(int id) {
  switch (id) {
    case IDC_CLOSE:
      OnClose();
      break;
    case IDC_RUN_TEST:
    case IDC_RUN_TEST_FIRST:
      OnRunTest();
      break;
    case IDC_VIEW_DETAILS:
      OnViewDetails();
      break;
    case IDC_SAVE_RESULTS:
      OnSaveResults();
      break;
    case IDC_RETURN_TO_MAIN:
      OnReturnToMain();
      break;
    case IDC_SUBMIT_AND_COMPARE:
      OnSubmitAndCompare();
      break;
    case IDC_SEND_RESULTS:
      OnSendResults();
      break;
    case IDC_MAKER_HOME:
      FollowLink(LinkAction::MakerHome, platform().services(), &host(),
                 systemInfo_.adapterReportName);
      break;
    default:
      Dialog::OnCommand(id);
      break;
  }
}

void MainDialog::OnLButtonUp(Point clientPoint) {
  const LinkAction action = ClickAction(links_, clientPoint, skin_.advicePanel.hidden != 1,
                                        screen_.resultsScreenActive != 0);
  if (action == LinkAction::ToggleAdvice) {
    ToggleAdvicePanel();
  } else {
    FollowLink(action, platform().services(), &host(), systemInfo_.adapterReportName);
  }
}

void MainDialog::ToggleAdvicePanel() {
  skin_.advicePanel.hidden = skin_.advicePanel.hidden == 1 ? 0 : 1;
  // Drawn off screen and blended with the panel's opacity.
  skin_.advicePanel.alpha = 220;
  skin_.advicePanel.comp = kDrawBlended;
  Repaint();
}

void MainDialog::OnSaveResults() {
  platform::Platform& p = platform();
  ShowSaveResult(SaveResults(scores_.testsRun, resultsText, p.files()), p.services(), &host());
}

void MainDialog::OnSendResults() {
  platform::Platform& p = platform();
  UpdateData(true);
  // Stored before any network work, so a failed upload keeps what was typed.
  WriteIdentity(p.profile(), userName, email);
  SendResults(p.http(), p.services(), &host(), ResultsServerInUse(), systemInfo_, scores_,
              userName, email);
}

// No system command (move, size, minimise, close, the about item) has any
// effect on the main window.
bool MainDialog::OnSystemCommand(unsigned) { return true; }

bool MainDialog::OnNonClientActivate() { return true; }

Colour MainDialog::DialogBrushColour() { return skin::kLightBlue; }

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
