#include "platform/win32/win32_platform.h"

#include "platform/win32/windows_api.h"

#include <cstdio>

namespace quorvel::win32 {
namespace {

// True when a window can be made: a desktop without a display driver (Wine
// with no X display, a service session) cannot show the program.
bool DesktopAvailable() {
  HWND probe = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
  if (probe == nullptr) return false;
  ::DestroyWindow(probe);
  return true;
}

}  // namespace

std::unique_ptr<platform::Platform> CreatePlatform() {
  if (!DesktopAvailable()) {
    std::fprintf(stderr, "quorvel: cannot create a window on this desktop (error %lu)\n",
                 static_cast<unsigned long>(::GetLastError()));
    return nullptr;
  }
  return std::make_unique<Win32Platform>();
}

}  // namespace quorvel::win32
