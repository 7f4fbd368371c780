// The adapter, its driver and its video memory: read from DRM fixture trees,
// and through X11Facts into the texts the program shows.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <memory>
#include <sstream>
#include <string>

#include "platform/x11/drm_adapter.h"
#include "platform/x11/display_origin.h"
#include "platform/x11/pci_names.h"
#include "platform/x11/randr_outputs.h"
#include "platform/x11/x11_facts.h"
#include "platform/x11/x_connection.h"
#include "sysinfo/graphics_probe.h"
#include "sysinfo/system_info.h"

namespace quorvel::x11 {
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

// X11Facts on the test display with a fixture tree for /sys and /usr/share.
class X11AdapterFacts : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    connection_ = XConnection::Open(nullptr, &why);
    ASSERT_TRUE(connection_) << "these tests need an X display in DISPLAY: " << why;
  }
  std::string ServerText() const {
    Display* d = connection_->display();
    return std::string(ServerVendor(d)) + " " + std::to_string(VendorRelease(d));
  }
  SystemInfo Probe(const char* fixture) {
    X11Facts facts(*connection_, FixtureRoot(fixture));
    SystemInfo info;
    ProbeDriverAndImaging(info, facts);
    ProbeAdapterModeAndCapabilities(info, facts);
    return info;
  }

  std::unique_ptr<XConnection> connection_;
};

TEST_F(X11AdapterFacts, WithoutACardTheXServerNamesTheAdapterAndNoDriverIsShown) {
  ASSERT_FALSE(ServerText().empty());
  for (const char* fixture : {"no_drm", "no_such_directory"}) {
    X11Facts facts(*connection_, FixtureRoot(fixture));
    const platform::AdapterFacts adapter = facts.Adapter();
    EXPECT_TRUE(adapter.adapterFound) << fixture;
    EXPECT_EQ(adapter.adapterDescription, ServerText()) << fixture;
    EXPECT_FALSE(adapter.directDrawAvailable) << fixture;
    EXPECT_FALSE(adapter.driverFound) << fixture;
    EXPECT_EQ(adapter.videoMemoryTotal, 0u) << fixture;

    const SystemInfo info = Probe(fixture);
    EXPECT_EQ(info.adapterName, ServerText()) << fixture;
    EXPECT_EQ(info.driverVersion, "") << fixture;
  }
}

TEST_F(X11AdapterFacts, ACardReachesTheShownTexts) {
  SystemInfo nvidia = Probe("nvidia_version");
  EXPECT_EQ(nvidia.adapterName, "NVIDIA Corporation GP104 [GeForce GTX 1080]");
  EXPECT_EQ(nvidia.driverVersion, "545.29.6.0");

  // The 16 GiB of VRAM count in full beside the 1280 x 1024 x 32 screen.
  SystemInfo amd = Probe("amd_vram");
  EXPECT_EQ(amd.adapterName.rfind("Advanced Micro Devices", 0), 0u) << amd.adapterName;
  EXPECT_EQ(amd.videoMemoryMb,
            VideoMemoryMb(platform::DisplayMode{amd.screenWidth, amd.screenHeight, 1,
                                                amd.colourBits, 0},
                          17163091968ull));
  EXPECT_GT(amd.videoMemoryMb, 16000u);
  // The copied machine's kernel release, not the running one's, stands for
  // amdgpu's version.
  EXPECT_EQ(amd.driverVersion, "6.1.0.0");
}

TEST_F(X11AdapterFacts, XvfbIsNotDrivenByThisMachinesCard) {
  Display* d = connection_->display();
  const std::vector<RandrOutput> outputs = ReadRandrOutputs(d, connection_->root());
  bool xvfb = false;
  for (const RandrOutput& o : outputs) xvfb = xvfb || (o.name == "screen" && o.connected && o.shown);
  if (!xvfb) GTEST_SKIP() << "the test display is not an Xvfb server";
  EXPECT_FALSE(DisplayDrivenHere(DisplayString(d), outputs));
  // So this machine's own files are not asked, and the server describes
  // the adapter without a driver.
  X11Facts facts(*connection_, "/");
  const platform::AdapterFacts adapter = facts.Adapter();
  EXPECT_EQ(adapter.adapterDescription, ServerText());
  EXPECT_FALSE(adapter.driverFound);
  EXPECT_EQ(adapter.videoMemoryTotal, 0u);
}

TEST_F(X11AdapterFacts, ACardWithoutADriverNameIsNamedByTheXServer) {
  X11Facts facts(*connection_, FixtureRoot("directories"));
  const platform::AdapterFacts adapter = facts.Adapter();
  EXPECT_EQ(adapter.adapterDescription, ServerText());
  EXPECT_TRUE(adapter.adapterFound);
  EXPECT_FALSE(adapter.driverFound);
}

TEST_F(X11AdapterFacts, ACardWithUnreadableIdsKeepsItsDriver) {
  X11Facts facts(*connection_, FixtureRoot("junk"));
  const platform::AdapterFacts adapter = facts.Adapter();
  EXPECT_EQ(adapter.adapterDescription, "nvidia");
  EXPECT_TRUE(adapter.adapterFound);
  EXPECT_TRUE(adapter.driverFound);
  EXPECT_TRUE(adapter.directDrawAvailable);
  EXPECT_EQ(DriverVersionText(adapter), "0.0.0.0");
}

}  // namespace
}  // namespace quorvel::x11
