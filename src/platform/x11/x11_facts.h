// The machine's facts on Linux: the kernel release, /proc/cpuinfo, the X
// display.
#pragma once

#include <string>

#include "platform/facts.h"
#include "platform/x11/cpuinfo_description.h"

namespace quorvel::x11 {

class XConnection;

class X11Facts : public platform::Facts {
 public:
  // `root` is where /proc is looked for ("/" on a real system).
  explicit X11Facts(XConnection& connection, const std::string& root = "/");

  std::uint32_t OsBuildNumber() override;
  platform::HardwareDescription& Hardware() override { return hardware_; }
  platform::DisplayMode Display() override;

 private:
  XConnection& connection_;
  CpuinfoDescription hardware_;
};

}  // namespace quorvel::x11
