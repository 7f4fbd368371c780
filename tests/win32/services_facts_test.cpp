// Services and facts that come straight from the system.
#include <gtest/gtest.h>

#include <future>

#include "platform/resource_ids.h"
#include "platform/win32/win32_platform.h"

namespace quorvel::win32 {
namespace {

TEST(Win32Services, StringsFromTheModule) {
  Win32Services services;
  EXPECT_EQ(services.LoadString(IDS_ABOUTBOX), "&About Ostrin...");
  EXPECT_EQ(services.LoadString(4321), "");
}

TEST(Win32Services, StartThreadRunsTheBodyElsewhere) {
  Win32Services services;
  std::promise<DWORD> ran;
  auto thread = ran.get_future();
  ASSERT_TRUE(services.StartThread([&ran] { ran.set_value(::GetCurrentThreadId()); }));
  ASSERT_EQ(thread.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_NE(thread.get(), ::GetCurrentThreadId());
}

// The counter and its frequency agree with a known sleep. The tick count is
// coarse (and under Wine refreshed only now and then), so it gets a wide margin.
TEST(Win32Services, Clocks) {
  Win32Services services;
  const std::int64_t frequency = services.PerformanceFrequency();
  ASSERT_GT(frequency, 0);
  const std::int64_t counter = services.PerformanceCounter();
  const std::uint32_t tick = services.TickCount();
  services.Sleep(300);
  const double elapsedMs =
      static_cast<double>(services.PerformanceCounter() - counter) * 1000.0 / frequency;
  EXPECT_GE(elapsedMs, 290.0);
  EXPECT_LT(elapsedMs, 3000.0);
  EXPECT_GE(services.TickCount() - tick, 150u);
}

TEST(Win32Facts, DisplayAndBuild) {
  Win32Facts facts;
  const platform::DisplayMode mode = facts.Display();
  EXPECT_EQ(mode.width, ::GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(mode.height, ::GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(mode.planes, 1);
  EXPECT_GE(mode.bitsPerPixel, 16);
  EXPECT_GT(facts.OsBuildNumber(), 0u);
}

// DirectDraw answers the same each time it is asked.
TEST(Win32Facts, DriverFromDirectDrawIsStable) {
  Win32Facts facts;
  const platform::DriverFacts first = facts.Driver();
  const platform::DriverFacts second = facts.Driver();
  ASSERT_TRUE(first.directDrawAvailable);
  EXPECT_GT(first.videoMemoryTotal, 0u);
  EXPECT_EQ(second.videoMemoryTotal, first.videoMemoryTotal);
  EXPECT_EQ(second.driverFound, first.driverFound);
  EXPECT_EQ(second.driverVersionMs, first.driverVersionMs);
  EXPECT_EQ(second.driverVersionLs, first.driverVersionLs);
}

TEST(Win32Facts, ImagingEntriesAreTheSystemOnes) {
  Win32Facts facts;
  const platform::ImagingEntries entries = facts.Imaging();
  HMODULE msimg32 = ::GetModuleHandleA("msimg32.dll");
  ASSERT_NE(msimg32, nullptr);
  EXPECT_EQ(entries.transparentBlt,
            reinterpret_cast<void*>(::GetProcAddress(msimg32, "TransparentBlt")));
  EXPECT_EQ(entries.alphaBlend, reinterpret_cast<void*>(::GetProcAddress(msimg32, "AlphaBlend")));
  EXPECT_NE(entries.alphaBlend, nullptr);
}

TEST(Win32Platform, CreatedOnADesktop) {
  auto platform = CreatePlatform();
  ASSERT_NE(platform, nullptr);
  EXPECT_EQ(platform->services().LoadString(IDS_ABOUTBOX), "&About Ostrin...");
}

}  // namespace
}  // namespace quorvel::win32
