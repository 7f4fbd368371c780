// An owner-drawn button without a desktop: drawn pressed while the left
// button that went down on it is held over it, and a click only when that
// button comes up over it in the innermost dialog.
#include <gtest/gtest.h>

#include <vector>

#include "drawn/fake_dialog.h"
#include "platform/drawn/controls/owner_draw_button.h"

namespace quorvel::drawn::testing {
namespace {

constexpr int kButton = 1007;
const Rect kButtonRect{200, 200, 240, 230};  // 40 x 30

struct Step {
  PointerAction action;
  Point at;  // relative to the button
  PointerButton button = PointerButton::Left;
};

TEST(OwnerDrawButton, PressedWhileHeldOverItAndClickedOnlyWhenReleasedOverIt) {
  const Point in{20, 15};
  const struct {
    const char* name;
    std::vector<Step> steps;
    std::vector<bool> drawnSelected;  // each drawing, pressed or not
    bool click;
    bool acceptsAtPress = true;  // the dialog is the innermost one
    bool acceptsAtRelease = true;
  } cases[] = {
      {"released inside", {{PointerAction::Press, in}, {PointerAction::Release, {39, 29}}},
       {true, false}, true},
      {"released just outside", {{PointerAction::Press, in}, {PointerAction::Release, {40, 10}}},
       {true, false}, false},
      {"released above", {{PointerAction::Press, in}, {PointerAction::Release, {10, -1}}},
       {true, false}, false},
      {"dragged out and back",
       {{PointerAction::Press, in},
        {PointerAction::Motion, {60, 15}},
        {PointerAction::Motion, {50, 15}},
        {PointerAction::Motion, in},
        {PointerAction::Release, in}},
       {true, false, true, false}, true},
      {"left and entered again",
       {{PointerAction::Press, in},
        {PointerAction::Leave, {-5, 15}},
        {PointerAction::Enter, in},
        {PointerAction::Release, in}},
       {true, false, true, false}, true},
      {"crossing without a press", {{PointerAction::Enter, in}, {PointerAction::Leave, in}}, {},
       false},
      {"the right button", {{PointerAction::Press, in, PointerButton::Right},
                            {PointerAction::Release, in, PointerButton::Right}},
       {}, false},
      {"a release without its press", {{PointerAction::Release, in}}, {}, false},
      {"a modal dialog came up while it was held",
       {{PointerAction::Press, in}, {PointerAction::Release, in}}, {true, false}, false, true,
       false},
      {"pressed while another dialog took the input",
       {{PointerAction::Press, in}, {PointerAction::Release, in}}, {}, false, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDialog dialog;
    dialog.Make({LayoutOf(kButton, platform::ControlKind::OwnerDrawButton, kButtonRect)});
    Control& button = *dialog.controls().Find(kButton);
    for (const Step& step : c.steps) {
      dialog.accepts =
          step.action == PointerAction::Release ? c.acceptsAtRelease : c.acceptsAtPress;
      PointerEvent event;
      event.action = step.action;
      event.button = step.action == PointerAction::Press || step.action == PointerAction::Release
                         ? step.button
                         : PointerButton::NoButton;
      event.at = Point{kButtonRect.left + step.at.x, kButtonRect.top + step.at.y};
      button.HandlePointer(event);
    }
    EXPECT_EQ(dialog.handlers_.drawnSelected, c.drawnSelected);
    EXPECT_EQ(dialog.handlers_.commands, c.click ? std::vector<int>{kButton} : std::vector<int>{});
    EXPECT_FALSE(static_cast<OwnerDrawButton&>(button).pressed());
  }
}

}  // namespace
}  // namespace quorvel::drawn::testing
