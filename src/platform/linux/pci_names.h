// Names of PCI display devices: the PCI ID database (pci.ids) where the
// machine has one, else a small table of the makers of display chips, so a
// name always carries its maker where it is one of them.
#pragma once

#include <filesystem>
#include <istream>
#include <string>

namespace quorvel::linux_os {

struct PciIdsNames {
  std::string vendor;  // empty when the database does not know the vendor
  std::string device;  // empty when it does not know the vendor's device
};

// The vendor's and device's names in one pci.ids database.
PciIdsNames PciIdsLookup(std::istream& database, unsigned vendor, unsigned device);

// The maker's name for the common display vendors (NVIDIA, AMD/ATI, Intel,
// Matrox, 3dfx, ASPEED and the virtual cards of QEMU, VirtualBox, VMware
// and virtio); empty for others.
std::string BuiltInVendorName(unsigned vendor);

// The adapter's description:
//   "<vendor name> <device name>"    from <root>/usr/share/misc/pci.ids, then
//                                    <root>/usr/share/hwdata/pci.ids
//   "<vendor name> vvvv:dddd"        a database, else the built-in table,
//                                    names the vendor but not the device
//   "vvvv:dddd"                      nothing names the vendor
// The IDs are four lower-case hex digits each.
std::string PciDeviceDescription(const std::filesystem::path& root, unsigned vendor,
                                 unsigned device);

}  // namespace quorvel::linux_os
