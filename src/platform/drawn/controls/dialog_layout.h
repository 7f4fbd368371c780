// A dialog's window and controls in pixels: from a template (dialog units),
// or made directly (the message box).
#pragma once

#include <string>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/geometry.h"

namespace quorvel::drawn {

struct ControlLayout {
  int id = 0;
  platform::ControlKind kind = platform::ControlKind::TextStatic;
  std::string caption;
  int bitmapId = 0;
  Rect rect;  // in the dialog's client coordinates
  bool visible = false;
  bool clientEdge = false;
  bool centreImage = false;
  bool disabled = false;
};

struct DialogLayout {
  std::string caption;
  bool hasCaption = false;  // a decorated window with a title; else undecorated
  int width = 0;
  int height = 0;
  std::vector<ControlLayout> controls;
};

DialogLayout LayoutOf(const platform::DialogTemplate& dialog);

}  // namespace quorvel::drawn
