// The window of one running dialog and the host its handlers talk to.
//
// Painting: Expose events and Invalidate() only mark the window; it is
// painted when the loop is idle (or at once by Update()). An erase paints the
// whole frame into the back buffer through OnEraseBackground (or the dialog
// brush) and puts it in one request; an Expose with no erase pending puts the
// retained frame again. Child controls are painted after the frame.
//
// Threads: the calls a worker makes (IsWindowVisible, MoveWindow,
// UpdateWindow, SetLayeredAttributes) are posted to the user-interface loop
// and the worker waits until they are done. Once the dialog has ended they
// return at once without doing anything. EndDialog only records the result
// and wakes the loop, from any thread. The object stays valid after its
// dialog has ended (the dialog system keeps it), so a late call from a
// worker finds an inert host rather than freed memory.
//
// Not on X11: OnNonClientActivate is never called (there is no non-client
// area of our own to activate); AppendSystemMenuItem returns false (no
// system menu); SuppressControlErase is only recorded, since no control
// erases its own background here anyway.
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "platform/dialog.h"
#include "platform/drawn/controls/dialog_controls.h"
#include "platform/drawn/controls/dialog_layout.h"
#include "platform/drawn/dialogs/timer_set.h"
#include "platform/drawn/handover/worker_calls.h"
#include "platform/linux/step_processors.h"
#include "platform/linux/thread_schedule.h"
#include "platform/x11/display/x_handles.h"
#include "platform/x11/painting/image_buffer.h"
#include "platform/x11/windows/dialog_environment.h"
#include "platform/x11/windows/event_loop.h"
#include "platform/x11/windows/frame_sync.h"

namespace quorvel::x11 {

class DialogWindow : public platform::DialogHost, private drawn::ControlContext {
 public:
  DialogWindow(DialogEnvironment& environment, const drawn::DialogLayout& layout,
               platform::DialogHandlers& handlers, Window owner);
  ~DialogWindow() override;

  // --- Driven by the dialog system, on the user-interface thread.
  // Makes the window and its controls (all hidden); false when it cannot.
  bool Create();
  // Shows the window if nothing has shown it yet, as a modal dialog box is
  // shown once its initialisation is done.
  void ShowIfHidden();
  bool endRequested() const { return endRequested_.load(); }
  int endResult() const { return endResult_.load(); }
  // Ends the window: workers' calls are answered and refused from now on,
  // OnDestroy, the X windows go, Attach(nullptr).
  void Finish();
  // Gives the keyboard focus back when the dialog is innermost again.
  void Reactivate();

  Window window() const { return window_.get(); }
  bool Owns(Window w) const;
  void HandleEvent(XEvent& event);
  bool PaintInvalid();
  std::optional<Clock::time_point> NextTimerDue() const { return timers_.NextDue(); }
  void RunDueTimers(Clock::time_point now);
  // The control with `id`, or null.
  drawn::Control* FindControl(int id) const { return controls_.Find(id); }

  // --- platform::DialogHost
  void ShowControl(int id, bool show) override;
  bool IsControlVisible(int id) override;
  void MoveControl(int id, int x, int y, int w, int h, bool repaint) override;
  Rect ControlRect(int id) override;
  void InvalidateControl(int id, bool erase) override;
  void UpdateControl(int id) override;
  void SetControlFont(int id, const platform::Font& font, bool redraw) override;
  std::string GetControlText(int id) override;
  void SetControlText(int id, const std::string& text) override;
  void SuppressControlErase(int id) override;
  void SetTimer(int id, unsigned periodMs) override;
  void KillTimer(int id) override;
  void Invalidate(const Rect* clientRect, bool erase) override;
  void Update() override;
  Rect WindowRect() override;
  Rect ClientRect() override;
  void ShowWindow(platform::Show how) override;
  void SetFocus() override;
  bool AppendSystemMenuItem(unsigned command, const std::string& text) override;
  void SetIcon(int iconId) override;
  void EndDialog(int result) override;
  bool IsWindowVisible() override;
  void MoveWindow(int x, int y, int w, int h, bool repaint) override;
  void UpdateWindow() override;
  bool SetLayeredAttributes(Colour key, int alpha, unsigned flags) override;
  platform::FrameReport TakeFrameReport() override;
  void BeginTimedSteps() override;
  void EndTimedSteps() override;
  // The scheduler's counters of the worker, this window's thread and the X
  // server from Begin to End (linux_os::SampleThread), and the steal.
  platform::StepsSchedule TakeStepsSchedule() override;
  // Where the window is on the root window, and the root's pixels
  // (ReadScreenPixels).
  Rect ClientAreaOnScreen() override;
  bool ReadScreen(const Rect& screenRect, std::vector<Colour>& pixels) override;

