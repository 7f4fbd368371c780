// A single-line edit control: white field, dark text in the control's font,
// a caret while it has the focus, horizontal scrolling that keeps the caret
// in view. Typing, Backspace, Delete, Left/Right, Home/End (with Shift to
// select), Ctrl+A, Ctrl+V and Shift+Insert (paste), click and drag.
#pragma once

#include <memory>

#include "platform/x11/controls/control.h"
#include "platform/drawn/controls/edit_text.h"
#include "raster/raster_canvas.h"

namespace quorvel::x11 {

class EditControl : public Control {
 public:
  EditControl(ControlContext& context, const drawn::ControlLayout& layout);

  std::string Text() const override { return edit_.text(); }
  void SetText(const std::string& text) override;
  void SetFont(const platform::Font* font) override;

  void HandlePointer(const XEvent& event) override;
  bool HandleKey(unsigned long keysym, unsigned state, const std::string& typed) override;
  bool TakesFocus() const override { return true; }
  // Pasted text: the first line, without control characters.
  void Paste(const std::string& text) override;

  const drawn::EditText& model() const { return edit_; }

 protected:
  void Draw(raster::RasterCanvas& canvas) override;
  long PointerEventMask() const override;

 private:
  Rect TextArea() const;
  int Measure(const std::string& text);
  // The character boundary nearest to window x-coordinate `x`.
  std::size_t PositionAt(int x);
  void KeepCaretInView();
  void Changed();

  drawn::EditText edit_;
  bool clientEdge_;
  bool selecting_ = false;  // the left button is held after a click inside
  int scroll_ = 0;          // pixels of text scrolled out on the left
  std::unique_ptr<raster::RasterCanvas> measure_;
};

}  // namespace quorvel::x11
