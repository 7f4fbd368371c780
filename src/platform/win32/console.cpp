#include "platform/win32/console.h"

#include "platform/win32/windows_api.h"

#include <cstdio>

namespace quorvel::win32 {
namespace {

bool IsUsable(DWORD which) {
  HANDLE handle = ::GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void UseParentConsole() {
  const bool outUsable = IsUsable(STD_OUTPUT_HANDLE);
  const bool errUsable = IsUsable(STD_ERROR_HANDLE);
  if (outUsable && errUsable) return;
  if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (!outUsable && std::freopen("CONOUT$", "w", stdout) != nullptr) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
  }
  if (!errUsable && std::freopen("CONOUT$", "w", stderr) != nullptr) {
    std::setvbuf(stderr, nullptr, _IONBF, 0);
  }
}

}  // namespace quorvel::win32
