#include "sysinfo/processor_probe.h"

#include <cstdint>

namespace quorvel {
namespace {

constexpr std::size_t kBufferSize = 255;
const char kClassName[] = "CentralProcessor";

std::string KeyPath(const std::string& className, const std::string& deviceIndex) {
  return className + "\\" + deviceIndex;
}

}  // namespace

std::string ReadHardwareText(platform::HardwareDescription& hardware, const std::string& deviceIndex,
                             const std::string& valueName, const std::string& defaultText,
                             std::size_t bufferSize, const std::string& className) {
  std::string value;
  if (!hardware.QueryText(KeyPath(className, deviceIndex), valueName, bufferSize, value) ||
      value.empty()) {
    return defaultText;
  }
  return value;
}

std::string ReadHardwareNumber(platform::HardwareDescription& hardware,
                               const std::string& deviceIndex, const std::string& valueName,
                               const std::string& defaultText, std::size_t /*bufferSize*/,
                               const std::string& className) {
  std::uint32_t number = 0;
  if (!hardware.QueryNumber(KeyPath(className, deviceIndex), valueName, number)) {
    return defaultText;
  }
  return std::to_string(number);
}

void ProbeProcessor(SystemInfo& info, platform::HardwareDescription& hardware) {
  info.cpuSpeedMhz = ReadHardwareNumber(hardware, "0", "~Mhz", "", kBufferSize, kClassName);
  info.cpuSpeedText = info.cpuSpeedMhz + " Mhz";
  info.cpuLine = "Cpu Speed : \t\t" + info.cpuSpeedText;

  info.cpuVendor = ReadHardwareText(hardware, "0", "VendorIdentifier", "", kBufferSize, kClassName);
  info.cpuLine += " '" + info.cpuVendor + "'";

  // A second processor counts when it reports a speed, even a speed of 0.
  if (!ReadHardwareNumber(hardware, "1", "~Mhz", "", kBufferSize, kClassName).empty()) {
    info.cpuLine += "\t Multiple processors detected";
    info.multipleProcessors = 1;
  }

  info.cpuIdentifier = ReadHardwareText(hardware, "0", "Identifier", "", kBufferSize, kClassName);
}

}  // namespace quorvel
