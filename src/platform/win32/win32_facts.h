// platform::Facts from the Windows version, the registry, the desktop's
// device context and DirectDraw.
#pragma once

#include "platform/facts.h"
#include "platform/win32/registry_hardware.h"

namespace quorvel::win32 {

class Win32Facts : public platform::Facts {
 public:
  std::uint32_t OsBuildNumber() override;
  platform::HardwareDescription& Hardware() override { return hardware_; }
  platform::DisplayMode Display() override;
  platform::AdapterFacts Adapter() override;
  std::uint32_t ShadeBlendCaps() override;
  platform::ImagingEntries Imaging() override;

 private:
  RegistryHardwareDescription hardware_;
};

}  // namespace quorvel::win32
