// The text of a single-line edit control with its caret and selection, as
// the editing keys change them. No drawing here.
#pragma once

#include <cstddef>
#include <string>

namespace quorvel::drawn {

class EditText {
 public:
  const std::string& text() const { return text_; }
  std::size_t caret() const { return caret_; }
  bool HasSelection() const { return anchor_ != caret_; }
  std::size_t SelectionStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  std::size_t SelectionEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }

  // New text, caret at the start and nothing selected (SetWindowText).
  void SetText(const std::string& text);
  // Types or pastes `text` over the selection; the caret ends after it.
  void Insert(const std::string& text);
  // Deletes the selection, else the character before / after the caret.
  void Backspace();
  void Delete();
  // Caret moves; with `extend` the selection grows from its anchor.
  void Left(bool extend);
  void Right(bool extend);
  void Home(bool extend);
  void End(bool extend);
  void MoveTo(std::size_t position, bool extend);
  void SelectAll();

 private:
  void EraseSelection();

  std::string text_;
  std::size_t caret_ = 0;
  std::size_t anchor_ = 0;  // the other end of the selection
};

}  // namespace quorvel::drawn
