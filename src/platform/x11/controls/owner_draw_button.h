// A button the dialog paints itself (BS_OWNERDRAW): OnDrawItem draws it, in
// its pressed state while the left button is held down inside it; a release
// inside is a click (OnCommand with the button's id).
#pragma once

#include "platform/x11/controls/control.h"

namespace quorvel::x11 {

class OwnerDrawButton : public Control {
 public:
  OwnerDrawButton(ControlContext& context, const drawn::ControlLayout& layout);

  void HandlePointer(const XEvent& event) override;
  bool pressed() const { return pressed_; }

 protected:
  void Draw(raster::RasterCanvas& canvas) override;
  long PointerEventMask() const override;

 private:
  bool Inside(int x, int y) const;
  void SetPressed(bool pressed);

  bool tracking_ = false;  // the left button went down on this button
  bool pressed_ = false;
};

}  // namespace quorvel::x11
