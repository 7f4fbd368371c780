// Controls that never erase their own background.
#pragma once

#include "platform/win32/windows_api.h"

namespace quorvel::win32 {

// The property of a subclassed control that holds its previous window procedure.
constexpr const char kPreviousProcProperty[] = "ABB";

// Replaces the control's window procedure with one that answers
// WM_ERASEBKGND as done without erasing and passes every other message to
// the previous procedure. Doing it twice to a control changes nothing.
void SuppressEraseOf(HWND control);

}  // namespace quorvel::win32
