#include "platform/linux/kernel_release.h"

#include <sys/utsname.h>

#include <cctype>

#include "platform/linux/sysfs_files.h"

namespace quorvel::linux_os {
namespace {

// Reads the decimal digits at `pos`; false when there are none or the value
// gets absurdly large.
bool ReadNumber(const std::string& s, std::size_t& pos, std::uint32_t& out) {
  std::size_t start = pos;
  std::uint64_t value = 0;
  while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos]))) {
    value = value * 10 + static_cast<unsigned>(s[pos] - '0');
    if (value > 4000000) return false;
    ++pos;
  }
  out = static_cast<std::uint32_t>(value);
  return pos > start;
}

}  // namespace

std::uint32_t PackKernelRelease(const std::string& release) {
  std::size_t pos = 0;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  if (!ReadNumber(release, pos, major)) return 0;
  if (pos >= release.size() || release[pos] != '.') return 0;
  ++pos;
  if (!ReadNumber(release, pos, minor) || minor >= 1000) return 0;
  return major * 1000 + minor;
}

std::string KernelRelease(const std::string& root) {
  if (root.empty() || root == "/") {
    struct utsname names {};
    if (uname(&names) != 0) return std::string();
    return names.release;
  }
  std::string release;
  if (!ReadAttribute(std::filesystem::path(root) / "proc/sys/kernel/osrelease", release)) {
    return std::string();
  }
  return release;
}

std::uint32_t RunningKernelBuildNumber() { return PackKernelRelease(KernelRelease("/")); }

}  // namespace quorvel::linux_os
