// While a worker times steps on a window, it and the window's thread are
// kept on processors of their own, and both get back what they had after.
#include <gtest/gtest.h>
#include <sched.h>
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

std::vector<int> AllowedOf(pid_t tid) {
  std::vector<int> result;
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(tid, sizeof set, &set) != 0) return result;
  for (int p = 0; p < CPU_SETSIZE; ++p) {
    if (CPU_ISSET(p, &set)) result.push_back(p);
  }
  return result;
}

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
      windowHeld = AllowedOf(windowThread);
      workerHeld = AllowedOf(0);
      host.EndTimedSteps();
      windowAfter = AllowedOf(windowThread);
      workerAfter = AllowedOf(0);
      // A window that ends while held gives its thread back too.
      host.BeginTimedSteps();
      windowClosedHeld = AllowedOf(windowThread);
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
  EXPECT_EQ(AllowedOf(windowThread), allowed);
}

}  // namespace
}  // namespace quorvel::x11::testing
