#include "platform/linux/cpufreq.h"

#include <string>

#include "platform/linux/sysfs_files.h"

namespace quorvel::linux_os {
namespace {

// A speed in kHz as whole MHz; none for 0 or a number beyond 32 bits of MHz.
std::optional<std::uint32_t> SpeedFrom(const std::filesystem::path& file) {
  std::uint64_t khz = 0;
  if (!ReadDecimal(file, khz)) return std::nullopt;
  const std::uint64_t mhz = khz / 1000;
  if (mhz == 0 || mhz > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<std::uint32_t>(mhz);
}

}  // namespace

std::optional<std::uint32_t> RatedSpeedMhz(const std::filesystem::path& root, unsigned cpu) {
  const std::filesystem::path dir =
      root / "sys/devices/system/cpu" / ("cpu" + std::to_string(cpu)) / "cpufreq";
  for (const char* name : {"base_frequency", "amd_pstate_nominal_freq"}) {
    if (std::optional<std::uint32_t> mhz = SpeedFrom(dir / name)) return mhz;
  }
  std::string driver;
  if (ReadAttribute(dir / "scaling_driver", driver) && driver == "acpi-cpufreq") {
    return SpeedFrom(dir / "cpuinfo_max_freq");
  }
  return std::nullopt;
}

}  // namespace quorvel::linux_os
