// Modal dialogs on X11: each RunModal makes the dialog's window and runs the
// shared event loop until EndDialog. Dialogs nest: while an inner dialog
// runs, the outer ones keep their timers and painting but take no mouse or
// keyboard input (as an owner disabled by a modal dialog box).
#pragma once

#include <memory>
#include <vector>

#include "platform/dialog.h"
#include "platform/drawn/controls/dialog_layout.h"
#include "platform/drawn/dialogs/modal_layout_runner.h"
#include "platform/x11/windows/dialog_environment.h"
#include "platform/x11/windows/event_loop.h"

namespace quorvel::x11 {

class DialogWindow;
class XConnection;

class X11DialogSystem : public platform::DialogSystem,
                        public drawn::ModalLayoutRunner,
                        private EventLoop::Client,
                        private DialogEnvironment {
 public:
  // The thread that makes the system is the user-interface thread.
  X11DialogSystem(XConnection& connection, platform::Graphics& graphics);
  ~X11DialogSystem() override;

  // -1 when the template does not exist or its window cannot be made.
  int RunModal(int templateId, platform::DialogHandlers& handlers,
               platform::DialogHost* owner) override;
  // The same for a layout made in pixels (the message box).
  int RunModalLayout(const drawn::DialogLayout& layout, platform::DialogHandlers& handlers,
                     platform::DialogHost* owner) override;

  EventLoop& loop() override { return loop_; }

 private:
  // EventLoop::Client
  void HandleEvent(XEvent& event) override;
  bool PaintInvalid() override;
  std::optional<Clock::time_point> NextTimerDue() override;
  void RunDueTimers(Clock::time_point now) override;

  // DialogEnvironment
  XConnection& connection() override { return connection_; }
  platform::Graphics& graphics() override { return graphics_; }
  const platform::Font& defaultFont() override { return *defaultFont_; }
  bool IsInnermost(const DialogWindow& dialog) override;

  bool IsRunning(const DialogWindow* dialog) const;
  Window OwnerWindow(platform::DialogHost* owner) const;

  XConnection& connection_;
  platform::Graphics& graphics_;
  EventLoop loop_;
  std::unique_ptr<platform::Font> defaultFont_;
  std::vector<DialogWindow*> running_;  // innermost last
  // Every dialog made so far. An ended dialog's host stays valid (inert) so
  // a worker that still holds it gets an answer, not freed memory.
  std::vector<std::unique_ptr<DialogWindow>> dialogs_;
};

}  // namespace quorvel::x11
