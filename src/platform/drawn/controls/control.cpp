#include "platform/drawn/controls/control.h"

#include "platform/drawn/controls/pixel_ops.h"
#include "raster/raster_canvas.h"

namespace quorvel::drawn {

Control::Control(ControlContext& context, const ControlLayout& layout)
    : context_(context),
      id_(layout.id),
      rect_(layout.rect),
      visible_(layout.visible),
      enabled_(!layout.disabled),
      text_(layout.caption) {}

void Control::CreateSurface() {
  surface_ = context_.CreateSurface(rect_, visible_, PointerInputs());
}

void Control::ReleaseSurface() {
  surface_.reset();
  painted_ = false;
}

const raster::Surface& Control::picture() const {
  static const raster::Surface kNone;
  return surface_ ? surface_->pixels() : kNone;
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
  if (!surface_) return;
  if (show) invalid_ = true;
  surface_->SetVisible(show);
}

void Control::Move(const Rect& rect, bool repaint) {
  const bool resized = rect.Width() != rect_.Width() || rect.Height() != rect_.Height();
  rect_ = rect;
  if (surface_) surface_->Place(rect_);
  // What shows behind the control changed with its place as well.
  if (repaint || resized) invalid_ = true;
}

void Control::FillBehind(raster::RasterCanvas& canvas) {
  raster::Surface& target = canvas.surface();
  const raster::Surface* behind = context_.dialogPicture();
  if (behind == nullptr || behind->empty()) {
    FillPixels(target, target.Bounds(), context_.handlers().DialogBrushColour());
    return;
  }
  FillPixels(target, target.Bounds(), 0);
  CopyPixels(target, -rect_.left, -rect_.top, *behind);
}

void Control::MarkExposed() {
  if (painted_ && picture().width() == rect_.Width() && picture().height() == rect_.Height()) {
    exposed_ = true;
  } else {
    invalid_ = true;
  }
}

void Control::Paint() {
  invalid_ = false;
  exposed_ = false;
  if (!surface_ || !visible_ || rect_.Width() <= 0 || rect_.Height() <= 0) return;
  raster::Surface* pixels = surface_->Prepare(rect_.Width(), rect_.Height());
  if (pixels == nullptr) return;
  raster::RasterCanvas canvas(pixels);
  FillBehind(canvas);
  Draw(canvas);
  painted_ = true;
  surface_->Present();
  context_.ControlPainted(*this);
}

void Control::PaintIfInvalid() {
  if (!visible_) return;
  if (invalid_) {
    Paint();
  } else if (exposed_ && surface_) {
    exposed_ = false;
    surface_->Present();
  }
}

}  // namespace quorvel::drawn
