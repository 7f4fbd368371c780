#include "platform/wayland/clock_reading.h"

namespace quorvel::wayland {

const char* ClockName(clockid_t clock) {
  switch (clock) {
    case CLOCK_REALTIME: return "CLOCK_REALTIME";
    case CLOCK_MONOTONIC: return "CLOCK_MONOTONIC";
    case CLOCK_MONOTONIC_RAW: return "CLOCK_MONOTONIC_RAW";
    case CLOCK_BOOTTIME: return "CLOCK_BOOTTIME";
    case CLOCK_REALTIME_COARSE: return "CLOCK_REALTIME_COARSE";
    case CLOCK_MONOTONIC_COARSE: return "CLOCK_MONOTONIC_COARSE";
    case CLOCK_TAI: return "CLOCK_TAI";
    default: return "an unknown clock";
  }
}

}  // namespace quorvel::wayland
