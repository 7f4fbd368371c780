// The graphics adapter that drives the display and its driver, as the
// kernel describes them: a DRM card in sysfs named through the PCI ID
// database, or the cards of NVIDIA's proprietary driver in /proc.
#pragma once

#include <cstdint>
#include <string>

namespace quorvel::linux_os {

struct DrmAdapter {
  // The adapter's name (see ReadDrmAdapter); empty when the kernel
  // describes no adapter that can be named.
  std::string description;
  // A kernel driver is bound to the adapter.
  bool driverFound = false;
  // The driver's version in the two halves of a Windows file version
  // (ParseDriverVersion); 0 without a driver.
  std::uint32_t versionMs = 0, versionLs = 0;
  // Bytes of video memory where the driver publishes them (amdgpu), else 0.
  std::uint64_t videoMemoryTotal = 0;
};

// Reads the adapter under `root` ("/" on a real system), the first of:
//   1. the PCI card ChoosePciCard takes from <root>/sys/class/drm, named by
//      PciDeviceDescription ("NVIDIA Corporation AD102 [GeForce RTX 4090]",
//      "NVIDIA 10de:2684" without pci.ids);
//   2. the first card of NVIDIA's proprietary driver in <root>/proc/driver/
//      nvidia (ReadNvidiaProc), by its model, with the driver's version;
//   3. the platform card ChoosePlatformCard takes (simpledrm, vc4, ...),
//      named by its driver ("simple-framebuffer", "vc4-drm").
// A card's driver is the one its device/driver link names; its version is
// <root>/sys/module/<name>/version where the module publishes one. Drivers
// built with the kernel (i915, amdgpu, nouveau, ...) publish none: they are
// as new as the kernel, so their version is `kernelRelease`
// ("6.1.0-18-amd64" gives 6.1.0.0). The video memory is the card's
// device/mem_info_vram_total in decimal bytes. Missing, unreadable or
// garbled files leave the matching fields at their defaults.
DrmAdapter ReadDrmAdapter(const std::string& root, const std::string& kernelRelease);

// Up to four dot-separated decimal numbers into the halves of a file
// version: the first number is the high 16 bits of `ms`, the second the low
// 16 bits of `ms`, the third and fourth likewise of `ls`. Missing numbers
// are 0, numbers above 65535 count as 65535, and the first part that is not
// a number ends the parse ("6.1.0-18-amd64" gives 6.1.0.0, "545.29.06"
// gives 545.29.6.0). Leading blanks are skipped.
void ParseDriverVersion(const std::string& text, std::uint32_t& ms, std::uint32_t& ls);

}  // namespace quorvel::linux_os
