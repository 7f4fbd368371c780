#include "platform/win32/adapter_facts.h"

#include "platform/win32/file_version_reader.h"
#include "platform/win32/windows_api.h"

#include <ddraw.h>

#include <memory>
#include <string>

namespace quorvel::win32 {
namespace {

// IID_IDirectDraw4, spelled out so that no GUID library is needed.
const GUID kDirectDraw4 = {0x9c59509a, 0x39bd, 0x11d1, {0x8c, 0x4a, 0x00, 0xc0, 0x4f, 0xd9, 0x30, 0xc5}};

// Asks GetAvailableVidMem about surfaces in video memory.
constexpr DWORD kVideoMemoryCaps = 0x4000;  // DDSCAPS_VIDEOMEMORY
// GetDeviceIdentifier about the host adapter, not a secondary 3D card.
constexpr DWORD kHostAdapter = 1;  // DDGDI_GETHOSTIDENTIFIER

struct ComReleaser {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface>
using ComPtr = std::unique_ptr<Interface, ComReleaser>;

std::string SystemDirectory() {
  char buffer[255] = {};
  const UINT length = ::GetSystemDirectoryA(buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

}  // namespace

platform::DriverFacts ReadDirectDrawFacts(const ProbeCalls& calls) {
  platform::DriverFacts facts;
  const DirectDrawCreateFn create = calls.findDirectDrawCreate();
  if (create == nullptr) return facts;
  LPDIRECTDRAW rawObject = nullptr;
  if (FAILED(create(nullptr, &rawObject, nullptr)) || rawObject == nullptr) return facts;
  ComPtr<IDirectDraw> object(rawObject);
  IDirectDraw4* rawFour = nullptr;
  if (FAILED(object->QueryInterface(kDirectDraw4, reinterpret_cast<void**>(&rawFour))) ||
      rawFour == nullptr) {
    return facts;
  }
  ComPtr<IDirectDraw4> four(rawFour);
  facts.directDrawAvailable = true;

  DDSCAPS2 caps{};
  caps.dwCaps = kVideoMemoryCaps;
  DWORD total = 0;
  DWORD free = 0;
  if (FAILED(four->GetAvailableVidMem(&caps, &total, &free))) total = 0;
  facts.videoMemoryTotal = total;

  // The driver file lies in the system directory. A file that cannot be
  // read, or has no version resource, gives 0.0.0.0.
  DDDEVICEIDENTIFIER identifier{};
  if (FAILED(four->GetDeviceIdentifier(&identifier, kHostAdapter))) identifier = {};
  identifier.szDriver[sizeof identifier.szDriver - 1] = '\0';
  std::unique_ptr<FileVersionReader> reader = calls.newVersionReader();
  reader->Read(SystemDirectory() + "\\" + identifier.szDriver);
  facts.driverFound = true;
  facts.driverVersionMs = reader->fileVersionMs();
  facts.driverVersionLs = reader->fileVersionLs();

  // The DirectDraw 4 interface, the reader and its buffer, then the object.
  four.reset();
  reader.reset();
  object.reset();
  return facts;
}

std::string ReadDisplayDevice(const ProbeCalls& calls) {
  DISPLAY_DEVICEA device{};
  device.cb = sizeof device;  // 424 bytes
  if (!calls.enumDisplayDevices(nullptr, 0, &device, 0)) return std::string();
  device.DeviceString[sizeof device.DeviceString - 1] = '\0';
  return device.DeviceString;
}

void LoadDirect3DImmediateMode() {
  static const bool loaded = ::LoadLibraryA("D3DIM.DLL") != nullptr;
  static_cast<void>(loaded);
}

}  // namespace quorvel::win32
