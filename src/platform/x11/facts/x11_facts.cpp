#include "platform/x11/facts/x11_facts.h"

#include "platform/linux/drm_adapter.h"
#include "platform/linux/kernel_release.h"
#include "platform/x11/display/display_mode.h"
#include "platform/x11/display/x_connection.h"
#include "platform/x11/facts/blend_caps.h"
#include "platform/x11/facts/desktop_description.h"
#include "platform/x11/facts/display_origin.h"

namespace quorvel::x11 {
namespace {

// "The X.Org Foundation 12101011"; empty when the server names no vendor.
std::string XServerDescription(XConnection& c) {
  const char* vendor = ServerVendor(c.display());
  if (vendor == nullptr || *vendor == '\0') return std::string();
  return std::string(vendor) + " " + std::to_string(VendorRelease(c.display()));
}

}  // namespace

X11Facts::X11Facts(XConnection& connection, const std::string& root)
    : connection_(connection), root_(root), hardware_(root) {}

std::uint32_t X11Facts::OsBuildNumber() {
  return linux_os::PackKernelRelease(linux_os::KernelRelease(root_));
}

platform::DisplayMode X11Facts::Display() { return ReadDisplayMode(connection_); }

platform::AdapterFacts X11Facts::Adapter() {
  if (adapter_) return *adapter_;
  // The files of another machine describe that machine's cards, whatever
  // display shows them; this machine's cards only a display they drive.
  const bool thisMachine = root_.empty() || root_ == "/";
  ::Display* d = connection_.display();
  linux_os::DrmAdapter drm;
  if (!thisMachine ||
      DisplayDrivenHere(DisplayString(d), ReadRandrOutputs(d, connection_.root()))) {
    drm = linux_os::ReadDrmAdapter(root_, linux_os::KernelRelease(root_));
  }
  platform::AdapterFacts facts;
  // The driver stands where DirectDraw and its driver file stand on Windows:
  // without one the version text stays empty.
  facts.directDrawAvailable = drm.driverFound;
  facts.driverFound = drm.driverFound;
  facts.driverVersionMs = drm.versionMs;
  facts.driverVersionLs = drm.versionLs;
  facts.videoMemoryTotal = drm.videoMemoryTotal;
  facts.adapterDescription =
      drm.description.empty() ? XServerDescription(connection_) : drm.description;
  facts.adapterFound = !facts.adapterDescription.empty();
  adapter_ = facts;
  return facts;
}

std::string X11Facts::AdapterDescription() {
  const platform::AdapterFacts adapter = Adapter();
  return adapter.adapterFound ? adapter.adapterDescription : std::string();
}

std::uint32_t X11Facts::ShadeBlendCaps() { return ReadShadeBlendCaps(connection_); }

platform::DesktopDescription X11Facts::Desktop() { return DescribeDesktop(connection_); }

}  // namespace quorvel::x11
