// The machine's facts on Linux: the kernel release, /proc/cpuinfo, the X
// display, the DRM card and the blends the desktop accelerates.
#pragma once

#include <optional>
#include <string>

#include "platform/facts.h"
#include "platform/linux/cpuinfo_description.h"

namespace quorvel::x11 {

class XConnection;

class X11Facts : public platform::Facts {
 public:
  // `root` is where /proc, /sys and /usr/share are looked for: "/" for
  // this machine, another folder for a copy of another machine's files.
  explicit X11Facts(XConnection& connection, const std::string& root = "/");

  // The kernel release under the root (KernelRelease), packed.
  std::uint32_t OsBuildNumber() override;
  platform::HardwareDescription& Hardware() override { return hardware_; }
  platform::DisplayMode Display() override;
  // The adapter that drives the display and its driver (ReadDrmAdapter),
  // with the kernel's release for drivers that publish no version. This
  // machine's adapter is read only when the display is driven here
  // (DisplayDrivenHere); the files of another machine always describe its
  // adapter. Without an adapter that can be named, the X server's vendor
  // string and release describe it, and no driver is found, so no driver
  // version is shown. Read once; later calls give the same answer.
  platform::AdapterFacts Adapter();
  // The two halves of Adapter(), as the probing rounds ask for them.
  platform::DriverFacts Driver() override { return Adapter(); }
  std::string AdapterDescription() override;
  // ReadShadeBlendCaps, when asked.
  std::uint32_t ShadeBlendCaps() override;
  // DescribeDesktop: the window manager, the compositor, frame answers.
  platform::DesktopDescription Desktop() override;

 private:
  XConnection& connection_;
  std::string root_;
  linux_os::CpuinfoDescription hardware_;
  std::optional<platform::AdapterFacts> adapter_;
};

}  // namespace quorvel::x11
