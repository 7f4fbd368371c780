#include "platform/win32/win32_services.h"

#include "platform/win32/windows_api.h"
#include <shellapi.h>

#include <system_error>
#include <thread>

#include "platform/win32/dialog_window.h"
#include "platform/win32/module.h"

namespace quorvel::win32 {

std::uint32_t Win32Services::TickCount() { return ::GetTickCount(); }

void Win32Services::Sleep(unsigned ms) { ::Sleep(ms); }

std::int64_t Win32Services::PerformanceCounter() {
  LARGE_INTEGER value{};
  ::QueryPerformanceCounter(&value);
  return value.QuadPart;
}

std::int64_t Win32Services::PerformanceFrequency() {
  LARGE_INTEGER value{};
  ::QueryPerformanceFrequency(&value);
  return value.QuadPart;
}

std::string Win32Services::LoadString(int id) {
  // String table entries are at most 4097 characters with the terminator.
  char buffer[4100];
  const int length = ::LoadStringA(ResourceModule(), static_cast<UINT>(id), buffer, sizeof(buffer));
  return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

void Win32Services::SetCursorPos(int x, int y) { ::SetCursorPos(x, y); }

void Win32Services::MessageBox(platform::DialogHost* owner, const std::string& text,
                               const std::string& caption, platform::MessageIcon icon) {
  const UINT style =
      MB_OK | (icon == platform::MessageIcon::Exclamation ? MB_ICONEXCLAMATION : MB_ICONINFORMATION);
  ::MessageBoxA(DialogWindow::HandleOf(owner), text.c_str(), caption.c_str(), style);
}

void Win32Services::OpenWebPage(platform::DialogHost* owner, const std::string& address,
                                platform::Show how) {
  ::ShellExecuteA(DialogWindow::HandleOf(owner), "open", address.c_str(), "", "",
                  static_cast<int>(how));
}

bool Win32Services::StartThread(std::function<void()> body) {
  try {
    std::thread(std::move(body)).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

}  // namespace quorvel::win32
