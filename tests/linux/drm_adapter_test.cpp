// The adapter, its driver and its video memory, read from DRM fixture trees
// (tests/fixtures/drm) and the pci.ids database.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "platform/linux/drm_adapter.h"
#include "platform/linux/pci_names.h"
#include "sysinfo/graphics_probe.h"

namespace quorvel::linux_os {
namespace {

std::string FixtureRoot(const char* name) {
  return std::string(QUORVEL_TEST_FIXTURES) + "/drm/" + name;
}

// The version as the program shows it, "a.b.c.d".
std::string VersionText(std::uint32_t ms, std::uint32_t ls) {
  platform::AdapterFacts facts;
  facts.directDrawAvailable = facts.driverFound = true;
  facts.driverVersionMs = ms;
  facts.driverVersionLs = ls;
  return DriverVersionText(facts);
}

TEST(DriverVersion, FourNumbersIntoTheTwoHalves) {
  const struct {
    const char* text;
    const char* shown;
  } cases[] = {
      {"545.29.06\n", "545.29.6.0"},
      {"6.1.0-18-amd64", "6.1.0.0"},
      {"1.2.3.4.5", "1.2.3.4"},
      {"  3.4\n", "3.4.0.0"},
      {"70000.65535.65536.1", "65535.65535.65535.1"},
      {"99999999999999999999999.2", "65535.2.0.0"},
      {"2.0.0rc1.5", "2.0.0.0"},
      {"1..2", "1.0.0.0"},
      {"1.2.", "1.2.0.0"},
      {"v1.2", "0.0.0.0"},
      {"", "0.0.0.0"},
  };
  for (const auto& c : cases) {
    std::uint32_t ms = 0xDEADBEEF, ls = 0xDEADBEEF;
    ParseDriverVersion(c.text, ms, ls);
    EXPECT_EQ(VersionText(ms, ls), c.shown) << '"' << c.text << '"';
  }
  std::uint32_t ms = 0, ls = 0;
  ParseDriverVersion("545.29.06", ms, ls);
  EXPECT_EQ(ms, (545u << 16) | 29u);
  EXPECT_EQ(ls, 6u << 16);
}

TEST(PciIds, NamesOnlyADeviceOfTheVendorAskedFor) {
  const std::string database =
      "# comment\r\n"
      "1002  Advanced Micro Devices, Inc. [AMD/ATI]\r\n"
      "\t7300  Fiji\r\n"
      "\t\t1002 0b36  A subsystem\r\n"
      "10DE  NVIDIA Corporation\r\n"
      "\t1B80  GP104 [GeForce GTX 1080]\r\n";
  const struct {
    std::string database;
    unsigned vendor, device;
    const char* vendorName;
    const char* deviceName;
  } cases[] = {
      {database, 0x10de, 0x1b80, "NVIDIA Corporation", "GP104 [GeForce GTX 1080]"},
      {database, 0x1002, 0x7300, "Advanced Micro Devices, Inc. [AMD/ATI]", "Fiji"},
      {database, 0x1002, 0x0b36, "Advanced Micro Devices, Inc. [AMD/ATI]", ""},  // a subsystem
      {database, 0x1002, 0x1b80, "Advanced Micro Devices, Inc. [AMD/ATI]", ""},  // not its device
      {database, 0x8086, 0x7300, "", ""},
      {"1002  \n\t7300  Fiji\n", 0x1002, 0x7300, "", ""},  // an unnamed vendor
      {"10de  NVIDIA Corporation\n\t1b8", 0x10de, 0x1b80, "NVIDIA Corporation", ""},
      {std::string("\x00\xff\n10de\x00 NVIDIA\n\t1b80\x01\n", 23), 0x10de, 0x1b80, "", ""},
      {std::string(100000, '\x7f'), 0x10de, 0x1b80, "", ""},
      // Control characters inside a name: the damaged line names nothing.
      {std::string("10de  NVID\x00\r\xccration\n\t1b80  GP104\n", 33), 0x10de, 0x1b80, "", ""},
      {"10de  NVIDIA\n\t1b80  GP\r104\n", 0x10de, 0x1b80, "NVIDIA", ""},
  };
  for (const auto& c : cases) {
    std::istringstream in(c.database);
    const PciIdsNames names = PciIdsLookup(in, c.vendor, c.device);
    EXPECT_EQ(names.vendor, c.vendorName) << std::hex << c.vendor << ':' << c.device;
    EXPECT_EQ(names.device, c.deviceName) << std::hex << c.vendor << ':' << c.device;
  }
}

TEST(PciIds, WithoutTheDatabaseTheMakersOfDisplayChipsAreStillNamed) {
  // No pci.ids under this root: the built-in table names the maker in a
  // way the driver link's keywords find.
  const std::string none = FixtureRoot("no_drm");
  const struct {
    unsigned vendor, device;
    const char* description;
  } cases[] = {
      {0x10de, 0x2684, "NVIDIA 10de:2684"},       {0x1002, 0x73bf, "AMD/ATI 1002:73bf"},
      {0x8086, 0x9a49, "Intel 8086:9a49"},        {0x102b, 0x0522, "Matrox 102b:0522"},
      {0x121a, 0x0009, "3dfx 121a:0009"},         {0x1a03, 0x2000, "ASPEED 1a03:2000"},
      {0x1234, 0x1111, "QEMU/Bochs 1234:1111"},   {0x80ee, 0xbeef, "VirtualBox 80ee:beef"},
      {0x15ad, 0x0405, "VMware 15ad:0405"},       {0x1af4, 0x1050, "Red Hat virtio 1af4:1050"},
      {0x5333, 0x8a22, "5333:8a22"},  // not in the table: the IDs alone
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PciDeviceDescription(none, c.vendor, c.device), c.description);
  }
  // A database that knows the maker but not the (newer) card gives the
  // database's maker name.
  EXPECT_EQ(PciDeviceDescription(FixtureRoot("nvidia_version"), 0x10de, 0x2684),
            "NVIDIA Corporation 10de:2684");
}

struct DrmCase {
  const char* fixture;
  const char* description;
  bool driverFound;
  const char* version;
  std::uint64_t videoMemory;
};

class DrmFixtures : public ::testing::TestWithParam<DrmCase> {};

TEST_P(DrmFixtures, ReadTheCardAndItsDriver) {
  const DrmCase& c = GetParam();
  const DrmAdapter adapter = ReadDrmAdapter(FixtureRoot(c.fixture), "6.1.0-18-amd64");
  EXPECT_EQ(adapter.description, c.description);
  EXPECT_EQ(adapter.driverFound, c.driverFound);
  EXPECT_EQ(VersionText(adapter.versionMs, adapter.versionLs), c.version);
  EXPECT_EQ(adapter.videoMemoryTotal, c.videoMemory);
}

INSTANTIATE_TEST_SUITE_P(
    Trees, DrmFixtures,
    ::testing::Values(
        // Neither card shows a connector or the boot VGA mark: the
        // lowest-numbered, card2 before card10 (card1-DP-1 is a connector
        // and no card), is taken. Named by
        // hwdata/pci.ids after misc/pci.ids does not know the device; amdgpu
        // publishes no version, so the kernel's release stands for it.
        DrmCase{"amd_vram",
                "Advanced Micro Devices, Inc. [AMD/ATI] Navi 21 [Radeon RX 6800/6800 XT / 6900 XT]",
                true, "6.1.0.0", 17163091968ull},
        DrmCase{"intel_hex", "Intel 8086:0166", true, "6.1.0.0", 0},
        DrmCase{"nvidia_version", "NVIDIA Corporation GP104 [GeForce GTX 1080]", true,
                "545.29.6.0", 0},
        DrmCase{"no_drm", "", false, "0.0.0.0", 0},
        DrmCase{"no_such_directory", "", false, "0.0.0.0", 0},
        // Binary junk in the vendor, the version file and the memory size:
        // a card without PCI IDs, named by its driver.
        DrmCase{"junk", "nvidia", true, "0.0.0.0", 0},
        // Directories where the vendor, device, memory size and driver link
        // belong.
        DrmCase{"directories", "", false, "0.0.0.0", 0}),
    [](const ::testing::TestParamInfo<DrmCase>& info) { return std::string(info.param.fixture); });

}  // namespace
}  // namespace quorvel::linux_os
