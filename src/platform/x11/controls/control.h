// A child control of a dialog: an X child window with its own retained
// picture. Controls are created hidden unless their layout says visible;
// their windows have no background (None), so the server never clears them
// and nothing flickers when they are painted.
#pragma once

#include <X11/Xlib.h>

#include <string>

#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/drawn/controls/dialog_layout.h"
#include "platform/x11/display/x_handles.h"
#include "platform/x11/painting/image_buffer.h"

namespace quorvel::raster {
class RasterCanvas;
}

namespace quorvel::x11 {

class Control;
class XConnection;

// What a control needs from the dialog it belongs to.
class ControlContext {
 public:
  virtual ~ControlContext() = default;
  virtual XConnection& connection() = 0;
  virtual platform::DialogHandlers& handlers() = 0;
  virtual platform::Graphics& graphics() = 0;
  virtual Window dialogWindow() = 0;
  virtual GC gc() = 0;
  // The dialog's last painted picture; null before its first paint.
  virtual const raster::Surface* dialogPicture() = 0;
  // The font of controls that were given none (a 13 px sans).
  virtual const platform::Font& defaultFont() = 0;
  // True while the dialog is the innermost modal one, the only one that
  // takes mouse and keyboard input.
  virtual bool acceptsInput() = 0;
  virtual bool IsFocused(const Control& control) = 0;
  virtual void Focus(Control& control) = 0;
  // Asks for the CLIPBOARD; the text arrives through Control::Paste.
  virtual void RequestPaste(Control& control) = 0;
  // A control's picture changed (a colour-key shape is built from them).
  virtual void ControlPainted(Control& control) = 0;
};

class Control {
 public:
  Control(ControlContext& context, const drawn::ControlLayout& layout);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  int id() const { return id_; }
  Window window() const { return window_.get(); }
  const Rect& rect() const { return rect_; }
  bool visible() const { return visible_; }
  bool enabled() const { return enabled_; }

  void Show(bool show);
  void Move(const Rect& rect, bool repaint);
  // The control must be drawn again.
  void Invalidate() { invalid_ = true; }
  // The server lost some of the window: the picture is put again, without
  // drawing it again when it is still valid.
  void MarkExposed();
  bool invalid() const { return (invalid_ || exposed_) && visible_; }
  // Draws the control into its picture and puts it on the window.
  void Paint();
  // Draws and puts, or only puts, what Invalidate and MarkExposed asked for.
  void PaintIfInvalid();
  // The last painted pixels (empty before the first paint).
  const raster::Surface& picture() const { return buffer_.surface(); }
  bool painted() const { return painted_; }
  // The window goes; the control's text and state stay readable.
  // Destroys the window and gives its picture's memory back.
  void DestroyWindow();

  virtual void SetFont(const platform::Font* font) { font_ = font; }
  virtual std::string Text() const { return text_; }
  virtual void SetText(const std::string& text);

  // Mouse and crossing events of the control's window.
  virtual void HandlePointer(const XEvent& /*event*/) {}
  // A key while the control has the dialog's focus; true when used.
  virtual bool HandleKey(unsigned long /*keysym*/, unsigned /*state*/,
                         const std::string& /*typed*/) {
    return false;
  }
  virtual bool TakesFocus() const { return false; }
  virtual void Paste(const std::string& /*text*/) {}

 protected:
  // Paints the whole control; `canvas` already shows what lies behind it.
  virtual void Draw(raster::RasterCanvas& canvas) = 0;
  // The X events the window listens to, beyond Expose.
  virtual long PointerEventMask() const { return 0; }
  // Makes the window; called by each kind's constructor, so the event mask
  // of the kind is known.
  void CreateWindow();

  const platform::Font& font() const;
  ControlContext& context() { return context_; }

 private:
  // What lies behind the control: the dialog's picture, else its brush.
  void FillBehind(raster::RasterCanvas& canvas);

  ControlContext& context_;
  int id_;
  Rect rect_;
  bool visible_;
  bool enabled_;
  bool invalid_ = true;
  bool exposed_ = false;
  bool painted_ = false;
  std::string text_;
  const platform::Font* font_ = nullptr;
  WindowHandle window_;
  ImageBuffer buffer_;
};

}  // namespace quorvel::x11
