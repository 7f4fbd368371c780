// A processor's rated speed from the kernel's cpufreq files: the speed it
// is sold at, not the clock of the moment, which an idle core lowers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace quorvel::linux_os {

// The rated speed of processor `cpu` in whole MHz, from
// <root>/sys/devices/system/cpu/cpu<cpu>/cpufreq/, the first of:
//   base_frequency            (intel_pstate)
//   amd_pstate_nominal_freq   (amd-pstate)
//   cpuinfo_max_freq          only when scaling_driver is acpi-cpufreq,
//                             whose maximum is the rated speed
// each in kHz, divided by 1000. None when no file gives a speed above 0.
std::optional<std::uint32_t> RatedSpeedMhz(const std::filesystem::path& root, unsigned cpu);

}  // namespace quorvel::linux_os
