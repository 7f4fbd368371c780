// While a worker times steps on a window, it and the window's thread are
// kept on processors of their own, and both get back what they had after.
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/linux/step_processors.h"
#include "x11/x11_test_fixture.h"

namespace quorvel::x11::testing {
namespace {

using TimedStepsHold = X11Test;

pid_t ThisThread() { return static_cast<pid_t>(syscall(SYS_gettid)); }

TEST_F(TimedStepsHold, KeepsTheTwoThreadsApartAndGivesTheirProcessorsBack) {
  const std::vector<int> allowed = linux_os::AllowedProcessors();
  if (allowed.size() < 2) GTEST_SKIP() << "one processor: nothing to keep apart";
  const pid_t windowThread = ThisThread();

  RecordingHandlers h;
  std::thread worker;
  std::vector<int> windowHeld, workerHeld, windowAfter, workerAfter, windowClosedHeld;
  h.onInit = [&](platform::DialogHost& host) {
    worker = std::thread([&] {
      while (!host.IsWindowVisible()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      host.BeginTimedSteps();
      host.MoveWindow(10, 10, 200, 300, true);
      host.UpdateWindow();
      windowHeld = linux_os::AllowedProcessors(windowThread);
      workerHeld = linux_os::AllowedProcessors(0);
      host.EndTimedSteps();
      windowAfter = linux_os::AllowedProcessors(windowThread);
      workerAfter = linux_os::AllowedProcessors(0);
      // A window that ends while held gives its thread back too.
      host.BeginTimedSteps();
      windowClosedHeld = linux_os::AllowedProcessors(windowThread);
      host.EndDialog(IDOK);
    });
  };
  ASSERT_EQ(Run(IDD_LAYERED_TEST, h), IDOK);
  worker.join();

  ASSERT_EQ(windowHeld.size(), 1u);
  ASSERT_EQ(workerHeld.size(), 1u);
  EXPECT_NE(windowHeld[0], workerHeld[0]);
  EXPECT_EQ(windowAfter, allowed);
  EXPECT_EQ(workerAfter, allowed);
  EXPECT_EQ(windowClosedHeld.size(), 1u);
  EXPECT_EQ(linux_os::AllowedProcessors(windowThread), allowed);
}

}  // namespace
}  // namespace quorvel::x11::testing
