// The processor keys of the Windows registry's hardware description,
// answered from /proc/cpuinfo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/facts.h"

namespace quorvel::linux_os {

// One "processor" block of /proc/cpuinfo: its "name : value" lines.
using CpuinfoEntry = std::map<std::string, std::string>;

// Splits cpuinfo text into its processor blocks. Lines before the first
// "processor" line (as on some ARM kernels) belong to no block and are dropped.
std::vector<CpuinfoEntry> ParseCpuinfo(const std::string& text);

// Answers "CentralProcessor\<n>" for the first two processors:
//   ~Mhz             (number) the rated speed (RatedSpeedMhz), else the
//                             integer part of "cpu MHz"
//   VendorIdentifier (text)   "vendor_id"; without one (ARM) the maker the
//                             "CPU implementer" code names ("ARM")
//   Identifier       (text)   "x86 Family F Model M Stepping S"; without
//                             those fields (ARM) the core the "CPU part"
//                             code names, "Cortex-A72 r0p3"
// A value the entry cannot give, or an unknown ARM code, fails the query.
// The files are read once, at construction, from <root>/proc/cpuinfo and
// <root>/sys/devices/system/cpu; a missing or unreadable cpuinfo leaves
// every query failing.
class CpuinfoDescription : public platform::HardwareDescription {
 public:
  explicit CpuinfoDescription(const std::string& root = "/");

  bool QueryText(const std::string& keyPath, const std::string& valueName, std::size_t bufferSize,
                 std::string& out) override;
  bool QueryNumber(const std::string& keyPath, const std::string& valueName,
                   std::uint32_t& out) override;

 private:
  // The entry a key names, or null.
  const CpuinfoEntry* EntryFor(const std::string& keyPath, int* index) const;

  std::vector<CpuinfoEntry> entries_;
  // The rated speeds of the entries answered, by index; none where cpufreq
  // gives no speed.
  std::vector<std::optional<std::uint32_t>> ratedMhz_;
};

}  // namespace quorvel::linux_os
