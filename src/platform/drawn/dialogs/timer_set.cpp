#include "platform/drawn/dialogs/timer_set.h"

namespace quorvel::drawn {

namespace {
constexpr unsigned kMinimumPeriodMs = 10;
}

void TimerSet::Set(int id, unsigned periodMs, Clock::time_point now) {
  if (periodMs < kMinimumPeriodMs) periodMs = kMinimumPeriodMs;
  const Clock::duration period = std::chrono::milliseconds(periodMs);
  timers_[id] = Timer{period, now + period};
}

void TimerSet::Kill(int id) { timers_.erase(id); }

std::optional<Clock::time_point> TimerSet::NextDue() const {
  std::optional<Clock::time_point> next;
  for (const auto& entry : timers_) {
    if (!next || entry.second.due < *next) next = entry.second.due;
  }
  return next;
}

std::vector<int> TimerSet::TakeDue(Clock::time_point now) {
  std::vector<int> due;
  for (auto& entry : timers_) {
    if (entry.second.due <= now) {
      due.push_back(entry.first);
      entry.second.due = now + entry.second.period;
    }
  }
  return due;
}

}  // namespace quorvel::drawn
