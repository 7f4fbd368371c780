#include "platform/x11/facts/display_origin.h"

namespace quorvel::x11 {
namespace {

// Longest first where one name begins another ("DisplayPort" before "DP",
// "DVI" covers DVI-I, DVI-D and DVI-A).
constexpr const char* kConnectorPrefixes[] = {
    "DisplayPort", "Composite", "Component", "XWAYLAND", "S-video", "SVIDEO", "Virtual",
    "HDMI",        "LVDS",      "eDP",       "VGA",      "DVI",     "DSI",    "DPI",
    "DIN",         "USB",       "DFP",       "CRT",      "DP",      "TV",
};

}  // namespace

bool DisplayNameIsLocal(const std::string& displayName) {
  if (!displayName.empty() && displayName[0] == '/') return true;
  const std::size_t colon = displayName.rfind(':');
  if (colon == std::string::npos) return false;
  const std::string host = displayName.substr(0, colon);
  return host.empty() || host == "unix";
}

bool IsMonitorConnectorName(const std::string& outputName) {
  for (const char* prefix : kConnectorPrefixes) {
    const std::string p = prefix;
    if (outputName.compare(0, p.size(), p) != 0) continue;
    // What follows the connector's type is its number, a dash or nothing
    // ("HDMI-A-1", "DP1", "eDP"); "DPMS" or "TVout2" is no connector.
    if (outputName.size() == p.size()) return true;
    const char next = outputName[p.size()];
    if (next == '-' || next == '_' || (next >= '0' && next <= '9')) return true;
  }
  return false;
}

bool DisplayDrivenHere(const std::string& displayName, const std::vector<RandrOutput>& outputs) {
  if (!DisplayNameIsLocal(displayName)) return false;
  for (const RandrOutput& output : outputs) {
    if (output.connected && IsMonitorConnectorName(output.name)) return true;
  }
  return false;
}

}  // namespace quorvel::x11
