// A control's X child window with its own retained image: the surface a
// control of an X11 dialog draws into. The window has no background (None),
// so the server never clears it and nothing flickers when it is painted.
#pragma once

#include <X11/Xlib.h>

#include "platform/drawn/controls/control.h"
#include "platform/drawn/controls/control_surface.h"
#include "platform/drawn/controls/input_events.h"
#include "platform/x11/display/x_handles.h"
#include "platform/x11/painting/image_buffer.h"

namespace quorvel::x11 {

class XConnection;

class ControlWindow : public drawn::ControlSurface {
 public:
  // A child of `parent` at `rect`, mapped when `visible`, listening to
  // Expose and the events of `pointer`; its images are put with `gc`, which
  // must outlive it.
  ControlWindow(XConnection& connection, Window parent, GC gc, const Rect& rect, bool visible,
                drawn::PointerInput pointer);

  Window window() const { return window_.get(); }

  raster::Surface* Prepare(int width, int height) override;
  const raster::Surface& pixels() const override { return buffer_.surface(); }
  void Present() override;
  void Place(const Rect& rect) override;
  void SetVisible(bool visible) override;

 private:
  Display* display_;
  GC gc_;
  // The image goes after the window it was put on.
  ImageBuffer buffer_;
  WindowHandle window_;
};

// The X window of a control of an X11 dialog; None when it has none.
Window ControlWindowOf(const drawn::Control& control);

}  // namespace quorvel::x11
