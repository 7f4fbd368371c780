#include "platform/linux/pci_names.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <system_error>
#include <utility>

#include "platform/linux/sysfs_files.h"

namespace quorvel::linux_os {
namespace fs = std::filesystem;
namespace {

// pci.ids is about 1.5 MiB; anything far larger is not one.
constexpr std::uintmax_t kMaxDatabaseSize = 64u << 20;

// "<4 hex digits><blanks><name>" starting at `pos` of a pci.ids line.
bool ParseIdLine(const std::string& line, std::size_t pos, unsigned& id, std::string& name) {
  if (line.size() < pos + 4) return false;
  unsigned value = 0;
  for (std::size_t i = pos; i < pos + 4; ++i) {
    unsigned digit = 0;
    if (!HexDigitValue(line[i], digit)) return false;
    value = value * 16 + digit;
  }
  const std::size_t start = pos + 4;
  if (start >= line.size() || !IsBlank(line[start])) return false;
  std::string text = TrimBlanks(line.substr(start));
  // A name is shown on one line of the report: a line whose name holds a
  // control character (a line end, a NUL) is damaged, and names nothing.
  if (text.empty() || HoldsControlCharacter(text)) return false;
  id = value;
  name = std::move(text);
  return true;
}

struct VendorName {
  unsigned id;
  const char* name;
};

// The makers' own short names: each holds the keyword that finds the maker's
// driver page where the program has one (NVIDIA, ATI, Matrox, 3dfx).
constexpr VendorName kDisplayVendors[] = {
    {0x10de, "NVIDIA"},     {0x1002, "AMD/ATI"},    {0x8086, "Intel"},
    {0x102b, "Matrox"},     {0x121a, "3dfx"},       {0x1a03, "ASPEED"},
    {0x1234, "QEMU/Bochs"}, {0x80ee, "VirtualBox"}, {0x15ad, "VMware"},
    {0x1af4, "Red Hat virtio"},
};

PciIdsNames LookupInFile(const fs::path& path, unsigned vendor, unsigned device) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return {};
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec || size > kMaxDatabaseSize) return {};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return PciIdsLookup(in, vendor, device);
}

}  // namespace

PciIdsNames PciIdsLookup(std::istream& database, unsigned vendor, unsigned device) {
  PciIdsNames names;
  bool inVendor = false;
  std::string line;
  while (std::getline(database, line)) {
    if (line.empty() || line[0] == '#') continue;
    unsigned id = 0;
    std::string name;
    if (line[0] != '\t') {
      // A line at the left margin starts the next vendor (or the class
      // list at the end): the vendor asked for has no such device.
      if (inVendor) break;
      if (ParseIdLine(line, 0, id, name) && id == vendor) {
        inVendor = true;
        names.vendor = name;
      }
      continue;
    }
    // Devices are indented once; their subsystems twice.
    if (!inVendor || (line.size() > 1 && line[1] == '\t')) continue;
    if (ParseIdLine(line, 1, id, name) && id == device) {
      names.device = name;
      break;
    }
  }
  return names;
}

std::string BuiltInVendorName(unsigned vendor) {
  for (const VendorName& v : kDisplayVendors) {
    if (v.id == vendor) return v.name;
  }
  return std::string();
}

std::string PciDeviceDescription(const fs::path& root, unsigned vendor, unsigned device) {
  std::string vendorName;
  for (const char* place : {"usr/share/misc/pci.ids", "usr/share/hwdata/pci.ids"}) {
    const PciIdsNames names = LookupInFile(root / place, vendor, device);
    if (!names.vendor.empty() && !names.device.empty()) return names.vendor + " " + names.device;
    if (vendorName.empty()) vendorName = names.vendor;
  }
  if (vendorName.empty()) vendorName = BuiltInVendorName(vendor);
  char hex[16];
  std::snprintf(hex, sizeof hex, "%04x:%04x", vendor & 0xFFFFu, device & 0xFFFFu);
  return vendorName.empty() ? std::string(hex) : vendorName + " " + hex;
}

}  // namespace quorvel::linux_os
