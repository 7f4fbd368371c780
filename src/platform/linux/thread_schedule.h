// What the kernel's scheduler says of a thread and of the machine, read from
// /proc: to tell a timed run the machine disturbed from one it did not.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

#include "platform/dialog.h"

namespace quorvel::linux_os {

// One reading of a thread's counters.
struct ScheduleSample {
  bool read = false;
  int processor = -1;
  std::int64_t runNs = 0;   // schedstat: time on a processor
  std::int64_t waitNs = 0;  // schedstat: time ready on a run queue
  std::int64_t migrations = 0;           // sched: se.nr_migrations
  std::int64_t involuntarySwitches = 0;  // status: nonvoluntary_ctxt_switches
};

// Thread `tid` of process `pid` (`tid` 0: the process's main thread) under
// `root` ("/" for this machine). Unread, with `read` false, when its
// schedstat cannot be read (a kernel without schedule statistics, a
// process gone or out of sight); a field whose file is missing stays 0.
ScheduleSample SampleThread(pid_t pid, pid_t tid, const std::string& root = "/");

// The two readings' difference over the steps; unknown unless both read.
platform::ThreadSchedule ScheduleBetween(const ScheduleSample& before, const ScheduleSample& after);

// The machine's steal time so far, in ns, from /proc/stat's "cpu" line (the
// eighth figure, in clock ticks); -1 when it cannot be read.
std::int64_t StealNs(const std::string& root = "/");

// The parsers of the readers above, on the files' text.
bool ParseSchedstat(const std::string& text, std::int64_t& runNs, std::int64_t& waitNs);
bool ParseSchedField(const std::string& text, const std::string& name, std::int64_t& value);
bool ParseStatusField(const std::string& text, const std::string& name, std::int64_t& value);
bool ParseStealTicks(const std::string& procStat, std::int64_t& ticks);

}  // namespace quorvel::linux_os
