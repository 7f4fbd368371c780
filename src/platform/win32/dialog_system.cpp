#include "platform/win32/dialog_system.h"

#include <algorithm>

#include "platform/win32/module.h"

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
  const INT_PTR result =
      ::DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(templateId), ownerWindow,
                        &DialogWindow::DialogProc, reinterpret_cast<LPARAM>(window));
  running_.erase(std::find(running_.begin(), running_.end(), window));
  window->Detach();
  return static_cast<int>(result);
}

}  // namespace quorvel::win32
