#include "platform/x11/x11_facts.h"

#include "platform/x11/display_mode.h"
#include "platform/x11/kernel_release.h"

namespace quorvel::x11 {

X11Facts::X11Facts(XConnection& connection, const std::string& root)
    : connection_(connection), hardware_(root) {}

std::uint32_t X11Facts::OsBuildNumber() { return RunningKernelBuildNumber(); }

platform::DisplayMode X11Facts::Display() { return ReadDisplayMode(connection_); }

}  // namespace quorvel::x11
