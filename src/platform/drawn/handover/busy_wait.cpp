#include "platform/drawn/handover/busy_wait.h"

#include <sched.h>

#include <ctime>

#include "platform/linux/step_processors.h"

namespace quorvel::drawn {

std::int64_t MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void YieldProcessor() { sched_yield(); }

bool SpinsHelp() {
  // Taken at the first hand-over, which always comes before the step's
  // threads are kept on one processor each (BeginTimedSteps hands over
  // before it pins).
  static const bool helps = linux_os::AllowedProcessors().size() > 1;
  return helps;
}

}  // namespace quorvel::drawn
