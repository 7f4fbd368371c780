// The processor facts of the record, read from the machine's hardware
// description the way the Windows registry presents it.
#pragma once

#include <cstddef>
#include <string>

#include "platform/facts.h"
#include "sysinfo/system_info.h"

namespace quorvel {

// Reads value `valueName` of key HARDWARE\DESCRIPTION\SYSTEM\<className>\<deviceIndex>
// as text, through a buffer of `bufferSize` bytes. A failed query, or a
// stored empty string, gives `defaultText`.
std::string ReadHardwareText(platform::HardwareDescription& hardware, const std::string& deviceIndex,
                             const std::string& valueName, const std::string& defaultText,
                             std::size_t bufferSize, const std::string& className);

// The same for a 32-bit number value, given back as unsigned decimal text.
std::string ReadHardwareNumber(platform::HardwareDescription& hardware,
                               const std::string& deviceIndex, const std::string& valueName,
                               const std::string& defaultText, std::size_t bufferSize,
                               const std::string& className);

// Sets cpuSpeedMhz, cpuSpeedText, cpuVendor, cpuIdentifier,
// multipleProcessors and cpuLine.
void ProbeProcessor(SystemInfo& info, platform::HardwareDescription& hardware);

}  // namespace quorvel
