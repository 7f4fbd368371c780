// The X server's RandR outputs: which monitors it shows, where and in
// which mode.
#pragma once

#include <string>
#include <vector>

// Xlib's display, declared here so that this header, and the rules built on
// its outputs, need no X header (whose macros, None among them, collide
// with the core's names).
struct _XDisplay;

namespace quorvel::x11 {

struct RandrOutput {
  std::string name;        // "HDMI-1", "eDP-1", "XWAYLAND0", Xvfb's "screen"
  bool connected = false;  // a monitor is attached (or the server says so)
  bool primary = false;    // the output XRRGetOutputPrimary names
  // The output shows a mode on a CRTC; the rest is that CRTC's.
  bool shown = false;
  int x = 0, y = 0;
  int width = 0, height = 0;  // as shown, rotation applied
  unsigned long dotClock = 0;
  unsigned hTotal = 0, vTotal = 0;
  bool doubleScan = false;
};

// Every output of the screen of the root window `root`, in the server's
// order; empty without RandR 1.2.
std::vector<RandrOutput> ReadRandrOutputs(_XDisplay* display, unsigned long root);

// The output whose mode is the desktop's: the primary output when it is
// connected and shown, else the first connected output that is shown;
// null when there is none.
const RandrOutput* DesktopOutput(const std::vector<RandrOutput>& outputs);

}  // namespace quorvel::x11
