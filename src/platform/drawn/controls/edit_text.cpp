#include "platform/drawn/controls/edit_text.h"

namespace quorvel::drawn {

void EditText::SetText(const std::string& text) {
  text_ = text;
  caret_ = anchor_ = 0;
}

void EditText::EraseSelection() {
  const std::size_t start = SelectionStart();
  text_.erase(start, SelectionEnd() - start);
  caret_ = anchor_ = start;
}

void EditText::Insert(const std::string& text) {
  EraseSelection();
  text_.insert(caret_, text);
  caret_ += text.size();
  anchor_ = caret_;
}

void EditText::Backspace() {
  if (HasSelection()) {
    EraseSelection();
  } else if (caret_ > 0) {
    text_.erase(--caret_, 1);
    anchor_ = caret_;
  }
}

void EditText::Delete() {
  if (HasSelection()) {
    EraseSelection();
  } else if (caret_ < text_.size()) {
    text_.erase(caret_, 1);
  }
}

void EditText::MoveTo(std::size_t position, bool extend) {
  caret_ = position > text_.size() ? text_.size() : position;
  if (!extend) anchor_ = caret_;
}

void EditText::Left(bool extend) {
  // Without Shift, Left on a selection lands on its start, as in Windows.
  if (!extend && HasSelection()) return MoveTo(SelectionStart(), false);
  MoveTo(caret_ > 0 ? caret_ - 1 : 0, extend);
}

void EditText::Right(bool extend) {
  if (!extend && HasSelection()) return MoveTo(SelectionEnd(), false);
  MoveTo(caret_ + 1, extend);
}

void EditText::Home(bool extend) { MoveTo(0, extend); }
void EditText::End(bool extend) { MoveTo(text_.size(), extend); }

void EditText::SelectAll() {
  anchor_ = 0;
  caret_ = text_.size();
}

}  // namespace quorvel::drawn
