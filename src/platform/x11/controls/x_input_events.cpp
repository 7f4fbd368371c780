#include "platform/x11/controls/x_input_events.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <string>

#include "text/windows1252.h"

namespace quorvel::x11 {
namespace {

using drawn::Key;

// The Windows-1252 byte a key types when Latin-1 has none: Unicode keysyms
// (0x01000000 + code point) and the euro sign's own keysym.
unsigned char Windows1252FromKeysym(KeySym keysym) {
  if (keysym == XK_EuroSign) return text::Windows1252FromCodePoint(0x20AC);
  if ((keysym & 0xFF000000ul) == 0x01000000ul) {
    return text::Windows1252FromCodePoint(keysym & 0xFFFFFFul);
  }
  return 0;
}

drawn::PointerButton ButtonOf(unsigned button) {
  switch (button) {
    case Button1:
      return drawn::PointerButton::Left;
    case Button2:
      return drawn::PointerButton::Middle;
    case Button3:
      return drawn::PointerButton::Right;
    default:
      return drawn::PointerButton::Other;
  }
}

}  // namespace

Key KeyOf(KeySym keysym) {
  if (keysym >= XK_a && keysym <= XK_z) return drawn::LetterKey(static_cast<char>(keysym));
  if (keysym >= XK_A && keysym <= XK_Z) return drawn::LetterKey(static_cast<char>(keysym));
  switch (keysym) {
    case XK_BackSpace:
      return Key::Backspace;
    case XK_Tab:
    case XK_ISO_Left_Tab:
      return Key::Tab;
    case XK_Return:
    case XK_KP_Enter:
      return Key::Enter;
    case XK_Escape:
      return Key::Escape;
    case XK_Delete:
    case XK_KP_Delete:
      return Key::Delete;
    case XK_Insert:
    case XK_KP_Insert:
      return Key::Insert;
    case XK_Left:
    case XK_KP_Left:
      return Key::Left;
    case XK_Right:
    case XK_KP_Right:
      return Key::Right;
    case XK_Home:
    case XK_KP_Home:
      return Key::Home;
    case XK_End:
    case XK_KP_End:
      return Key::End;
    default:
      return Key::Other;
  }
}

drawn::KeyEvent KeyEventOf(KeySym keysym, unsigned state, const std::string& latin1) {
  drawn::KeyEvent key;
  key.key = KeyOf(keysym);
  key.shift = (state & ShiftMask) != 0 || keysym == XK_ISO_Left_Tab;
  key.control = (state & ControlMask) != 0;
  key.text = latin1;
  if (key.text.empty()) {
    const unsigned char byte = Windows1252FromKeysym(keysym);
    if (byte != 0) key.text.assign(1, static_cast<char>(byte));
  }
  return key;
}

drawn::KeyEvent KeyEventOf(XKeyEvent& event) {
  char typed[32] = {};
  KeySym keysym = NoSymbol;
  const int length = XLookupString(&event, typed, sizeof typed - 1, &keysym, nullptr);
  return KeyEventOf(keysym, event.state,
                    std::string(typed, length > 0 ? static_cast<std::size_t>(length) : 0));
}

bool PointerEventOf(const XEvent& event, Point origin, drawn::PointerEvent& out) {
  out = drawn::PointerEvent{};
  switch (event.type) {
    case ButtonPress:
    case ButtonRelease:
      out.action = event.type == ButtonPress ? drawn::PointerAction::Press
                                             : drawn::PointerAction::Release;
      out.button = ButtonOf(event.xbutton.button);
      out.at = Point{origin.x + event.xbutton.x, origin.y + event.xbutton.y};
      out.shift = (event.xbutton.state & ShiftMask) != 0;
      return true;
    case MotionNotify:
      out.action = drawn::PointerAction::Motion;
      out.at = Point{origin.x + event.xmotion.x, origin.y + event.xmotion.y};
      out.shift = (event.xmotion.state & ShiftMask) != 0;
      return true;
    case EnterNotify:
    case LeaveNotify:
      out.action =
          event.type == EnterNotify ? drawn::PointerAction::Enter : drawn::PointerAction::Leave;
      out.at = Point{origin.x + event.xcrossing.x, origin.y + event.xcrossing.y};
      out.shift = (event.xcrossing.state & ShiftMask) != 0;
      return true;
    default:
      return false;
  }
}

}  // namespace quorvel::x11
