// The graphics adapter and its driver as DirectDraw describes the primary
// display, with the driver file's version from its version resource.
#pragma once

#include "platform/facts.h"

namespace quorvel::win32 {

platform::AdapterFacts ReadAdapterFacts();

}  // namespace quorvel::win32
