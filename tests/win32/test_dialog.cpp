#include "test_dialog.h"

#include "platform/resource_ids.h"
#include "platform/win32/dialog_system.h"
#include "platform/win32/dialog_window.h"

namespace quorvel::win32::testing {
namespace {

constexpr UINT_PTR kWatchdogTimer = 0x7777;
constexpr UINT kWatchdogMs = 15000;
constexpr char kDialogProperty[] = "QuorvelTestDialog";

// A timer procedure is called by DispatchMessage directly, so the watchdog
// works even when the window procedure under test loses WM_TIMER.
void CALLBACK Watchdog(HWND hwnd, UINT, UINT_PTR, DWORD) {
  ::KillTimer(hwnd, kWatchdogTimer);
  auto* dialog = static_cast<TestDialog*>(::GetPropA(hwnd, kDialogProperty));
  if (dialog != nullptr && dialog->host != nullptr) dialog->host->EndDialog(kTimedOut);
}

}  // namespace

int RunDialog(TestDialog& dialog, int templateId) {
  Win32DialogSystem dialogs;
  return dialogs.RunModal(templateId, dialog, nullptr);
}

int RunDialog(TestDialog& dialog) { return RunDialog(dialog, IDD_MAIN_DIALOG); }

void TestDialog::After(unsigned ms, std::function<void()> action) {
  const int id = nextTimer_++;
  pending_[id] = std::move(action);
  host->SetTimer(id, ms);
}

void TestDialog::Attach(platform::DialogHost* h) {
  events.push_back(h != nullptr ? "attach" : "detach");
  host = h;
  if (h != nullptr) hwnd = DialogWindow::HandleOf(h);
  if (h == nullptr && detached) detached();
}

bool TestDialog::OnInitDialog() {
  events.push_back("init");
  ::SetPropA(hwnd, kDialogProperty, this);
  ::SetTimer(hwnd, kWatchdogTimer, kWatchdogMs, &Watchdog);
  if (init) init();
  return initResult;
}

bool TestDialog::OnEraseBackground(platform::Canvas& window) {
  return erase ? erase(window) : false;
}

bool TestDialog::OnDrawItem(const platform::DrawItem& item, platform::Canvas& canvas) {
  return drawItem ? drawItem(item, canvas) : false;
}

void TestDialog::OnCommand(int id) {
  commands.push_back(id);
  if (id == IDOK || id == IDCANCEL) host->EndDialog(id);
}

void TestDialog::OnTimer(int id) {
  timers.push_back(id);
  if (timer) timer(id);
  auto it = pending_.find(id);
  if (it == pending_.end()) return;
  host->KillTimer(id);
  std::function<void()> action = std::move(it->second);
  pending_.erase(it);
  action();
}

void TestDialog::OnLButtonUp(Point clientPoint) { clicks.push_back(clientPoint); }

bool TestDialog::OnSystemCommand(unsigned command) {
  systemCommands.push_back(command);
  return swallowSystemCommands;
}

bool TestDialog::OnNonClientActivate() { return swallowNonClientActivate; }

void TestDialog::OnDestroy() {
  events.push_back("destroy");
  ::RemovePropA(hwnd, kDialogProperty);
}

}  // namespace quorvel::win32::testing
