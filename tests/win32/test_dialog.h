// A dialog for the window tests: records what the backend tells it and runs
// the hooks a test gives it. Enter and Escape end it like the program's
// dialogs do (IDOK / IDCANCEL), and a watchdog ends it if a test stalls.
#pragma once

#include "platform/win32/windows_api.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/dialog.h"

namespace quorvel::win32::testing {

// RunModal's result when the watchdog had to end the dialog.
constexpr int kTimedOut = -77;

class TestDialog : public platform::DialogHandlers {
 public:
  // Hooks; each is optional.
  std::function<void()> init;  // inside OnInitDialog, after the watchdog is set
  std::function<void(int)> timer;  // every OnTimer, before any After action
  std::function<void()> detached;  // in Attach(nullptr), once the window is gone
  std::function<bool(platform::Canvas&)> erase;
  std::function<bool(const platform::DrawItem&, platform::Canvas&)> drawItem;
  bool initResult = true;
  bool swallowSystemCommands = true;
  bool swallowNonClientActivate = true;
  Colour brushColour = Rgb(10, 20, 30);

  // What happened.
  platform::DialogHost* host = nullptr;  // null outside Attach(host)..Attach(null)
  HWND hwnd = nullptr;                   // kept after the window is gone
  std::vector<std::string> events;       // attach, init, destroy, detach
  std::vector<int> commands;
  std::vector<int> timers;
  std::vector<unsigned> systemCommands;
  std::vector<Point> clicks;

  // Runs `action` once, `ms` milliseconds from now, from a host timer.
  void After(unsigned ms, std::function<void()> action);

  void Attach(platform::DialogHost* h) override;
  bool OnInitDialog() override;
  bool OnEraseBackground(platform::Canvas& window) override;
  bool OnDrawItem(const platform::DrawItem& item, platform::Canvas& canvas) override;
  void OnCommand(int id) override;
  void OnTimer(int id) override;
  void OnLButtonUp(Point clientPoint) override;
  bool OnSystemCommand(unsigned command) override;
  bool OnNonClientActivate() override;
  Colour DialogBrushColour() override { return brushColour; }
  void OnDestroy() override;

 private:
  std::map<int, std::function<void()>> pending_;
  int nextTimer_ = 100;
};

// Runs `dialog` modally on template `templateId` with no owner.
int RunDialog(TestDialog& dialog, int templateId);
// The main dialog's template.
int RunDialog(TestDialog& dialog);

}  // namespace quorvel::win32::testing
