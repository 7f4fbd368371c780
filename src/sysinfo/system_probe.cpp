#include "sysinfo/system_probe.h"

#include "sysinfo/graphics_probe.h"
#include "sysinfo/os_probe.h"
#include "sysinfo/processor_probe.h"

namespace quorvel {

void ProbeAfterScreenElements(SystemInfo& info, platform::Facts& facts) {
  ProbeAdapterModeAndCapabilities(info, facts);
  ProbeProcessor(info, facts.Hardware());
  FinishProbing(info);
}

void ProbeSystem(SystemInfo& info, platform::Facts& facts) {
  ProbeOperatingSystem(info, facts);
  ProbeDriverAndImaging(info, facts);
  ProbeAfterScreenElements(info, facts);
}

}  // namespace quorvel
