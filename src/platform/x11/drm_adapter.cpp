#include "platform/x11/drm_adapter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

namespace quorvel::x11 {
namespace fs = std::filesystem;
namespace {

// sysfs attributes are a page at most.
constexpr std::uintmax_t kMaxAttributeSize = 4096;
// pci.ids is about 1.5 MiB; anything far larger is not one.
constexpr std::uintmax_t kMaxDatabaseSize = 64u << 20;
// card<N>: more digits than this is not a card the kernel made.
constexpr std::size_t kMaxCardDigits = 6;

bool IsHexDigit(char c, unsigned& value) {
  if (c >= '0' && c <= '9') {
    value = static_cast<unsigned>(c - '0');
  } else if (c >= 'a' && c <= 'f') {
    value = static_cast<unsigned>(c - 'a' + 10);
  } else if (c >= 'A' && c <= 'F') {
    value = static_cast<unsigned>(c - 'A' + 10);
  } else {
    return false;
  }
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The whole of a regular file no larger than `limit`; false otherwise (a
// directory where a file belongs, a file that cannot be opened).
bool ReadRegularFile(const fs::path& path, std::uintmax_t limit, std::string& out) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string text;
  char buffer[4096];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > limit) return false;
  }
  if (in.bad()) return false;
  out = std::move(text);
  return true;
}

// "0x10de\n": a PCI ID of one to four hex digits after "0x".
bool ReadPciId(const fs::path& path, unsigned& id) {
  std::string text;
  if (!ReadRegularFile(path, kMaxAttributeSize, text)) return false;
  while (!text.empty() && IsBlank(text.back())) text.pop_back();
  if (text.size() < 3 || text.size() > 6 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
    return false;
  }
  unsigned value = 0;
  for (std::size_t i = 2; i < text.size(); ++i) {
    unsigned digit = 0;
    if (!IsHexDigit(text[i], digit)) return false;
    value = value * 16 + digit;
  }
  id = value;
  return true;
}

// A decimal count of bytes followed by a line end at most.
bool ReadByteCount(const fs::path& path, std::uint64_t& bytes) {
  std::string text;
  if (!ReadRegularFile(path, kMaxAttributeSize, text)) return false;
  while (!text.empty() && IsBlank(text.back())) text.pop_back();
  if (text.empty()) return false;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    const unsigned digit = static_cast<unsigned>(c - '0');
    if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return false;
    value = value * 10 + digit;
  }
  bytes = value;
  return true;
}

// The N of "card<N>"; false for connectors ("card0-DP-1") and other entries.
bool CardNumber(const std::string& name, unsigned long& number) {
  const std::string prefix = "card";
  if (name.size() <= prefix.size() || name.size() > prefix.size() + kMaxCardDigits ||
      name.compare(0, prefix.size(), prefix) != 0) {
    return false;
  }
  unsigned long value = 0;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return false;
    value = value * 10 + static_cast<unsigned long>(name[i] - '0');
  }
  number = value;
  return true;
}

// The device directory of the lowest-numbered card; empty when there is none.
fs::path FirstCardDevice(const fs::path& drm) {
  std::error_code ec;
  fs::directory_iterator it(drm, ec);
  fs::path best;
  unsigned long bestNumber = 0;
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    unsigned long number = 0;
    if (!CardNumber(it->path().filename().string(), number)) continue;
    if (!best.empty() && number >= bestNumber) continue;
    const fs::path device = it->path() / "device";
    std::error_code statError;
    if (!fs::is_directory(device, statError)) continue;
    best = device;
    bestNumber = number;
  }
  return best;
}

// The name of the driver the `device/driver` link points at; empty when the
// card has no driver bound.
std::string DriverName(const fs::path& device) {
  std::error_code ec;
  const fs::path link = device / "driver";
  if (!fs::is_symlink(link, ec)) return std::string();
  const fs::path target = fs::read_symlink(link, ec);
  if (ec) return std::string();
  std::string name = target.filename().string();
  if (name == "." || name == "..") return std::string();
  return name;
}

