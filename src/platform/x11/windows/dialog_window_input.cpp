// A dialog's X events: keys, the pointer on its own window, the window
// manager's messages, its geometry, focus and pasting.
#include "platform/x11/windows/dialog_window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>

#include "platform/resource_ids.h"
#include "platform/x11/display/x_connection.h"
#include "platform/x11/windows/frame_sync.h"
#include "text/windows1252.h"

namespace quorvel::x11 {

using text::Utf8ToWindows1252;
using text::Windows1252FromCodePoint;

namespace {

// The Windows-1252 byte a key types when Latin-1 has none: Unicode keysyms
// (0x01000000 + code point) and the euro sign's own keysym.
unsigned char Windows1252FromKeysym(KeySym keysym) {
  if (keysym == XK_EuroSign) return Windows1252FromCodePoint(0x20AC);
  if ((keysym & 0xFF000000ul) == 0x01000000ul) return Windows1252FromCodePoint(keysym & 0xFFFFFFul);
  return 0;
}

// Latin-1 (the STRING target) to Windows-1252: the same bytes, without the
// C1 control characters.
std::string Latin1ToWindows1252(const std::string& text) {
  std::string out;
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x80 || u >= 0xA0) out += c;
  }
  return out;
}

}  // namespace

void DialogWindow::HandleEvent(XEvent& event) {
  const Window target = event.xany.window;
  if (target != window_.get()) {
    for (const auto& control : controls_) {
      if (control->window() != target) continue;
      if (event.type == Expose) {
        control->MarkExposed();
      } else {
        control->HandlePointer(event);
      }
      return;
    }
    return;
  }
  switch (event.type) {
    case Expose: {
      // Painted from the retained frame when the loop is idle.
      const XExposeEvent& e = event.xexpose;
      const Rect exposed{e.x, e.y, e.x + e.width, e.y + e.height};
      Invalidate(&exposed, false);
      break;
    }
    case ConfigureNotify:
      HandleConfigure(event.xconfigure);
      break;
    case MapNotify:
      mapped_ = true;
      if (wantFocus_ || acceptsInput()) ApplyFocus();
      break;
    case UnmapNotify:
      mapped_ = false;
      break;
    case ReparentNotify:
      reparented_ = event.xreparent.parent != connection().root();
      break;
    case KeyPress:
      if (acceptsInput()) HandleKey(event.xkey);
      break;
    case ButtonRelease:
      if (acceptsInput() && event.xbutton.button == Button1) {
        handlers_.OnLButtonUp(Point{event.xbutton.x, event.xbutton.y});
      }
      break;
    case ClientMessage:
      HandleClientMessage(event.xclient);
      break;
    case SelectionNotify:
      HandlePaste(event.xselection);
      break;
    default:
      break;
  }
}

void DialogWindow::HandleKey(XKeyEvent& key) {
  char typed[32] = {};
  KeySym keysym = NoSymbol;
  const int length = XLookupString(&key, typed, sizeof typed - 1, &keysym, nullptr);
  switch (keysym) {
    case XK_Escape:
      handlers_.OnCommand(IDCANCEL);
      return;
    case XK_Return:
    case XK_KP_Enter: {
      // Enter presses the OK button, and does nothing where it is disabled
      // (the test window's).
      const Control* ok = FindControl(IDOK);
      if (ok == nullptr || ok->enabled()) handlers_.OnCommand(IDOK);
      return;
    }
    case XK_Tab:
    case XK_ISO_Left_Tab:
      MoveFocus(keysym == XK_ISO_Left_Tab || (key.state & ShiftMask) != 0);
      return;
    default:
      break;
  }
  if (focused_ == nullptr || !focused_->visible()) return;
  std::string text(typed, length > 0 ? static_cast<std::size_t>(length) : 0);
  if (text.empty()) {
    // Keys beyond Latin-1 (the euro sign, typographic quotes) that
    // Windows-1252 still has.
    const unsigned char byte = Windows1252FromKeysym(keysym);
    if (byte != 0) text.assign(1, static_cast<char>(byte));
  }
  focused_->HandleKey(keysym, key.state, text);
}

