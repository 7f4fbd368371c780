// MessageBox where the program draws its own dialogs: a small modal dialog
// with the caption as its title, an icon, the text word-wrapped and an OK
// button. Enter, Esc, the OK button and the window manager's close end it;
// its owner takes no input meanwhile.
#pragma once

#include <string>

#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/drawn/controls/dialog_layout.h"
#include "platform/drawn/dialogs/modal_layout_runner.h"
#include "platform/services.h"

namespace quorvel::raster {
class RasterCanvas;
}

namespace quorvel::drawn {

// The window's size and the places of icon, text and button for `text`
// drawn in `font` (measured on a raster canvas).
struct MessageBoxGeometry {
  DialogLayout layout;
  Rect icon;
  Rect text;
};
MessageBoxGeometry LayOutMessageBox(const std::string& text, const std::string& caption,
                                    const platform::Font& font);

// The message box's handlers: its background with icon and text, the OK
// button (OnDrawItem), and the end on OK or Esc. They draw on raster
// canvases only.
class MessageBoxHandlers : public platform::DialogHandlers {
 public:
  // `geometry`, `font` and `markFont` (the letter on the icon) must outlive
  // the handlers.
  MessageBoxHandlers(const MessageBoxGeometry& geometry, const std::string& text,
                     const platform::Font& font, const platform::Font& markFont,
                     platform::MessageIcon icon)
      : geometry_(geometry), text_(text), font_(font), markFont_(markFont), icon_(icon) {}

  void Attach(platform::DialogHost* host) override { host_ = host; }
  bool OnInitDialog() override { return true; }
  bool OnEraseBackground(platform::Canvas& window) override;
  bool OnDrawItem(const platform::DrawItem& item, platform::Canvas& target) override;
  void OnCommand(int id) override;
  void OnTimer(int) override {}
  void OnLButtonUp(Point) override {}
  bool OnSystemCommand(unsigned) override { return false; }
  bool OnNonClientActivate() override { return false; }
  Colour DialogBrushColour() override;
  void OnDestroy() override {}

 private:
  void DrawIcon(raster::RasterCanvas& canvas);

  const MessageBoxGeometry& geometry_;
  std::string text_;
  const platform::Font& font_;
  const platform::Font& markFont_;
  platform::MessageIcon icon_;
  platform::DialogHost* host_ = nullptr;
};

// Shows the message box and returns when it has ended; nothing when its
// fonts cannot be made.
void RunMessageBox(ModalLayoutRunner& dialogs, platform::Graphics& graphics,
                   platform::DialogHost* owner, const std::string& text,
                   const std::string& caption, platform::MessageIcon icon);

}  // namespace quorvel::drawn
