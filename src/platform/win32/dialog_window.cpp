// The host calls of a running dialog: its controls, timers, painting, the
// window itself, and the calls a worker thread makes on a test window.
#include "platform/win32/dialog_window.h"

#include <vector>

#include "platform/win32/control_erase.h"
#include "platform/win32/gdi_font.h"
#include "platform/win32/layered_window.h"
#include "platform/win32/module.h"
#include "platform/win32/screen_capture.h"

namespace quorvel::win32 {
namespace {

Rect ToRect(const RECT& rc) { return Rect{rc.left, rc.top, rc.right, rc.bottom}; }
RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

HWND DialogWindow::HandleOf(platform::DialogHost* host) {
  auto* window = dynamic_cast<DialogWindow*>(host);
  return window != nullptr ? window->hwnd() : nullptr;
}

HWND DialogWindow::Control(int id) const {
  HWND hwnd = hwnd_.load();
  return hwnd != nullptr ? ::GetDlgItem(hwnd, id) : nullptr;
}

HWND DialogWindow::LiveWindow() const {
  HWND hwnd = hwnd_.load();
  return hwnd != nullptr && ::IsWindow(hwnd) ? hwnd : nullptr;
}

void DialogWindow::ShowControl(int id, bool show) {
  if (HWND control = Control(id)) ::ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

bool DialogWindow::IsControlVisible(int id) {
  HWND control = Control(id);
  return control != nullptr && ::IsWindowVisible(control);
}

void DialogWindow::MoveControl(int id, int x, int y, int w, int h, bool repaint) {
  if (HWND control = Control(id)) ::MoveWindow(control, x, y, w, h, repaint ? TRUE : FALSE);
}

Rect DialogWindow::ControlRect(int id) {
  HWND control = Control(id);
  if (control == nullptr) return Rect{};
  RECT rc{};
  ::GetWindowRect(control, &rc);
  ::MapWindowPoints(nullptr, hwnd_.load(), reinterpret_cast<POINT*>(&rc), 2);
  return ToRect(rc);
}

void DialogWindow::InvalidateControl(int id, bool erase) {
  if (HWND control = Control(id)) ::InvalidateRect(control, nullptr, erase ? TRUE : FALSE);
}

void DialogWindow::UpdateControl(int id) {
  if (HWND control = Control(id)) ::UpdateWindow(control);
}

void DialogWindow::SetControlFont(int id, const platform::Font& font, bool redraw) {
  HWND control = Control(id);
  HFONT handle = GdiFont::HandleOf(&font);
  if (control == nullptr || handle == nullptr) return;
  ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(handle), redraw ? TRUE : FALSE);
}

std::string DialogWindow::GetControlText(int id) {
  HWND control = Control(id);
  if (control == nullptr) return std::string();
  const int length = ::GetWindowTextLengthA(control);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(control, buffer.data(), length + 1);
  return std::string(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

void DialogWindow::SetControlText(int id, const std::string& text) {
  if (HWND control = Control(id)) ::SetWindowTextA(control, text.c_str());
}

void DialogWindow::SuppressControlErase(int id) { SuppressEraseOf(Control(id)); }

void DialogWindow::SetTimer(int id, unsigned periodMs) {
  if (HWND hwnd = hwnd_.load()) ::SetTimer(hwnd, static_cast<UINT_PTR>(id), periodMs, nullptr);
}

void DialogWindow::KillTimer(int id) {
  if (HWND hwnd = hwnd_.load()) ::KillTimer(hwnd, static_cast<UINT_PTR>(id));
}

void DialogWindow::Invalidate(const Rect* clientRect, bool erase) {
  HWND hwnd = hwnd_.load();
  if (hwnd == nullptr) return;
  if (clientRect == nullptr) {
    ::InvalidateRect(hwnd, nullptr, erase ? TRUE : FALSE);
    return;
  }
  const RECT rc = ToRECT(*clientRect);
  ::InvalidateRect(hwnd, &rc, erase ? TRUE : FALSE);
}

void DialogWindow::Update() {
  HWND hwnd = hwnd_.load();
  if (hwnd == nullptr) return;
  ::UpdateWindow(hwnd);
  // The painting reaches the screen before the caller goes on, even when it
  // blocks next (the farewell picture's three seconds). A wait of no time
  // for messages takes nothing from the queue; Wine, which keeps windows in
  // off-screen surfaces, puts them out whenever a thread waits, but after a
  // paint only when the thread has not waited for 50 ms.
  ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
}

Rect DialogWindow::WindowRect() {
  RECT rc{};
  if (HWND hwnd = hwnd_.load()) ::GetWindowRect(hwnd, &rc);
  return ToRect(rc);
}

Rect DialogWindow::ClientRect() {
  RECT rc{};
  if (HWND hwnd = hwnd_.load()) ::GetClientRect(hwnd, &rc);
  return ToRect(rc);
}

void DialogWindow::ShowWindow(platform::Show how) {
  HWND hwnd = hwnd_.load();
  if (hwnd == nullptr) return;
  ::ShowWindow(hwnd, static_cast<int>(how));
  if (how == platform::Show::Maximized) maximisedSize_.Maximised(hwnd);
}

void DialogWindow::SetFocus() {
  if (HWND hwnd = hwnd_.load()) ::SetFocus(hwnd);
}

bool DialogWindow::AppendSystemMenuItem(unsigned command, const std::string& text) {
  HWND hwnd = hwnd_.load();
  HMENU menu = hwnd != nullptr ? ::GetSystemMenu(hwnd, FALSE) : nullptr;
  if (menu == nullptr) return false;
  ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(menu, MF_STRING, command, text.c_str());
  return true;
}

void DialogWindow::SetIcon(int iconId) {
  HWND hwnd = hwnd_.load();
  if (hwnd == nullptr) return;
  // LoadIcon's icons are shared with the module and are never destroyed.
  HICON icon = ::LoadIconA(ResourceModule(), MAKEINTRESOURCEA(iconId));
  ::SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  ::SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void DialogWindow::EndDialog(int result) {
  HWND hwnd = LiveWindow();
  if (hwnd == nullptr) return;
  result_.store(result);
  ended_.store(true);
  // The modal loop may be waiting for a message: give it one.
  ::PostMessageA(hwnd, WM_NULL, 0, 0);
}

// The calls below come from a worker thread. USER32 sends what they need to
// the window's own thread and waits for it, so each is a full exchange.
bool DialogWindow::IsWindowVisible() {
  HWND hwnd = LiveWindow();
  return hwnd != nullptr && ::IsWindowVisible(hwnd);
}

void DialogWindow::MoveWindow(int x, int y, int w, int h, bool repaint) {
  if (HWND hwnd = LiveWindow()) ::MoveWindow(hwnd, x, y, w, h, repaint ? TRUE : FALSE);
}

void DialogWindow::UpdateWindow() {
  if (HWND hwnd = LiveWindow()) ::UpdateWindow(hwnd);
}

bool DialogWindow::SetLayeredAttributes(Colour key, int alpha, unsigned flags) {
  HWND hwnd = LiveWindow();
  return hwnd != nullptr && ApplyLayeredAttributes(hwnd, key, alpha, flags);
}

Rect DialogWindow::ClientAreaOnScreen() {
  HWND hwnd = LiveWindow();
  RECT client{};
  POINT origin{0, 0};
  if (hwnd == nullptr || !::GetClientRect(hwnd, &client) || !::ClientToScreen(hwnd, &origin)) {
    return Rect{};
  }
  return Rect{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

bool DialogWindow::ReadScreen(const Rect& screenRect, std::vector<Colour>& pixels) {
  return CaptureScreen(screenRect, pixels);
}

}  // namespace quorvel::win32
