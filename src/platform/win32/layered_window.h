// Layered (translucent) top-level windows.
#pragma once

#include "platform/win32/windows_api.h"

#include "platform/geometry.h"

namespace quorvel::win32 {

// Adds WS_EX_LAYERED to the window and applies SetLayeredWindowAttributes,
// which is looked up in User32.dll by name so that the program starts on
// systems without it. False when the entry point is missing or the call fails.
bool ApplyLayeredAttributes(HWND hwnd, Colour key, int alpha, unsigned flags);

}  // namespace quorvel::win32
