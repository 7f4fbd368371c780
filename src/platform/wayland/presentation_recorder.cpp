#include "platform/wayland/presentation_recorder.h"

#include <wayland-client.h>

#include "platform/wayland/clock_reading.h"
#include "platform/wayland/wayland_connection.h"
#include "presentation-time-client-protocol.h"

namespace quorvel::wayland {

PresentationRecorder::PresentationRecorder(WaylandConnection& connection)
    : connection_(connection), report_(EmptyReport()) {}

PresentationRecorder::~PresentationRecorder() = default;

bool PresentationRecorder::available() const { return connection_.presentation() != nullptr; }

PresentationReport PresentationRecorder::EmptyReport() const {
  PresentationReport report;
  report.reported = available();
  report.clock = connection_.presentationClock();
  report.clockIsMonotonic = report.clock == CLOCK_MONOTONIC;
  report.clockReadable = ClockNs(report.clock) >= 0;
  return report;
}

void PresentationRecorder::BeforeCommit(wl_surface* surface) {
  if (!available() || surface == nullptr) return;
  static const wp_presentation_feedback_listener listener = {
      &PresentationRecorder::OnSyncOutput, &PresentationRecorder::OnPresented,
      &PresentationRecorder::OnDiscarded};
  auto pending = std::make_unique<Pending>();
  pending->owner = this;
  pending->id = nextId_++;
  pending->feedback.reset(wp_presentation_feedback(connection_.presentation(), surface));
  if (!pending->feedback) return;
  wp_presentation_feedback_add_listener(pending->feedback.get(), &listener, pending.get());
  pending->committedNs = ClockNs(report_.clock);
  ++report_.commits;
  pending_.emplace(pending->id, std::move(pending));
}

void PresentationRecorder::OnSyncOutput(void* /*data*/,
                                        struct wp_presentation_feedback* /*feedback*/,
                                        wl_output* /*output*/) {}

void PresentationRecorder::OnPresented(void* data, struct wp_presentation_feedback* /*feedback*/,
                                       std::uint32_t secondsHigh, std::uint32_t secondsLow,
                                       std::uint32_t nanoseconds, std::uint32_t refresh,
                                       std::uint32_t /*sequenceHigh*/,
                                       std::uint32_t /*sequenceLow*/, std::uint32_t flags) {
  auto& pending = *static_cast<Pending*>(data);
  PresentationRecorder& self = *pending.owner;
  PresentationReport& report = self.report_;
  ++report.presented;
  report.kinds |= flags;
  report.refreshNs = refresh;
  const std::int64_t seconds =
      static_cast<std::int64_t>((std::uint64_t{secondsHigh} << 32) | secondsLow);
  const std::int64_t shownNs = seconds * 1000000000 + nanoseconds;
  if (pending.committedNs >= 0) report.latencyNs.push_back(shownNs - pending.committedNs);
  const std::uint64_t id = pending.id;
  self.pending_.erase(id);  // destroys the feedback object and `pending`
}

void PresentationRecorder::OnDiscarded(void* data, struct wp_presentation_feedback* /*feedback*/) {
  auto& pending = *static_cast<Pending*>(data);
  PresentationRecorder& self = *pending.owner;
  ++self.report_.discarded;
  const std::uint64_t id = pending.id;
  self.pending_.erase(id);
}

PresentationReport PresentationRecorder::Take(int waitMs) {
  if (!pending_.empty()) {
    connection_.DispatchUntil([&] { return pending_.empty(); }, waitMs);
  }
  PresentationReport report = std::move(report_);
  report.unanswered = static_cast<int>(pending_.size());
  pending_.clear();
  report_ = EmptyReport();
  return report;
}

}  // namespace quorvel::wayland
