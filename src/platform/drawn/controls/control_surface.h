// What shows one control on the desktop: the backend's part of a control.
// The control draws the whole of itself into the surface's pixels and asks
// for them to be shown; the backend decides how (an X child window with
// its own image, a part of a Wayland buffer).
#pragma once

#include "platform/geometry.h"
#include "raster/surface.h"

namespace quorvel::drawn {

class ControlSurface {
 public:
  virtual ~ControlSurface() = default;

  // The pixels to draw the control into, width x height. They stay as
  // drawn while the size stays the same; after a new size they are
  // undefined until drawn. Null when the memory cannot be had.
  virtual raster::Surface* Prepare(int width, int height) = 0;
  // The pixels last prepared (empty before the first Prepare).
  virtual const raster::Surface& pixels() const = 0;
  // Shows the pixels, all of them; again after the desktop lost them.
  virtual void Present() = 0;
  // The control's new place, in the dialog's client coordinates.
  virtual void Place(const Rect& rect) = 0;
  virtual void SetVisible(bool visible) = 0;
};

}  // namespace quorvel::drawn
