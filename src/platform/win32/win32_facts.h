// platform::Facts from the Windows version, the registry, the desktop's
// device context and DirectDraw.
#pragma once

#include <mutex>
#include <optional>

#include "platform/facts.h"
#include "platform/win32/registry_hardware.h"

namespace quorvel::win32 {

class Win32Facts : public platform::Facts {
 public:
  std::uint32_t OsBuildNumber() override;
  platform::HardwareDescription& Hardware() override { return hardware_; }
  platform::DisplayMode Display() override;
  // DirectDraw is asked once: starting it takes the better part of a
  // second, and every later answer must describe the same driver anyway.
  // The adapter's name is read from display device 0 at every call.
  platform::AdapterFacts Adapter() override;
  void LoadDirect3D() override;
  std::uint32_t ShadeBlendCaps() override;
  platform::ImagingEntries Imaging() override;
  // Windows has no window manager of its own name; desktop composition
  // is on when dwmapi.dll says so (Vista and later).
  platform::DesktopDescription Desktop() override;

 private:
  RegistryHardwareDescription hardware_;
  std::mutex adapterMutex_;
  std::optional<platform::AdapterFacts> directDraw_;
};

}  // namespace quorvel::win32
