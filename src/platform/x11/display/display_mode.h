// The desktop's display mode as GetDeviceCaps reports it, read from the X
// server: the size and refresh of the monitor the desktop's mode is (the
// primary RandR output, as Windows reports its primary monitor) and the
// bits per pixel of the default depth.
#pragma once

#include <vector>

#include "platform/facts.h"
#include "platform/geometry.h"
#include "platform/x11/display/randr_outputs.h"

namespace quorvel::x11 {

class XConnection;

platform::DisplayMode ReadDisplayMode(XConnection& connection);

// The mode of DesktopOutput(outputs); without one the whole screen of
// `screenWidth` x `screenHeight` with refresh 0. The depth is `bitsPerPixel`.
platform::DisplayMode ModeOfOutputs(const std::vector<RandrOutput>& outputs, int screenWidth,
                                    int screenHeight, int bitsPerPixel);

// Where a maximised window goes: the rectangle of DesktopOutput, else the
// whole screen.
Rect DesktopArea(XConnection& connection);

// Frames per second of a mode: dotClock / (hTotal x vTotal), rounded to
// whole hertz, with the lines of a double-scan mode counted twice. An
// interlaced mode's vTotal already spans both fields, so it counts whole
// frames. 0 when a total is 0.
int RefreshRate(unsigned long dotClock, unsigned hTotal, unsigned vTotal, bool doubleScan = false);

}  // namespace quorvel::x11
