#include "platform/x11/display/randr_outputs.h"

#include <X11/extensions/Xrandr.h>

#include <type_traits>

namespace quorvel::x11 {

std::vector<RandrOutput> ReadRandrOutputs(Display* d, Window root) {
  static_assert(std::is_same_v<Window, unsigned long>, "a root window is an XID");
  std::vector<RandrOutput> outputs;
  int eventBase = 0, errorBase = 0;
  if (!XRRQueryExtension(d, &eventBase, &errorBase)) return outputs;
  int major = 0, minor = 0;
  if (!XRRQueryVersion(d, &major, &minor) || major < 1 || (major == 1 && minor < 2)) {
    return outputs;
  }
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(d, root);
  if (resources == nullptr) return outputs;
  const RROutput primary = XRRGetOutputPrimary(d, root);
  for (int i = 0; i < resources->noutput; ++i) {
    XRROutputInfo* info = XRRGetOutputInfo(d, resources, resources->outputs[i]);
    if (info == nullptr) continue;
    RandrOutput output;
    output.name.assign(info->name, static_cast<std::size_t>(info->nameLen));
    output.connected = info->connection == RR_Connected;
    output.primary = resources->outputs[i] == primary;
    if (info->crtc != None) {
      XRRCrtcInfo* crtc = XRRGetCrtcInfo(d, resources, info->crtc);
      if (crtc != nullptr) {
        for (int m = 0; m < resources->nmode; ++m) {
          const XRRModeInfo& mode = resources->modes[m];
          if (mode.id != crtc->mode) continue;
          output.shown = true;
          output.x = crtc->x;
          output.y = crtc->y;
          output.width = static_cast<int>(crtc->width);
          output.height = static_cast<int>(crtc->height);
          output.dotClock = mode.dotClock;
          output.hTotal = mode.hTotal;
          output.vTotal = mode.vTotal;
          output.doubleScan = (mode.modeFlags & RR_DoubleScan) != 0;
        }
        XRRFreeCrtcInfo(crtc);
      }
    }
    XRRFreeOutputInfo(info);
    outputs.push_back(std::move(output));
  }
  XRRFreeScreenResources(resources);
  return outputs;
}

const RandrOutput* DesktopOutput(const std::vector<RandrOutput>& outputs) {
  for (const RandrOutput& o : outputs) {
    if (o.primary && o.connected && o.shown) return &o;
  }
  for (const RandrOutput& o : outputs) {
    if (o.connected && o.shown) return &o;
  }
  return nullptr;
}

}  // namespace quorvel::x11
