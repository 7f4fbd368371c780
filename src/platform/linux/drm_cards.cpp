#include "platform/linux/drm_cards.h"

#include <algorithm>
#include <system_error>

#include "platform/linux/sysfs_files.h"

namespace quorvel::linux_os {
namespace fs = std::filesystem;
namespace {

// The name of the kernel driver a `driver` link points to. Kernel drivers
// are named with letters, digits, '_' and '-'; anything else (a damaged
// tree, a stray link) names no driver, so no such text reaches a screen
// line or a path.
std::string DriverName(const fs::path& link) {
  std::string name = LinkTargetName(link);
  for (char c : name) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '_' || c == '-';
    if (!ok) return std::string();
  }
  return name;
}

// card<N>: more digits than this is not a card the kernel made.
constexpr std::size_t kMaxCardDigits = 6;

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

// A connector of the card, card<N>-<name>/status, reports a monitor.
bool HasConnectedConnector(const fs::path& card, unsigned long number) {
  const std::string prefix = "card" + std::to_string(number) + "-";
  std::error_code ec;
  fs::directory_iterator it(card, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    std::string status;
    if (ReadAttribute(it->path() / "status", status) && status == "connected") return true;
  }
  return false;
}

// The lowest-numbered card that `accept` takes, preferring the boot VGA
// card among them when `preferBootVga`.
template <typename Accept>
const DrmCard* Best(const std::vector<DrmCard>& cards, Accept accept, bool preferBootVga) {
  const DrmCard* best = nullptr;
  for (const DrmCard& card : cards) {
    if (!accept(card)) continue;
    if (best == nullptr || (preferBootVga && card.bootVga && !best->bootVga)) best = &card;
  }
  return best;
}

}  // namespace

std::vector<DrmCard> ReadDrmCards(const fs::path& drmClass) {
  std::vector<DrmCard> cards;
  std::error_code ec;
  fs::directory_iterator it(drmClass, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    DrmCard card;
    if (!CardNumber(it->path().filename().string(), card.number)) continue;
    card.device = it->path() / "device";
    std::error_code statError;
    if (!fs::is_directory(card.device, statError)) continue;
    card.pci = ReadPciId(card.device / "vendor", card.vendorId) &&
               ReadPciId(card.device / "device", card.deviceId);
    std::string bootVga;
    card.bootVga = ReadAttribute(card.device / "boot_vga", bootVga) && bootVga == "1";
    card.connected = HasConnectedConnector(it->path(), card.number);
    card.driver = DriverName(card.device / "driver");
    cards.push_back(std::move(card));
  }
  std::sort(cards.begin(), cards.end(),
            [](const DrmCard& a, const DrmCard& b) { return a.number < b.number; });
  return cards;
}

const DrmCard* ChoosePciCard(const std::vector<DrmCard>& cards) {
  if (const DrmCard* c = Best(cards, [](const DrmCard& k) { return k.pci && k.connected; }, true)) {
    return c;
  }
  if (const DrmCard* c = Best(cards, [](const DrmCard& k) { return k.pci && k.bootVga; }, false)) {
    return c;
  }
  return Best(cards, [](const DrmCard& k) { return k.pci; }, false);
}

const DrmCard* ChoosePlatformCard(const std::vector<DrmCard>& cards) {
  if (const DrmCard* c =
          Best(cards, [](const DrmCard& k) { return !k.pci && k.connected; }, false)) {
    return c;
  }
  return Best(cards, [](const DrmCard& k) { return !k.pci; }, false);
}

}  // namespace quorvel::linux_os
