#include <gtest/gtest.h>

#include "platform/linux/kernel_release.h"

namespace quorvel::linux_os {
namespace {

TEST(KernelRelease, PacksMajorAndMinor) {
  const struct {
    const char* release;
    std::uint32_t packed;
  } cases[] = {
      {"6.1.0-18-amd64", 6001},
      {"5.15.0-91-generic", 5015},
      {"4.19.325", 4019},
      {"6.8", 6008},
      {"3.10.0-1160.el7.x86_64", 3010},
      {"10.999.1", 10999},
      {"", 0},
      {"linux", 0},
      {"6", 0},
      {"6.", 0},
      {"6.x.1", 0},
      {".1.0", 0},
      {"6.1000.0", 0},
      {"99999999999.1", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PackKernelRelease(c.release), c.packed) << '"' << c.release << '"';
  }
}

TEST(KernelRelease, TheRunningKernelHasABuildNumber) {
  EXPECT_GT(RunningKernelBuildNumber(), 2000u);
}

}  // namespace
}  // namespace quorvel::linux_os
