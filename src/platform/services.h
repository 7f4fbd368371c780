// Services of the desktop that the core calls directly.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/dialog.h"

namespace quorvel::platform {

// MessageBoxA styles used by the program.
enum class MessageIcon { Information, Exclamation };

class Services {
 public:
  virtual ~Services() = default;

  // Milliseconds since an arbitrary start, wrapping at 2^32 (GetTickCount).
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(unsigned ms) = 0;
  // High-resolution counter and its ticks per second.
  virtual std::int64_t PerformanceCounter() = 0;
  virtual std::int64_t PerformanceFrequency() = 0;

  // String resource `id` of the program; empty when it is missing.
  virtual std::string LoadString(int id) = 0;

  virtual void SetCursorPos(int x, int y) = 0;
  // A modal message box with an OK button, owned by `owner` (may be null).
  virtual void MessageBox(DialogHost* owner, const std::string& text, const std::string& caption,
                          MessageIcon icon) = 0;
  // Opens a web page in the user's browser; the result is not reported.
  virtual void OpenWebPage(DialogHost* owner, const std::string& address, Show how) = 0;
  // Starts a detached thread; false when it could not be started.
  virtual bool StartThread(std::function<void()> body) = 0;
};

}  // namespace quorvel::platform
