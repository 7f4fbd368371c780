// The probes of the record taken together, in the order the main dialog
// runs them, for the dialog and for callers without a window (--facts).
#pragma once

#include <cstdint>

#include "platform/facts.h"
#include "sysinfo/system_info.h"

namespace quorvel {

// The second round, once the screen elements exist: the adapter's name;
// then, on the held desktop, display mode, video memory (with the first
// round's `directDrawTotal`) and capabilities with the sentences and advice,
// and the processor; with the desktop let go, the adapter's name for
// reports.
void ProbeAfterScreenElements(SystemInfo& info, platform::Facts& facts,
                              std::uint64_t directDrawTotal);

// Every fact of the record: the operating system, the driver and imaging
// entry points, then ProbeAfterScreenElements.
void ProbeSystem(SystemInfo& info, platform::Facts& facts);

}  // namespace quorvel
