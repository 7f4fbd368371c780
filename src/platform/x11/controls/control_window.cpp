#include "platform/x11/controls/control_window.h"

#include "platform/x11/display/x_connection.h"

namespace quorvel::x11 {
namespace {

unsigned Positive(int v) { return static_cast<unsigned>(v > 0 ? v : 1); }

long EventMaskOf(drawn::PointerInput pointer) {
  switch (pointer) {
    case drawn::PointerInput::Ignored:
      break;
    case drawn::PointerInput::Buttons:
      return ButtonPressMask | ButtonReleaseMask | Button1MotionMask;
    case drawn::PointerInput::ButtonsAndCrossing:
      return ButtonPressMask | ButtonReleaseMask | Button1MotionMask | EnterWindowMask |
             LeaveWindowMask;
  }
  return 0;
}

}  // namespace

ControlWindow::ControlWindow(XConnection& connection, Window parent, GC gc, const Rect& rect,
                             bool visible, drawn::PointerInput pointer)
    : display_(connection.display()), gc_(gc), buffer_(connection) {
  XSetWindowAttributes attributes{};
  attributes.background_pixmap = None;
  attributes.bit_gravity = NorthWestGravity;
  attributes.event_mask = ExposureMask | EventMaskOf(pointer);
  Window window = XCreateWindow(display_, parent, rect.left, rect.top, Positive(rect.Width()),
                                Positive(rect.Height()), 0, CopyFromParent, InputOutput,
                                CopyFromParent, CWBackPixmap | CWBitGravity | CWEventMask,
                                &attributes);
  window_ = WindowHandle(display_, window);
  if (visible) XMapWindow(display_, window);
}

raster::Surface* ControlWindow::Prepare(int width, int height) {
  if (!buffer_.Resize(width, height)) return nullptr;
  return &buffer_.surface();
}

void ControlWindow::Present() {
  if (!window_ || buffer_.empty()) return;
  buffer_.MarkPainted();
  buffer_.Put(window_.get(), gc_,
              Rect{0, 0, buffer_.surface().width(), buffer_.surface().height()});
}

void ControlWindow::Place(const Rect& rect) {
  if (!window_) return;
  XMoveResizeWindow(display_, window_.get(), rect.left, rect.top, Positive(rect.Width()),
                    Positive(rect.Height()));
}

void ControlWindow::SetVisible(bool visible) {
  if (!window_) return;
  if (visible) {
    XMapWindow(display_, window_.get());
  } else {
    XUnmapWindow(display_, window_.get());
  }
}

Window ControlWindowOf(const drawn::Control& control) {
  const auto* surface = dynamic_cast<const ControlWindow*>(control.surface());
  return surface != nullptr ? surface->window() : None;
}

}  // namespace quorvel::x11
