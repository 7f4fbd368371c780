#include "platform/linux/cpuinfo_description.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/linux/arm_cpu_names.h"
#include "platform/linux/cpufreq.h"
#include "platform/linux/sysfs_files.h"

namespace quorvel::linux_os {
namespace {

const char kKeyPrefix[] = "CentralProcessor\\";
// Only the first two processors are answered: the program asks for no more.
constexpr int kProcessorsAnswered = 2;
// /proc/cpuinfo is small; anything far larger is not a cpuinfo file.
constexpr std::uintmax_t kMaxFileSize = 4 << 20;

// A field read as a non-negative decimal integer (leading digits only,
// so "2400.000" gives 2400).
bool LeadingNumber(const std::string& text, std::uint32_t& out) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return false;
  errno = 0;
  char* end = nullptr;
  unsigned long long value = std::strtoull(text.c_str(), &end, 10);
  if (errno != 0 || value > 0xFFFFFFFFull) return false;
  out = static_cast<std::uint32_t>(value);
  return true;
}

const std::string* Field(const CpuinfoEntry& entry, const char* name) {
  auto it = entry.find(name);
  return it == entry.end() ? nullptr : &it->second;
}

// "0x41": a hex code as ARM kernels print them.
bool HexCode(const std::string* text, unsigned& out) {
  if (text == nullptr || text->size() < 3 || text->size() > 10 || (*text)[0] != '0' ||
      ((*text)[1] != 'x' && (*text)[1] != 'X')) {
    return false;
  }
  unsigned value = 0;
  for (std::size_t i = 2; i < text->size(); ++i) {
    unsigned digit = 0;
    if (!HexDigitValue((*text)[i], digit)) return false;
    value = value * 16 + digit;
  }
  out = value;
  return true;
}

// The maker of an ARM processor from its implementer code; empty when the
// entry has none or the code is not known.
std::string ArmVendor(const CpuinfoEntry& entry) {
  unsigned implementer = 0;
  if (!HexCode(Field(entry, "CPU implementer"), implementer)) return std::string();
  return ArmImplementerName(implementer);
}

// "Cortex-A72 r0p3": the core's name from its implementer and part codes,
// with the variant and revision where the entry gives them; empty when the
// part is not known.
std::string ArmIdentifier(const CpuinfoEntry& entry) {
  unsigned implementer = 0, part = 0;
  if (!HexCode(Field(entry, "CPU implementer"), implementer) ||
      !HexCode(Field(entry, "CPU part"), part)) {
    return std::string();
  }
  std::string name = ArmPartName(implementer, part);
  if (name.empty()) return name;
  unsigned variant = 0;
  std::uint32_t revision = 0;
  const std::string* revisionText = Field(entry, "CPU revision");
  if (HexCode(Field(entry, "CPU variant"), variant) && revisionText != nullptr &&
      LeadingNumber(*revisionText, revision)) {
    name += " r" + std::to_string(variant) + "p" + std::to_string(revision);
  }
  return name;
}

}  // namespace

std::vector<CpuinfoEntry> ParseCpuinfo(const std::string& text) {
  std::vector<CpuinfoEntry> entries;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string name = TrimBlanks(line.substr(0, colon));
    std::string value = TrimBlanks(line.substr(colon + 1));
    if (name == "processor") {
      entries.emplace_back();
    } else if (entries.empty()) {
      continue;
    }
    // The first occurrence of a name in a block wins.
    entries.back().emplace(name, value);
  }
  return entries;
}

CpuinfoDescription::CpuinfoDescription(const std::string& root) {
  const std::filesystem::path base = root.empty() ? std::filesystem::path("/") : std::filesystem::path(root);
  std::string text;
  ReadRegularFile(base / "proc/cpuinfo", kMaxFileSize, text);
  // Binary junk: a NUL byte never appears in the kernel's text.
  if (text.find('\0') != std::string::npos) return;
  entries_ = ParseCpuinfo(text);
  for (int i = 0; i < kProcessorsAnswered && i < static_cast<int>(entries_.size()); ++i) {
    // The kernel's number of the processor names its cpufreq folder.
    std::uint32_t number = 0;
    const std::string* processor = Field(entries_[static_cast<std::size_t>(i)], "processor");
    if (processor == nullptr || !LeadingNumber(*processor, number)) {
      ratedMhz_.push_back(std::nullopt);
    } else {
      ratedMhz_.push_back(RatedSpeedMhz(base, number));
    }
  }
}

const CpuinfoEntry* CpuinfoDescription::EntryFor(const std::string& keyPath, int* index) const {
  const std::string prefix = kKeyPrefix;
  if (keyPath.size() != prefix.size() + 1 || keyPath.compare(0, prefix.size(), prefix) != 0) {
    return nullptr;
  }
  int n = keyPath.back() - '0';
  if (n < 0 || n >= kProcessorsAnswered || n >= static_cast<int>(entries_.size())) return nullptr;
  *index = n;
  return &entries_[static_cast<std::size_t>(n)];
}

bool CpuinfoDescription::QueryText(const std::string& keyPath, const std::string& valueName,
                                   std::size_t bufferSize, std::string& out) {
  int index = 0;
  const CpuinfoEntry* entry = EntryFor(keyPath, &index);
  if (entry == nullptr) return false;

  std::string value;
  if (valueName == "VendorIdentifier") {
    const std::string* vendor = Field(*entry, "vendor_id");
    value = vendor != nullptr ? *vendor : ArmVendor(*entry);
    if (vendor == nullptr && value.empty()) return false;
  } else if (valueName == "Identifier") {
    const std::string* family = Field(*entry, "cpu family");
    const std::string* model = Field(*entry, "model");
    const std::string* stepping = Field(*entry, "stepping");
    if (family != nullptr && model != nullptr && stepping != nullptr) {
      value = "x86 Family " + *family + " Model " + *model + " Stepping " + *stepping;
    } else {
      value = ArmIdentifier(*entry);
      if (value.empty()) return false;
    }
  } else {
    return false;
  }
  // A value holding a control character is damaged: like a missing one, it
  // is not answered, so that it never breaks a line of the report.
  if (value.size() + 1 > bufferSize || HoldsControlCharacter(value)) return false;
  out = value;
  return true;
}

bool CpuinfoDescription::QueryNumber(const std::string& keyPath, const std::string& valueName,
                                     std::uint32_t& out) {
  int index = 0;
  const CpuinfoEntry* entry = EntryFor(keyPath, &index);
  if (entry == nullptr || valueName != "~Mhz") return false;
  if (const std::optional<std::uint32_t>& rated = ratedMhz_[static_cast<std::size_t>(index)]) {
    out = *rated;
    return true;
  }
  const std::string* mhz = Field(*entry, "cpu MHz");
  if (mhz != nullptr) return LeadingNumber(*mhz, out);
  // A second processor without a speed (ARM, some virtual machines) still
  // has to count as a second processor: answer 0 for it.
  if (index == 1) {
    out = 0;
    return true;
  }
  return false;
}

}  // namespace quorvel::linux_os
