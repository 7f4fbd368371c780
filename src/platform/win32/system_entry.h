// Entry points of system libraries looked up by name at run time, for
// functions a desktop may lack.
#pragma once

#include "platform/win32/windows_api.h"

namespace quorvel::win32 {

// `name` in library `dll`, or null. A library that is not mapped yet is
// loaded and kept until the process ends, so the entry stays valid.
FARPROC FindSystemEntry(const char* dll, const char* name);

}  // namespace quorvel::win32
