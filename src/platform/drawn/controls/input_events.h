// The input a control receives, in this program's terms: a backend turns
// what its desktop sends (X events, Wayland's keyboard and pointer events)
// into these before any control sees them. The names keep clear of Xlib's
// macros (KeyPress, ButtonPress, None), which the X11 backend's sources
// see beside these.
#pragma once

#include <string>

#include "platform/geometry.h"

namespace quorvel::drawn {

// The keys the dialogs and controls react to; every other key is Other and
// only types its text. Keypad keys arrive as the keys they stand for when
// they do not type a digit (the keypad's Delete is Delete).
enum class Key {
  Other,
  Backspace,
  Tab,
  Enter,
  Escape,
  Delete,
  Insert,
  Left,
  Right,
  Home,
  End,
  // Letters, whether Shift or Caps Lock makes them capitals or not (for
  // the shortcuts Ctrl+A and Ctrl+V).
  A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
};

// The key for letter `c` ('a'..'z' or 'A'..'Z'), else Other.
constexpr Key LetterKey(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<Key>(static_cast<int>(Key::A) + (c - 'a'));
  if (c >= 'A' && c <= 'Z') return static_cast<Key>(static_cast<int>(Key::A) + (c - 'A'));
  return Key::Other;
}

// A key going down (or repeating while held).
struct KeyEvent {
  Key key = Key::Other;
  bool shift = false;
  bool control = false;
  // What the key types, in Windows-1252; empty for keys that type nothing
  // and for characters Windows-1252 does not have.
  std::string text;
};

enum class PointerAction {
  Press,    // a button went down over the control
  Release,  // a button that went down over the control came up
  Motion,   // the pointer moved while the left button was held
  Enter,    // the pointer came over the control
  Leave,    // the pointer left it
};

enum class PointerButton { NoButton, Left, Middle, Right, Other };

struct PointerEvent {
  PointerAction action = PointerAction::Motion;
  PointerButton button = PointerButton::NoButton;  // for Press and Release
  Point at;  // in the dialog's client coordinates
  bool shift = false;
};

// Which pointer events a control takes; the backend sends it no others.
enum class PointerInput {
  Ignored,
  // Press, Release, and Motion while the left button is held.
  Buttons,
  // Those, and Enter and Leave.
  ButtonsAndCrossing,
};

}  // namespace quorvel::drawn
