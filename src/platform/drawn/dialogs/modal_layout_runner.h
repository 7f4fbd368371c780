// What runs a modal dialog laid out in pixels rather than from a template
// (the message box): the backend's dialog system.
#pragma once

#include "platform/dialog.h"
#include "platform/drawn/controls/dialog_layout.h"

namespace quorvel::drawn {

class ModalLayoutRunner {
 public:
  virtual ~ModalLayoutRunner() = default;
  // Runs the dialog until it ends, as DialogSystem::RunModal does; its
  // result, or -1 when its window cannot be made.
  virtual int RunModalLayout(const DialogLayout& layout, platform::DialogHandlers& handlers,
                             platform::DialogHost* owner) = 0;
};

}  // namespace quorvel::drawn
