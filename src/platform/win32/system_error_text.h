// The system's own description of an error code, for messages to the user.
#pragma once

#include "platform/win32/windows_api.h"

#include <string>

namespace quorvel::win32 {

// FormatMessage's text for `code` in the user's language, such as "Access
// is denied.", without the line break it ends in; "Error N" when the
// system has no text for it.
std::string SystemErrorText(DWORD code);

}  // namespace quorvel::win32
