// The desktop services on Linux/X11: monotonic clocks, the pointer, the
// message box, the browser and threads.
#pragma once

#include "platform/services.h"

namespace quorvel::platform {
class Graphics;
}

namespace quorvel::x11 {

class X11DialogSystem;
class XConnection;

class X11Services : public platform::Services {
 public:
  X11Services(XConnection& connection, X11DialogSystem& dialogs, platform::Graphics& graphics);

  // CLOCK_MONOTONIC in milliseconds, wrapping at 2^32.
  std::uint32_t TickCount() override;
  void Sleep(unsigned ms) override;
  // CLOCK_MONOTONIC in nanoseconds; 1e9 ticks a second.
  std::int64_t PerformanceCounter() override;
  std::int64_t PerformanceFrequency() override;
  std::string LoadString(int id) override;
  void SetCursorPos(int x, int y) override;
  void MessageBox(platform::DialogHost* owner, const std::string& text, const std::string& caption,
                  platform::MessageIcon icon) override;
  // Runs xdg-open with the address; `how` has no meaning here.
  void OpenWebPage(platform::DialogHost* owner, const std::string& address,
                   platform::Show how) override;
  bool StartThread(std::function<void()> body) override;

 private:
  XConnection& connection_;
  X11DialogSystem& dialogs_;
  platform::Graphics& graphics_;
};

}  // namespace quorvel::x11
