// A dialog's X events: keys and the pointer (to the controls, in the
// program's terms), the window manager's messages, its geometry, focus and
// the clipboard's text.
#include "platform/x11/windows/dialog_window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include "platform/resource_ids.h"
#include "platform/x11/controls/control_window.h"
#include "platform/x11/controls/x_input_events.h"
#include "platform/x11/display/x_connection.h"
#include "platform/x11/windows/frame_sync.h"
#include "text/windows1252.h"

namespace quorvel::x11 {

using text::Utf8ToWindows1252;

namespace {

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
    for (const auto& control : controls_.all()) {
      if (ControlWindowOf(*control) != target) continue;
      drawn::PointerEvent pointer;
      if (event.type == Expose) {
        control->MarkExposed();
      } else if (PointerEventOf(event, Point{control->rect().left, control->rect().top},
                                pointer)) {
        control->HandlePointer(pointer);
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
      if (acceptsInput()) controls_.HandleKey(KeyEventOf(event.xkey));
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

void DialogWindow::Focus(drawn::Control& control) {
  if (!controls_.SetFocused(&control)) return;
  wantFocus_ = true;
  ApplyFocus();
}

void DialogWindow::ApplyFocus() {
  if (!mapped_ || !window_) return;
  XSetInputFocus(connection().display(), window_.get(), RevertToParent, CurrentTime);
  wantFocus_ = false;
}

void DialogWindow::RequestPaste(drawn::Control& control) {
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
  drawn::Control* control = FindControl(pasteTarget_);
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
