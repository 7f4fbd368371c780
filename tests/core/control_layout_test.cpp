// Where the main dialog puts its controls, by screen height.
#include <gtest/gtest.h>

#include "app/control_layout.h"
#include "fake/fake_platform.h"
#include "platform/resource_ids.h"

namespace quorvel {
namespace {

struct LayoutCase {
  int width, height;
  Rect viewDetails, runFirst, save, returnToMain, submit;
};

class ControlLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ControlLayoutTest, PlacesEveryControlForTheScreenHeight) {
  const LayoutCase& c = GetParam();
  fake::FakePlatform platform;
  fake::FakeDialogHost host(platform, IDD_MAIN_DIALOG);
  const Rect r{0, 0, c.width, c.height};

  PlaceMainControls(host, r, c.height);

  EXPECT_EQ(host.controls[IDC_LOGO].rect, (Rect{c.width - 100, 6, c.width - 18, 72}));
  EXPECT_EQ(host.controls[IDC_CLOSE].rect, (Rect{30, c.height - 53, 112, c.height - 29}));
  EXPECT_EQ(host.controls[IDC_RUN_TEST].rect,
            (Rect{c.width - 152, c.height - 53, c.width - 30, c.height - 29}));
  EXPECT_EQ(host.controls[IDC_VIEW_DETAILS].rect, c.viewDetails);
  EXPECT_EQ(host.controls[IDC_RUN_TEST_FIRST].rect, c.runFirst);
  EXPECT_EQ(host.controls[IDC_SAVE_RESULTS].rect, c.save);
  EXPECT_EQ(host.controls[IDC_RETURN_TO_MAIN].rect, c.returnToMain);
  EXPECT_EQ(host.controls[IDC_SUBMIT_AND_COMPARE].rect, c.submit);
}

// 1008, 1009 and 1016 take their lower layout from 700 pixels on; 1010
// and 1013 only above 700. Below 700, 1008 and 1016 share one rectangle.
INSTANTIATE_TEST_SUITE_P(
    ScreenHeights, ControlLayoutTest,
    ::testing::Values(
        LayoutCase{1024, 699, {140, 488, 322, 520}, {140, 488, 322, 520}, {350, 488, 502, 520},
                   {100, 581, 352, 613}, {380, 581, 632, 613}},
        LayoutCase{1024, 700, {140, 528, 322, 560}, {120, 488, 220, 520}, {350, 528, 502, 560},
                   {100, 582, 352, 614}, {380, 582, 632, 614}},
        LayoutCase{1024, 701, {140, 528, 322, 560}, {120, 488, 220, 520}, {350, 528, 502, 560},
                   {100, 571, 352, 603}, {380, 571, 632, 603}},
        LayoutCase{2560, 1080, {140, 528, 322, 560}, {120, 488, 220, 520}, {350, 528, 502, 560},
                   {100, 950, 352, 982}, {380, 950, 632, 982}}));

TEST(ControlLayout, PlacesInOrderAndSkinsAllButTheReturnButton) {
  fake::FakePlatform platform;
  fake::FakeDialogHost host(platform, IDD_MAIN_DIALOG);
  PlaceMainControls(host, Rect{0, 0, 1280, 1024}, 1024);

  const std::vector<std::string> expected{
      "Move 1004", "SuppressErase 1004", "Move 1005", "SuppressErase 1005",
      "Move 1007", "SuppressErase 1007", "Move 1008", "SuppressErase 1008",
      "Move 1016", "SuppressErase 1016", "Move 1009", "SuppressErase 1009",
      "Move 1010", "Move 1013",         "SuppressErase 1013"};
  EXPECT_EQ(host.calls, expected);
}

TEST(ControlLayout, ResultsButtonsFollowTheWindowOrigin) {
  fake::FakePlatform platform;
  fake::FakeDialogHost host(platform, IDD_MAIN_DIALOG);
  PlaceMainControls(host, Rect{-4, -4, 1028, 772}, 768);
  EXPECT_EQ(host.controls[IDC_VIEW_DETAILS].rect, (Rect{136, 524, 318, 556}));
  EXPECT_EQ(host.controls[IDC_RETURN_TO_MAIN].rect, (Rect{96, 642, 348, 674}));
  // The close button's x and the logo's y are fixed, not window-relative.
  EXPECT_EQ(host.controls[IDC_CLOSE].rect.left, 30);
  EXPECT_EQ(host.controls[IDC_LOGO].rect.top, 6);
}

}  // namespace
}  // namespace quorvel
