// Modal dialogs from the templates in the module's resources, with the
// main dialog as the default owner.
#pragma once

#include <memory>
#include <vector>

#include "platform/dialog.h"
#include "platform/win32/dialog_window.h"

namespace quorvel::win32 {

class Win32DialogSystem : public platform::DialogSystem {
 public:
  int RunModal(int templateId, platform::DialogHandlers& handlers,
               platform::DialogHost* owner) override;

 private:
  // Every host made, kept until the dialog system goes: a worker thread may
  // still call a test window's host after its dialog ended, and then gets
  // harmless no-ops instead of a freed object.
  std::vector<std::unique_ptr<DialogWindow>> hosts_;
  // The dialogs running now, outermost (the main dialog) first.
  std::vector<DialogWindow*> running_;
};

}  // namespace quorvel::win32
