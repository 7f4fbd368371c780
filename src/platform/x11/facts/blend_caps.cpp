#include "platform/x11/facts/blend_caps.h"

#include <X11/Xutil.h>
#include <X11/extensions/Xrender.h>

#include <string>

#include "platform/facts.h"
#include "platform/x11/display/x_connection.h"

namespace quorvel::x11 {

bool CompositorRunning(Display* d, int screen) {
  const std::string name = "_NET_WM_CM_S" + std::to_string(screen);
  const Atom selection = XInternAtom(d, name.c_str(), False);
  return selection != None && XGetSelectionOwner(d, selection) != None;
}

namespace {

// A depth-32 TrueColor visual of the screen whose pixels carry alpha.
bool HasArgbVisual(Display* d, int screen) {
  XVisualInfo wanted{};
  wanted.screen = screen;
  wanted.depth = 32;
  wanted.c_class = TrueColor;
  int count = 0;
  XVisualInfo* visuals =
      XGetVisualInfo(d, VisualScreenMask | VisualDepthMask | VisualClassMask, &wanted, &count);
  if (visuals == nullptr) return false;
  bool found = false;
  for (int i = 0; i < count && !found; ++i) {
    const XRenderPictFormat* format = XRenderFindVisualFormat(d, visuals[i].visual);
    found = format != nullptr && format->direct.alphaMask != 0;
  }
  XFree(visuals);
  return found;
}

}  // namespace

std::uint32_t ReadShadeBlendCaps(XConnection& c) {
  Display* d = c.display();
  int eventBase = 0, errorBase = 0;
  const bool render = XRenderQueryExtension(d, &eventBase, &errorBase) != 0;
  int major = 0, minor = 0;
  const bool gradients = render && XRenderQueryVersion(d, &major, &minor) != 0 &&
                         (major > 0 || minor >= 10);

  std::uint32_t caps = 0;
  if (gradients) caps |= platform::kBlendGradientRect;
  if (CompositorRunning(d, c.screen())) {
    caps |= platform::kBlendConstantAlpha;
    // Without RENDER no visual can be told to carry alpha.
    if (render && HasArgbVisual(d, c.screen())) caps |= platform::kBlendPerPixelAlpha;
  }
  return caps;
}

}  // namespace quorvel::x11
