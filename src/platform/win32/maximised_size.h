// Keeps a maximised window at the size maximising gave it. On Windows the
// size holds; under Wine with a window manager the manager is asked to
// maximise the X window, and one that will not (openbox does not for a
// window without a maximise box) answers with the window's old size, which
// Wine then gives the still-maximised window. Such a change is undone: the
// window is put back where maximising placed it, covering the screen.
#pragma once

#include "platform/win32/windows_api.h"

namespace quorvel::win32 {

class MaximisedSize {
 public:
  // After ShowWindow(SW_SHOWMAXIMIZED): remembers the rectangle it gave.
  void Maximised(HWND hwnd);
  // On WM_WINDOWPOSCHANGED: a maximised window that lost that rectangle
  // gets it back. A manager that keeps refusing is given up on after a few
  // tries, so the two never trade sizes for ever.
  void PositionChanged(HWND hwnd);

 private:
  static constexpr int kMostRepairs = 3;
  RECT rect_{};
  bool active_ = false;
  bool repairing_ = false;
  int repairs_ = 0;
};

}  // namespace quorvel::win32
