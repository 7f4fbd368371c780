// The graphics facts: driver version, adapter, display mode, video memory,
// capabilities, and the two probing rounds that fill them in.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "sysinfo/graphics_probe.h"
#include "sysinfo/system_probe.h"

namespace quorvel {
namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

// Only the facts the graphics probes read; everything else is left to the
// defaults of platform::Facts, which are what a backend without answers gives.
class BareFacts : public platform::Facts {
 public:
  platform::DisplayMode display{1024, 768, 1, 32, 60};

  std::uint32_t OsBuildNumber() override { return 0; }
  platform::HardwareDescription& Hardware() override { return hardware_; }
  platform::DisplayMode Display() override { return display; }

 private:
  fake::FakeHardware hardware_;
};

class GraphicsFacts : public BareFacts {
 public:
  platform::AdapterFacts adapter;
  std::uint32_t caps = 0;
  platform::ImagingEntries imaging;

  platform::DriverFacts Driver() override { return adapter; }
  std::string AdapterDescription() override {
    return adapter.adapterFound ? adapter.adapterDescription : std::string();
  }
  std::uint32_t ShadeBlendCaps() override { return caps; }
  platform::ImagingEntries Imaging() override { return imaging; }
};

int transparentBltStandIn, alphaBlendStandIn;

GraphicsFacts Radeon() {
  GraphicsFacts f;
  f.adapter.directDrawAvailable = true;
  f.adapter.videoMemoryTotal = 61 * kMiB / 2;
  f.adapter.driverFound = true;
  f.adapter.driverVersionMs = (6u << 16) | 13u;
  f.adapter.driverVersionLs = (10u << 16) | 1241u;
  f.adapter.adapterFound = true;
  f.adapter.adapterDescription = "RADEON 7500";
  f.display = {1024, 768, 1, 16, 85};
  f.caps = platform::kBlendConstantAlpha | platform::kBlendPerPixelAlpha;
  f.imaging = {&transparentBltStandIn, &alphaBlendStandIn};
  return f;
}

TEST(VideoMemory, ScreenPlusDirectDrawTotalInMiB) {
  struct Case {
    const char* name;
    platform::DisplayMode mode;
    std::uint64_t total;
    std::uint64_t mb;
  };
  const Case cases[] = {
      {"30.5 MiB card, 16 bit", {1024, 768, 1, 16, 85}, 61 * kMiB / 2, 32},
      {"no DirectDraw, 32 bit", {1024, 768, 1, 32, 60}, 0, 3},
      // Two planes of 16 bits hold as much as 32 bits in one.
      {"two planes", {1024, 768, 2, 16, 60}, 61 * kMiB / 2, 33},
      // The 100000 bytes of slack round a total up to the next MiB.
      {"slack reaches 1 MiB", {0, 0, 1, 32, 60}, kMiB - 100000, 1},
      {"slack one byte short", {0, 0, 1, 32, 60}, kMiB - 100001, 0},
      // Sums past 4 GiB must not wrap back to a few MiB.
      {"just under 4 GiB", {1024, 768, 1, 32, 60}, 0xFFFFFFFFu, 4099},
      {"12 GiB card", {1920, 1080, 1, 32, 144}, 12 * kGiB, 12296},
      // 16K at 32 bits is more than 2^31 bits of screen.
      {"16K screen", {15360, 8640, 1, 32, 60}, 0, 506},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(VideoMemoryMb(c.mode, c.total), c.mb);
    SystemInfo info;
    ApplyVideoMemory(info, c.mode, c.total);
    EXPECT_EQ(info.videoMemoryMb, c.mb);
    EXPECT_EQ(info.videoMemoryText, std::to_string(c.mb));
  }
}

TEST(DisplayMode, ColourBitsAndModeText) {
  struct Case {
    platform::DisplayMode mode;
    int colourBits;
    const char* text;
  };
  const Case cases[] = {
      {{1024, 768, 1, 32, 85}, 32, "1024 x 768 x 32 bits (85 Hz)"},
      // 0 and 1 are the desktop's "default refresh" answers; shown as they are.
      {{800, 600, 1, 16, 0}, 16, "800 x 600 x 16 bits (0 Hz)"},
      {{640, 480, 1, 8, 1}, 8, "640 x 480 x 8 bits (1 Hz)"},
      {{1280, 1024, 4, 4, 60}, 16, "1280 x 1024 x 16 bits (60 Hz)"},
  };
  for (const Case& c : cases) {
    SystemInfo info;
    ApplyDisplayMode(info, c.mode);
    EXPECT_EQ(info.screenWidth, c.mode.width);
    EXPECT_EQ(info.screenHeight, c.mode.height);
    EXPECT_EQ(info.colourBits, c.colourBits);
    EXPECT_EQ(info.modeText, c.text);
    EXPECT_EQ(info.modeLine, std::string("Current Video Mode : \t") + c.text);
  }
}

TEST(Capabilities, FromShadeBlendCaps) {
  struct Case {
    std::uint32_t caps;
    int constant, perPixel, gradient;
  };
  const Case cases[] = {
      {0x00, 0, 0, 0}, {0x01, 1, 0, 0}, {0x02, 0, 1, 0}, {0x04, 0, 1, 0},
      {0x10, 0, 0, 1}, {0x20, 0, 0, 1}, {0x03, 1, 1, 0}, {0x37, 1, 1, 1},
      // Bits the desktop does not define accelerate nothing.
      {0xFFFFFFC8u, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SystemInfo info;
    ApplyCapabilities(info, c.caps);
    EXPECT_EQ(info.constantAlphaAccelerated, c.constant) << std::hex << c.caps;
    EXPECT_EQ(info.perPixelAlphaAccelerated, c.perPixel) << std::hex << c.caps;
    EXPECT_EQ(info.gradientFillAccelerated, c.gradient) << std::hex << c.caps;
  }
}

TEST(DriverVersion, FourNumbersFromTheTwoHalves) {
  struct Case {
    const char* name;
    bool directDraw, driverFound;
    std::uint32_t ms, ls;
    const char* text;
  };
  const Case cases[] = {
      {"versioned driver", true, true, 0x0006000D, 0x000A04D9, "6.13.10.1241"},
      {"file without version", true, true, 0, 0, "0.0.0.0"},
      {"halves are unsigned", true, true, 0xFFFFFFFFu, 0x80000001u, "65535.65535.32768.1"},
      {"no DirectDraw", false, true, 0x0006000D, 0x000A04D9, ""},
      {"no driver file", true, false, 0, 0, ""},
  };
  for (const Case& c : cases) {
    platform::AdapterFacts adapter;
    adapter.directDrawAvailable = c.directDraw;
    adapter.driverFound = c.driverFound;
    adapter.driverVersionMs = c.ms;
    adapter.driverVersionLs = c.ls;
    EXPECT_EQ(DriverVersionText(adapter), c.text) << c.name;
  }
}

TEST(Adapter, NameAndLine) {
  SystemInfo info;
  ApplyAdapter(info, "");
  EXPECT_EQ(info.adapterName, "");
  EXPECT_EQ(info.adapterLine, "Graphics adapter : \t");

  ApplyAdapter(info, "NVIDIA GeForce2 MX");
  EXPECT_EQ(info.adapterName, "NVIDIA GeForce2 MX");
  EXPECT_EQ(info.adapterLine, "Graphics adapter : \tNVIDIA GeForce2 MX");
}

TEST(GraphicsProbing, FirstRoundReadsOnlyDriverAndImaging) {
  GraphicsFacts facts = Radeon();
  SystemInfo info;

  EXPECT_EQ(ProbeDriverAndImaging(info, facts), 61 * kMiB / 2);

  EXPECT_EQ(info.driverVersion, "6.13.10.1241");
  EXPECT_EQ(info.transparentBltEntry, &transparentBltStandIn);
  EXPECT_EQ(info.alphaBlendEntry, &alphaBlendStandIn);
  EXPECT_EQ(info.adapterName, "");
  EXPECT_EQ(info.modeText, "");
  EXPECT_EQ(info.videoMemoryText, "");
  EXPECT_EQ(info.adviceText, "");
}

TEST(GraphicsProbing, SecondRoundFillsAdapterModeMemoryAndTexts) {
  GraphicsFacts facts = Radeon();
  SystemInfo info;

  const std::uint64_t directDrawTotal = ProbeDriverAndImaging(info, facts);
  ProbeAdapter(info, facts);
  ProbeModeAndCapabilities(info, facts, directDrawTotal);

  EXPECT_EQ(info.adapterLine, "Graphics adapter : \tRADEON 7500");
  EXPECT_EQ(info.modeLine, "Current Video Mode : \t1024 x 768 x 16 bits (85 Hz)");
  EXPECT_EQ(info.videoMemoryText, "32");
  EXPECT_EQ(info.constantAlphaAccelerated, 1);
  EXPECT_EQ(info.perPixelAlphaAccelerated, 1);
  EXPECT_EQ(info.gradientFillAccelerated, 0);
  EXPECT_EQ(info.constantAlphaSentence, "Constant Alpha Blending is accelerated by these drivers.");
  EXPECT_EQ(info.perPixelAlphaSentence,
            "Per Pixel Alpha Blending is also accelerated by these drivers.");
  // 16 bit colour: no warning, just the driver paragraph.
  EXPECT_EQ(info.adviceText.rfind("To improve the performance", 0), 0u);
  // The report name waits for FinishProbing.
  EXPECT_EQ(info.adapterReportName, "");

  FinishProbing(info);
  EXPECT_EQ(info.adapterReportName, "RADEON 7500");
}

TEST(GraphicsProbing, BackendWithoutGraphicsAnswersGivesTheFailureDefaults) {
  BareFacts facts;
  SystemInfo info;

  const std::uint64_t directDrawTotal = ProbeDriverAndImaging(info, facts);
  ProbeAdapter(info, facts);
  ProbeModeAndCapabilities(info, facts, directDrawTotal);
  FinishProbing(info);

  EXPECT_EQ(info.driverVersion, "");
  EXPECT_EQ(info.transparentBltEntry, nullptr);
  EXPECT_EQ(info.alphaBlendEntry, nullptr);
  EXPECT_EQ(info.adapterName, "");
  EXPECT_EQ(info.adapterReportName, "");
  EXPECT_EQ(info.videoMemoryText, "3");
  EXPECT_EQ(info.constantAlphaSentence,
            "Constant Alpha Blending is not accelerated by these drivers.");
  EXPECT_EQ(info.perPixelAlphaSentence,
            "Per Pixel Alpha Blending is not accelerated by these drivers either.");
  EXPECT_EQ(info.adviceText.rfind("You are using 32 bit colour", 0), 0u);
}

// Without a window (--facts) the facts are asked in the dialog's order,
// and the first round's memory total reaches the second round's figure.
TEST(GraphicsProbing, TheWholeProbeAsksInTheDialogsOrder) {
  fake::FakeFacts facts;
  facts.adapter.directDrawAvailable = true;
  facts.adapter.videoMemoryTotal = 61 * kMiB / 2;
  facts.display = {1024, 768, 1, 16, 85};
  SystemInfo info;
  ProbeSystem(info, facts);
  const std::vector<std::string> order = {"os",       "driver",   "imaging",  "adapter",
                                          "hold",     "display",  "caps",     "hardware",
                                          "hardware", "hardware", "hardware", "release"};
  EXPECT_EQ(facts.calls, order);
  EXPECT_EQ(info.videoMemoryText, "32");
}

}  // namespace
}  // namespace quorvel
