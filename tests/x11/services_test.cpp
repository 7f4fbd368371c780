// The desktop services and facts on the display.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include "support/temp_folder.h"
#include "x11/x11_test_fixture.h"

namespace quorvel::x11::testing {
namespace {

using ServicesTest = X11Test;

TEST_F(ServicesTest, ClocksCountMillisecondsAndNanosecondsFromTheSameSource) {
  platform::Services& s = platform().services();
  EXPECT_EQ(s.PerformanceFrequency(), 1000000000);
  const std::uint32_t tick0 = s.TickCount();
  const std::int64_t counter0 = s.PerformanceCounter();
  s.Sleep(30);
  const std::uint32_t ticks = s.TickCount() - tick0;  // wraps like GetTickCount
  const std::int64_t elapsedMs = (s.PerformanceCounter() - counter0) / 1000000;
  EXPECT_GE(ticks, 29u);
  EXPECT_LT(ticks, 500u);
  EXPECT_GE(elapsedMs, 30);
  EXPECT_LE(std::abs(static_cast<std::int64_t>(ticks) - elapsedMs), 2);
}

TEST_F(ServicesTest, StringsThreadsAndTheCursor) {
  platform::Services& s = platform().services();
  EXPECT_EQ(s.LoadString(IDS_ABOUTBOX), "&About Ostrin...");
  EXPECT_EQ(s.LoadString(4242), "");

  std::promise<std::thread::id> ran;
  ASSERT_TRUE(s.StartThread([&ran] { ran.set_value(std::this_thread::get_id()); }));
  auto result = ran.get_future();
  ASSERT_EQ(result.wait_for(std::chrono::seconds(2)), std::future_status::ready);
  EXPECT_NE(result.get(), std::this_thread::get_id());

  s.SetCursorPos(123, 456);
  Window root = None, child = None;
  int x = 0, y = 0, wx = 0, wy = 0;
  unsigned mask = 0;
  XQueryPointer(driver_.display(), DefaultRootWindow(driver_.display()), &root, &child, &x, &y,
                &wx, &wy, &mask);
  EXPECT_EQ(x, 123);
  EXPECT_EQ(y, 456);
}

TEST_F(ServicesTest, MessageBoxIsTitledAndEndsWithEnter) {
  const std::string caption = "Quorvel message box test";
  std::thread user([&caption] {
    XDriver driver;
    for (int i = 0; i < 300; ++i) {
      const Window w = driver.FindWindowNamed(caption);
      if (w != None && driver.Viewable(w)) {
        driver.SendKey(w, XK_Return);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  });
  const auto start = std::chrono::steady_clock::now();
  platform().services().MessageBox(nullptr, "Results saved.\nA second line that is long enough "
                                   "to be wrapped by the box when it is drawn.",
                                   caption, platform::MessageIcon::Information);
  user.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(driver_.FindWindowNamed(caption), None);  // the window is gone
}

TEST_F(ServicesTest, OpenWebPagePassesTheAddressAsOneArgumentToXdgOpen) {
  // A stand-in xdg-open that writes down its arguments.
  const test_support::TempFolder folder;
  const std::string& dir = folder.path();
  const std::string out = dir + "/arguments";
  {
    std::ofstream script(dir + "/xdg-open");
    script << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > \"" << out << ".tmp\"\nmv \"" << out
           << ".tmp\" \"" << out << "\"\n";
  }
  std::filesystem::permissions(dir + "/xdg-open", std::filesystem::perms::owner_all);
  const std::string oldPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
  setenv("PATH", (dir + ":" + oldPath).c_str(), 1);

  const std::string address = "https://example.com/a b;touch " + dir + "/injected";
  platform().services().OpenWebPage(nullptr, address, platform::Show::Normal);
  setenv("PATH", oldPath.c_str(), 1);

  std::string text;
  for (int i = 0; i < 200 && text.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(out);
    std::stringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
  }
  EXPECT_EQ(text, "1\n" + address + "\n");
  EXPECT_FALSE(std::filesystem::exists(dir + "/injected"));
}

TEST_F(ServicesTest, CreatePlatformSaysWhyWithoutADisplay) {
  const char* old = std::getenv("DISPLAY");
  const std::string saved = old != nullptr ? old : "";
  setenv("DISPLAY", ":973", 1);
  ::testing::internal::CaptureStderr();
  std::unique_ptr<platform::Platform> none = CreatePlatform();
  const std::string said = ::testing::internal::GetCapturedStderr();
  setenv("DISPLAY", saved.c_str(), 1);
  EXPECT_EQ(none, nullptr);
  EXPECT_NE(said.find(":973"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

TEST_F(ServicesTest, DisplayModeOfTheScreen) {
  const platform::DisplayMode mode = platform().facts().Display();
  const Rect screen = Screen();
  EXPECT_EQ(mode.width, screen.right);
  EXPECT_EQ(mode.height, screen.bottom);
  EXPECT_EQ(mode.planes, 1);
  if (DefaultDepth(driver_.display(), DefaultScreen(driver_.display())) == 24) {
    EXPECT_EQ(mode.bitsPerPixel, 32);
  }
  EXPECT_GE(mode.refresh, 0);
}

}  // namespace
}  // namespace quorvel::x11::testing
