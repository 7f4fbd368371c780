// The single-line edit without a desktop: the editing keys, the paste
// shortcuts and pasted text, the mouse placing and extending the
// selection, and the caret shown only while the edit has the focus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawn/fake_dialog.h"
#include "platform/drawn/controls/edit_control.h"

namespace quorvel::drawn::testing {
namespace {

constexpr int kEdit = 7;
const Rect kEditRect{100, 40, 300, 64};  // 200 x 24 in the dialog

KeyEvent Typed(const std::string& text) {
  KeyEvent key;
  key.key = text.size() == 1 ? LetterKey(text[0]) : Key::Other;
  key.text = text;
  return key;
}
KeyEvent Pressed(Key k, bool shift = false, bool control = false) {
  KeyEvent key;
  key.key = k;
  key.shift = shift;
  key.control = control;
  return key;
}

class EditControlTest : public ::testing::Test {
 protected:
  EditControl& MakeEdit(const std::string& text) {
    dialog_.Make({LayoutOf(kEdit, platform::ControlKind::Edit, kEditRect)});
    auto& edit = static_cast<EditControl&>(*dialog_.controls().Find(kEdit));
    edit.SetText(text);
    return edit;
  }
  PointerEvent At(PointerAction action, int x, bool shift = false) {
    PointerEvent event;
    event.action = action;
    event.button = action == PointerAction::Motion ? PointerButton::NoButton : PointerButton::Left;
    event.at = Point{kEditRect.left + x, kEditRect.top + 12};
    event.shift = shift;
    return event;
  }

