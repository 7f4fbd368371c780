// The probes of the record taken together, in the order the main dialog
// runs them, for the dialog and for callers without a window (--facts).
#pragma once

#include "platform/facts.h"
#include "sysinfo/system_info.h"

namespace quorvel {

// The second round, once the screen elements exist: adapter, display mode,
// video memory and capabilities with the sentences and advice, then the
// processor, then the adapter's name for reports.
void ProbeAfterScreenElements(SystemInfo& info, platform::Facts& facts);

// Every fact of the record: the operating system, the driver and imaging
// entry points, then ProbeAfterScreenElements.
void ProbeSystem(SystemInfo& info, platform::Facts& facts);

}  // namespace quorvel
