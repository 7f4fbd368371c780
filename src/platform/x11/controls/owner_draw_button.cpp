#include "platform/x11/controls/owner_draw_button.h"

#include "raster/raster_canvas.h"

namespace quorvel::x11 {

OwnerDrawButton::OwnerDrawButton(ControlContext& context, const drawn::ControlLayout& layout)
    : Control(context, layout) {
  CreateWindow();
}

long OwnerDrawButton::PointerEventMask() const {
  return ButtonPressMask | ButtonReleaseMask | Button1MotionMask | EnterWindowMask |
         LeaveWindowMask;
}

bool OwnerDrawButton::Inside(int x, int y) const {
  return x >= 0 && y >= 0 && x < rect().Width() && y < rect().Height();
}

void OwnerDrawButton::SetPressed(bool pressed) {
  if (pressed == pressed_) return;
  pressed_ = pressed;
  Paint();
}

void OwnerDrawButton::HandlePointer(const XEvent& event) {
  switch (event.type) {
    case ButtonPress:
      if (event.xbutton.button != Button1 || !context().acceptsInput()) return;
      tracking_ = true;
      SetPressed(true);
      break;
    case MotionNotify:
      if (tracking_) SetPressed(Inside(event.xmotion.x, event.xmotion.y));
      break;
    case EnterNotify:
    case LeaveNotify:
      if (tracking_) SetPressed(event.type == EnterNotify);
      break;
    case ButtonRelease: {
      if (event.xbutton.button != Button1 || !tracking_) return;
      tracking_ = false;
      const bool click = Inside(event.xbutton.x, event.xbutton.y);
      SetPressed(false);
      if (click && context().acceptsInput()) context().handlers().OnCommand(id());
      break;
    }
    default:
      break;
  }
}

void OwnerDrawButton::Draw(raster::RasterCanvas& canvas) {
  platform::DrawItem item;
  item.controlId = id();
  item.rect = Rect{0, 0, rect().Width(), rect().Height()};
  item.selected = pressed_;
  context().handlers().OnDrawItem(item, canvas);
}

}  // namespace quorvel::x11
