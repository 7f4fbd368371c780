#include "platform/win32/dialog_system.h"

#include <algorithm>

namespace quorvel::win32 {

int Win32DialogSystem::RunModal(int templateId, platform::DialogHandlers& handlers,
                                platform::DialogHost* owner) {
  // Without an owner a dialog belongs to the main dialog, which stays
  // disabled while it runs.
  HWND ownerWindow = owner != nullptr ? DialogWindow::HandleOf(owner)
                     : running_.empty() ? nullptr
                                        : running_.front()->hwnd();

  hosts_.push_back(std::make_unique<DialogWindow>(handlers));
  DialogWindow* window = hosts_.back().get();
  running_.push_back(window);
  const int result = window->RunModal(templateId, ownerWindow);
  running_.erase(std::find(running_.begin(), running_.end(), window));
  return result;
}

}  // namespace quorvel::win32
