// A button the dialog paints itself (BS_OWNERDRAW): OnDrawItem draws it, in
// its pressed state while the left button is held down inside it; a release
// inside is a click (OnCommand with the button's id).
#pragma once

#include "platform/drawn/controls/control.h"

namespace quorvel::drawn {

class OwnerDrawButton : public Control {
 public:
  OwnerDrawButton(ControlContext& context, const ControlLayout& layout);

  void HandlePointer(const PointerEvent& event) override;
  bool pressed() const { return pressed_; }

 protected:
  void Draw(raster::RasterCanvas& canvas) override;
  PointerInput PointerInputs() const override;

 private:
  // `p` relative to the button.
  bool Inside(Point p) const;
  void SetPressed(bool pressed);

  bool tracking_ = false;  // the left button went down on this button
  bool pressed_ = false;
};

}  // namespace quorvel::drawn
