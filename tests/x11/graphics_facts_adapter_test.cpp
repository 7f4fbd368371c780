// The adapter, its driver and its video memory through X11Facts, from DRM
// fixture trees and the test display, into the texts the program shows.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <memory>
#include <string>

#include "platform/x11/display/randr_outputs.h"
#include "platform/x11/display/x_connection.h"
#include "platform/x11/facts/display_origin.h"
#include "platform/x11/facts/x11_facts.h"
#include "sysinfo/graphics_probe.h"
#include "sysinfo/system_info.h"

namespace quorvel::x11 {
namespace {

std::string FixtureRoot(const char* name) {
  return std::string(QUORVEL_TEST_FIXTURES) + "/drm/" + name;
}

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
    const std::uint64_t directDrawTotal = ProbeDriverAndImaging(info, facts);
    ProbeAdapter(info, facts);
    ProbeModeAndCapabilities(info, facts, directDrawTotal);
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
