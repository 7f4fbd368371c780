// Standard output and error for a program built for the Windows subsystem.
#pragma once

namespace quorvel::win32 {

// A Windows-subsystem program started from a console has no usable standard
// output or error. Attaches to the parent's console and reopens the streams
// that lack a valid handle on it; streams already redirected (to a file, a
// pipe, or by Wine to the Unix terminal) are left alone.
void UseParentConsole();

}  // namespace quorvel::win32
