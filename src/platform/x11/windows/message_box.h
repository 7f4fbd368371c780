// MessageBox on X11: a small modal dialog of our own with the caption as its
// title, an icon, the text word-wrapped and an OK button. Enter, Esc, the OK
// button and the window manager's close end it; its owner takes no input
// meanwhile.
#pragma once

#include <string>

#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/services.h"
#include "platform/drawn/controls/dialog_layout.h"

namespace quorvel::x11 {

class X11DialogSystem;

// The window's size and the places of text and button for `text` drawn in
// `font` (measured on a raster canvas).
struct MessageBoxGeometry {
  drawn::DialogLayout layout;
  Rect icon;
  Rect text;
};
MessageBoxGeometry LayOutMessageBox(const std::string& text, const std::string& caption,
                                    const platform::Font& font);

void RunMessageBox(X11DialogSystem& dialogs, platform::Graphics& graphics,
                   platform::DialogHost* owner, const std::string& text,
                   const std::string& caption, platform::MessageIcon icon);

}  // namespace quorvel::x11
