#include "platform/linux/drm_adapter.h"

#include <filesystem>
#include <vector>

#include "platform/linux/drm_cards.h"
#include "platform/linux/nvidia_proc.h"
#include "platform/linux/pci_names.h"
#include "platform/linux/sysfs_files.h"

namespace quorvel::linux_os {
namespace fs = std::filesystem;
namespace {

// The version of the module `driver`, else the kernel's release.
void SetDriverVersion(const fs::path& root, const std::string& driver,
                      const std::string& kernelRelease, DrmAdapter& adapter) {
  adapter.driverFound = true;
  std::string version;
  if (!ReadRegularFile(root / "sys/module" / driver / "version", kMaxAttributeSize, version)) {
    version = kernelRelease;
  }
  ParseDriverVersion(version, adapter.versionMs, adapter.versionLs);
}

DrmAdapter DescribeCard(const fs::path& root, const DrmCard& card, const std::string& kernelRelease) {
  DrmAdapter adapter;
  adapter.description =
      card.pci ? PciDeviceDescription(root, card.vendorId, card.deviceId) : card.driver;
  if (!card.driver.empty()) SetDriverVersion(root, card.driver, kernelRelease, adapter);
  std::uint64_t bytes = 0;
  if (ReadDecimal(card.device / "mem_info_vram_total", bytes)) adapter.videoMemoryTotal = bytes;
  return adapter;
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

DrmAdapter ReadDrmAdapter(const std::string& root, const std::string& kernelRelease) {
  const fs::path base = root.empty() ? fs::path("/") : fs::path(root);
  const std::vector<DrmCard> cards = ReadDrmCards(base / "sys/class/drm");
  if (const DrmCard* card = ChoosePciCard(cards)) return DescribeCard(base, *card, kernelRelease);

  const NvidiaProcFacts nvidia = ReadNvidiaProc(base);
  if (!nvidia.model.empty()) {
    DrmAdapter adapter;
    adapter.description = nvidia.model;
    // The module is NVIDIA's own, never the kernel's: without a readable
    // version it shows 0.0.0.0, as a driver file without a version does.
    adapter.driverFound = true;
    std::string version = nvidia.version;
    if (version.empty()) {
      ReadAttribute(base / "sys/module/nvidia/version", version);
    }
    ParseDriverVersion(version, adapter.versionMs, adapter.versionLs);
    return adapter;
  }

  if (const DrmCard* card = ChoosePlatformCard(cards)) {
    return DescribeCard(base, *card, kernelRelease);
  }
  return DrmAdapter{};
}

}  // namespace quorvel::linux_os
