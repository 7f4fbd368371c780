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
  // Read once: starting DirectDraw takes the better part of a second, and
  // every later answer must describe the same adapter anyway.
  platform::AdapterFacts Adapter() override;
  std::uint32_t ShadeBlendCaps() override;
  platform::ImagingEntries Imaging() override;
  // Windows has no window manager of its own name; desktop composition
  // is on when dwmapi.dll says so (Vista and later).
  platform::DesktopDescription Desktop() override;

 private:
  RegistryHardwareDescription hardware_;
  std::mutex adapterMutex_;
  std::optional<platform::AdapterFacts> adapter_;
};

}  // namespace quorvel::win32
