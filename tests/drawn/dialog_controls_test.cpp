// A dialog's own keys without a desktop: Tab and Shift+Tab move the focus
// among the visible controls that take it, in the layout's order and round
// the end; Esc cancels; Enter presses OK unless OK is disabled; other keys
// go to the focused control only.
#include <gtest/gtest.h>

#include <vector>

#include "drawn/fake_dialog.h"
#include "platform/resource_ids.h"

namespace quorvel::drawn::testing {
namespace {

using platform::ControlKind;

KeyEvent Pressed(Key k, bool shift = false) {
  KeyEvent key;
  key.key = k;
  key.shift = shift;
  return key;
}

// Edits 11, 14 and 15 shown, edit 12 hidden, a button (13) that takes no
// focus. (Identifiers 1 and 2 are OK's and Cancel's.)
std::vector<ControlLayout> FocusLayouts() {
  return {LayoutOf(11, ControlKind::Edit, Rect{0, 0, 50, 20}),
          LayoutOf(12, ControlKind::Edit, Rect{0, 30, 50, 50}, false),
          LayoutOf(13, ControlKind::OwnerDrawButton, Rect{0, 60, 50, 80}),
          LayoutOf(14, ControlKind::Edit, Rect{0, 90, 50, 110}),
          LayoutOf(15, ControlKind::Edit, Rect{0, 120, 50, 140})};
}

int FocusedId(FakeDialog& dialog) {
  const Control* focused = dialog.controls().focused();
  return focused != nullptr ? focused->id() : 0;
}

TEST(DialogControls, TabAndShiftTabGoRoundTheVisibleControlsThatTakeTheFocus) {
  const struct {
    const char* name;
    std::vector<bool> shifts;  // one Tab each; true for Shift+Tab
    std::vector<int> focused;  // after each
  } cases[] = {
      {"forwards from none, round the end", {false, false, false, false}, {11, 14, 15, 11}},
      {"backwards from none starts at the last", {true, true, true, true}, {15, 14, 11, 15}},
      {"back and forth", {false, false, true, false}, {11, 14, 11, 14}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDialog dialog;
    dialog.Make(FocusLayouts());
    std::vector<int> focused;
    for (bool shift : c.shifts) {
      dialog.controls().HandleKey(Pressed(Key::Tab, shift));
      focused.push_back(FocusedId(dialog));
    }
    EXPECT_EQ(focused, c.focused);
    EXPECT_TRUE(dialog.handlers_.commands.empty());
  }
}

TEST(DialogControls, AControlShownLaterJoinsTheTabOrderInItsPlace) {
  FakeDialog dialog;
  dialog.Make(FocusLayouts());
  dialog.controls().Find(12)->Show(true);
  dialog.controls().HandleKey(Pressed(Key::Tab));
  dialog.controls().HandleKey(Pressed(Key::Tab));
  EXPECT_EQ(FocusedId(dialog), 12);
  // Without any control that takes it the focus stays where it is.
  FakeDialog buttons;
  buttons.Make({LayoutOf(13, ControlKind::OwnerDrawButton, Rect{0, 0, 10, 10})});
  buttons.controls().HandleKey(Pressed(Key::Tab));
  EXPECT_EQ(FocusedId(buttons), 0);
}

TEST(DialogControls, EscCancelsAndEnterPressesOkUnlessOkIsDisabled) {
  const struct {
    const char* name;
    bool hasOk;
    bool okDisabled;
    Key key;
    std::vector<int> commands;
  } cases[] = {
      {"Esc", true, false, Key::Escape, {IDCANCEL}},
      {"Esc with OK disabled", true, true, Key::Escape, {IDCANCEL}},
      {"Enter without an OK button", false, false, Key::Enter, {IDOK}},
      {"Enter with OK", true, false, Key::Enter, {IDOK}},
      {"Enter with OK disabled", true, true, Key::Enter, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDialog dialog;
    std::vector<ControlLayout> layouts = {LayoutOf(11, ControlKind::Edit, Rect{0, 0, 50, 20})};
    if (c.hasOk) {
      layouts.push_back(LayoutOf(IDOK, ControlKind::OwnerDrawButton, Rect{0, 30, 50, 50}));
      layouts.back().disabled = c.okDisabled;
    }
    dialog.Make(layouts);
    dialog.controls().HandleKey(Pressed(Key::Tab));  // the edit has the focus
    dialog.controls().HandleKey(Pressed(c.key));
    EXPECT_EQ(dialog.handlers_.commands, c.commands);
    EXPECT_EQ(dialog.controls().Find(11)->Text(), "");  // the edit got none of them
  }
}

TEST(DialogControls, OtherKeysGoToTheFocusedControlWhileItIsShown) {
  FakeDialog dialog;
  dialog.Make(FocusLayouts());
  KeyEvent x;
  x.key = Key::X;
  x.text = "x";
  dialog.controls().HandleKey(x);  // no control has the focus: nowhere
  dialog.controls().HandleKey(Pressed(Key::Tab));
  dialog.controls().HandleKey(Pressed(Key::Tab));
  dialog.controls().HandleKey(x);
  EXPECT_EQ(dialog.controls().Find(14)->Text(), "x");
  dialog.controls().Find(14)->Show(false);
  dialog.controls().HandleKey(x);
  EXPECT_EQ(dialog.controls().Find(14)->Text(), "x");
  EXPECT_EQ(dialog.controls().Find(11)->Text(), "");
}

TEST(DialogControls, AFocusChangeRedrawsTheControlThatLostItAndTheOneThatGotIt) {
  FakeDialog dialog;
  dialog.Make(FocusLayouts());
  for (const auto& control : dialog.controls().all()) control->Paint();
  dialog.controls().HandleKey(Pressed(Key::Tab));
  EXPECT_TRUE(dialog.controls().Find(11)->invalid());
  dialog.controls().Find(11)->Paint();
  dialog.controls().HandleKey(Pressed(Key::Tab));
  EXPECT_TRUE(dialog.controls().Find(11)->invalid());
  EXPECT_TRUE(dialog.controls().Find(14)->invalid());
  EXPECT_FALSE(dialog.controls().Find(15)->invalid());
  EXPECT_FALSE(dialog.controls().SetFocused(dialog.controls().Find(14)));  // no change
}

}  // namespace
}  // namespace quorvel::drawn::testing
