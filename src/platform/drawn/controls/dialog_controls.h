// The controls of one dialog, in the order of its layout (which is also
// the Tab order), the one that has the keyboard focus, and the keys the
// dialog itself answers: Esc cancels, Enter presses OK (unless OK is
// disabled), Tab and Shift+Tab move the focus among the visible controls
// that take it; every other key goes to the focused control.
#pragma once

#include <memory>
#include <vector>

#include "platform/drawn/controls/control.h"
#include "platform/drawn/controls/dialog_layout.h"
#include "platform/drawn/controls/input_events.h"

namespace quorvel::drawn {

class DialogControls {
 public:
  // The controls are made with `context`, which also carries out focus
  // changes (ControlContext::Focus, which calls SetFocused).
  explicit DialogControls(ControlContext& context) : context_(context) {}
  DialogControls(const DialogControls&) = delete;
  DialogControls& operator=(const DialogControls&) = delete;

  // Makes a control of its kind for each layout, in order.
  void Create(const std::vector<ControlLayout>& layouts);
  // Every control goes (before the window they show in).
  void Clear();
  // Every control's surface goes; their text and state stay readable.
  void ReleaseSurfaces();

  const std::vector<std::unique_ptr<Control>>& all() const { return controls_; }
  // The control with `id`, or null.
  Control* Find(int id) const;

  Control* focused() const { return focused_; }
  // Gives `control` the focus (null: none has it); the control that loses
  // it and the one that gets it are drawn again. False when nothing changed.
  bool SetFocused(Control* control);
  // The control a Tab (or, `backwards`, a Shift+Tab) gives the focus to:
  // the next visible one that takes the focus after the focused one, round
  // the end; the first (last) when none has it. Null when none takes it.
  Control* NextInTabOrder(bool backwards) const;

  // A key pressed while the dialog takes input.
  void HandleKey(const KeyEvent& key);

 private:
  ControlContext& context_;
  std::vector<std::unique_ptr<Control>> controls_;
  Control* focused_ = nullptr;
};

}  // namespace quorvel::drawn