  FakeDialog dialog_;
};

TEST_F(EditControlTest, EditingKeysChangeTextCaretAndSelection) {
  const struct {
    const char* name;
    std::string start;
    std::vector<KeyEvent> keys;
    std::string text;
    std::size_t selectionStart;  // == selectionEnd: the caret, nothing selected
    std::size_t selectionEnd;
  } cases[] = {
      {"typing goes in at the caret", "ab", {Pressed(Key::End), Typed("c"), Typed("\x80")},
       "abc\x80", 4, 4},
      {"Backspace and Delete", "abcd",
       {Pressed(Key::End), Pressed(Key::Left), Pressed(Key::Backspace), Pressed(Key::Delete)},
       "ab", 2, 2},
      {"nothing before the start, nothing after the end", "ab",
       {Pressed(Key::Backspace), Pressed(Key::End), Pressed(Key::Delete), Pressed(Key::Right)},
       "ab", 2, 2},
      {"Shift extends, typing replaces the selection", "abcd",
       {Pressed(Key::End), Pressed(Key::Left, true), Pressed(Key::Left, true), Typed("X")},
       "abX", 3, 3},
      {"Shift+Home selects back to the start", "abcd",
       {Pressed(Key::End), Pressed(Key::Left), Pressed(Key::Home, true)}, "abcd", 0, 3},
      {"Left without Shift lands on the selection's start", "abcd",
       {Pressed(Key::Home), Pressed(Key::End, true), Pressed(Key::Left)}, "abcd", 0, 0},
      {"Ctrl+A selects all, typing replaces it", "name",
       {Pressed(Key::A, false, true), Typed("q")}, "q", 1, 1},
      {"control characters and DEL are not typed", "ab",
       {Typed("\x01"), Typed("\x7F"), Typed("\t")}, "ab", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDialog dialog;
    dialog.Make({LayoutOf(kEdit, platform::ControlKind::Edit, kEditRect)});
    auto& edit = static_cast<EditControl&>(*dialog.controls().Find(kEdit));
    edit.SetText(c.start);
    for (const KeyEvent& key : c.keys) edit.HandleKey(key);
    EXPECT_EQ(edit.Text(), c.text);
    EXPECT_EQ(edit.model().SelectionStart(), c.selectionStart);
    EXPECT_EQ(edit.model().SelectionEnd(), c.selectionEnd);
  }
}

TEST_F(EditControlTest, KeysItDoesNotUseAreLeftToTheDialog) {
  EditControl& edit = MakeEdit("ab");
  EXPECT_TRUE(edit.HandleKey(Typed("c")));
  EXPECT_FALSE(edit.HandleKey(Pressed(Key::C, false, true)));  // Ctrl+C: nothing here
  EXPECT_FALSE(edit.HandleKey(Pressed(Key::Insert)));           // Insert without Shift
  EXPECT_FALSE(edit.HandleKey(Pressed(Key::Other)));            // types nothing
  EXPECT_EQ(edit.Text(), "cab");
}

TEST_F(EditControlTest, PasteShortcutsAskForTheClipboardAndTakeItsFirstLine) {
  EditControl& edit = MakeEdit("ab");
  EXPECT_TRUE(edit.HandleKey(Pressed(Key::V, false, true)));
  EXPECT_TRUE(edit.HandleKey(Pressed(Key::Insert, true)));
  EXPECT_EQ(dialog_.pasteRequests, (std::vector<int>{kEdit, kEdit}));
  EXPECT_EQ(edit.Text(), "ab");  // the text comes later, through Paste

  edit.HandleKey(Pressed(Key::End));
  edit.Paste("c\td\x01" "e\r\nsecond line");
  EXPECT_EQ(edit.Text(), "abcde");
  edit.HandleKey(Pressed(Key::A, false, true));
  edit.Paste("\nonly a second line");  // an empty first line changes nothing
  EXPECT_EQ(edit.Text(), "abcde");
  edit.Paste("Zo\xEB \x80" "5");
  EXPECT_EQ(edit.Text(), "Zo\xEB \x80" "5");
}

TEST_F(EditControlTest, ClickPlacesTheCaretDragAndShiftClickSelect) {
  EditControl& edit = MakeEdit("hello world");
  edit.HandlePointer(At(PointerAction::Press, 195));  // right of the text
  EXPECT_TRUE(dialog_.IsFocused(edit));
  EXPECT_EQ(edit.model().caret(), 11u);
  edit.HandlePointer(At(PointerAction::Release, 195));

  edit.HandlePointer(At(PointerAction::Press, 1));  // before the first letter
  EXPECT_EQ(edit.model().caret(), 0u);
  EXPECT_FALSE(edit.model().HasSelection());
  edit.HandlePointer(At(PointerAction::Motion, 400));  // dragged far right, outside
  EXPECT_EQ(edit.model().SelectionStart(), 0u);
  EXPECT_EQ(edit.model().SelectionEnd(), 11u);
  edit.HandlePointer(At(PointerAction::Release, 400));
  edit.HandlePointer(At(PointerAction::Motion, 1));  // no button held: nothing
  EXPECT_EQ(edit.model().SelectionEnd(), 11u);

  edit.HandlePointer(At(PointerAction::Press, 1));
  edit.HandlePointer(At(PointerAction::Release, 1));
  edit.HandlePointer(At(PointerAction::Press, 195, true));  // Shift+click extends
  EXPECT_EQ(edit.model().SelectionStart(), 0u);
  EXPECT_EQ(edit.model().SelectionEnd(), 11u);
}

TEST_F(EditControlTest, OnlyTheLeftButtonOfTheInnermostDialogActs) {
  EditControl& edit = MakeEdit("hello");
  PointerEvent right = At(PointerAction::Press, 195);
  right.button = PointerButton::Right;
  edit.HandlePointer(right);
  EXPECT_FALSE(dialog_.IsFocused(edit));

  dialog_.accepts = false;  // a modal dialog runs above this one
  edit.HandlePointer(At(PointerAction::Press, 195));
  EXPECT_FALSE(dialog_.IsFocused(edit));
  EXPECT_EQ(edit.model().caret(), 0u);
}

TEST_F(EditControlTest, TheCaretShowsOnlyWhileTheEditHasTheFocus) {
  EditControl& edit = MakeEdit("");
  // The text area starts two pixels in (one of border, one of margin);
  // the caret of empty text stands there.
  auto caretPixel = [&] {
    const raster::Surface& pixels = edit.picture();
    return raster::ColourOf(pixels.Row(kEditRect.Height() / 2)[2]);
  };
  edit.Paint();
  EXPECT_EQ(caretPixel(), Rgb(255, 255, 255));
  dialog_.Focus(edit);
  edit.PaintIfInvalid();
  EXPECT_EQ(caretPixel(), Rgb(0, 0, 0));
  dialog_.controls().SetFocused(nullptr);
  edit.PaintIfInvalid();
  EXPECT_EQ(caretPixel(), Rgb(255, 255, 255));
}

}  // namespace
}  // namespace quorvel::drawn::testing
