// Whether the X display is driven by this machine's graphics adapter, so
// that the adapter the kernel describes is the one the program runs on.
//
// Not so for a display on another machine (ssh -X gives "localhost:10.0")
// nor for X servers that draw into memory or a network stream (Xvfb, Xvnc,
// Xephyr, xrdp): their RandR outputs are their own ("screen", "VNC-0",
// "rdp0"), never a monitor connector.
#pragma once

#include <string>
#include <vector>

#include "platform/x11/display/randr_outputs.h"

namespace quorvel::x11 {

// The display name reaches the server on this machine: no host part before
// the colon (":0"), the "unix" host ("unix:0") or a socket path
// ("/tmp/.X11-unix/X0"). A host part of any other name ("localhost:10.0",
// "192.168.1.5:0") is a display reached over the network.
bool DisplayNameIsLocal(const std::string& displayName);

// The output's name is one a kernel driver or an X video driver gives a
// monitor connector: VGA, DVI, LVDS, eDP, DP, DisplayPort, HDMI, TV, DSI,
// DPI, Composite, S-video, Component, DIN, Virtual (the cards of virtual
// machines), USB, DFP and CRT (NVIDIA's older names), XWAYLAND (the
// monitors of the Wayland compositor this X server runs under).
bool IsMonitorConnectorName(const std::string& outputName);

// Both of the above: the name is local and a connected output has a
// monitor connector's name.
bool DisplayDrivenHere(const std::string& displayName, const std::vector<RandrOutput>& outputs);

}  // namespace quorvel::x11
