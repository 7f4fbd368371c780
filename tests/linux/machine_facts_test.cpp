// The facts of whole machines, from copies of their /proc and /sys laid out
// as the kernel lays them out (tests/fixtures/machines), and the rules
// that choose among cards.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/linux/cpuinfo_description.h"
#include "platform/linux/drm_adapter.h"
#include "platform/linux/drm_cards.h"
#include "platform/linux/kernel_release.h"
#include "platform/linux/nvidia_proc.h"
#include "support/temp_folder.h"
#include "sysinfo/graphics_probe.h"
#include "sysinfo/link_handler.h"
#include "sysinfo/processor_probe.h"

namespace quorvel::linux_os {
namespace {

std::string MachineRoot(const std::string& name) {
  return std::string(QUORVEL_TEST_FIXTURES) + "/machines/" + name;
}

struct MachineCase {
  const char* machine;
  const char* adapter;
  const char* driverVersion;
  std::uint64_t videoMemory;
  bool makerPage;  // the driver link finds a maker's page for the name
  const char* cpuSpeedMhz;
  const char* cpuVendor;
  const char* cpuIdentifier;
  std::uint32_t osBuild;
};

class Machines : public ::testing::TestWithParam<MachineCase> {};

TEST_P(Machines, DescribeTheCardThatDrivesTheDisplayAndTheRatedSpeed) {
  const MachineCase& c = GetParam();
  const std::string root = MachineRoot(c.machine);
  const std::string release = KernelRelease(root);
  EXPECT_EQ(PackKernelRelease(release), c.osBuild);

  const DrmAdapter adapter = ReadDrmAdapter(root, release);
  EXPECT_EQ(adapter.description, c.adapter);
  platform::AdapterFacts facts;
  facts.directDrawAvailable = facts.driverFound = adapter.driverFound;
  facts.driverVersionMs = adapter.versionMs;
  facts.driverVersionLs = adapter.versionLs;
  EXPECT_EQ(DriverVersionText(facts), c.driverVersion);
  EXPECT_EQ(adapter.videoMemoryTotal, c.videoMemory);
  EXPECT_EQ(DriverPageFor(adapter.description) != nullptr, c.makerPage) << adapter.description;

  CpuinfoDescription hardware(root);
  SystemInfo info;
  ProbeProcessor(info, hardware);
  EXPECT_EQ(info.cpuSpeedMhz, c.cpuSpeedMhz);
  EXPECT_EQ(info.cpuVendor, c.cpuVendor);
  EXPECT_EQ(info.cpuIdentifier, c.cpuIdentifier);
  EXPECT_EQ(info.multipleProcessors, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, Machines,
    ::testing::Values(
        // The discrete card is card0 and shows an external monitor; the
        // integrated boot VGA card shows the panel and wins. Idle cores
        // say 400 MHz; intel_pstate's base frequency is the rated speed.
        MachineCase{"hybrid_laptop", "Intel Corporation TigerLake-LP GT2 [Iris Xe Graphics]",
                    "6.1.0.0", 0, false, "2800", "GenuineIntel",
                    "x86 Family 6 Model 140 Stepping 1", 6001},
        // simpledrm stays card0 beside the real card; amd-pstate's nominal
        // frequency.
        MachineCase{"simpledrm_first",
                    "Advanced Micro Devices, Inc. [AMD/ATI] Navi 21 [Radeon RX 6800/6800 XT / "
                    "6900 XT]",
                    "6.1.0.0", 17163091968ull, true, "3800", "AuthenticAMD",
                    "x86 Family 25 Model 33 Stepping 0", 6001},
        // The compute GPU (card0) has no connectors; the BMC's chip drives
        // the console. acpi-cpufreq's maximum is the rated speed.
        MachineCase{"server_bmc", "ASPEED Technology, Inc. ASPEED Graphics Family", "6.1.0.0", 0,
                    false, "2450", "AuthenticAMD", "x86 Family 25 Model 1 Stepping 1", 6001},
        // No pci.ids: the maker from the built-in table, so the driver
        // link still finds NVIDIA's page.
        MachineCase{"no_pci_ids", "NVIDIA 10de:2684", "545.29.6.0", 0, true, "3000",
                    "GenuineIntel", "x86 Family 6 Model 183 Stepping 1", 6001},
        // NVIDIA's driver without nvidia-drm: /proc/driver/nvidia names the
        // card, not the simpledrm card0; no cpufreq, so "cpu MHz".
        MachineCase{"nvidia_proprietary", "NVIDIA GeForce GTX 1080", "470.223.2.0", 0, true,
                    "3600", "GenuineIntel", "x86 Family 6 Model 158 Stepping 9", 6001},
        // Only platform cards: the one with a connected HDMI port, by its
        // driver. cpufreq-dt's maximum is not taken for a rated speed and
        // there is no "cpu MHz": the speed stays empty.
        MachineCase{"arm_board", "vc4-drm", "6.6.31.0", 0, false, "", "ARM", "Cortex-A72 r0p3",
                    6006}),
    [](const ::testing::TestParamInfo<MachineCase>& info) {
      return std::string(info.param.machine);
    });

DrmCard Card(unsigned long number, bool pci, bool bootVga, bool connected) {
  DrmCard card;
  card.number = number;
  card.pci = pci;
  card.bootVga = bootVga;
  card.connected = connected;
  return card;
}

TEST(DisplayCard, ConnectedBeforeBootVgaBeforeLowestAndPlatformCardsApart) {
  struct Case {
    const char* what;
    std::vector<DrmCard> cards;
    long pci;       // the number ChoosePciCard takes, -1 for none
    long platform;  // the number ChoosePlatformCard takes, -1 for none
  } cases[] = {
      {"a monitor beats the boot VGA mark",
       {Card(0, true, true, false), Card(1, true, false, true)}, 1, -1},
      {"among connected cards the boot VGA one",
       {Card(0, true, false, true), Card(1, true, true, true), Card(2, true, false, true)}, 1,
       -1},
      {"among connected cards without the mark the lowest",
       {Card(3, true, false, true), Card(4, true, false, true)}, 3, -1},
      {"no monitor: the boot VGA card", {Card(0, true, false, false), Card(1, true, true, false)},
       1, -1},
      {"neither: the lowest", {Card(2, true, false, false), Card(5, true, false, false)}, 2, -1},
      {"a connected platform card never beats a PCI card",
       {Card(0, false, false, true), Card(1, true, false, false)}, 1, 0},
      {"platform cards: the connected one",
       {Card(0, false, false, false), Card(1, false, false, true)}, -1, 1},
      {"platform cards without monitors: the lowest",
       {Card(0, false, false, false), Card(1, false, false, false)}, -1, 0},
      {"no cards", {}, -1, -1},
  };
  for (const Case& c : cases) {
    const DrmCard* pci = ChoosePciCard(c.cards);
    const DrmCard* platform = ChoosePlatformCard(c.cards);
    EXPECT_EQ(pci ? static_cast<long>(pci->number) : -1, c.pci) << c.what;
    EXPECT_EQ(platform ? static_cast<long>(platform->number) : -1, c.platform) << c.what;
  }
}

TEST(NvidiaProc, TheVersionIsTheFirstDottedNumberOfTheNvrmLine) {
  const struct {
    const char* text;
    const char* version;
  } cases[] = {
      {"NVRM version: NVIDIA UNIX x86_64 Kernel Module  545.29.06  Thu Nov 16 01:59:08 UTC 2023\n"
       "GCC version:  gcc version 12.2.0\n",
       "545.29.06"},
      {"NVRM version: NVIDIA UNIX Open Kernel Module for x86_64  550.54.14  Release Build\n",
       "550.54.14"},
      {"GCC version:  gcc version 12.2.0\n", ""},  // no NVRM line
      {"NVRM version: NVIDIA UNIX Kernel Module 545\n", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(NvidiaVersionFromText(c.text), c.version) << c.text;
  // A machine without the driver's files has no model to show.
  EXPECT_EQ(ReadNvidiaProc(MachineRoot("hybrid_laptop")).model, "");
}

TEST(NvidiaProc, TheModelIsShownOnlyWhenItIsOneLineOfText) {
  const struct {
    const char* information;
    const char* model;
  } cases[] = {
      {"Model: \t GeForce GTX 1080 \r\nIRQ: 130\n", "GeForce GTX 1080"},
      {"Model: GeForce\rGTX 1080\n", ""},
      {"Model: GeForce\x1b[2J\n", ""},
  };
  for (const auto& c : cases) {
    const test_support::TempFolder root;
    const std::filesystem::path gpu =
        std::filesystem::path(root.path()) / "proc/driver/nvidia/gpus/0000:01:00.0";
    std::filesystem::create_directories(gpu);
    std::ofstream(gpu / "information", std::ios::binary) << c.information;
    EXPECT_EQ(ReadNvidiaProc(root.path()).model, c.model) << c.information;
  }
}

}  // namespace
}  // namespace quorvel::linux_os
