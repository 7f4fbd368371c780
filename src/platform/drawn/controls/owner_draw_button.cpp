#include "platform/drawn/controls/owner_draw_button.h"

#include "raster/raster_canvas.h"

namespace quorvel::drawn {

OwnerDrawButton::OwnerDrawButton(ControlContext& context, const ControlLayout& layout)
    : Control(context, layout) {
  CreateSurface();
}

PointerInput OwnerDrawButton::PointerInputs() const { return PointerInput::ButtonsAndCrossing; }

bool OwnerDrawButton::Inside(Point p) const {
  return p.x >= 0 && p.y >= 0 && p.x < rect().Width() && p.y < rect().Height();
}

void OwnerDrawButton::SetPressed(bool pressed) {
  if (pressed == pressed_) return;
  pressed_ = pressed;
  Paint();
}

void OwnerDrawButton::HandlePointer(const PointerEvent& event) {
  switch (event.action) {
    case PointerAction::Press:
      if (event.button != PointerButton::Left || !context().acceptsInput()) return;
      tracking_ = true;
      SetPressed(true);
      break;
    case PointerAction::Motion:
      if (tracking_) SetPressed(Inside(Local(event.at)));
      break;
    case PointerAction::Enter:
    case PointerAction::Leave:
      if (tracking_) SetPressed(event.action == PointerAction::Enter);
      break;
    case PointerAction::Release: {
      if (event.button != PointerButton::Left || !tracking_) return;
      tracking_ = false;
      const bool click = Inside(Local(event.at));
      SetPressed(false);
      if (click && context().acceptsInput()) context().handlers().OnCommand(id());
      break;
    }
  }
}

void OwnerDrawButton::Draw(raster::RasterCanvas& canvas) {
  platform::DrawItem item;
  item.controlId = id();
  item.rect = Rect{0, 0, rect().Width(), rect().Height()};
  item.selected = pressed_;
  context().handlers().OnDrawItem(item, canvas);
}

}  // namespace quorvel::drawn
