#include <gtest/gtest.h>

#include "platform/drawn/controls/edit_text.h"

namespace quorvel::drawn {
namespace {

TEST(EditText, TypingAndDeletingAroundTheCaret) {
  EditText e;
  e.Insert("helo");
  e.Left(false);
  e.Insert("l");
  EXPECT_EQ(e.text(), "hello");
  EXPECT_EQ(e.caret(), 4u);
  e.Delete();
  e.Backspace();
  EXPECT_EQ(e.text(), "hel");
  e.Home(false);
  e.Backspace();  // nothing before the start
  e.End(false);
  e.Delete();     // nothing after the end
  EXPECT_EQ(e.text(), "hel");
  e.Right(false);  // stays at the end
  EXPECT_EQ(e.caret(), 3u);
}

TEST(EditText, TypingReplacesTheSelection) {
  EditText e;
  e.SetText("name@example.com");
  EXPECT_EQ(e.caret(), 0u);
  e.SelectAll();
  e.Insert("x");
  EXPECT_EQ(e.text(), "x");

  e.SetText("abcdef");
  e.MoveTo(1, false);
  e.Right(true);
  e.Right(true);  // "bc" selected, caret after it
  EXPECT_EQ(e.SelectionStart(), 1u);
  EXPECT_EQ(e.SelectionEnd(), 3u);
  e.Backspace();
  EXPECT_EQ(e.text(), "adef");

  e.MoveTo(4, false);
  e.Home(true);  // select back to the start
  e.Left(false);  // collapses to the start, as in Windows
  EXPECT_FALSE(e.HasSelection());
  EXPECT_EQ(e.caret(), 0u);
}

}  // namespace
}  // namespace quorvel::drawn
