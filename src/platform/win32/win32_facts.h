// platform::Facts from the Windows version, the registry, the desktop's
// device context and DirectDraw.
#pragma once

#include "platform/facts.h"
#include "platform/win32/probe_calls.h"
#include "platform/win32/registry_hardware.h"

namespace quorvel::win32 {

class Win32Facts : public platform::Facts {
 public:
  // `calls` are the system calls the probes make (tests record them); they
  // must outlive the facts.
  explicit Win32Facts(const ProbeCalls& calls = SystemProbeCalls()) : calls_(calls) {}

  std::uint32_t OsBuildNumber() override;
  platform::HardwareDescription& Hardware() override { return hardware_; }
  // GetDeviceCaps on the held desktop context, or on one of its own.
  platform::DisplayMode Display() override;
  // DirectDraw 4 and the driver file's version (ReadDirectDrawFacts).
  platform::DriverFacts Driver() override;
  // Display device 0's description (ReadDisplayDevice).
  std::string AdapterDescription() override;
  // The desktop window's device context, from GetDC until the hold ends.
  std::unique_ptr<platform::Held> HoldDesktop() override;
  void LoadDirect3D() override;
  std::uint32_t ShadeBlendCaps() override;
  // TransparentBlt, then AlphaBlend, from msimg32.dll.
  platform::ImagingEntries Imaging() override;
  // Windows has no window manager of its own name; desktop composition
  // is on when dwmapi.dll says so (Vista and later).
  platform::DesktopDescription Desktop() override;

 private:
  template <typename Read>
  auto OnDesktop(Read read);

  const ProbeCalls& calls_;
  RegistryHardwareDescription hardware_;
  HDC heldDesktop_ = nullptr;  // while a HoldDesktop() is alive
};

}  // namespace quorvel::win32
