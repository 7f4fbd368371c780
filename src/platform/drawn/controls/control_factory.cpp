#include "platform/drawn/controls/control_factory.h"

#include "platform/drawn/controls/bitmap_static.h"
#include "platform/drawn/controls/edit_control.h"
#include "platform/drawn/controls/owner_draw_button.h"
#include "platform/drawn/controls/plain_control.h"

namespace quorvel::drawn {

std::unique_ptr<Control> MakeControl(ControlContext& context, const ControlLayout& layout) {
  using platform::ControlKind;
  switch (layout.kind) {
    case ControlKind::OwnerDrawButton:
      return std::make_unique<OwnerDrawButton>(context, layout);
    case ControlKind::BitmapStatic:
      return std::make_unique<BitmapStatic>(context, layout);
    case ControlKind::Edit:
      return std::make_unique<EditControl>(context, layout);
    case ControlKind::PushButton:
    case ControlKind::MultiLineEdit:
    case ControlKind::TextStatic:
      break;
  }
  return std::make_unique<PlainControl>(context, layout);
}

}  // namespace quorvel::drawn