std::string NameFromDatabases(const fs::path& root, unsigned vendor, unsigned device) {
  for (const char* place : {"usr/share/misc/pci.ids", "usr/share/hwdata/pci.ids"}) {
    const fs::path path = root / place;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) continue;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > kMaxDatabaseSize) continue;
    std::ifstream in(path, std::ios::binary);
    if (!in) continue;
    std::string name = PciIdsName(in, vendor, device);
    if (!name.empty()) return name;
  }
  return std::string();
}

// "<4 hex digits><blanks><name>" starting at `pos` of a pci.ids line.
bool ParseIdLine(const std::string& line, std::size_t pos, unsigned& id, std::string& name) {
  if (line.size() < pos + 4) return false;
  unsigned value = 0;
  for (std::size_t i = pos; i < pos + 4; ++i) {
    unsigned digit = 0;
    if (!IsHexDigit(line[i], digit)) return false;
    value = value * 16 + digit;
  }
  std::size_t start = pos + 4;
  if (start >= line.size() || !IsBlank(line[start])) return false;
  while (start < line.size() && IsBlank(line[start])) ++start;
  std::size_t end = line.size();
  while (end > start && IsBlank(line[end - 1])) --end;
  if (end == start) return false;
  id = value;
  name = line.substr(start, end - start);
  return true;
}

}  // namespace

void ParseDriverVersion(const std::string& text, std::uint32_t& ms, std::uint32_t& ls) {
  std::uint32_t parts[4] = {0, 0, 0, 0};
  std::size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != '.') break;
      ++pos;
    }
    const std::size_t start = pos;
    std::uint32_t value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
      value = value * 10 + static_cast<std::uint32_t>(text[pos] - '0');
      if (value > 0xFFFFu) value = 0xFFFFu;
      ++pos;
    }
    if (pos == start) break;
    parts[i] = value;
  }
  ms = (parts[0] << 16) | parts[1];
  ls = (parts[2] << 16) | parts[3];
}

std::string PciIdsName(std::istream& database, unsigned vendor, unsigned device) {
  bool inVendor = false;
  std::string vendorName;
  std::string line;
  while (std::getline(database, line)) {
    if (line.empty() || line[0] == '#') continue;
    unsigned id = 0;
    std::string name;
    if (line[0] != '\t') {
      // A line at the left margin starts the next vendor (or the class
      // list at the end): the vendor asked for has no such device.
      if (inVendor) return std::string();
      if (ParseIdLine(line, 0, id, name) && id == vendor) {
        inVendor = true;
        vendorName = name;
      }
      continue;
    }
    // Devices are indented once; their subsystems twice.
    if (!inVendor || (line.size() > 1 && line[1] == '\t')) continue;
    if (ParseIdLine(line, 1, id, name) && id == device) return vendorName + " " + name;
  }
  return std::string();
}

DrmAdapter ReadDrmAdapter(const std::string& root, const std::string& kernelRelease) {
  DrmAdapter adapter;
  const fs::path base = root.empty() ? fs::path("/") : fs::path(root);
  const fs::path device = FirstCardDevice(base / "sys/class/drm");
  if (device.empty()) return adapter;

  unsigned vendorId = 0, deviceId = 0;
  if (ReadPciId(device / "vendor", vendorId) && ReadPciId(device / "device", deviceId)) {
    adapter.description = NameFromDatabases(base, vendorId, deviceId);
    if (adapter.description.empty()) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "%04x:%04x", vendorId, deviceId);
      adapter.description = hex;
    }
  }

  const std::string driver = DriverName(device);
  if (!driver.empty()) {
    adapter.driverFound = true;
    std::string version;
    if (!ReadRegularFile(base / "sys/module" / driver / "version", kMaxAttributeSize, version)) {
      version = kernelRelease;
    }
    ParseDriverVersion(version, adapter.versionMs, adapter.versionLs);
  }

  std::uint64_t bytes = 0;
  if (ReadByteCount(device / "mem_info_vram_total", bytes)) adapter.videoMemoryTotal = bytes;
  return adapter;
}

}  // namespace quorvel::x11
