// The operating-system and processor facts and the processor line.
#include <gtest/gtest.h>

#include "fake/fake_platform.h"
#include "sysinfo/os_probe.h"
#include "sysinfo/processor_probe.h"

namespace quorvel {
namespace {

const char kCpu0[] = "CentralProcessor\\0";
const char kCpu1[] = "CentralProcessor\\1";

struct ProcessorCase {
  const char* name;
  std::function<void(fake::FakeHardware&)> setup;
  const char* mhz;
  const char* vendor;
  const char* identifier;
  int multiple;
  const char* cpuLine;
};

class ProcessorProbeTest : public ::testing::TestWithParam<ProcessorCase> {};

TEST_P(ProcessorProbeTest, FillsTheFieldsAndTheLine) {
  const ProcessorCase& c = GetParam();
  fake::FakeHardware hardware;
  c.setup(hardware);
  SystemInfo info;

  ProbeProcessor(info, hardware);

  EXPECT_EQ(info.cpuSpeedMhz, c.mhz);
  EXPECT_EQ(info.cpuSpeedText, std::string(c.mhz) + " Mhz");
  EXPECT_EQ(info.cpuVendor, c.vendor);
  EXPECT_EQ(info.cpuIdentifier, c.identifier);
  EXPECT_EQ(info.multipleProcessors, c.multiple);
  EXPECT_EQ(info.cpuLine, c.cpuLine);
}

void Intel800(fake::FakeHardware& h) {
  h.SetNumber(kCpu0, "~Mhz", 800);
  h.SetText(kCpu0, "VendorIdentifier", "GenuineIntel");
  h.SetText(kCpu0, "Identifier", "x86 Family 6 Model 8 Stepping 3");
}

INSTANTIATE_TEST_SUITE_P(
    Machines, ProcessorProbeTest,
    ::testing::Values(
        ProcessorCase{"one_processor", Intel800, "800", "GenuineIntel",
                      "x86 Family 6 Model 8 Stepping 3", 0,
                      "Cpu Speed : \t\t800 Mhz 'GenuineIntel'"},
        ProcessorCase{"two_processors",
                      [](fake::FakeHardware& h) {
                        Intel800(h);
                        h.SetNumber(kCpu1, "~Mhz", 800);
                      },
                      "800", "GenuineIntel", "x86 Family 6 Model 8 Stepping 3", 1,
                      "Cpu Speed : \t\t800 Mhz 'GenuineIntel'\t Multiple processors detected"},
        // A second processor reporting 0 MHz still counts: "0" is not empty.
        ProcessorCase{"second_at_zero_mhz",
                      [](fake::FakeHardware& h) {
                        Intel800(h);
                        h.SetNumber(kCpu1, "~Mhz", 0);
                      },
                      "800", "GenuineIntel", "x86 Family 6 Model 8 Stepping 3", 1,
                      "Cpu Speed : \t\t800 Mhz 'GenuineIntel'\t Multiple processors detected"},
        ProcessorCase{"first_at_zero_mhz",
                      [](fake::FakeHardware& h) {
                        h.SetNumber(kCpu0, "~Mhz", 0);
                        h.SetText(kCpu0, "VendorIdentifier", "AuthenticAMD");
                      },
                      "0", "AuthenticAMD", "", 0, "Cpu Speed : \t\t0 Mhz 'AuthenticAMD'"},
        ProcessorCase{"empty_vendor",
                      [](fake::FakeHardware& h) {
                        h.SetNumber(kCpu0, "~Mhz", 1200);
                        h.SetText(kCpu0, "VendorIdentifier", "");
                      },
                      "1200", "", "", 0, "Cpu Speed : \t\t1200 Mhz ''"},
        ProcessorCase{"no_keys_at_all", [](fake::FakeHardware&) {}, "", "", "", 0,
                      "Cpu Speed : \t\t Mhz ''"},
        // A vendor text too long for the 255-byte buffer reads as empty.
        ProcessorCase{"vendor_too_long",
                      [](fake::FakeHardware& h) {
                        h.SetNumber(kCpu0, "~Mhz", 800);
                        h.SetText(kCpu0, "VendorIdentifier", std::string(255, 'v'));
                      },
                      "800", "", "", 0, "Cpu Speed : \t\t800 Mhz ''"}),
    [](const ::testing::TestParamInfo<ProcessorCase>& info) { return info.param.name; });

TEST(ProcessorProbe, LongestVendorThatFitsTheBufferIsKept) {
  fake::FakeHardware hardware;
  hardware.SetText(kCpu0, "VendorIdentifier", std::string(254, 'v'));
  SystemInfo info;
  ProbeProcessor(info, hardware);
  EXPECT_EQ(info.cpuVendor.size(), 254u);
}

TEST(OperatingSystemProbe, WindowsXpFromBuild2296) {
  const std::pair<std::uint32_t, int> cases[] = {
      {0, 0}, {2195, 0}, {2295, 0}, {2296, 1}, {2600, 1}, {6001, 1}, {0xFFFFFFFFu, 1}};
  for (const auto& [build, expected] : cases) {
    fake::FakeFacts facts;
    facts.buildNumber = build;
    SystemInfo info;
    ProbeOperatingSystem(info, facts);
    EXPECT_EQ(info.isWindowsXP, expected) << "build " << build;
  }
}

}  // namespace
}  // namespace quorvel
