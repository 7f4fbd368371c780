#include "platform/win32/adapter_facts.h"

#include "platform/win32/windows_api.h"

#include <ddraw.h>

#include <memory>
#include <vector>

namespace quorvel::win32 {
namespace {

// IID_IDirectDraw7, spelled out so that no GUID library is needed.
const GUID kDirectDraw7 = {0x15e65ec0, 0x3b9c, 0x11d2, {0xb9, 0x2f, 0x00, 0x60, 0x97, 0x97, 0xea, 0x5b}};

struct ComReleaser {
  void operator()(IUnknown* object) const { object->Release(); }
};
using UniqueDirectDraw = std::unique_ptr<IDirectDraw7, ComReleaser>;

// The fixed file version of `file` (searched like a DLL is); false when the
// file is not found. A file without a version resource gives 0 and 0.
bool DriverFileVersion(const char* file, std::uint32_t& ms, std::uint32_t& ls) {
  char path[MAX_PATH] = {};
  if (file[0] == '\0' || ::SearchPathA(nullptr, file, nullptr, MAX_PATH, path, nullptr) == 0) {
    return false;
  }
  ms = ls = 0;
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) return true;
  std::vector<char> info(size);
  if (!::GetFileVersionInfoA(path, 0, size, info.data())) return true;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) &&
      fixed != nullptr && length >= sizeof(VS_FIXEDFILEINFO)) {
    ms = fixed->dwFileVersionMS;
    ls = fixed->dwFileVersionLS;
  }
  return true;
}

}  // namespace

platform::AdapterFacts ReadAdapterFacts() {
  platform::AdapterFacts facts;
  IDirectDraw7* raw = nullptr;
  if (FAILED(::DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&raw), kDirectDraw7, nullptr)) ||
      raw == nullptr) {
    return facts;
  }
  UniqueDirectDraw directDraw(raw);
  facts.directDrawAvailable = true;

  DDCAPS caps{};
  caps.dwSize = sizeof(caps);
  if (SUCCEEDED(directDraw->GetCaps(&caps, nullptr))) facts.videoMemoryTotal = caps.dwVidMemTotal;

  DDDEVICEIDENTIFIER2 identifier{};
  if (FAILED(directDraw->GetDeviceIdentifier(&identifier, 0))) return facts;
  identifier.szDriver[sizeof(identifier.szDriver) - 1] = '\0';
  identifier.szDescription[sizeof(identifier.szDescription) - 1] = '\0';
  facts.driverFound =
      DriverFileVersion(identifier.szDriver, facts.driverVersionMs, facts.driverVersionLs);
  facts.adapterFound = identifier.szDescription[0] != '\0';
  facts.adapterDescription = identifier.szDescription;
  return facts;
}

}  // namespace quorvel::win32
