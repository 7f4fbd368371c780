// The repeating timers of one dialog (SetTimer / KillTimer).
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <vector>

namespace quorvel::drawn {

// The clock of timers and of the loops that run them.
using Clock = std::chrono::steady_clock;

class TimerSet {
 public:
  // Starts timer `id`, or restarts it with the new period; the first tick
  // comes one period from `now`. Periods under 10 ms are raised to 10 ms,
  // as Windows does.
  void Set(int id, unsigned periodMs, Clock::time_point now);
  void Kill(int id);
  void Clear() { timers_.clear(); }
  bool Has(int id) const { return timers_.count(id) != 0; }

  std::optional<Clock::time_point> NextDue() const;
  // The timers due at `now`, each rescheduled one period after `now`: a late
  // tick is not made up for, as with WM_TIMER.
  std::vector<int> TakeDue(Clock::time_point now);

 private:
  struct Timer {
    Clock::duration period;
    Clock::time_point due;
  };
  std::map<int, Timer> timers_;
};

}  // namespace quorvel::drawn
