// Owner-drawn buttons and clicks on the dialog itself, with synthetic
// button events.
#include <gtest/gtest.h>

#include "x11/x11_test_fixture.h"

namespace quorvel::x11::testing {
namespace {

struct ClickCase {
  const char* name;
  Point release;  // in the button's coordinates; the button is 40 x 30
  bool command;
};

class OwnerDrawButtonClick : public X11Test, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(OwnerDrawButtonClick, PressedWhileHeldAndCommandOnlyWhenReleasedInside) {
  RecordingHandlers h;
  std::vector<bool> drawnSelected;
  h.onDrawItem = [&](const platform::DrawItem& item, platform::Canvas&) {
    drawnSelected.push_back(item.selected);
    return true;
  };
  int step = 0;
  h.onInit = [](platform::DialogHost& host) {
    host.ShowWindow(platform::Show::Maximized);
    host.MoveControl(IDC_RUN_TEST, 200, 200, 40, 30, false);
    host.ShowControl(IDC_RUN_TEST, true);
  };
  h.onShown = [](platform::DialogHost& host) { host.SetTimer(1, 30); };
  h.onTimer = [&](platform::DialogHost& host, int) {
    const Window button = ControlWindowOf(host, IDC_RUN_TEST);
    switch (step++) {
      case 0:
        driver_.SendButton(button, true, 20, 15);
        break;
      case 1:
        driver_.SendButton(button, false, GetParam().release.x, GetParam().release.y);
        driver_.SendClick(WindowOf(host), 300, 250);  // the dialog itself, not a child
        break;
      default:
        host.EndDialog(IDOK);
    }
  };
  ASSERT_EQ(Run(IDD_MAIN_DIALOG, h), IDOK);

  EXPECT_EQ(h.commands, GetParam().command ? std::vector<int>{IDC_RUN_TEST} : std::vector<int>{});
  // First painted up, then down while held, then up again.
  EXPECT_EQ(drawnSelected, (std::vector<bool>{false, true, false}));
  ASSERT_EQ(h.clicks.size(), 1u);
  EXPECT_EQ(h.clicks[0].x, 300);
  EXPECT_EQ(h.clicks[0].y, 250);
}

INSTANTIATE_TEST_SUITE_P(Releases, OwnerDrawButtonClick,
                         ::testing::Values(ClickCase{"Inside", Point{39, 29}, true},
                                           ClickCase{"Outside", Point{40, 10}, false},
                                           ClickCase{"Above", Point{10, -1}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel::x11::testing
