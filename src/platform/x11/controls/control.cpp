#include "platform/x11/controls/control.h"

#include "platform/x11/display/x_connection.h"
#include "platform/drawn/controls/pixel_ops.h"
#include "raster/raster_canvas.h"

namespace quorvel::x11 {

Control::Control(ControlContext& context, const drawn::ControlLayout& layout)
    : context_(context),
      id_(layout.id),
      rect_(layout.rect),
      visible_(layout.visible),
      enabled_(!layout.disabled),
      text_(layout.caption),
      buffer_(context.connection()) {}

void Control::CreateWindow() {
  Display* d = context_.connection().display();
  XSetWindowAttributes attributes{};
  attributes.background_pixmap = None;
  attributes.bit_gravity = NorthWestGravity;
  attributes.event_mask = ExposureMask | PointerEventMask();
  const int w = rect_.Width() > 0 ? rect_.Width() : 1;
  const int h = rect_.Height() > 0 ? rect_.Height() : 1;
  Window window = XCreateWindow(d, context_.dialogWindow(), rect_.left, rect_.top,
                                static_cast<unsigned>(w), static_cast<unsigned>(h), 0,
                                CopyFromParent, InputOutput, CopyFromParent,
                                CWBackPixmap | CWBitGravity | CWEventMask, &attributes);
  window_ = WindowHandle(d, window);
  if (visible_) XMapWindow(d, window);
}

void Control::DestroyWindow() {
  window_.Reset();
  buffer_.Resize(0, 0);
  painted_ = false;
}

const platform::Font& Control::font() const {
  return font_ != nullptr ? *font_ : context_.defaultFont();
}

void Control::SetText(const std::string& text) {
  text_ = text;
  invalid_ = true;
}

void Control::Show(bool show) {
  if (show == visible_) return;
  visible_ = show;
  if (!window_) return;
  Display* d = context_.connection().display();
  if (show) {
    invalid_ = true;
    XMapWindow(d, window_.get());
  } else {
    XUnmapWindow(d, window_.get());
  }
}

void Control::Move(const Rect& rect, bool repaint) {
  const bool resized = rect.Width() != rect_.Width() || rect.Height() != rect_.Height();
  rect_ = rect;
  if (window_) {
    const int w = rect_.Width() > 0 ? rect_.Width() : 1;
    const int h = rect_.Height() > 0 ? rect_.Height() : 1;
    XMoveResizeWindow(context_.connection().display(), window_.get(), rect_.left, rect_.top,
                      static_cast<unsigned>(w), static_cast<unsigned>(h));
  }
  // What shows behind the control changed with its place as well.
  if (repaint || resized) invalid_ = true;
}

void Control::FillBehind(raster::RasterCanvas& canvas) {
  raster::Surface& target = canvas.surface();
  const raster::Surface* behind = context_.dialogPicture();
  if (behind == nullptr || behind->empty()) {
    drawn::FillPixels(target, target.Bounds(), context_.handlers().DialogBrushColour());
    return;
  }
  drawn::FillPixels(target, target.Bounds(), 0);
  drawn::CopyPixels(target, -rect_.left, -rect_.top, *behind);
}

void Control::MarkExposed() {
  if (painted_ && buffer_.surface().width() == rect_.Width() &&
      buffer_.surface().height() == rect_.Height()) {
    exposed_ = true;
  } else {
    invalid_ = true;
  }
}

void Control::Paint() {
  invalid_ = false;
  exposed_ = false;
  if (!window_ || !visible_ || rect_.Width() <= 0 || rect_.Height() <= 0) return;
  if (!buffer_.Resize(rect_.Width(), rect_.Height())) return;
  raster::RasterCanvas canvas(&buffer_.surface());
  FillBehind(canvas);
  Draw(canvas);
  buffer_.MarkPainted();
  painted_ = true;
  buffer_.Put(window_.get(), context_.gc(), Rect{0, 0, rect_.Width(), rect_.Height()});
  context_.ControlPainted(*this);
}

void Control::PaintIfInvalid() {
  if (!visible_) return;
  if (invalid_) {
    Paint();
  } else if (exposed_ && window_) {
    exposed_ = false;
    buffer_.Put(window_.get(), context_.gc(), Rect{0, 0, rect_.Width(), rect_.Height()});
  }
}

}  // namespace quorvel::x11
