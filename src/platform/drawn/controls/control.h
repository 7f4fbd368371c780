// A child control of a dialog the program draws itself: its place, state
// and text, what it draws and how it answers input. Each kind draws the
// whole of itself into the pixels of the surface the backend gives it
// (ControlSurface) over a picture of what lies behind it, so nothing shows
// through and nothing flickers. Controls are made hidden unless their
// layout says visible.
#pragma once

#include <memory>
#include <string>

#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/drawn/controls/control_surface.h"
#include "platform/drawn/controls/dialog_layout.h"
#include "platform/drawn/controls/input_events.h"

namespace quorvel::raster {
class RasterCanvas;
}

namespace quorvel::drawn {

class Control;

// What a control needs from the dialog it belongs to.
class ControlContext {
 public:
  virtual ~ControlContext() = default;
  virtual platform::DialogHandlers& handlers() = 0;
  virtual platform::Graphics& graphics() = 0;
  // The dialog's last painted picture; null before its first paint.
  virtual const raster::Surface* dialogPicture() = 0;
  // The font of controls that were given none (a 13 px sans).
  virtual const platform::Font& defaultFont() = 0;
  // True while the dialog is the innermost modal one, the only one that
  // takes mouse and keyboard input.
  virtual bool acceptsInput() = 0;
  virtual bool IsFocused(const Control& control) = 0;
  virtual void Focus(Control& control) = 0;
  // Asks for the clipboard's text; it arrives through Control::Paste.
  virtual void RequestPaste(Control& control) = 0;
  // A control's picture changed (a colour-key shape is built from them).
  virtual void ControlPainted(Control& control) = 0;
  // The backend's part of a new control at `rect` (client coordinates),
  // shown or not, taking the pointer events `pointer` names; null when the
  // desktop cannot make it (the control then never shows).
  virtual std::unique_ptr<ControlSurface> CreateSurface(const Rect& rect, bool visible,
                                                        PointerInput pointer) = 0;
};

class Control {
 public:
  Control(ControlContext& context, const ControlLayout& layout);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  int id() const { return id_; }
  const Rect& rect() const { return rect_; }
  bool visible() const { return visible_; }
  bool enabled() const { return enabled_; }
  // What shows the control; null once released (or when none could be made).
  ControlSurface* surface() const { return surface_.get(); }

  void Show(bool show);
  void Move(const Rect& rect, bool repaint);
  // The control must be drawn again.
  void Invalidate() { invalid_ = true; }
  // The desktop lost some of the control: its pixels are shown again,
  // without drawing them again when they are still valid.
  void MarkExposed();
  bool invalid() const { return (invalid_ || exposed_) && visible_; }
  // Draws the control into its surface and shows it.
  void Paint();
  // Draws and shows, or only shows, what Invalidate and MarkExposed asked for.
  void PaintIfInvalid();
  // The last painted pixels (empty before the first paint).
  const raster::Surface& picture() const;
  bool painted() const { return painted_; }
  // The surface goes, and its pixels' memory with it; the control's text and
  // state stay readable.
  void ReleaseSurface();

  virtual void SetFont(const platform::Font* font) { font_ = font; }
  virtual std::string Text() const { return text_; }
  virtual void SetText(const std::string& text);

  // A pointer event the control takes (PointerInputs()).
  virtual void HandlePointer(const PointerEvent& /*event*/) {}
  // A key while the control has the dialog's focus; true when used.
  virtual bool HandleKey(const KeyEvent& /*key*/) { return false; }
  virtual bool TakesFocus() const { return false; }
  // Text from the clipboard, in Windows-1252, after RequestPaste.
  virtual void Paste(const std::string& /*text*/) {}

 protected:
  // Paints the whole control; `canvas` already shows what lies behind it.
  virtual void Draw(raster::RasterCanvas& canvas) = 0;
  // The pointer events the control takes.
  virtual PointerInput PointerInputs() const { return PointerInput::Ignored; }
  // Asks the backend for the surface; called by each kind's constructor, so
  // the pointer events of the kind are known.
  void CreateSurface();
  // `p` (client coordinates) relative to the control's top-left corner.
  Point Local(Point p) const { return Point{p.x - rect_.left, p.y - rect_.top}; }

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
  std::unique_ptr<ControlSurface> surface_;
};

}  // namespace quorvel::drawn
