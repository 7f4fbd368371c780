// Starting a program detached, as the browser is started: the launcher
// reaps its own child, so none is left behind for the caller to wait for.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cerrno>

#include "platform/linux/process_launcher.h"

namespace quorvel::linux_os {
namespace {

TEST(ProcessLauncher, LeavesNoChildBehind) {
  ASSERT_TRUE(LaunchDetached({"true"}));
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

}  // namespace
}  // namespace quorvel::linux_os
