// The processor keys of the Windows registry's hardware description,
// answered from /proc/cpuinfo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/facts.h"

namespace quorvel::x11 {

// One "processor" block of /proc/cpuinfo: its "name : value" lines.
using CpuinfoEntry = std::map<std::string, std::string>;

// Splits cpuinfo text into its processor blocks. Lines before the first
// "processor" line (as on some ARM kernels) belong to no block and are dropped.
std::vector<CpuinfoEntry> ParseCpuinfo(const std::string& text);

// Answers "CentralProcessor\<n>" for the first two processors:
//   ~Mhz             (number) the integer part of "cpu MHz"
//   VendorIdentifier (text)   "vendor_id"
//   Identifier       (text)   "x86 Family F Model M Stepping S"
// The file is read once, at construction, from <root>/proc/cpuinfo; a missing
// or unreadable file leaves every query failing.
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
};

}  // namespace quorvel::x11
