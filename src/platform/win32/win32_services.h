// platform::Services on the Windows API.
#pragma once

#include "platform/services.h"

namespace quorvel::win32 {

class Win32Services : public platform::Services {
 public:
  std::uint32_t TickCount() override;
  void Sleep(unsigned ms) override;
  std::int64_t PerformanceCounter() override;
  std::int64_t PerformanceFrequency() override;
  std::string LoadString(int id) override;
  void SetCursorPos(int x, int y) override;
  void MessageBox(platform::DialogHost* owner, const std::string& text,
                  const std::string& caption, platform::MessageIcon icon) override;
  void OpenWebPage(platform::DialogHost* owner, const std::string& address,
                   platform::Show how) override;
  bool StartThread(std::function<void()> body) override;
};

}  // namespace quorvel::win32
