// The graphics adapter and its driver: DirectDraw 4 for the video memory and
// the driver's file name, that file's version resource for its version, and
// the desktop's display device 0 for the adapter's name.
#pragma once

#include <string>

#include "platform/facts.h"
#include "platform/win32/probe_calls.h"

namespace quorvel::win32 {

// The DirectDraw part: directDrawAvailable, videoMemoryTotal, driverFound
// and the driver version. ddraw.dll is looked up at run time, so a system
// without it only misses these facts. The interfaces are let go in the
// order they were taken up in reverse, with the version reader in between:
// the DirectDraw 4 interface, the reader, then the DirectDraw object.
platform::DriverFacts ReadDirectDrawFacts(const ProbeCalls& calls);

// The description of display device 0; empty when there is none.
std::string ReadDisplayDevice(const ProbeCalls& calls);

// Loads "D3DIM.DLL" once and keeps it loaded; a failure is ignored.
void LoadDirect3DImmediateMode();

}  // namespace quorvel::win32
