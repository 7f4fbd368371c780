#include "platform/x11/worker_call_times.h"

#include <ctime>

namespace quorvel::x11 {

WorkerCallTimes& TheWorkerCallTimes() {
  static WorkerCallTimes times;
  return times;
}

std::int64_t MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

}  // namespace quorvel::x11
