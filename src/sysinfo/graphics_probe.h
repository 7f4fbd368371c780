// The graphics facts of the record: driver version, imaging entry points,
// adapter, display mode, video memory and blend capabilities.
//
// The desktop dictates two rounds: the driver and imaging facts are read
// early, the adapter, display mode and capabilities once the screen
// elements exist. The Apply* functions take the raw facts so each rule can
// be checked on its own; the Probe* functions read the facts and apply them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/facts.h"
#include "sysinfo/system_info.h"

namespace quorvel {

// The driver file's version as "a.b.c.d" from its two 32-bit halves;
// empty without DirectDraw or without a driver file.
std::string DriverVersionText(const platform::DriverFacts& driver);

// Video memory in MiB: the visible screen's bytes plus the DirectDraw total
// plus 100000, shifted down by 20 bits. Summed in 64 bits so totals above
// 4 GiB count in full.
std::uint64_t VideoMemoryMb(const platform::DisplayMode& mode, std::uint64_t directDrawTotal);

// Sets driverVersion, transparentBltEntry and alphaBlendEntry.
void ApplyDriverAndImaging(SystemInfo& info, const platform::DriverFacts& driver,
                           const platform::ImagingEntries& imaging);
// Sets adapterName and adapterLine.
void ApplyAdapter(SystemInfo& info, const std::string& description);
// Sets screenWidth, screenHeight, colourBits, modeText and modeLine.
void ApplyDisplayMode(SystemInfo& info, const platform::DisplayMode& mode);
// Sets videoMemoryMb and videoMemoryText.
void ApplyVideoMemory(SystemInfo& info, const platform::DisplayMode& mode,
                      std::uint64_t directDrawTotal);
// Sets constantAlphaAccelerated, perPixelAlphaAccelerated and
// gradientFillAccelerated from the SHADEBLENDCAPS bits.
void ApplyCapabilities(SystemInfo& info, std::uint32_t shadeBlendCaps);

// First round: the driver (DirectDraw), then the imaging entry points.
// Returns DirectDraw's video memory total, which the caller keeps for the
// second round.
std::uint64_t ProbeDriverAndImaging(SystemInfo& info, platform::Facts& facts);
// Second round, once the screen elements exist: the adapter's name.
void ProbeAdapter(SystemInfo& info, platform::Facts& facts);
// Then, with the desktop held (Facts::HoldDesktop): display mode, video
// memory (the screen's bytes and `directDrawTotal`), capabilities, and the
// two blending sentences and the advice text.
void ProbeModeAndCapabilities(SystemInfo& info, platform::Facts& facts,
                              std::uint64_t directDrawTotal);
// Last of all probing, after the processor: the adapter name for reports.
void FinishProbing(SystemInfo& info);

}  // namespace quorvel