void DialogWindow::HandleClientMessage(const XClientMessageEvent& message) {
  if (frameSync_ && frameSync_->HandleFrameDrawn(message)) return;
  const Atoms& atoms = connection().atoms();
  if (message.message_type != atoms.wmProtocols || message.format != 32) return;
  if (static_cast<Atom>(message.data.l[0]) != atoms.wmDeleteWindow) return;
  // An owner that a modal dialog has disabled cannot be closed either.
  if (!acceptsInput()) return;
  if (!handlers_.OnSystemCommand(platform::kScClose)) handlers_.OnCommand(IDCANCEL);
}

void DialogWindow::HandleConfigure(const XConfigureEvent& configure) {
  // Events the server made before it saw our latest move describe a place
  // the window has already left.
  if (static_cast<long>(configure.serial - lastMoveSerial_) < 0) return;
  Rect next{configure.x, configure.y, configure.x + configure.width,
            configure.y + configure.height};
  if (!configure.send_event && reparented_) {
    // Inside a window manager's frame the event is relative to the frame:
    // ask where the window is on the screen.
    Window child = None;
    int x = 0, y = 0;
    XTranslateCoordinates(connection().display(), window_.get(), connection().root(), 0, 0, &x,
                          &y, &child);
    next = Rect{x, y, x + configure.width, y + configure.height};
  }
  const bool resized =
      next.Width() != geometry_.Width() || next.Height() != geometry_.Height();
  geometry_ = next;
  if (resized) InvalidateAll(true);
}

void DialogWindow::MoveFocus(bool backwards) {
  std::vector<Control*> order;
  for (const auto& control : controls_) {
    if (control->TakesFocus() && control->visible()) order.push_back(control.get());
  }
  if (order.empty()) return;
  auto at = std::find(order.begin(), order.end(), focused_);
  std::size_t index = 0;
  if (at != order.end()) {
    const std::size_t current = static_cast<std::size_t>(at - order.begin());
    index = backwards ? (current + order.size() - 1) % order.size() : (current + 1) % order.size();
  } else if (backwards) {
    index = order.size() - 1;
  }
  Focus(*order[index]);
}

void DialogWindow::Focus(Control& control) {
  if (focused_ == &control) return;
  Control* previous = focused_;
  focused_ = &control;
  if (previous != nullptr) previous->Invalidate();
  control.Invalidate();
  wantFocus_ = true;
  ApplyFocus();
}

void DialogWindow::ApplyFocus() {
  if (!mapped_ || !window_) return;
  XSetInputFocus(connection().display(), window_.get(), RevertToParent, CurrentTime);
  wantFocus_ = false;
}

void DialogWindow::RequestPaste(Control& control) {
  if (!window_) return;
  const Atoms& atoms = connection().atoms();
  pasteTarget_ = control.id();
  pasteAsLatin1_ = false;
  XConvertSelection(connection().display(), atoms.clipboard, atoms.utf8String,
                    atoms.pasteProperty, window_.get(), CurrentTime);
}

void DialogWindow::HandlePaste(const XSelectionEvent& selection) {
  const Atoms& atoms = connection().atoms();
  Display* d = connection().display();
  if (pasteTarget_ == 0 || selection.selection != atoms.clipboard) return;
  if (selection.property == None) {
    // No UTF-8 offered: ask again for Latin-1 text.
    if (!pasteAsLatin1_) {
      pasteAsLatin1_ = true;
      XConvertSelection(d, atoms.clipboard, XA_STRING, atoms.pasteProperty, window_.get(),
                        CurrentTime);
    } else {
      pasteTarget_ = 0;
    }
    return;
  }
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  const long kMaxLongs = 1 << 18;  // 1 MB of text is more than an edit takes
  if (XGetWindowProperty(d, window_.get(), selection.property, 0, kMaxLongs, True,
                         AnyPropertyType, &type, &format, &count, &remaining,
                         &data) != Success) {
    pasteTarget_ = 0;
    return;
  }
  std::string text;
  if (data != nullptr && format == 8) {
    text.assign(reinterpret_cast<const char*>(data), count);
  }
  if (data != nullptr) XFree(data);
  Control* control = FindControl(pasteTarget_);
  pasteTarget_ = 0;
  // Large transfers (INCR) are not taken: an edit's text never needs them.
  if (control == nullptr || format != 8) return;
  if (type == atoms.utf8String) {
    control->Paste(Utf8ToWindows1252(text));
  } else if (type == XA_STRING) {
    control->Paste(Latin1ToWindows1252(text));
  }
}

}  // namespace quorvel::x11
