// The operating-system build number reported on Linux: the kernel release
// packed as major x 1000 + minor.
#pragma once

#include <cstdint>
#include <string>

namespace quorvel::linux_os {

// "6.1.0-18-amd64" -> 6001, "5.15" -> 5015; 0 when the release does not
// start with "<major>.<minor>" or the minor is 1000 or more.
std::uint32_t PackKernelRelease(const std::string& release);

// The kernel's release text ("6.1.0-18-amd64"): the running kernel's
// (uname) when `root` is "/" or empty, else the one a copy of another
// machine's files records in <root>/proc/sys/kernel/osrelease. Empty when
// it cannot be read.
std::string KernelRelease(const std::string& root);

// PackKernelRelease of the running kernel (uname); 0 when uname fails.
std::uint32_t RunningKernelBuildNumber();

}  // namespace quorvel::linux_os
