// The controls the program never shows: plain push buttons, text statics and
// the read-only multi-line edit. They still draw something plain (a face
// with the caption, or the text) in case they are shown.
#pragma once

#include "platform/x11/controls/control.h"

namespace quorvel::x11 {

class PlainControl : public Control {
 public:
  PlainControl(ControlContext& context, const drawn::ControlLayout& layout);

 protected:
  void Draw(raster::RasterCanvas& canvas) override;

 private:
  platform::ControlKind kind_;
};

}  // namespace quorvel::x11
