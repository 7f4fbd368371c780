#include "platform/drawn/handover/worker_call_times.h"

namespace quorvel::drawn {

WorkerCallTimes& TheWorkerCallTimes() {
  static WorkerCallTimes times;
  return times;
}

}  // namespace quorvel::drawn
