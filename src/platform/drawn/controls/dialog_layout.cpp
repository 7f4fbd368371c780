#include "platform/drawn/controls/dialog_layout.h"

namespace quorvel::drawn {

DialogLayout LayoutOf(const platform::DialogTemplate& dialog) {
  using platform::DialogUnitsToPixelsX;
  using platform::DialogUnitsToPixelsY;
  DialogLayout layout;
  layout.caption = dialog.caption != nullptr ? dialog.caption : "";
  layout.hasCaption = dialog.hasCaption;
  layout.width = DialogUnitsToPixelsX(dialog.widthDu);
  layout.height = DialogUnitsToPixelsY(dialog.heightDu);
  for (const platform::ControlTemplate& c : dialog.controls) {
    ControlLayout control;
    control.id = c.id;
    control.kind = c.kind;
    control.caption = c.caption != nullptr ? c.caption : "";
    control.bitmapId = c.bitmapId;
    // Place and size are converted separately, as the dialog manager does.
    const int x = DialogUnitsToPixelsX(c.dialogUnits.left);
    const int y = DialogUnitsToPixelsY(c.dialogUnits.top);
    control.rect = Rect{x, y, x + DialogUnitsToPixelsX(c.dialogUnits.Width()),
                        y + DialogUnitsToPixelsY(c.dialogUnits.Height())};
    control.visible = c.visible;
    control.clientEdge = c.clientEdge;
    control.centreImage = c.centreImage;
    control.disabled = c.disabled;
    layout.controls.push_back(control);
  }
  return layout;
}

}  // namespace quorvel::drawn
