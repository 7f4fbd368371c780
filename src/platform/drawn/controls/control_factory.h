// The control object for each kind of control in a dialog layout.
#pragma once

#include <memory>

#include "platform/drawn/controls/control.h"

namespace quorvel::drawn {

std::unique_ptr<Control> MakeControl(ControlContext& context, const ControlLayout& layout);

}  // namespace quorvel::drawn
