#include "platform/drawn/controls/dialog_controls.h"

#include <algorithm>

#include "platform/drawn/controls/control_factory.h"
#include "platform/resource_ids.h"

namespace quorvel::drawn {

void DialogControls::Create(const std::vector<ControlLayout>& layouts) {
  for (const ControlLayout& layout : layouts) controls_.push_back(MakeControl(context_, layout));
}

void DialogControls::Clear() {
  focused_ = nullptr;
  controls_.clear();
}

void DialogControls::ReleaseSurfaces() {
  for (auto& control : controls_) control->ReleaseSurface();
}

Control* DialogControls::Find(int id) const {
  for (const auto& control : controls_) {
    if (control->id() == id) return control.get();
  }
  return nullptr;
}

bool DialogControls::SetFocused(Control* control) {
  if (focused_ == control) return false;
  Control* previous = focused_;
  focused_ = control;
  if (previous != nullptr) previous->Invalidate();
  if (control != nullptr) control->Invalidate();
  return true;
}

Control* DialogControls::NextInTabOrder(bool backwards) const {
  std::vector<Control*> order;
  for (const auto& control : controls_) {
    if (control->TakesFocus() && control->visible()) order.push_back(control.get());
  }
  if (order.empty()) return nullptr;
  auto at = std::find(order.begin(), order.end(), focused_);
  std::size_t index = 0;
  if (at != order.end()) {
    const std::size_t current = static_cast<std::size_t>(at - order.begin());
    index = backwards ? (current + order.size() - 1) % order.size() : (current + 1) % order.size();
  } else if (backwards) {
    index = order.size() - 1;
  }
  return order[index];
}

void DialogControls::HandleKey(const KeyEvent& key) {
  switch (key.key) {
    case Key::Escape:
      context_.handlers().OnCommand(IDCANCEL);
      return;
    case Key::Enter: {
      // Enter presses the OK button, and does nothing where it is disabled
      // (the test window's).
      const Control* ok = Find(IDOK);
      if (ok == nullptr || ok->enabled()) context_.handlers().OnCommand(IDOK);
      return;
    }
    case Key::Tab:
      if (Control* next = NextInTabOrder(key.shift)) context_.Focus(*next);
      return;
    default:
      break;
  }
  if (focused_ == nullptr || !focused_->visible()) return;
  focused_->HandleKey(key);
}

}  // namespace quorvel::drawn
