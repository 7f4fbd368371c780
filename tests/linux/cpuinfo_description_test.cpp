// The processor keys answered from cpuinfo fixtures, as the program's
// processor probe asks for them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/linux/cpuinfo_description.h"
#include "support/temp_folder.h"

namespace quorvel::linux_os {
namespace {

std::string FixtureRoot(const char* name) {
  return std::string(QUORVEL_TEST_FIXTURES) + "/cpuinfo/" + name;
}

struct CpuCase {
  const char* fixture;
  std::optional<std::uint32_t> mhz0;
  std::optional<std::uint32_t> mhz1;
  std::optional<std::string> vendor0;
  std::optional<std::string> identifier0;
};

class CpuinfoTable : public ::testing::TestWithParam<CpuCase> {};

TEST_P(CpuinfoTable, AnswersLikeTheRegistry) {
  const CpuCase& c = GetParam();
  CpuinfoDescription hardware(FixtureRoot(c.fixture));

  auto number = [&](const char* key) -> std::optional<std::uint32_t> {
    std::uint32_t value = 12345;
    if (!hardware.QueryNumber(key, "~Mhz", value)) return std::nullopt;
    return value;
  };
  auto text = [&](const char* value) -> std::optional<std::string> {
    std::string out = "untouched";
    if (!hardware.QueryText("CentralProcessor\\0", value, 255, out)) return std::nullopt;
    return out;
  };
  EXPECT_EQ(number("CentralProcessor\\0"), c.mhz0);
  EXPECT_EQ(number("CentralProcessor\\1"), c.mhz1);
  EXPECT_EQ(text("VendorIdentifier"), c.vendor0);
  EXPECT_EQ(text("Identifier"), c.identifier0);
  // Only the first two processors are keys, and only these values exist.
  std::uint32_t n = 0;
  std::string s;
  EXPECT_FALSE(hardware.QueryNumber("CentralProcessor\\2", "~Mhz", n));
  EXPECT_FALSE(hardware.QueryNumber("CentralProcessor\\0", "FeatureSet", n));
  EXPECT_FALSE(hardware.QueryText("FloatingPointProcessor\\0", "Identifier", 255, s));
  EXPECT_FALSE(hardware.QueryText("CentralProcessor\\0", "~Mhz", 255, s));
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, CpuinfoTable,
    ::testing::Values(
        CpuCase{"intel_two", 3191u, 800u, std::string("GenuineIntel"),
                std::string("x86 Family 6 Model 158 Stepping 10")},
        CpuCase{"amd", 2200u, 4850u, std::string("AuthenticAMD"),
                std::string("x86 Family 25 Model 33 Stepping 0")},
        CpuCase{"single", 2793u, std::nullopt, std::string("GenuineIntel"),
                std::string("x86 Family 15 Model 2 Stepping 9")},
        // An ARM machine: no speed anywhere, so the first processor fails
        // and a second one still counts with 0; the maker and the core
        // come from the implementer and part codes.
        CpuCase{"no_mhz", std::nullopt, 0u, std::string("ARM"), std::string("Cortex-A72 r0p3")},
        CpuCase{"empty", std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        CpuCase{"junk", std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        CpuCase{"no_such_directory", std::nullopt, std::nullopt, std::nullopt, std::nullopt}),
    [](const ::testing::TestParamInfo<CpuCase>& info) { return std::string(info.param.fixture); });

TEST(CpuinfoDescription, TextMustFitTheBufferWithItsTerminator) {
  CpuinfoDescription hardware(FixtureRoot("intel_two"));
  const std::string vendor = "GenuineIntel";  // 12 characters
  std::string out = "untouched";
  EXPECT_FALSE(hardware.QueryText("CentralProcessor\\0", "VendorIdentifier", vendor.size(), out));
  EXPECT_EQ(out, "untouched");
  EXPECT_FALSE(hardware.QueryText("CentralProcessor\\0", "VendorIdentifier", 0, out));
  EXPECT_TRUE(hardware.QueryText("CentralProcessor\\0", "VendorIdentifier", vendor.size() + 1, out));
  EXPECT_EQ(out, vendor);
}

// A root directory holding proc/cpuinfo with `text`, removed afterwards.
struct TemporaryRoot {
  explicit TemporaryRoot(const std::string& text) : path(folder.path()) {
    std::filesystem::create_directory(folder / "proc");
    std::ofstream(folder / "proc/cpuinfo") << text;
  }
  const test_support::TempFolder folder;
  const std::string path;
};

TEST(CpuinfoDescription, IncompleteEntriesFailOnlyTheValuesTheyLack) {
  TemporaryRoot root(
      "processor : 0\nvendor_id : GenuineIntel\ncpu family : 6\nmodel : 58\n"
      "cpu MHz : 1600.0\n\nprocessor : 1\ncpu MHz : fast\n");
  CpuinfoDescription hardware(root.path);
  std::string text;
  std::uint32_t mhz = 0;
  EXPECT_FALSE(hardware.QueryText("CentralProcessor\\0", "Identifier", 255, text));  // no stepping
  EXPECT_TRUE(hardware.QueryText("CentralProcessor\\0", "VendorIdentifier", 255, text));
  EXPECT_TRUE(hardware.QueryNumber("CentralProcessor\\0", "~Mhz", mhz));
  EXPECT_EQ(mhz, 1600u);
  EXPECT_FALSE(hardware.QueryNumber("CentralProcessor\\1", "~Mhz", mhz));  // not a number
}

TEST(CpuinfoDescription, AValueHoldingAControlCharacterFailsLikeAMissingOne) {
  TemporaryRoot root(
      "processor : 0\nvendor_id : Genuine\rIntel\ncpu family : 6\nmodel : 5\x1b" "8\n"
      "stepping : 9\n\nprocessor : 1\nvendor_id : GenuineIntel \r\n");
  CpuinfoDescription hardware(root.path);
  std::string text;
  EXPECT_FALSE(hardware.QueryText("CentralProcessor\\0", "VendorIdentifier", 255, text));
  EXPECT_FALSE(hardware.QueryText("CentralProcessor\\0", "Identifier", 255, text));
  EXPECT_TRUE(hardware.QueryText("CentralProcessor\\1", "VendorIdentifier", 255, text));
  EXPECT_EQ(text, "GenuineIntel");  // the line's own blanks and CR are cut
}

TEST(CpuinfoDescription, ArmCodesOutsideTheTablesFailLikeMissingValues) {
  TemporaryRoot root(
      "processor : 0\nCPU implementer : 0x41\nCPU part : 0xfff\n\n"
      "processor : 1\nCPU implementer : 0x99\nCPU part : 0xd08\n");
  CpuinfoDescription hardware(root.path);
  std::string text;
  EXPECT_TRUE(hardware.QueryText("CentralProcessor\\0", "VendorIdentifier", 255, text));
  EXPECT_EQ(text, "ARM");
  EXPECT_FALSE(hardware.QueryText("CentralProcessor\\0", "Identifier", 255, text));  // part
  EXPECT_FALSE(hardware.QueryText("CentralProcessor\\1", "VendorIdentifier", 255, text));
  EXPECT_FALSE(hardware.QueryText("CentralProcessor\\1", "Identifier", 255, text));
}

TEST(CpuinfoDescription, ACpufreqFileWithoutASpeedFallsToTheNextSource) {
  TemporaryRoot root("processor : 0\ncpu MHz : 799.9\n\nprocessor : 1\ncpu MHz : 800.0\n");
  const std::string cpufreq = root.path + "/sys/devices/system/cpu/cpu0/cpufreq";
  std::filesystem::create_directories(cpufreq);
  std::ofstream(cpufreq + "/base_frequency") << "0\n";
  std::ofstream(cpufreq + "/amd_pstate_nominal_freq") << "garbage\n";
  std::ofstream(cpufreq + "/scaling_driver") << "acpi-cpufreq\n";
  std::ofstream(cpufreq + "/cpuinfo_max_freq") << "2401999\n";
  CpuinfoDescription hardware(root.path);
  std::uint32_t mhz = 0;
  ASSERT_TRUE(hardware.QueryNumber("CentralProcessor\\0", "~Mhz", mhz));
  EXPECT_EQ(mhz, 2401u);  // whole MHz, not rounded
  // Processor 1 has no cpufreq folder: its "cpu MHz".
  ASSERT_TRUE(hardware.QueryNumber("CentralProcessor\\1", "~Mhz", mhz));
  EXPECT_EQ(mhz, 800u);
}

}  // namespace
}  // namespace quorvel::linux_os
