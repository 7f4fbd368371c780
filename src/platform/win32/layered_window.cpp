#include "platform/win32/layered_window.h"

#include <algorithm>
#include <memory>
#include <type_traits>

namespace quorvel::win32 {
namespace {

using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

struct LibraryFreer {
  void operator()(HMODULE module) const { ::FreeLibrary(module); }
};
using UniqueLibrary = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFreer>;

struct User32Entry {
  UniqueLibrary loaded;  // only when User32.dll was not mapped already
  SetLayeredWindowAttributesFn function = nullptr;

  User32Entry() {
    HMODULE user32 = ::GetModuleHandleA("User32.dll");
    if (user32 == nullptr) {
      loaded.reset(::LoadLibraryA("User32.dll"));
      user32 = loaded.get();
    }
    if (user32 == nullptr) return;
    function = reinterpret_cast<SetLayeredWindowAttributesFn>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "SetLayeredWindowAttributes")));
  }
};

SetLayeredWindowAttributesFn SetLayeredWindowAttributesEntry() {
  static const User32Entry entry;  // looked up once, by whichever thread asks first
  return entry.function;
}

}  // namespace

bool ApplyLayeredAttributes(HWND hwnd, Colour key, int alpha, unsigned flags) {
  SetLayeredWindowAttributesFn setAttributes = SetLayeredWindowAttributesEntry();
  if (setAttributes == nullptr || !::IsWindow(hwnd)) return false;
  const LONG_PTR exStyle = ::GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
  ::SetWindowLongPtrA(hwnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  const BYTE opacity = static_cast<BYTE>(std::clamp(alpha, 0, 255));
  return setAttributes(hwnd, key, opacity, flags) != FALSE;
}

}  // namespace quorvel::win32
