// The desktop's display mode as GetDeviceCaps reports it, read from the X
// server: screen size, bits per pixel of the default depth, and the refresh
// rate of the current XRandR mode.
#pragma once

#include "platform/facts.h"

namespace quorvel::x11 {

class XConnection;

platform::DisplayMode ReadDisplayMode(XConnection& connection);

// dotClock / (hTotal x vTotal), rounded to whole hertz; 0 when a total is 0.
int RefreshRate(unsigned long dotClock, unsigned hTotal, unsigned vTotal);

}  // namespace quorvel::x11
