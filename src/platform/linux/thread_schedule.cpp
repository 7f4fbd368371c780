#include "platform/linux/thread_schedule.h"

#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "platform/linux/step_processors.h"
#include "platform/linux/sysfs_files.h"

namespace quorvel::linux_os {
namespace {

// /proc/PID/sched and /proc/PID/status are a few kilobytes.
constexpr std::uintmax_t kMaxProcFileSize = 64 * 1024;

// The first whole number in `text` at `at`, after blanks and a colon.
bool NumberAfter(const std::string& text, std::size_t at, std::int64_t& value) {
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == ':')) ++at;
  if (at >= text.size() || text[at] < '0' || text[at] > '9') return false;
  char* end = nullptr;
  const long long parsed = std::strtoll(text.c_str() + at, &end, 10);
  if (end == text.c_str() + at) return false;
  value = parsed;
  return true;
}

// The value of the line that starts with `name` followed by a blank or ':'.
bool FieldOfLine(const std::string& text, const std::string& name, std::int64_t& value) {
  std::size_t line = 0;
  while (line < text.size()) {
    if (text.compare(line, name.size(), name) == 0 && line + name.size() < text.size()) {
      const char after = text[line + name.size()];
      if (after == ' ' || after == '\t' || after == ':') {
        return NumberAfter(text, line + name.size(), value);
      }
    }
    const std::size_t next = text.find('\n', line);
    if (next == std::string::npos) break;
    line = next + 1;
  }
  return false;
}

std::string TaskFolder(const std::string& root, pid_t pid, pid_t tid) {
  std::string folder = (root.empty() || root == "/" ? std::string() : root) + "/proc/" +
                       std::to_string(pid);
  if (tid != 0) folder += "/task/" + std::to_string(tid);
  return folder;
}

}  // namespace

bool ParseSchedstat(const std::string& text, std::int64_t& runNs, std::int64_t& waitNs) {
  std::istringstream in(text);
  long long run = 0, wait = 0;
  if (!(in >> run >> wait) || run < 0 || wait < 0) return false;
  runNs = run;
  waitNs = wait;
  return true;
}

bool ParseSchedField(const std::string& text, const std::string& name, std::int64_t& value) {
  return FieldOfLine(text, name, value);
}

bool ParseStatusField(const std::string& text, const std::string& name, std::int64_t& value) {
  return FieldOfLine(text, name, value);
}

bool ParseStealTicks(const std::string& procStat, std::int64_t& ticks) {
  // "cpu  user nice system idle iowait irq softirq steal guest guest_nice"
  if (procStat.compare(0, 4, "cpu ") != 0) return false;
  std::istringstream in(procStat.substr(4, procStat.find('\n') - 4));
  long long figure = 0;
  for (int i = 0; i < 8; ++i) {
    if (!(in >> figure) || figure < 0) return false;
  }
  ticks = figure;
  return true;
}

ScheduleSample SampleThread(pid_t pid, pid_t tid, const std::string& root) {
  ScheduleSample sample;
  if (pid <= 0) return sample;
  const std::string folder = TaskFolder(root, pid, tid);
  std::string text;
  if (!ReadRegularFile(folder + "/schedstat", kMaxAttributeSize, text) ||
      !ParseSchedstat(text, sample.runNs, sample.waitNs)) {
    return sample;
  }
  sample.read = true;
  if (ReadRegularFile(folder + "/sched", kMaxProcFileSize, text)) {
    ParseSchedField(text, "se.nr_migrations", sample.migrations);
  }
  if (ReadRegularFile(folder + "/status", kMaxProcFileSize, text)) {
    ParseStatusField(text, "nonvoluntary_ctxt_switches", sample.involuntarySwitches);
  }
  if (ReadRegularFile(folder + "/stat", kMaxAttributeSize, text)) {
    sample.processor = ProcessorInStat(text);
  }
  return sample;
}

platform::ThreadSchedule ScheduleBetween(const ScheduleSample& before,
                                         const ScheduleSample& after) {
  platform::ThreadSchedule schedule;
  if (!before.read || !after.read) return schedule;
  schedule.known = true;
  schedule.processorAtStart = before.processor;
  schedule.processorAtEnd = after.processor;
  schedule.runNs = after.runNs - before.runNs;
  schedule.waitNs = after.waitNs - before.waitNs;
  schedule.migrations = after.migrations - before.migrations;
  schedule.involuntarySwitches = after.involuntarySwitches - before.involuntarySwitches;
  return schedule;
}

std::int64_t StealNs(const std::string& root) {
  std::string text;
  const std::string path = (root.empty() || root == "/" ? std::string() : root) + "/proc/stat";
  std::int64_t ticks = 0;
  // The interrupt counts make the file long on machines with many of them.
  if (!ReadRegularFile(path, 1024 * 1024, text) || !ParseStealTicks(text, ticks)) return -1;
  const long perSecond = ::sysconf(_SC_CLK_TCK);
  if (perSecond <= 0) return -1;
  return ticks * (1'000'000'000 / perSecond);
}

}  // namespace quorvel::linux_os
