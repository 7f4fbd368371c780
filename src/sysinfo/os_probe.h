// The operating-system fact of the record.
#pragma once

#include "platform/facts.h"
#include "sysinfo/system_info.h"

namespace quorvel {

// Build numbers from this one on count as Windows XP.
constexpr std::uint32_t kWindowsXpFirstBuild = 2296;

// Sets isWindowsXP from the platform's build number.
void ProbeOperatingSystem(SystemInfo& info, platform::Facts& facts);

}  // namespace quorvel
