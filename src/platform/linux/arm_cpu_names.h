// Names for the "CPU implementer" and "CPU part" codes that ARM processors
// give in /proc/cpuinfo in place of a vendor text and a model.
#pragma once

#include <string>

namespace quorvel::linux_os {

// The maker for an implementer code (0x41 "ARM", 0x51 "Qualcomm", ...);
// empty for a code not in the table.
std::string ArmImplementerName(unsigned implementer);

// The core's name for a part of an implementer (0x41/0xd08 "Cortex-A72");
// empty for a part not in the table.
std::string ArmPartName(unsigned implementer, unsigned part);

}  // namespace quorvel::linux_os
