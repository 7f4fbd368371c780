// What the compositor did with the commits of a run of steps, from
// wp_presentation feedback: for each commit asked about, whether it was
// shown (and when, and at which refresh period) or discarded because a later
// commit replaced it before it reached the screen. Feedback is asked for
// before each commit and collected as it arrives, while the connection's
// events are dispatched for other reasons; nothing here waits for it during
// the steps. `Take` at the end of a run waits briefly for what is still on
// its way.
#pragma once

#include <time.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/wayland/wayland_objects.h"

namespace quorvel::wayland {

class WaylandConnection;

struct PresentationReport {
  bool reported = false;  // false: the compositor offers no wp_presentation
  int commits = 0;        // commits feedback was asked for
  int presented = 0;
  int discarded = 0;
  int unanswered = 0;  // no answer by the end of Take's wait
  // Per presented commit, from just before the commit to the time the
  // compositor says its picture turned to light, both on the presentation
  // clock; empty when that clock cannot be read here.
  std::vector<std::int64_t> latencyNs;
  // The output's refresh period as the last presented feedback gave it; 0
  // when the compositor did not say (a variable or unknown refresh).
  std::int64_t refreshNs = 0;
  // The clock of the compositor's times; latencies are measured on it, so
  // one other than CLOCK_MONOTONIC is fine, but said.
  clockid_t clock = CLOCK_MONOTONIC;
  bool clockIsMonotonic = true;
  bool clockReadable = true;  // false: no latency can be measured
  // WP_PRESENTATION_FEEDBACK_KIND_* bits seen on any presented commit.
  std::uint32_t kinds = 0;
};

class PresentationRecorder {
 public:
  explicit PresentationRecorder(WaylandConnection& connection);
  ~PresentationRecorder();  // feedback still pending is dropped
  PresentationRecorder(const PresentationRecorder&) = delete;
  PresentationRecorder& operator=(const PresentationRecorder&) = delete;

  // False when the compositor offers no wp_presentation: then nothing is
  // asked for and the report says it was not reported.
  bool available() const;

  // Asks for feedback on the next commit of `surface`; call just before
  // wl_surface_commit.
  void BeforeCommit(wl_surface* surface);
  // Feedback asked for and not answered yet.
  int pending() const { return static_cast<int>(pending_.size()); }

  // What was answered since the last call, after waiting up to `waitMs` for
  // the answers still on their way; the rest count as unanswered and are
  // dropped. Starts counting anew.
  PresentationReport Take(int waitMs = 100);

 private:
  struct Pending {
    PresentationRecorder* owner;
    std::uint64_t id;
    std::int64_t committedNs;  // on the presentation clock; -1 unknown
    WaylandPtr<struct wp_presentation_feedback> feedback;
  };
  static void OnSyncOutput(void* data, struct wp_presentation_feedback* feedback,
                           wl_output* output);
  static void OnPresented(void* data, struct wp_presentation_feedback* feedback,
                          std::uint32_t secondsHigh, std::uint32_t secondsLow,
                          std::uint32_t nanoseconds, std::uint32_t refresh,
                          std::uint32_t sequenceHigh, std::uint32_t sequenceLow,
                          std::uint32_t flags);
  static void OnDiscarded(void* data, struct wp_presentation_feedback* feedback);
  PresentationReport EmptyReport() const;

  WaylandConnection& connection_;
  std::uint64_t nextId_ = 0;
  std::map<std::uint64_t, std::unique_ptr<Pending>> pending_;
  PresentationReport report_;
};

}  // namespace quorvel::wayland