 private:
  // --- drawn::ControlContext
  platform::DialogHandlers& handlers() override { return handlers_; }
  platform::Graphics& graphics() override;
  const raster::Surface* dialogPicture() override;
  const platform::Font& defaultFont() override;
  bool acceptsInput() override;
  bool IsFocused(const drawn::Control& control) override {
    return controls_.focused() == &control;
  }
  void Focus(drawn::Control& control) override;
  void RequestPaste(drawn::Control& control) override;
  void ControlPainted(drawn::Control&) override { shapeStale_ = true; }
  std::unique_ptr<drawn::ControlSurface> CreateSurface(const Rect& rect, bool visible,
                                                       drawn::PointerInput pointer) override;

  XConnection& connection();

  // Runs `call` on the user-interface thread and waits for it; false, without
  // running it, once the dialog has ended.
  bool OnUiThread(const std::function<void()>& call);

  void HandleClientMessage(const XClientMessageEvent& message);
  void HandleConfigure(const XConfigureEvent& configure);
  void HandlePaste(const XSelectionEvent& selection);
  void ApplyFocus();

  void MoveResize(const Rect& screenRect);
  void InvalidateAll(bool erase);
  // Paints the frame if it is invalid, then invalid controls, then the
  // colour-key shape if it is stale; true when anything was painted.
  bool PaintNow();
  // True when PaintNow would paint or reshape anything.
  bool NeedsPaint() const;
  // PaintNow for a worker's call, with its time counted (drawn::WorkerCallTimes).
  void TimedPaint();
  void PaintFrame();
  // Turns the Expose events already received into invalid areas.
  void CollectExposures();
  void RebuildShape();
  bool ApplyLayered(Colour key, int alpha, unsigned flags);
  // Waits up to `timeoutMs` for the ConfigureNotify that shows the window
  // placed as the move of request `serial` asked (geometry_), and handles
  // it; false on timeout.
  bool AwaitPlaced(unsigned long serial, int timeoutMs);

  DialogEnvironment& environment_;
  drawn::DialogLayout layout_;
  platform::DialogHandlers& handlers_;
  Window owner_;

  WindowHandle window_;
  GcHandle gc_;
  ImageBuffer buffer_;
  // The compositor's frame-drawn answers, where the window manager sends
  // them (windows with a caption only).
  std::unique_ptr<FrameSync> frameSync_;
  drawn::DialogControls controls_;
  drawn::TimerSet timers_;
  std::set<int> eraseSuppressed_;

  Rect geometry_;          // the window in screen coordinates
  bool placed_ = false;    // the program has placed the window
  bool shown_ = false;     // ShowWindow made it visible (WS_VISIBLE)
  bool mapped_ = false;    // the server has mapped it
  bool wantFocus_ = false; // SetFocus before the window was mapped
  bool reparented_ = false;  // inside a window manager's frame
  unsigned long lastMoveSerial_ = 0;  // request number of our latest move
  bool awaitPlacement_ = true;  // moves wait for their ConfigureNotify
  int unansweredMoves_ = 0;     // in a row
  Rect lastPlaced_;             // what the last answer to a move said
  // Keeps this thread on its processor while a worker times steps.
  std::optional<linux_os::ProcessorPin> windowPin_;
  // The three parties of a step and their counters at Begin; the schedule
  // once End has read them again. Touched by the worker, between calls.
  struct StepsWatch {
    pid_t workerTid = 0, windowTid = 0, serverPid = 0;
    linux_os::ScheduleSample worker, window, server;
    std::int64_t stealNs = -1;
    platform::StepsSchedule schedule;
    void Start();
    void Stop();
  } stepsWatch_;

  bool dirty_ = false;     // some of the window needs painting
  bool erase_ = false;     // ... through OnEraseBackground
  Rect dirtyArea_;         // union of the invalid areas, client coordinates

  bool colourKeyed_ = false;
  Colour colourKey_ = 0;
  bool shapeStale_ = false;

  int pasteTarget_ = 0;    // the control a pending paste is for
  bool pasteAsLatin1_ = false;

  std::atomic<bool> endRequested_{false};
  std::atomic<int> endResult_{0};
  // Open between Create and Finish.
  drawn::WorkerCalls workerCalls_;
};

}  // namespace quorvel::x11
