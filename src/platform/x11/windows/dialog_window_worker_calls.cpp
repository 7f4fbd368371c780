// The calls a worker thread makes on a dialog: each is posted to the
// user-interface loop and waited for; once the dialog has ended they return
// at once.
#include "platform/x11/windows/dialog_window.h"

#include <X11/Xlib.h>

#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <optional>
#include <utility>

#include "platform/drawn/handover/busy_wait.h"
#include "platform/drawn/handover/worker_call_times.h"
#include "platform/linux/thread_schedule.h"
#include "platform/x11/display/screen_pixels.h"
#include "platform/x11/display/x_connection.h"
#include "platform/x11/painting/colour_key_shape.h"
#include "platform/x11/windows/frame_sync.h"
#include "platform/x11/windows/window_properties.h"
#include "platform/x11/windows/x_event_wait.h"

namespace quorvel::x11 {

namespace {
// How long a move waits for the window manager to place the window: far
// longer than any window manager takes. A window manager that leaves this
// many moves in a row unanswered that long does not answer this window,
// and it is not waited for again (now and then mutter leaves one move
// unanswered; that alone does not change what the steps measure).
constexpr int kPlacedTimeoutMs = 50;
constexpr int kUnansweredMovesBeforeGivingUp = 3;

// How long the report at the end of a test waits for the compositor's
// answer to the last frames: a few frames of a slow display.
constexpr int kLastFramesWaitMs = 100;

struct ConfigureOf {
  Window window;
  unsigned long serial;
  Rect target;      // where the move asked the window to go, on the screen
  Rect lastPlaced;  // what the answer to the move before said
};

// The ConfigureNotify that says the window has been placed as the move
// asked (ICCCM 4.1.5): one the server made after it saw the move, of the
// size asked for. A move alone is answered by the window manager's
// synthetic event in screen coordinates; a resize by the real event, in
// the coordinates of the window manager's frame where there is one. So
// the place is not compared with the one asked for (a decorated window is
// offset by its frame besides); but a window manager's late second answer
// to the move before repeats what the last answer said, and is passed over.
Bool IsConfigureOf(Display*, XEvent* event, XPointer arg) {
  const auto* wanted = reinterpret_cast<const ConfigureOf*>(arg);
  if (event->type != ConfigureNotify) return False;
  const XConfigureEvent& c = event->xconfigure;
  if (c.window != wanted->window || static_cast<long>(c.serial - wanted->serial) < 0) return False;
  if (c.width != wanted->target.Width() || c.height != wanted->target.Height()) return False;
  const Rect place{c.x, c.y, c.x + c.width, c.y + c.height};
  return place != wanted->lastPlaced ? True : False;
}

// The worker's hold on its processor while it times steps: given back at
// EndTimedSteps, or when the thread ends after its window has gone.
thread_local std::optional<linux_os::ProcessorPin> tWorkerPin;
}  // namespace

bool DialogWindow::OnUiThread(const std::function<void()>& call) {
  return workerCalls_.Run(call);
}

bool DialogWindow::IsWindowVisible() {
  bool visible = false;
  OnUiThread([&] { visible = shown_; });
  return visible;
}

void DialogWindow::MoveWindow(int x, int y, int w, int h, bool repaint) {
  OnUiThread([&] {
    if (frameSync_) frameSync_->BeginFrame();
    const Rect target{x, y, x + w, y + h};
    // A request that changes nothing is answered by no one.
    const bool changes = target != geometry_;
    MoveResize(target);
    Display* d = connection().display();
    XSync(d, False);
    // Under a window manager the request went to it, and the round trip
    // returned before the window moved: the move is done when the window
    // manager has placed the window and says so (ICCCM 4.1.5).
    if (changes && shown_ && awaitPlacement_) {
      if (AwaitPlaced(lastMoveSerial_, kPlacedTimeoutMs)) {
        unansweredMoves_ = 0;
      } else if (++unansweredMoves_ == kUnansweredMovesBeforeGivingUp) {
        awaitPlacement_ = false;
      }
    }
    CollectExposures();
    if (repaint) TimedPaint();
    if (frameSync_) frameSync_->EndFrame();
    XSync(d, False);
  });
}

void DialogWindow::UpdateWindow() {
  OnUiThread([&] {
    // As on Windows, a window with nothing invalid is not painted, and then
    // nothing goes to the server: after a move that has repainted, this
    // step makes no second frame and no second round trip.
    CollectExposures();
    if (!NeedsPaint()) return;
    if (frameSync_) frameSync_->BeginFrame();
    TimedPaint();
    // The compositor's answer to this frame is counted when it comes; the
    // step does not wait for it.
    if (frameSync_) frameSync_->EndFrame();
    XSync(connection().display(), False);
  });
}

bool DialogWindow::AwaitPlaced(unsigned long serial, int timeoutMs) {
  const std::int64_t deadline =
      drawn::MonotonicNs() + static_cast<std::int64_t>(timeoutMs) * 1'000'000;
  ConfigureOf wanted{window_.get(), serial, geometry_, lastPlaced_};
  XEvent event;
  // Only this window's ConfigureNotify events that answer the move are
  // taken out; the loop handles the rest in their order.
  if (!TakeEventBefore(connection().display(), IsConfigureOf, reinterpret_cast<XPointer>(&wanted),
                       deadline, event)) {
    return false;
  }
  const XConfigureEvent& c = event.xconfigure;
  lastPlaced_ = Rect{c.x, c.y, c.x + c.width, c.y + c.height};
  HandleEvent(event);
  return true;
}

platform::FrameReport DialogWindow::TakeFrameReport() {
  platform::FrameReport report;
  OnUiThread([&] {
    if (frameSync_) report = frameSync_->TakeReport(kLastFramesWaitMs);
  });
  return report;
}

void DialogWindow::BeginTimedSteps() {
  if (environment_.loop().calls().OnUiThread() || tWorkerPin) return;
  // The window's thread goes beside the X server where it can be seen:
  // the server stays on the processor it has while another is busy.
  std::optional<linux_os::StepProcessors> where;
  OnUiThread([&] {
    const int server = ConnectionNumber(connection().display());
    const pid_t serverPid = linux_os::SocketPeerProcess(server);
    int windowAt = linux_os::LastProcessorOf(serverPid);
    if (windowAt < 0) windowAt = sched_getcpu();
    where = linux_os::ChooseStepProcessors(linux_os::AllowedProcessors(), windowAt,
                                           linux_os::SysfsCoreSiblings);
    if (where) windowPin_.emplace(where->window);
    stepsWatch_.serverPid = serverPid;
    stepsWatch_.windowTid = static_cast<pid_t>(syscall(SYS_gettid));
  });
  if (where) tWorkerPin.emplace(where->worker);
  // The counters start once every thread is where it stays.
  stepsWatch_.workerTid = static_cast<pid_t>(syscall(SYS_gettid));
  stepsWatch_.Start();
}

void DialogWindow::EndTimedSteps() {
  if (environment_.loop().calls().OnUiThread()) return;
  stepsWatch_.Stop();
  tWorkerPin.reset();
  OnUiThread([&] { windowPin_.reset(); });
}

platform::StepsSchedule DialogWindow::TakeStepsSchedule() {
  return std::exchange(stepsWatch_.schedule, platform::StepsSchedule{});
}

void DialogWindow::StepsWatch::Start() {
  const pid_t self = getpid();
  worker = linux_os::SampleThread(self, workerTid);
  window = linux_os::SampleThread(self, windowTid);
  server = linux_os::SampleThread(serverPid, 0);
  stealNs = linux_os::StealNs();
}

void DialogWindow::StepsWatch::Stop() {
  const pid_t self = getpid();
  schedule.reported = true;
  schedule.worker = linux_os::ScheduleBetween(worker, linux_os::SampleThread(self, workerTid));
  schedule.window = linux_os::ScheduleBetween(window, linux_os::SampleThread(self, windowTid));
  schedule.server = linux_os::ScheduleBetween(server, linux_os::SampleThread(serverPid, 0));
  const std::int64_t steal = linux_os::StealNs();
  schedule.stealNs = stealNs >= 0 && steal >= 0 ? steal - stealNs : -1;
}

Rect DialogWindow::ClientAreaOnScreen() {
  Rect area;
  OnUiThread([&] {
    if (!window_) return;
    Display* d = connection().display();
    int x = 0, y = 0;
    Window child = None;
    // Inside a window manager's frame the window's own place is the
    // frame's business: the server says where it ended up.
    if (!XTranslateCoordinates(d, window_.get(), connection().root(), 0, 0, &x, &y, &child)) {
      return;
    }
    area = Rect{x, y, x + geometry_.Width(), y + geometry_.Height()};
  });
  return area;
}

bool DialogWindow::ReadScreen(const Rect& screenRect, std::vector<Colour>& pixels) {
  bool read = false;
  pixels.clear();
  OnUiThread([&] { read = ReadScreenPixels(connection(), screenRect, pixels); });
  return read;
}

void DialogWindow::TimedPaint() {
  const std::int64_t start = drawn::MonotonicNs();
  PaintNow();
  drawn::TheWorkerCallTimes().paintingNs += drawn::MonotonicNs() - start;
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
