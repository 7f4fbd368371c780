// The control object for each kind of control in a dialog layout.
#pragma once

#include <memory>

#include "platform/x11/controls/control.h"

namespace quorvel::x11 {

std::unique_ptr<Control> MakeControl(ControlContext& context, const drawn::ControlLayout& layout);

}  // namespace quorvel::x11
