// The portable base of the program's dialogs: what a dialog framework's
// dialog class does by default, over the platform's dialog host.
#pragma once

#include "platform/platform.h"

namespace quorvel {

class Dialog : public platform::DialogHandlers {
 public:
  Dialog(platform::Platform& platform, int templateId);
  ~Dialog() override = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Creates the window, runs it modally and returns the EndDialog value.
  int DoModal(platform::DialogHost* owner = nullptr);

  // Copies the text members into their controls (false) or back (true).
  void UpdateData(bool saveAndValidate);

  // DialogHandlers defaults: nothing painted, nothing owner-drawn, no
  // system command or activation swallowed; Enter ends with IDOK, Esc with
  // IDCANCEL.
  void Attach(platform::DialogHost* host) override;
  bool OnInitDialog() override;
  bool OnEraseBackground(platform::Canvas& window) override;
  bool OnDrawItem(const platform::DrawItem& item, platform::Canvas& canvas) override;
  void OnCommand(int id) override;
  void OnTimer(int id) override;
  void OnLButtonUp(Point clientPoint) override;
  bool OnSystemCommand(unsigned command) override;
  bool OnNonClientActivate() override;
  Colour DialogBrushColour() override;
  void OnDestroy() override;

 protected:
  virtual void OnOK();
  virtual void OnCancel();
  // Exchanges the text members with their edit controls.
  virtual void DoDataExchange(bool saveAndValidate);

  platform::Platform& platform() { return platform_; }
  // The running window; only valid between Attach(host) and Attach(null).
  platform::DialogHost& host() { return *host_; }
  bool HasWindow() const { return host_ != nullptr; }

 private:
  platform::Platform& platform_;
  int templateId_;
  platform::DialogHost* host_ = nullptr;
};

}  // namespace quorvel
