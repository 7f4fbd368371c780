// Dialogs and their controls: the host a backend gives a running dialog,
// and the handlers the portable dialog classes implement.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/geometry.h"

namespace quorvel::platform {

// ShowWindow commands used by the program (Win32 values).
enum class Show { Hide = 0, Normal = 1, Maximized = 3, Default = 5 };

// System commands that reach a dialog (WM_SYSCOMMAND values).
constexpr unsigned kScClose = 0xF060;
constexpr unsigned kScMove = 0xF010;
constexpr unsigned kScMinimize = 0xF020;
constexpr unsigned kScMaximize = 0xF030;

// The layered attributes of a top-level window (SetLayeredWindowAttributes).
constexpr unsigned kLwaColourKey = 1;
constexpr unsigned kLwaAlpha = 2;

// What a compositor said about a test window's frames (where it answers
// each drawn frame, as GNOME's mutter does): how many of the window's
// frames it drew, and for each the time from the program's update to the
// compositor's answer. Collected beside the steps, never waited for.
struct FrameReport {
  bool reported = false;  // false: this desktop gives no such answers
  int drawn = 0;
  std::vector<std::int64_t> latencyNs;
};

// How the scheduler treated one thread (or a process's main thread) over a
// test's timed steps: where it ran, and the time it spent waiting for a
// processor while ready, which a steady step never needs.
struct ThreadSchedule {
  bool known = false;
  int processorAtStart = -1;
  int processorAtEnd = -1;
  std::int64_t runNs = 0;       // on a processor
  std::int64_t waitNs = 0;      // ready to run, waiting for a processor
  std::int64_t migrations = 0;  // moved to another processor
  std::int64_t involuntarySwitches = 0;  // taken off its processor for another
};

// What the scheduler and the machine did while a test's steps were timed,
// where the backend can see it: the worker, the window's thread, the
// display server's process, and the time the machine's hypervisor took from
// all processors (steal; -1 when unknown). So a reader can tell a run the
// machine disturbed from one that measured the desktop.
struct StepsSchedule {
  bool reported = false;
  ThreadSchedule worker, window, server;
  std::int64_t stealNs = -1;
};

// One owner-drawn control to paint (WM_DRAWITEM).
struct DrawItem {
  int controlId = 0;
  Rect rect;              // the item rectangle, in the control's client coordinates
  bool selected = false;  // ODS_SELECTED: the button is pressed
};

// The window of one running dialog. Calls are made on the user-interface
// thread unless a call says otherwise.
class DialogHost {
 public:
  virtual ~DialogHost() = default;

  // Child controls by identifier. A missing identifier is ignored.
  virtual void ShowControl(int id, bool show) = 0;
  virtual bool IsControlVisible(int id) = 0;
  virtual void MoveControl(int id, int x, int y, int w, int h, bool repaint) = 0;
  virtual Rect ControlRect(int id) = 0;  // in the dialog's client coordinates
  virtual void InvalidateControl(int id, bool erase) = 0;
  virtual void UpdateControl(int id) = 0;
  virtual void SetControlFont(int id, const Font& font, bool redraw) = 0;
  virtual std::string GetControlText(int id) = 0;
  virtual void SetControlText(int id, const std::string& text) = 0;
  // The control never erases its own background, so a skin repainted
  // behind it does not flicker through.
  virtual void SuppressControlErase(int id) = 0;

  // Timers arrive as OnTimer(id) on the user-interface thread.
  virtual void SetTimer(int id, unsigned periodMs) = 0;
  virtual void KillTimer(int id) = 0;

  // Repaint requests. A null rectangle means the whole client area; with
  // erase the skin is painted again through OnEraseBackground.
  virtual void Invalidate(const Rect* clientRect, bool erase) = 0;
  // Paints what is invalid now instead of waiting for the loop (UpdateWindow).
  virtual void Update() = 0;

  virtual Rect WindowRect() = 0;  // screen coordinates
  virtual Rect ClientRect() = 0;  // (0, 0, width, height)
  virtual void ShowWindow(Show how) = 0;
  virtual void SetFocus() = 0;
  // Appends a separator and the item to the window's system menu; false
  // when the window has none.
  virtual bool AppendSystemMenuItem(unsigned command, const std::string& text) = 0;
  virtual void SetIcon(int iconId) = 0;

