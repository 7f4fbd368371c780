#include "platform/win32/probe_calls.h"

#include "platform/win32/system_entry.h"

namespace quorvel::win32 {
namespace {

// The library stays loaded for the process once DirectDraw has started in
// it: a driver may leave threads behind that still run its code.
DirectDrawCreateFn FindDirectDrawCreate() {
  HMODULE ddraw = ::GetModuleHandleA("ddraw.dll");
  if (ddraw == nullptr) ddraw = ::LoadLibraryA("ddraw.dll");
  if (ddraw == nullptr) return nullptr;
  return reinterpret_cast<DirectDrawCreateFn>(
      reinterpret_cast<void*>(::GetProcAddress(ddraw, "DirectDrawCreate")));
}

std::unique_ptr<FileVersionReader> NewVersionReader() {
  return std::make_unique<FileVersionReader>();
}

}  // namespace

const ProbeCalls& SystemProbeCalls() {
  static const ProbeCalls calls{FindDirectDrawCreate, NewVersionReader, FindSystemEntry,
                                ::EnumDisplayDevicesA, ::GetDC,       ::ReleaseDC,
                                ::GetDeviceCaps};
  return calls;
}

}  // namespace quorvel::win32
