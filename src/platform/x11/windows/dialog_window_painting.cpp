// A dialog's painting: invalid areas, the frame in the back buffer, the
// controls on top, and the colour-key shape made from the result.
#include "platform/x11/windows/dialog_window.h"

#include <algorithm>

#include "platform/drawn/controls/pixel_ops.h"
#include "platform/x11/controls/control_window.h"
#include "platform/x11/display/x_connection.h"
#include "platform/x11/painting/colour_key_shape.h"
#include "raster/raster_canvas.h"

namespace quorvel::x11 {
namespace {

Rect Union(const Rect& a, const Rect& b) {
  if (a.Width() <= 0 || a.Height() <= 0) return b;
  if (b.Width() <= 0 || b.Height() <= 0) return a;
  return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

Rect Clip(const Rect& r, int width, int height) {
  return Rect{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width),
              std::min(r.bottom, height)};
}

}  // namespace

void DialogWindow::InvalidateAll(bool erase) {
  dirty_ = true;
  erase_ = erase_ || erase;
  dirtyArea_ = ClientRect();
}

void DialogWindow::Invalidate(const Rect* clientRect, bool erase) {
  if (clientRect == nullptr) return InvalidateAll(erase);
  const Rect r = Clip(*clientRect, geometry_.Width(), geometry_.Height());
  if (r.Width() <= 0 || r.Height() <= 0) return;
  dirty_ = true;
  erase_ = erase_ || erase;
  dirtyArea_ = Union(dirtyArea_, r);
}

void DialogWindow::PaintFrame() {
  const int width = geometry_.Width();
  const int height = geometry_.Height();
  Rect area = dirtyArea_;
  const bool erase = erase_;
  // Cleared first: what the handlers invalidate while painting stays invalid.
  dirty_ = false;
  erase_ = false;
  dirtyArea_ = Rect{};
  if (!buffer_.Resize(width, height)) return;
  if (erase || buffer_.fresh()) {
    if (buffer_.fresh()) area = Rect{0, 0, width, height};
    raster::RasterCanvas canvas(&buffer_.surface());
    if (!handlers_.OnEraseBackground(canvas)) {
      drawn::FillPixels(buffer_.surface(), buffer_.surface().Bounds(),
                        handlers_.DialogBrushColour());
    }
    buffer_.MarkPainted();
    shapeStale_ = true;
  }
  buffer_.Put(window_.get(), gc_.get(), Clip(area, width, height));
}

bool DialogWindow::NeedsPaint() const {
  if (!window_ || !shown_) return false;
  if (dirty_ || (shapeStale_ && colourKeyed_)) return true;
  for (const auto& control : controls_.all()) {
    if (control->invalid()) return true;
  }
  return false;
}

bool DialogWindow::PaintNow() {
  if (!window_ || !shown_) return false;
  bool painted = false;
  if (dirty_) {
    PaintFrame();
    painted = true;
  }
  for (const auto& control : controls_.all()) {
    if (!control->invalid()) continue;
    control->PaintIfInvalid();
    painted = true;
  }
  if (shapeStale_ && colourKeyed_) RebuildShape();
  shapeStale_ = false;
  return painted;
}

bool DialogWindow::PaintInvalid() { return PaintNow(); }

void DialogWindow::Update() {
  PaintNow();
  if (window_) XFlush(connection().display());
}

void DialogWindow::CollectExposures() {
  Display* d = connection().display();
  XEvent event;
  while (XCheckTypedWindowEvent(d, window_.get(), Expose, &event)) HandleEvent(event);
  for (const auto& control : controls_.all()) {
    const Window window = ControlWindowOf(*control);
    if (window == None) continue;
    while (XCheckTypedWindowEvent(d, window, Expose, &event)) control->MarkExposed();
  }
}

void DialogWindow::RebuildShape() {
  if (!window_ || buffer_.empty() || buffer_.fresh()) return;
  // The window's own pixels: the frame with the shown controls on top.
  raster::Surface picture(buffer_.surface().width(), buffer_.surface().height());
  drawn::CopyPixels(picture, 0, 0, buffer_.surface());
  for (const auto& control : controls_.all()) {
    if (control->visible() && control->painted()) {
      drawn::CopyPixels(picture, control->rect().left, control->rect().top, control->picture());
    }
  }
  ApplyColourKeyShape(connection().display(), window_.get(), picture, colourKey_);
}

}  // namespace quorvel::x11
