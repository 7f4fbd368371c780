// Dialog handlers for the backend's tests: they record what the backend
// calls, let a test act on the window from OnInitDialog and OnTimer, and end
// the dialog after a few seconds whatever happens, so no test can hang.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/resource_ids.h"

namespace quorvel::x11::testing {

// The dialog's result when the watchdog had to end it.
constexpr int kWatchdogResult = -99;

class RecordingHandlers : public platform::DialogHandlers {
 public:
  static constexpr int kWatchdogTimer = 9999;
  static constexpr int kShownTimer = 9998;

  // Called from OnInitDialog, with the host.
  std::function<void(platform::DialogHost&)> onInit;
  // Called once, on the first tick of a 10 ms timer after the window was
  // first painted (so it is on the server, mapped and drawn).
  std::function<void(platform::DialogHost&)> onShown;
  // Called for every timer but the watchdog's.
  std::function<void(platform::DialogHost&, int)> onTimer;
  // Called after the erase fill, to draw more on the frame.
  std::function<void(platform::Canvas&)> onErased;
  // Called for owner-drawn controls; unset: not drawn.
  std::function<bool(const platform::DrawItem&, platform::Canvas&)> onDrawItem;

  bool erasePaints = true;  // OnEraseBackground fills eraseColour and returns true
  Colour eraseColour = Rgb(10, 200, 30);
  Colour brushColour = Rgb(90, 60, 200);
  bool swallowClose = false;  // OnSystemCommand's answer
  bool endOnOkCancel = true;  // IDOK / IDCANCEL end the dialog, as in a dialog class

  platform::DialogHost* host = nullptr;
  std::vector<std::string> lifecycle;
  std::vector<int> commands;
  std::vector<unsigned> systemCommands;
  std::vector<Point> clicks;
  int erasures = 0;
  bool nonClientActivated = false;

  void Attach(platform::DialogHost* h) override {
    host = h;
    lifecycle.push_back(h != nullptr ? "attach" : "detach");
  }
  bool OnInitDialog() override {
    lifecycle.push_back("init");
    host->SetTimer(kWatchdogTimer, 3000);
    if (onShown) host->SetTimer(kShownTimer, 10);
    if (onInit) onInit(*host);
    return true;
  }
  bool OnEraseBackground(platform::Canvas& window) override {
    ++erasures;
    if (!erasePaints) return false;
    platform::Pen none{platform::kPenNull, 0, 0};
    platform::Brush brush{eraseColour, platform::kHatchNone};
    window.Rectangle(Rect{0, 0, window.Width() + 1, window.Height() + 1}, none, brush);
    if (onErased) onErased(window);
    return true;
  }
  bool OnDrawItem(const platform::DrawItem& item, platform::Canvas& canvas) override {
    return onDrawItem ? onDrawItem(item, canvas) : false;
  }
  void OnCommand(int id) override {
    commands.push_back(id);
    if (endOnOkCancel && (id == IDOK || id == IDCANCEL)) host->EndDialog(id);
  }
  void OnTimer(int id) override {
    if (id == kWatchdogTimer) {
      host->EndDialog(kWatchdogResult);
    } else if (id == kShownTimer) {
      if (erasures == 0) return;
      host->KillTimer(kShownTimer);
      onShown(*host);
    } else if (onTimer) {
      onTimer(*host, id);
    }
  }
  void OnLButtonUp(Point p) override { clicks.push_back(p); }
  bool OnSystemCommand(unsigned command) override {
    systemCommands.push_back(command);
    return swallowClose;
  }
  bool OnNonClientActivate() override {
    nonClientActivated = true;
    return false;
  }
  Colour DialogBrushColour() override { return brushColour; }
  void OnDestroy() override { lifecycle.push_back("destroy"); }
};

}  // namespace quorvel::x11::testing
