#include "sysinfo/os_probe.h"

namespace quorvel {

void ProbeOperatingSystem(SystemInfo& info, platform::Facts& facts) {
  // A failed read gives build 0, which is not XP.
  info.osBuild = facts.OsBuildNumber();
  info.isWindowsXP = info.osBuild >= kWindowsXpFirstBuild ? 1 : 0;
}

}  // namespace quorvel
