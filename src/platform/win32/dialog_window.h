// One running dialog window: the host the portable dialog drives, and the
// window procedure that puts the dialog's handlers in front of the dialog
// manager.
#pragma once

#include "platform/win32/windows_api.h"

#include <atomic>

#include "platform/dialog.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/maximised_size.h"

namespace quorvel::win32 {

class DialogWindow : public platform::DialogHost {
 public:
  explicit DialogWindow(platform::DialogHandlers& handlers) : handlers_(handlers) {}
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  // The window of a host of this backend; null for null, for a foreign host
  // and once the window is destroyed.
  static HWND HandleOf(platform::DialogHost* host);
  HWND hwnd() const { return hwnd_.load(); }

  // Creates the window of template `templateId` owned by `owner` (may be
  // null), runs it modally and returns the EndDialog value; -1 when the
  // window cannot be made. The handlers see the window from Attach(this)
  // before OnInitDialog to Attach(nullptr) once it is destroyed.
  int RunModal(int templateId, HWND owner);

  void ShowControl(int id, bool show) override;
  bool IsControlVisible(int id) override;
  void MoveControl(int id, int x, int y, int w, int h, bool repaint) override;
  Rect ControlRect(int id) override;
  void InvalidateControl(int id, bool erase) override;
  void UpdateControl(int id) override;
  void SetControlFont(int id, const platform::Font& font, bool redraw) override;
  std::string GetControlText(int id) override;
  void SetControlText(int id, const std::string& text) override;
  void SuppressControlErase(int id) override;

  void SetTimer(int id, unsigned periodMs) override;
  void KillTimer(int id) override;
  void Invalidate(const Rect* clientRect, bool erase) override;
  void Update() override;
  Rect WindowRect() override;
  Rect ClientRect() override;
  void ShowWindow(platform::Show how) override;
  void SetFocus() override;
  bool AppendSystemMenuItem(unsigned command, const std::string& text) override;
  void SetIcon(int iconId) override;
  void EndDialog(int result) override;

  bool IsWindowVisible() override;
  void MoveWindow(int x, int y, int w, int h, bool repaint) override;
  void UpdateWindow() override;
  bool SetLayeredAttributes(Colour key, int alpha, unsigned flags) override;
  // The client area through ClientToScreen, and the screen's pixels
  // (CaptureScreen).
  Rect ClientAreaOnScreen() override;
  bool ReadScreen(const Rect& screenRect, std::vector<Colour>& pixels) override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void PumpUntilEnded();
  void Detach();
  void Initialise(HWND hwnd);
  LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HBRUSH DialogBrush();
  HWND Control(int id) const;
  // The window when it still exists; worker threads check before each call.
  HWND LiveWindow() const;

  platform::DialogHandlers& handlers_;
  // Read by worker threads; cleared when the window is destroyed.
  std::atomic<HWND> hwnd_{nullptr};
  WNDPROC dialogClassProc_ = nullptr;
  UniqueBrush brush_;
  MaximisedSize maximisedSize_;
  bool attached_ = false;
  // Set by EndDialog, from any thread; the modal loop checks after each message.
  std::atomic<bool> ended_{false};
  std::atomic<int> result_{-1};
};

}  // namespace quorvel::win32
