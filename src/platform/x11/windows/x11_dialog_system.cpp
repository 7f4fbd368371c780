#include "platform/x11/windows/x11_dialog_system.h"

#include <algorithm>

#include "platform/dialog_template.h"
#include "platform/x11/display/x_connection.h"
#include "platform/x11/windows/dialog_window.h"

namespace quorvel::x11 {

X11DialogSystem::X11DialogSystem(XConnection& connection, platform::Graphics& graphics)
    : connection_(connection),
      graphics_(graphics),
      loop_(connection.display(), *this),
      defaultFont_(graphics.CreateFont(platform::FontSpec{"Sans", 13, 400, 4})) {}

X11DialogSystem::~X11DialogSystem() = default;

int X11DialogSystem::RunModal(int templateId, platform::DialogHandlers& handlers,
                              platform::DialogHost* owner) {
  const platform::DialogTemplate* dialogTemplate = platform::FindDialogTemplate(templateId);
  if (dialogTemplate == nullptr) return -1;
  return RunModalLayout(drawn::LayoutOf(*dialogTemplate), handlers, owner);
}

int X11DialogSystem::RunModalLayout(const drawn::DialogLayout& layout,
                                    platform::DialogHandlers& handlers,
                                    platform::DialogHost* owner) {
  DialogEnvironment& environment = *this;
  dialogs_.push_back(
      std::make_unique<DialogWindow>(environment, layout, handlers, OwnerWindow(owner)));
  DialogWindow* dialog = dialogs_.back().get();
  if (!dialog->Create()) {
    dialogs_.pop_back();
    return -1;
  }
  running_.push_back(dialog);
  handlers.Attach(dialog);
  handlers.OnInitDialog();
  if (!dialog->endRequested()) dialog->ShowIfHidden();

  loop_.RunUntil([dialog] { return dialog->endRequested(); });

  running_.erase(std::find(running_.begin(), running_.end(), dialog));
  dialog->Finish();
  if (!running_.empty()) running_.back()->Reactivate();
  return dialog->endResult();
}

Window X11DialogSystem::OwnerWindow(platform::DialogHost* owner) const {
  for (DialogWindow* dialog : running_) {
    if (dialog == owner) return dialog->window();
  }
  // No owner given: the running main dialog, the outermost one.
  if (owner == nullptr && !running_.empty()) return running_.front()->window();
  return None;
}

bool X11DialogSystem::IsRunning(const DialogWindow* dialog) const {
  return std::find(running_.begin(), running_.end(), dialog) != running_.end();
}

bool X11DialogSystem::IsInnermost(const DialogWindow& dialog) {
  return !running_.empty() && running_.back() == &dialog;
}

void X11DialogSystem::HandleEvent(XEvent& event) {
  if (event.type == MappingNotify) {
    XRefreshKeyboardMapping(&event.xmapping);
    return;
  }
  for (DialogWindow* dialog : running_) {
    if (dialog->Owns(event.xany.window)) {
      dialog->HandleEvent(event);
      return;
    }
  }
}

bool X11DialogSystem::PaintInvalid() {
  bool painted = false;
  const std::vector<DialogWindow*> dialogs = running_;
  for (DialogWindow* dialog : dialogs) {
    if (IsRunning(dialog) && dialog->PaintInvalid()) painted = true;
  }
  return painted;
}

std::optional<Clock::time_point> X11DialogSystem::NextTimerDue() {
  std::optional<Clock::time_point> next;
  for (DialogWindow* dialog : running_) {
    std::optional<Clock::time_point> due = dialog->NextTimerDue();
    if (due && (!next || *due < *next)) next = due;
  }
  return next;
}

void X11DialogSystem::RunDueTimers(Clock::time_point now) {
  // A timer handler may run another dialog or end one: work on a copy.
  const std::vector<DialogWindow*> dialogs = running_;
  for (DialogWindow* dialog : dialogs) {
    if (IsRunning(dialog)) dialog->RunDueTimers(now);
  }
}

}  // namespace quorvel::x11