  // Ends the modal loop with `result`. Callable from any thread.
  virtual void EndDialog(int result) = 0;

  // --- Calls a worker thread makes on a test window. Each is a full
  // exchange with the user-interface thread: it returns once that thread
  // has handled it. Once the window is destroyed they return at once
  // without effect, and the backend completes any such call in progress
  // before it calls Attach(nullptr): so handlers may wait there for their
  // workers to leave the host.
  virtual bool IsWindowVisible() = 0;
  virtual void MoveWindow(int x, int y, int w, int h, bool repaint) = 0;
  virtual void UpdateWindow() = 0;
  // Makes the window layered and applies the attributes; false when the
  // desktop cannot do it.
  virtual bool SetLayeredAttributes(Colour key, int alpha, unsigned flags) = 0;
  // The compositor's answers to the frames of the moves and updates since
  // the last call, and starts counting anew. May wait briefly for answers
  // still on their way. A desktop without such answers reports nothing.
  virtual FrameReport TakeFrameReport() { return {}; }
  // The calling thread is about to time a run of steps on this window
  // (Begin), or is done (End). A backend that hands each step from the
  // calling thread to the window's thread may keep the two on processors of
  // their own meanwhile, so that a step's time does not depend on where the
  // scheduler happens to put them. Default: nothing.
  virtual void BeginTimedSteps() {}
  virtual void EndTimedSteps() {}
  // What the scheduler did between the last Begin and End; called after
  // End. Default: not reported.
  virtual StepsSchedule TakeStepsSchedule() { return {}; }

  // --- Reading back what the desktop shows, after a test's steps and
  // outside their timing; worker calls as above. A backend that cannot read
  // its screen back (Wayland, for a client) keeps the defaults.
  // The window's client area in screen coordinates; empty when unknown.
  virtual Rect ClientAreaOnScreen() { return {}; }
  // The screen's pixels inside `screenRect` as the desktop shows them now,
  // what a compositor draws included, row by row from the top left. False,
  // with `pixels` empty, when the screen cannot be read back there (no
  // such reading, a rectangle not wholly on the screen, a screen whose
  // pixels cannot be told as colours).
  virtual bool ReadScreen(const Rect& screenRect, std::vector<Colour>& pixels) {
    static_cast<void>(screenRect);
    pixels.clear();
    return false;
  }
};

// What a dialog does with the events of its window. The backend calls these
// on the user-interface thread.
class DialogHandlers {
 public:
  virtual ~DialogHandlers() = default;

  // The window exists (host) or is gone (null); before OnInitDialog and after
  // the window has been destroyed.
  virtual void Attach(DialogHost* host) = 0;
  virtual bool OnInitDialog() = 0;
  // Background erase: paint the whole window into `window`. True when painted.
  virtual bool OnEraseBackground(Canvas& window) = 0;
  // Owner-drawn control; false leaves it to the default drawing (nothing).
  virtual bool OnDrawItem(const DrawItem& item, Canvas& canvas) = 0;
  // A button click, or IDOK (Enter) / IDCANCEL (Esc, the close box).
  virtual void OnCommand(int id) = 0;
  virtual void OnTimer(int id) = 0;
  virtual void OnLButtonUp(Point clientPoint) = 0;
  // A system command (from the system menu, the task bar, Alt+F4, a window
  // manager). True: swallowed, no default processing.
  virtual bool OnSystemCommand(unsigned command) = 0;
  // Non-client activation (WM_NCACTIVATE). True: swallowed.
  virtual bool OnNonClientActivate() = 0;
  // The colour of the dialog's background brush (WM_CTLCOLORDLG).
  virtual Colour DialogBrushColour() = 0;
  virtual void OnDestroy() = 0;
};

class DialogSystem {
 public:
  virtual ~DialogSystem() = default;
  // Creates the window of template `templateId`, runs it modally and returns
  // the value given to EndDialog. `owner` (may be null) is disabled meanwhile;
  // a null owner means the running main dialog, if any.
  virtual int RunModal(int templateId, DialogHandlers& handlers, DialogHost* owner) = 0;
};

}  // namespace quorvel::platform
