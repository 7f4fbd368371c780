// The module whose resources (dialog templates, bitmaps, icon, strings) the
// backend loads: the executable, which links the resource object in.
#pragma once

#include "platform/win32/windows_api.h"

namespace quorvel::win32 {

inline HINSTANCE ResourceModule() { return ::GetModuleHandleA(nullptr); }

}  // namespace quorvel::win32
