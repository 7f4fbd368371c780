#include "platform/x11/cpuinfo_description.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace quorvel::x11 {
namespace {

const char kKeyPrefix[] = "CentralProcessor\\";
// Only the first two processors are answered: the program asks for no more.
constexpr int kProcessorsAnswered = 2;
// /proc/cpuinfo is small; anything far larger is not a cpuinfo file.
constexpr std::streamsize kMaxFileSize = 4 << 20;

std::string Trim(const std::string& s) {
  const char* blanks = " \t\r\n";
  std::size_t first = s.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  std::size_t last = s.find_last_not_of(blanks);
  return s.substr(first, last - first + 1);
}

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

std::string ReadSmallFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::string();
  std::string text;
  char buffer[4096];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (static_cast<std::streamsize>(text.size()) > kMaxFileSize) return std::string();
  }
  return text;
}

}  // namespace

std::vector<CpuinfoEntry> ParseCpuinfo(const std::string& text) {
  std::vector<CpuinfoEntry> entries;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string name = Trim(line.substr(0, colon));
    std::string value = Trim(line.substr(colon + 1));
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
  std::string path = root;
  if (path.empty() || path.back() != '/') path += '/';
  path += "proc/cpuinfo";
  std::string text = ReadSmallFile(path);
  // Binary junk: a NUL byte never appears in the kernel's text.
  if (text.find('\0') != std::string::npos) return;
  entries_ = ParseCpuinfo(text);
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
    if (vendor == nullptr) return false;
    value = *vendor;
  } else if (valueName == "Identifier") {
    const std::string* family = Field(*entry, "cpu family");
    const std::string* model = Field(*entry, "model");
    const std::string* stepping = Field(*entry, "stepping");
    if (family == nullptr || model == nullptr || stepping == nullptr) return false;
    value = "x86 Family " + *family + " Model " + *model + " Stepping " + *stepping;
  } else {
    return false;
  }
  if (value.size() + 1 > bufferSize) return false;
  out = value;
  return true;
}

bool CpuinfoDescription::QueryNumber(const std::string& keyPath, const std::string& valueName,
                                     std::uint32_t& out) {
  int index = 0;
  const CpuinfoEntry* entry = EntryFor(keyPath, &index);
  if (entry == nullptr || valueName != "~Mhz") return false;
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

}  // namespace quorvel::x11
