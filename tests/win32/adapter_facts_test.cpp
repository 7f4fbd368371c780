// The adapter probe on the system: display device 0 for the name, DirectDraw
// 4 for the memory and driver, the driver file's version resource.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/win32/file_version_reader.h"
#include "platform/win32/win32_facts.h"
#include "platform/win32/windows_api.h"

namespace quorvel::win32 {
namespace {

std::string SystemFile(const char* name) {
  char directory[MAX_PATH] = {};
  ::GetSystemDirectoryA(directory, MAX_PATH);
  return std::string(directory) + "\\" + name;
}

std::string DisplayDeviceZero() {
  DISPLAY_DEVICEA device{};
  device.cb = sizeof device;
  if (!::EnumDisplayDevicesA(nullptr, 0, &device, 0)) return "";
  return device.DeviceString;
}

void ExpectAllZero(const FileVersionReader& reader) {
  for (int w = 0; w < FileVersionReader::kWordCount; ++w) {
    EXPECT_EQ(reader.word(static_cast<FileVersionReader::Word>(w)), 0u) << "word " << w;
  }
}

TEST(FileVersionReader, ReadsTheFixedBlockOfASystemLibrary) {
  FileVersionReader reader;
  ASSERT_TRUE(reader.Read(SystemFile("kernel32.dll")));
  EXPECT_EQ(reader.word(FileVersionReader::kSignatureWord), 0xFEEF04BDu);
  EXPECT_NE(reader.fileVersionMs(), 0u);
}

// A file without a version resource, and a file that is not there, leave
// the block all 0: the driver version then reads 0.0.0.0.
TEST(FileVersionReader, AFileWithoutAVersionLeavesTheBlockZero) {
  char directory[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, directory);
  const std::string plain = std::string(directory) + "quorvel_no_version.dll";
  std::FILE* f = std::fopen(plain.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("MZ but no resources at all", f);
  std::fclose(f);

  FileVersionReader reader;
  ASSERT_TRUE(reader.Read(SystemFile("kernel32.dll")));
  EXPECT_FALSE(reader.Read(plain));  // also clears what an earlier read found
  ExpectAllZero(reader);
  EXPECT_FALSE(reader.Read(SystemFile("quorvel_missing_driver.drv")));
  ExpectAllZero(reader);
  std::remove(plain.c_str());
}

// The adapter is named by display device 0 (so it is named even without
// DirectDraw), and a DirectDraw 4 driver always has a version text.
TEST(Win32Facts, AdapterNameIsDisplayDeviceZero) {
  Win32Facts facts;
  const std::string device = DisplayDeviceZero();
  ASSERT_FALSE(device.empty());
  EXPECT_EQ(facts.AdapterDescription(), device);
  const platform::DriverFacts driver = facts.Driver();
  EXPECT_TRUE(driver.directDrawAvailable);
  EXPECT_TRUE(driver.driverFound);
}

// Run by its own test entry with ddraw.dll disabled: the program's code
// starts (nothing imports ddraw.dll) and the probe goes on without it.
TEST(WithoutDirectDraw, TheAdapterIsStillNamed) {
  if (HMODULE ddraw = ::LoadLibraryA("ddraw.dll")) {
    ::FreeLibrary(ddraw);
    GTEST_SKIP() << "ddraw.dll is present; the entry quorvel_win32_without_ddraw runs this "
                    "with it disabled";
  }
  Win32Facts facts;
  const platform::DriverFacts driver = facts.Driver();
  EXPECT_FALSE(driver.directDrawAvailable);
  EXPECT_FALSE(driver.driverFound);
  EXPECT_EQ(driver.videoMemoryTotal, 0u);
  EXPECT_EQ(facts.AdapterDescription(), DisplayDeviceZero());
  EXPECT_FALSE(facts.AdapterDescription().empty());
}

}  // namespace
}  // namespace quorvel::win32
