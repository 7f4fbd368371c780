#include "platform/x11/windows/worker_call_times.h"

namespace quorvel::x11 {

WorkerCallTimes& TheWorkerCallTimes() {
  static WorkerCallTimes times;
  return times;
}

}  // namespace quorvel::x11
