#include "platform/win32/win32_services.h"

#include "platform/win32/windows_api.h"
#include <shellapi.h>

#include <process.h>

#include <cstdint>
#include <memory>

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

namespace {

unsigned __stdcall RunThreadBody(void* argument) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(argument));
  (*body)();
  return 0;
}

}  // namespace

// The runtime library's thread start, its handle closed at once. Not
// std::thread(...).detach(): under Wine a thread of the MinGW threads
// library that is detached at once now and then never runs, and a test
// window would wait for its worker for ever.
bool Win32Services::StartThread(std::function<void()> body) {
  auto owned = std::make_unique<std::function<void()>>(std::move(body));
  const std::uintptr_t handle =
      ::_beginthreadex(nullptr, 0, RunThreadBody, owned.get(), 0, nullptr);
  if (handle == 0) return false;
  owned.release();  // the thread owns it now
  ::CloseHandle(reinterpret_cast<HANDLE>(handle));
  return true;
}

}  // namespace quorvel::win32
