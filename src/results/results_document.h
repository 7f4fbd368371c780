// The machine-readable results of `--run`: the facts of the machine, the
// desktop, every run's per-test figures and a summary over the runs, as
// one JSON document (UTF-8). The README describes its keys.
#pragma once

#include <string>
#include <vector>

#include "bench/repeat_until_precise.h"
#include "bench/run_record.h"
#include "platform/facts.h"
#include "sysinfo/system_info.h"
#include "text/json_writer.h"

namespace quorvel {

// The `facts` object: the detected facts as the screens show them.
void WriteFacts(text::JsonWriter& json, const SystemInfo& info);

// `stopReason` is why the runs ended (summary.stopReason): a fixed count
// unless --repeat auto ended them.
std::string ResultsDocument(const SystemInfo& info, const platform::DesktopDescription& desktop,
                            const std::vector<SequenceRecord>& runs,
                            StopReason stopReason = StopReason::FixedCount);

}  // namespace quorvel
