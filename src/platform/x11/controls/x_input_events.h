// X events in the program's own terms (drawn/controls/input_events.h): keys
// and the pointer on a control's window.
#pragma once

#include <X11/Xlib.h>

#include "platform/drawn/controls/input_events.h"

namespace quorvel::x11 {

// The key a keysym stands for; Other when the program gives it no meaning.
drawn::Key KeyOf(KeySym keysym);

// A key event as the program sees it: the key, Shift and Ctrl, and the
// text it types in Windows-1252 (XLookupString's Latin-1, or for the keys
// beyond Latin-1 that Windows-1252 still has, such as the euro sign and
// typographic quotes, their Windows-1252 byte). ISO_Left_Tab, what Shift+Tab
// sends, is Tab with Shift.
drawn::KeyEvent KeyEventOf(XKeyEvent& event);

// The same from what XLookupString gave: the keysym and the Latin-1 text.
drawn::KeyEvent KeyEventOf(KeySym keysym, unsigned state, const std::string& latin1);

// A pointer event on a control's window at `origin` (its top-left corner
// in the dialog's client coordinates); false for events that are not one.
bool PointerEventOf(const XEvent& event, Point origin, drawn::PointerEvent& out);

}  // namespace quorvel::x11
