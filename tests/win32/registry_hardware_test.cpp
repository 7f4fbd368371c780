// The registry hardware description on fixture keys, and the processor
// line the program composes from it.
#include <gtest/gtest.h>

#include <functional>

#include "platform/win32/registry_hardware.h"
#include "registry_fixture.h"
#include "sysinfo/processor_probe.h"

namespace quorvel::win32 {
namespace {

using testing::RegistryFixture;

const char kCpu0[] = "CentralProcessor\\0";
const char kCpu1[] = "CentralProcessor\\1";

RegistryHardwareDescription Over(const RegistryFixture& fixture) {
  return RegistryHardwareDescription(HKEY_CURRENT_USER, fixture.base());
}

TEST(RegistryHardware, TextQueries) {
  RegistryFixture fixture("text");
  fixture.SetText(kCpu0, "VendorIdentifier", "GenuineIntel");
  fixture.SetText(kCpu0, "Empty", "");
  fixture.SetText(kCpu0, "Nine", "123456789");
  fixture.SetUnterminatedText(kCpu0, "Bare", "abcd");
  fixture.SetNumber(kCpu0, "~Mhz", 800);
  RegistryHardwareDescription hardware = Over(fixture);

  struct Case {
    const char* key;
    const char* value;
    std::size_t buffer;
    bool found;
    const char* text;
  };
  const Case cases[] = {
      {kCpu0, "VendorIdentifier", 255, true, "GenuineIntel"},
      {kCpu0, "Empty", 255, true, ""},
      {kCpu0, "Nine", 10, true, "123456789"},  // exactly fits with its terminator
      {kCpu0, "Nine", 9, false, ""},           // one byte short: ERROR_MORE_DATA
      {kCpu0, "Bare", 5, true, "abcd"},        // stored without a terminator
      {kCpu0, "Bare", 4, false, ""},           // ... and no room to add one
      {kCpu0, "VendorIdentifier", 0, false, ""},
      {kCpu0, "~Mhz", 255, false, ""},  // a number is not text
      {kCpu0, "Missing", 255, false, ""},
      {kCpu1, "VendorIdentifier", 255, false, ""},
  };
  for (const Case& c : cases) {
    std::string out = "untouched";
    EXPECT_EQ(hardware.QueryText(c.key, c.value, c.buffer, out), c.found)
        << c.key << " " << c.value << " in " << c.buffer;
    if (c.found) {
      EXPECT_EQ(out, c.text) << c.value;
    }
  }
}

TEST(RegistryHardware, NumberQueries) {
  RegistryFixture fixture("number");
  fixture.SetNumber(kCpu0, "~Mhz", 800);
  fixture.SetNumber(kCpu1, "~Mhz", 0);
  fixture.SetNumber(kCpu1, "Big", 0xFFFFFFFFu);
  fixture.SetText(kCpu0, "VendorIdentifier", "GenuineIntel");
  RegistryHardwareDescription hardware = Over(fixture);

  struct Case {
    const char* key;
    const char* value;
    bool found;
    std::uint32_t number;
  };
  const Case cases[] = {
      {kCpu0, "~Mhz", true, 800},
      {kCpu1, "~Mhz", true, 0},
      {kCpu1, "Big", true, 0xFFFFFFFFu},
      {kCpu0, "~MHZ", true, 800},  // value names are not case-sensitive
      {kCpu0, "VendorIdentifier", false, 0},
      {kCpu0, "Missing", false, 0},
      {"CentralProcessor\\2", "~Mhz", false, 0},
  };
  for (const Case& c : cases) {
    std::uint32_t out = 12345;
    EXPECT_EQ(hardware.QueryNumber(c.key, c.value, out), c.found) << c.key << " " << c.value;
    if (c.found) {
      EXPECT_EQ(out, c.number) << c.value;
    }
  }
}

TEST(RegistryHardware, QueriesNeverCreateKeys) {
  RegistryFixture fixture("readonly");
  fixture.SetNumber(kCpu0, "~Mhz", 800);
  RegistryHardwareDescription hardware = Over(fixture);
  std::string text;
  std::uint32_t number = 0;
  EXPECT_FALSE(hardware.QueryText(kCpu1, "VendorIdentifier", 255, text));
  EXPECT_FALSE(hardware.QueryNumber("FloatingPointProcessor\\0", "~Mhz", number));
  EXPECT_FALSE(fixture.KeyExists(kCpu1));
  EXPECT_FALSE(fixture.KeyExists("FloatingPointProcessor"));
}

// The machine's own description, where Windows (and Wine) keep it.
TEST(RegistryHardware, DefaultRootIsTheMachineDescription) {
  RegistryHardwareDescription hardware;
  std::string vendor;
  std::uint32_t mhz = 0;
  EXPECT_TRUE(hardware.QueryText(kCpu0, "VendorIdentifier", 255, vendor));
  EXPECT_FALSE(vendor.empty());
  EXPECT_TRUE(hardware.QueryNumber(kCpu0, "~Mhz", mhz));
}

struct ProcessorCase {
  const char* name;
  std::function<void(RegistryFixture&)> setup;
  std::string cpuLine;
  int multiple;
};

void Intel800(RegistryFixture& r) {
  r.SetNumber(kCpu0, "~Mhz", 800);
  r.SetText(kCpu0, "VendorIdentifier", "GenuineIntel");
  r.SetText(kCpu0, "Identifier", "x86 Family 6 Model 8 Stepping 3");
}

class ProcessorLineTest : public ::testing::TestWithParam<ProcessorCase> {};

TEST_P(ProcessorLineTest, FromTheRegistry) {
  const ProcessorCase& c = GetParam();
  RegistryFixture fixture(std::string("cpu_") + c.name);
  c.setup(fixture);
  RegistryHardwareDescription hardware = Over(fixture);
  SystemInfo info;
  ProbeProcessor(info, hardware);
  EXPECT_EQ(info.cpuLine, c.cpuLine);
  EXPECT_EQ(info.multipleProcessors, c.multiple);
}

INSTANTIATE_TEST_SUITE_P(
    Machines, ProcessorLineTest,
    ::testing::Values(
        ProcessorCase{"one", Intel800, "Cpu Speed : \t\t800 Mhz 'GenuineIntel'", 0},
        ProcessorCase{"two",
                      [](RegistryFixture& r) {
                        Intel800(r);
                        r.SetNumber(kCpu1, "~Mhz", 800);
                      },
                      "Cpu Speed : \t\t800 Mhz 'GenuineIntel'\t Multiple processors detected", 1},
        ProcessorCase{"second_at_zero_mhz",
                      [](RegistryFixture& r) {
                        Intel800(r);
                        r.SetNumber(kCpu1, "~Mhz", 0);
                      },
                      "Cpu Speed : \t\t800 Mhz 'GenuineIntel'\t Multiple processors detected", 1},
        ProcessorCase{"second_without_speed",
                      [](RegistryFixture& r) {
                        Intel800(r);
                        r.SetText(kCpu1, "VendorIdentifier", "GenuineIntel");
                      },
                      "Cpu Speed : \t\t800 Mhz 'GenuineIntel'", 0},
        ProcessorCase{"first_at_zero_mhz",
                      [](RegistryFixture& r) {
                        r.SetNumber(kCpu0, "~Mhz", 0);
                        r.SetText(kCpu0, "VendorIdentifier", "AuthenticAMD");
                      },
                      "Cpu Speed : \t\t0 Mhz 'AuthenticAMD'", 0},
        ProcessorCase{"empty_vendor",
                      [](RegistryFixture& r) {
                        r.SetNumber(kCpu0, "~Mhz", 1200);
                        r.SetText(kCpu0, "VendorIdentifier", "");
                      },
                      "Cpu Speed : \t\t1200 Mhz ''", 0},
        ProcessorCase{"no_keys", [](RegistryFixture&) {}, "Cpu Speed : \t\t Mhz ''", 0},
        // The vendor is read through 255 bytes: 254 characters fit, 255 do not.
        ProcessorCase{"vendor_254",
                      [](RegistryFixture& r) {
                        r.SetNumber(kCpu0, "~Mhz", 800);
                        r.SetText(kCpu0, "VendorIdentifier", std::string(254, 'v'));
                      },
                      "Cpu Speed : \t\t800 Mhz '" + std::string(254, 'v') + "'", 0},
        ProcessorCase{"vendor_255",
                      [](RegistryFixture& r) {
                        r.SetNumber(kCpu0, "~Mhz", 800);
                        r.SetText(kCpu0, "VendorIdentifier", std::string(255, 'v'));
                      },
                      "Cpu Speed : \t\t800 Mhz ''", 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel::win32
