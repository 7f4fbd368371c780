#include "platform/x11/windows/busy_wait.h"

#include <sched.h>

#include <ctime>

namespace quorvel::x11 {

std::int64_t MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void YieldProcessor() { sched_yield(); }

bool SpinsHelp() {
  static const bool helps = [] {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0) return false;
    return CPU_COUNT(&set) > 1;
  }();
  return helps;
}

}  // namespace quorvel::x11
