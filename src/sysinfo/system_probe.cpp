#include "sysinfo/system_probe.h"

#include <memory>

#include "sysinfo/graphics_probe.h"
#include "sysinfo/os_probe.h"
#include "sysinfo/processor_probe.h"

namespace quorvel {

void ProbeAfterScreenElements(SystemInfo& info, platform::Facts& facts,
                              std::uint64_t directDrawTotal) {
  ProbeAdapter(info, facts);
  {
    const std::unique_ptr<platform::Held> desktop = facts.HoldDesktop();
    ProbeModeAndCapabilities(info, facts, directDrawTotal);
    ProbeProcessor(info, facts.Hardware());
  }
  FinishProbing(info);
}

void ProbeSystem(SystemInfo& info, platform::Facts& facts) {
  ProbeOperatingSystem(info, facts);
  const std::uint64_t directDrawTotal = ProbeDriverAndImaging(info, facts);
  ProbeAfterScreenElements(info, facts, directDrawTotal);
}

}  // namespace quorvel
