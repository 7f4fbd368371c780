// The calls a worker thread makes on a dialog: each is posted to the
// user-interface loop and waited for; once the dialog has ended they return
// at once.
#include "platform/x11/dialog_window.h"

#include <future>
#include <memory>

#include "platform/x11/colour_key_shape.h"
#include "platform/x11/window_properties.h"
#include "platform/x11/worker_call_times.h"
#include "platform/x11/x_connection.h"

namespace quorvel::x11 {

bool DialogWindow::OnUiThread(const std::function<void()>& call) {
  EventLoop& loop = environment_.loop();
  if (loop.OnUiThread()) {
    if (!live()) return false;
    call();
    return true;
  }
  WorkerCallTimes& times = TheWorkerCallTimes();
  const std::int64_t posted = MonotonicNs();
  auto done = std::make_shared<std::promise<bool>>();
  std::future<bool> result = done->get_future();
  {
    std::lock_guard<std::mutex> lock(exchangeMutex_);
    if (!live_) return false;
    // Posted under the lock: Finish() cannot slip in between the check and
    // the post, so every posted call is answered.
    loop.Post([this, call, done, &times] {
      if (!live()) {
        done->set_value(false);
        return;
      }
      const std::int64_t start = MonotonicNs();
      call();
      times.carriedOutNs += MonotonicNs() - start;
      done->set_value(true);
    });
  }
  const bool answered = result.get();
  times.exchangeNs += MonotonicNs() - posted;
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
    MoveResize(Rect{x, y, x + w, y + h});
    Display* d = connection().display();
    XSync(d, False);
    CollectExposures();
    if (repaint) TimedPaint();
    XSync(d, False);
  });
}

void DialogWindow::UpdateWindow() {
  OnUiThread([&] {
    Display* d = connection().display();
    CollectExposures();
    TimedPaint();
    XSync(d, False);
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
