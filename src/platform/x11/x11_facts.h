// The machine's facts on Linux: the kernel release, /proc/cpuinfo, the X
// display, the DRM card and the blends the desktop accelerates.
#pragma once

#include <optional>
#include <string>

#include "platform/facts.h"
#include "platform/x11/cpuinfo_description.h"

namespace quorvel::x11 {

class XConnection;

class X11Facts : public platform::Facts {
 public:
  // `root` is where /proc, /sys and /usr/share are looked for ("/" on a
  // real system).
  explicit X11Facts(XConnection& connection, const std::string& root = "/");

  std::uint32_t OsBuildNumber() override;
  platform::HardwareDescription& Hardware() override { return hardware_; }
  platform::DisplayMode Display() override;
  // The first DRM card and its driver (ReadDrmAdapter), with the running
  // kernel's release for drivers that publish no version. Without a card,
  // or when its IDs cannot be read, the adapter is described by the X
  // server's vendor string and release, and no driver is found, so no
  // driver version is shown. Read once; later calls give the same answer.
  platform::AdapterFacts Adapter() override;
  // ReadShadeBlendCaps, when asked.
  std::uint32_t ShadeBlendCaps() override;
  // DescribeDesktop: the window manager, the compositor, frame answers.
  platform::DesktopDescription Desktop() override;

 private:
  XConnection& connection_;
  std::string root_;
  CpuinfoDescription hardware_;
  std::optional<platform::AdapterFacts> adapter_;
};

}  // namespace quorvel::x11
