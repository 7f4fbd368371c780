// The graphics adapter and its driver as the kernel describes them: the
// first DRM card in sysfs, named through the PCI ID database, with the
// version of the kernel driver bound to it.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

namespace quorvel::x11 {

struct DrmAdapter {
  // "<vendor name> <device name>" from pci.ids, else "vvvv:dddd" in
  // lower-case hex; empty when there is no card or its IDs cannot be read.
  std::string description;
  // A kernel driver is bound to the card.
  bool driverFound = false;
  // The driver's version in the two halves of a Windows file version
  // (ParseDriverVersion); 0 without a driver.
  std::uint32_t versionMs = 0, versionLs = 0;
  // Bytes of video memory where the driver publishes them (amdgpu), else 0.
  std::uint64_t videoMemoryTotal = 0;
};

// Reads the card under `root` ("/" on a real system):
//   <root>/sys/class/drm/card<N>/device   the lowest N that has one;
//                                         connectors (card0-DP-1) are not cards
//   .../device/vendor, .../device/device  "0x10de"
//   .../device/driver                     link to .../drivers/<name>
//   <root>/sys/module/<name>/version      the driver's version, when the
//                                         module publishes one
//   .../device/mem_info_vram_total        decimal bytes
//   <root>/usr/share/misc/pci.ids, then <root>/usr/share/hwdata/pci.ids
// Drivers built with the kernel (i915, amdgpu, nouveau, ...) publish no
// version of their own: they are as new as the kernel, so their version is
// `kernelRelease` ("6.1.0-18-amd64" gives 6.1.0.0). Missing, unreadable or
// garbled files leave the matching fields at their defaults.
DrmAdapter ReadDrmAdapter(const std::string& root, const std::string& kernelRelease);

// Up to four dot-separated decimal numbers into the halves of a file
// version: the first number is the high 16 bits of `ms`, the second the low
// 16 bits of `ms`, the third and fourth likewise of `ls`. Missing numbers
// are 0, numbers above 65535 count as 65535, and the first part that is not
// a number ends the parse ("6.1.0-18-amd64" gives 6.1.0.0, "545.29.06"
// gives 545.29.6.0). Leading blanks are skipped.
void ParseDriverVersion(const std::string& text, std::uint32_t& ms, std::uint32_t& ls);

// "<vendor name> <device name>" for the IDs from a pci.ids database; empty
// when the database does not name both.
std::string PciIdsName(std::istream& database, unsigned vendor, unsigned device);

}  // namespace quorvel::x11
