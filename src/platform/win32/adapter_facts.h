// The graphics adapter and its driver: DirectDraw 4 for the video memory and
// the driver's file name, that file's version resource for its version, and
// the desktop's display device 0 for the adapter's name.
#pragma once

#include "platform/facts.h"

namespace quorvel::win32 {

// The DirectDraw part: directDrawAvailable, videoMemoryTotal, driverFound
// and the driver version. ddraw.dll is looked up at run time, so a system
// without it only misses these facts.
platform::AdapterFacts ReadDirectDrawFacts();

// The description of display device 0, into adapterFound and
// adapterDescription.
void ReadDisplayDevice(platform::AdapterFacts& facts);

// Loads "D3DIM.DLL" once and keeps it loaded; a failure is ignored.
void LoadDirect3DImmediateMode();

}  // namespace quorvel::win32
