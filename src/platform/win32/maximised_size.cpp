#include "platform/win32/maximised_size.h"

namespace quorvel::win32 {

void MaximisedSize::Maximised(HWND hwnd) {
  active_ = ::IsZoomed(hwnd) != FALSE && ::GetWindowRect(hwnd, &rect_) != FALSE;
  repairs_ = 0;
}

void MaximisedSize::PositionChanged(HWND hwnd) {
  if (!active_ || repairing_) return;
  if (!::IsZoomed(hwnd)) {
    active_ = false;  // restored or minimised by the user: that size is meant
    return;
  }
  RECT now{};
  if (!::GetWindowRect(hwnd, &now) || ::EqualRect(&now, &rect_)) return;
  if (repairs_ == kMostRepairs) return;
  ++repairs_;
  repairing_ = true;
  ::SetWindowPos(hwnd, nullptr, rect_.left, rect_.top, rect_.right - rect_.left,
                 rect_.bottom - rect_.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  repairing_ = false;
}

}  // namespace quorvel::win32
