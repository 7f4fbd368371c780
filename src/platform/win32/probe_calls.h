// The system calls the machine's probes make, as a table: the program uses
// the system's own, and tests put recording stand-ins in their place to see
// which calls are made, and in which order.
#pragma once

#include "platform/win32/windows_api.h"

#include <ddraw.h>

#include <memory>

#include "platform/win32/file_version_reader.h"

namespace quorvel::win32 {

using DirectDrawCreateFn = HRESULT(WINAPI*)(GUID*, LPDIRECTDRAW*, IUnknown*);

struct ProbeCalls {
  // DirectDrawCreate, or null where ddraw.dll or the entry is missing.
  DirectDrawCreateFn (*findDirectDrawCreate)();
  // A reader for the driver file's version resource.
  std::unique_ptr<FileVersionReader> (*newVersionReader)();
  // An entry point of a system library (FindSystemEntry).
  FARPROC (*findEntry)(const char* dll, const char* name);
  BOOL(WINAPI* enumDisplayDevices)(LPCSTR, DWORD, PDISPLAY_DEVICEA, DWORD);
  HDC(WINAPI* getDC)(HWND);
  int(WINAPI* releaseDC)(HWND, HDC);
  int(WINAPI* getDeviceCaps)(HDC, int);
};

// The system's own calls.
const ProbeCalls& SystemProbeCalls();

}  // namespace quorvel::win32
