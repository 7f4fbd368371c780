// A single-line edit control: white field, dark text in the control's font,
// a caret while it has the focus, horizontal scrolling that keeps the caret
// in view. Typing, Backspace, Delete, Left/Right, Home/End (with Shift to
// select), Ctrl+A, Ctrl+V and Shift+Insert (paste), click and drag.
#pragma once

#include <memory>

#include "platform/drawn/controls/control.h"
#include "platform/drawn/controls/edit_text.h"
#include "raster/raster_canvas.h"

namespace quorvel::drawn {

class EditControl : public Control {
 public:
  EditControl(ControlContext& context, const ControlLayout& layout);

  std::string Text() const override { return edit_.text(); }
  void SetText(const std::string& text) override;
  void SetFont(const platform::Font* font) override;

  void HandlePointer(const PointerEvent& event) override;
  bool HandleKey(const KeyEvent& key) override;
  bool TakesFocus() const override { return true; }
  // Pasted text: the first line, without control characters.
  void Paste(const std::string& text) override;

  const EditText& model() const { return edit_; }

 protected:
  void Draw(raster::RasterCanvas& canvas) override;
  PointerInput PointerInputs() const override;

 private:
  Rect TextArea() const;
  int Measure(const std::string& text);
  // The character boundary nearest to `x`, relative to the control.
  std::size_t PositionAt(int x);
  void KeepCaretInView();
  void Changed();

  EditText edit_;
  bool clientEdge_;
  bool selecting_ = false;  // the left button is held after a click inside
  int scroll_ = 0;          // pixels of text scrolled out on the left
  std::unique_ptr<raster::RasterCanvas> measure_;
};

}  // namespace quorvel::drawn
