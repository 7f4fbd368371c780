#include "platform/win32/layered_window.h"

#include <algorithm>

#include "platform/win32/system_entry.h"

namespace quorvel::win32 {
namespace {

using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

SetLayeredWindowAttributesFn SetLayeredWindowAttributesEntry() {
  // Looked up once, by whichever thread asks first.
  static const auto entry = reinterpret_cast<SetLayeredWindowAttributesFn>(
      reinterpret_cast<void*>(FindSystemEntry("User32.dll", "SetLayeredWindowAttributes")));
  return entry;
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
