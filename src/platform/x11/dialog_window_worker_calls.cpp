// The calls a worker thread makes on a dialog: each is posted to the
// user-interface loop and waited for; once the dialog has ended they return
// at once.
#include "platform/x11/dialog_window.h"

#include <atomic>
#include <memory>

#include "platform/x11/call_answer.h"
#include "platform/x11/colour_key_shape.h"
#include "platform/x11/window_properties.h"
#include "platform/x11/worker_call_times.h"
#include "platform/x11/x_connection.h"

namespace quorvel::x11 {

namespace {
// How long the worker watches for the answer before it sleeps: longer than
// a step's calls take on an ordinary desktop.
constexpr std::int64_t kAnswerSpinNs = 2'000'000;

// How long an update waits for the compositor's frame-drawn answer: many
// frames of even a slow desktop. A compositor that does not answer in time
// is not waited for again by this window.
constexpr int kFrameDrawnTimeoutMs = 200;

// One call in flight: its answer and when the user-interface thread was
// done with it.
struct Exchange {
  CallAnswer answer;
  std::atomic<std::int64_t> doneAt{0};
};
}  // namespace

bool DialogWindow::OnUiThread(const std::function<void()>& call) {
  EventLoop& loop = environment_.loop();
  if (loop.OnUiThread()) {
    if (!live()) return false;
    call();
    return true;
  }
  WorkerCallTimes& times = TheWorkerCallTimes();
  const std::int64_t posted = MonotonicNs();
  auto exchange = std::make_shared<Exchange>();
  {
    std::lock_guard<std::mutex> lock(exchangeMutex_);
    if (!live_) return false;
    // Posted under the lock: Finish() cannot slip in between the check and
    // the post, so every posted call is answered.
    loop.Post([this, call, exchange, posted, &times] {
      const std::int64_t start = MonotonicNs();
      times.queuedNs += start - posted;
      if (!live()) {
        exchange->doneAt.store(start);
        exchange->answer.Give(false);
        return;
      }
      call();
      const std::int64_t end = MonotonicNs();
      times.carriedOutNs += end - start;
      exchange->doneAt.store(end);
      exchange->answer.Give(true);
    });
  }
  const bool answered = exchange->answer.Take(kAnswerSpinNs);
  const std::int64_t resumed = MonotonicNs();
  times.exchangeNs += resumed - posted;
  times.answerNs += resumed - exchange->doneAt.load();
  ++times.calls;
  return answered;
}

bool DialogWindow::IsWindowVisible() {
  bool visible = false;
  OnUiThread([&] { visible = shown_; });
  return visible;
}

void DialogWindow::MoveWindow(int x, int y, int w, int h, bool repaint) {
  OnUiThread([&] {
    if (frameSync_) frameSync_->BeginFrame();
    MoveResize(Rect{x, y, x + w, y + h});
    Display* d = connection().display();
    XSync(d, False);
    CollectExposures();
    if (repaint) TimedPaint();
    if (frameSync_) frameSync_->EndFrame();
    XSync(d, False);
  });
}

void DialogWindow::UpdateWindow() {
  OnUiThread([&] {
    if (frameSync_) frameSync_->BeginFrame();
    Display* d = connection().display();
    CollectExposures();
    TimedPaint();
    const std::int64_t frame = frameSync_ ? frameSync_->EndFrame() : 0;
    XSync(d, False);
    // Where the compositor reports drawn frames, the update is complete
    // when the window shows on the screen as it is now.
    if (frame != 0) frameSync_->AwaitDrawn(frame, kFrameDrawnTimeoutMs);
  });
}

void DialogWindow::TimedPaint() {
  const std::int64_t start = MonotonicNs();
  PaintNow();
  TheWorkerCallTimes().paintingNs += MonotonicNs() - start;
}

bool DialogWindow::SetLayeredAttributes(Colour key, int alpha, unsigned flags) {
  bool applied = false;
  OnUiThread([&] { applied = ApplyLayered(key, alpha, flags); });
  return applied;
}

bool DialogWindow::ApplyLayered(Colour key, int alpha, unsigned flags) {
  if (!window_) return false;
  XConnection& c = connection();
  Display* d = c.display();
  if ((flags & platform::kLwaColourKey) != 0 && !c.shapeAvailable()) return false;
  if ((flags & platform::kLwaAlpha) != 0) {
    SetOpacity(c, window_.get(), alpha);
  } else {
    XDeleteProperty(d, window_.get(), c.atoms().netWmWindowOpacity);
  }
  if ((flags & platform::kLwaColourKey) != 0) {
    colourKeyed_ = true;
    colourKey_ = key;
    // The shape comes from the window's pixels: paint what is pending first,
    // so the window has its shape when this returns.
    PaintNow();
    RebuildShape();
  } else if (colourKeyed_) {
    colourKeyed_ = false;
    ClearShape(d, window_.get());
  }
  XSync(d, False);
  return true;
}

}  // namespace quorvel::x11
