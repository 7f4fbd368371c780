#include "platform/x11/display_mode.h"

#include <X11/extensions/Xrandr.h>

#include "platform/x11/x_connection.h"

namespace quorvel::x11 {
namespace {

// The refresh of the mode shown by the output of the screen: the primary
// output, else the first output that shows a mode.
int CurrentRefresh(XConnection& c) {
  Display* d = c.display();
  int eventBase = 0, errorBase = 0;
  if (!XRRQueryExtension(d, &eventBase, &errorBase)) return 0;
  int major = 0, minor = 0;
  if (!XRRQueryVersion(d, &major, &minor) || major < 1 || (major == 1 && minor < 2)) return 0;
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(d, c.root());
  if (resources == nullptr) return 0;

  RRCrtc crtc = None;
  RROutput primary = XRRGetOutputPrimary(d, c.root());
  for (int pass = 0; pass < 2 && crtc == None; ++pass) {
    for (int i = 0; i < resources->noutput && crtc == None; ++i) {
      if (pass == 0 && resources->outputs[i] != primary) continue;
      XRROutputInfo* output = XRRGetOutputInfo(d, resources, resources->outputs[i]);
      if (output == nullptr) continue;
      if (output->connection == RR_Connected && output->crtc != None) crtc = output->crtc;
      XRRFreeOutputInfo(output);
    }
  }
  int refresh = 0;
  if (crtc != None) {
    XRRCrtcInfo* info = XRRGetCrtcInfo(d, resources, crtc);
    if (info != nullptr) {
      for (int m = 0; m < resources->nmode; ++m) {
        const XRRModeInfo& mode = resources->modes[m];
        if (mode.id == info->mode) refresh = RefreshRate(mode.dotClock, mode.hTotal, mode.vTotal);
      }
      XRRFreeCrtcInfo(info);
    }
  }
  XRRFreeScreenResources(resources);
  return refresh;
}

}  // namespace

int RefreshRate(unsigned long dotClock, unsigned hTotal, unsigned vTotal) {
  const unsigned long long pixels = static_cast<unsigned long long>(hTotal) * vTotal;
  if (pixels == 0) return 0;
  return static_cast<int>((dotClock + pixels / 2) / pixels);
}

platform::DisplayMode ReadDisplayMode(XConnection& c) {
  platform::DisplayMode mode;
  mode.width = c.screenWidth();
  mode.height = c.screenHeight();
  mode.planes = 1;
  mode.bitsPerPixel = c.pixelLayout().bitsPerPixel;
  mode.refresh = CurrentRefresh(c);
  return mode;
}

}  // namespace quorvel::x11
