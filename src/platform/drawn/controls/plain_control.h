// The controls the program never shows: plain push buttons, text statics and
// the read-only multi-line edit. They still draw something plain (a face
// with the caption, or the text) in case they are shown.
#pragma once

#include "platform/drawn/controls/control.h"

namespace quorvel::drawn {

class PlainControl : public Control {
 public:
  PlainControl(ControlContext& context, const ControlLayout& layout);

 protected:
  void Draw(raster::RasterCanvas& canvas) override;

 private:
  platform::ControlKind kind_;
};

}  // namespace quorvel::drawn
