// The modal loop of a dialog, as dialog frameworks run it: the owner is
// disabled, the window made from its template, and messages are pumped
// through the dialog manager (IsDialogMessage) until EndDialog.
//
// DialogBoxParam is not used: Wine's own loop shows the dialog with
// SW_SHOWNORMAL when its queue first runs empty, even when the dialog is
// already visible, which undoes a maximise done in OnInitDialog. This loop
// shows a dialog only when it is still hidden then, as Windows does.
#include "platform/win32/dialog_window.h"
#include "platform/win32/module.h"

namespace quorvel::win32 {

int DialogWindow::RunModal(int templateId, HWND owner) {
  const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
  if (disableOwner) ::EnableWindow(owner, FALSE);

  HWND hwnd = ::CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(templateId), owner,
                                   &DialogWindow::DialogProc, reinterpret_cast<LPARAM>(this));
  if (hwnd != nullptr) PumpUntilEnded();

  // The owner first, so that activation returns to it and not to some
  // other program's window when this one goes.
  if (disableOwner) ::EnableWindow(owner, TRUE);
  if (hwnd != nullptr && ::IsWindow(hwnd)) {
    if (owner != nullptr && ::GetActiveWindow() == hwnd) ::SetActiveWindow(owner);
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    ::DestroyWindow(hwnd);
  }
  Detach();
  return hwnd != nullptr ? result_.load() : -1;
}

void DialogWindow::PumpUntilEnded() {
  bool idleSeen = false;
  MSG msg{};
  while (!ended_.load() && hwnd_.load() != nullptr) {
    if (!idleSeen && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      idleSeen = true;
      // A template without WS_VISIBLE is shown once everything queued by
      // the initialisation has been handled.
      HWND hwnd = hwnd_.load();
      if ((::GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) == 0) {
        ::ShowWindow(hwnd, SW_SHOWNORMAL);
        ::UpdateWindow(hwnd);
      }
      continue;
    }
    const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      // WM_QUIT belongs to the outermost loop: put it back and stop.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got == -1) break;
    HWND hwnd = hwnd_.load();
    if (hwnd == nullptr || !::IsDialogMessageA(hwnd, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
}

}  // namespace quorvel::win32
