// The DRM cards the kernel lists in /sys/class/drm, and the rule that picks
// the one that drives the display.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quorvel::linux_os {

struct DrmCard {
  unsigned long number = 0;            // the N of card<N>
  std::filesystem::path device;        // .../card<N>/device
  // PCI IDs from device/vendor and device/device; a card without them
  // (simpledrm, the display engines of ARM chips) is a platform device.
  bool pci = false;
  unsigned vendorId = 0, deviceId = 0;
  bool bootVga = false;    // device/boot_vga is 1: the firmware's console card
  bool connected = false;  // a connector card<N>-<name>/status is "connected"
  std::string driver;      // the driver device/driver links to; empty if none
};

// Every card<N> under `drmClass` (<root>/sys/class/drm) with a device
// directory, lowest N first. Connectors (card0-DP-1), render nodes and
// other entries are not cards.
std::vector<DrmCard> ReadDrmCards(const std::filesystem::path& drmClass);

// The PCI card that drives the display: among the cards with a connected
// connector the boot VGA card, else the lowest-numbered one; without any,
// the boot VGA card; else the lowest-numbered PCI card. Null without a PCI
// card.
const DrmCard* ChoosePciCard(const std::vector<DrmCard>& cards);

// The same choice among the platform cards (without PCI IDs): a connected
// one first, else the lowest-numbered. Null when there is none.
const DrmCard* ChoosePlatformCard(const std::vector<DrmCard>& cards);

}  // namespace quorvel::linux_os
