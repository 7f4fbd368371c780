// The dialog templates of the program, as data, for backends that build
// their windows themselves (X11) and for the test backend. The Win32 build
// reads the same templates from res/quorvel.rc.
#pragma once

#include <vector>

#include "platform/geometry.h"

namespace quorvel::platform {

enum class ControlKind {
  OwnerDrawButton,  // painted by the dialog's OnDrawItem
  PushButton,       // a plain button (never shown by the program)
  Edit,             // single-line edit, auto horizontal scroll
  MultiLineEdit,    // multi-line, read-only (never shown)
  BitmapStatic,     // shows bitmap `bitmapId` (0: empty)
  TextStatic,       // a static text (never shown)
};

struct ControlTemplate {
  int id;
  ControlKind kind;
  const char* caption;
  int bitmapId;     // BitmapStatic only
  Rect dialogUnits; // initial place in dialog units (x, y, x + w, y + h)
  bool visible;     // shown when the dialog is created
  bool clientEdge;  // Edit: sunken client edge (otherwise a thin border)
  bool centreImage; // BitmapStatic: the picture centred at its real size
  bool disabled = false;  // takes no input; a disabled OK button makes Enter do nothing
};

struct DialogTemplate {
  int id;
  const char* caption;  // empty: no caption bar
  int widthDu;
  int heightDu;
  bool hasCaption;      // caption bar and system menu
  std::vector<ControlTemplate> controls;
};

// Template `id` (IDD_MAIN_DIALOG or IDD_LAYERED_TEST), or null.
const DialogTemplate* FindDialogTemplate(int id);

// The size in pixels of `du` dialog units horizontally / vertically, for the
// template font (MS Sans Serif 8: a base unit of 6 x 13 pixels at 96 dpi).
int DialogUnitsToPixelsX(int du);
int DialogUnitsToPixelsY(int du);

}  // namespace quorvel::platform
