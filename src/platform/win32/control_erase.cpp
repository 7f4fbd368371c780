#include "platform/win32/control_erase.h"

namespace quorvel::win32 {
namespace {

constexpr LRESULT kErased = 99;

// Shared by all subclassed controls; the previous procedure of each is kept
// in its own window property, which stays for the window's lifetime.
LRESULT CALLBACK NoEraseProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return kErased;
  auto previous = reinterpret_cast<WNDPROC>(::GetPropA(hwnd, kPreviousProcProperty));
  if (previous == nullptr) return ::DefWindowProcA(hwnd, message, wParam, lParam);
  return ::CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

}  // namespace

void SuppressEraseOf(HWND control) {
  if (control == nullptr) return;
  // Subclassing twice would store NoEraseProc as its own predecessor.
  if (::GetWindowLongPtrA(control, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&NoEraseProc)) return;
  const LONG_PTR previous =
      ::SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NoEraseProc));
  ::SetPropA(control, kPreviousProcProperty, reinterpret_cast<HANDLE>(previous));
}

}  // namespace quorvel::win32
