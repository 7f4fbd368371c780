// A static control showing a bitmap (SS_BITMAP): the picture at (0, 0), or
// centred at its real size with the rest filled in the colour of its
// top-left pixel (SS_CENTERIMAGE).
#pragma once

#include <memory>

#include "platform/drawn/controls/control.h"

namespace quorvel::drawn {

class BitmapStatic : public Control {
 public:
  // Without `centreImage` the control takes the size of its bitmap, as the
  // static control does when it is created.
  BitmapStatic(ControlContext& context, const ControlLayout& layout);

 protected:
  void Draw(raster::RasterCanvas& canvas) override;

 private:
  BitmapStatic(ControlContext& context, const ControlLayout& layout,
               std::unique_ptr<platform::Canvas> bitmap);
  static ControlLayout Sized(ControlLayout layout, const platform::Canvas* bitmap);

  std::unique_ptr<platform::Canvas> bitmap_;
  bool centre_;
};

}  // namespace quorvel::drawn
