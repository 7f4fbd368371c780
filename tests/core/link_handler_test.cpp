// The clickable areas of the main window and the pages behind them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "site/site_addresses.h"
#include "sysinfo/link_handler.h"

namespace quorvel {
namespace {

TEST(LinkRects, HitTestTakesLeftAndTopInsideRightAndBottomOutside) {
  LinkRects areas;
  areas.Append(Rect{10, 20, 30, 40});
  struct Row {
    Point p;
    int expected;
  };
  const Row rows[] = {
      {{10, 20}, 0}, {{29, 39}, 0}, {{30, 20}, -1}, {{10, 40}, -1},
      {{9, 20}, -1}, {{10, 19}, -1}, {{20, 30}, 0},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(areas.HitTest(r.p), r.expected) << r.p.x << "," << r.p.y;
  }
}

TEST(LinkRects, FirstAreaInOrderWinsWhereAreasOverlap) {
  LinkRects areas;
  areas.Append(Rect{0, 0, 10, 10});
  areas.Append(Rect{0, 0, 100, 100});
  areas.Append(Rect{5, 5, 50, 50});
  EXPECT_EQ(areas.HitTest(Point{5, 5}), 0);
  EXPECT_EQ(areas.HitTest(Point{20, 20}), 1);
  EXPECT_EQ(areas.HitTest(Point{100, 0}), -1);
  EXPECT_EQ(LinkRects().HitTest(Point{0, 0}), -1);
}

TEST(LinkRects, AreasBeyondTheHundredthAreIgnored) {
  LinkRects areas;
  for (int i = 0; i < 105; ++i) areas.Append(Rect{i * 10, 0, i * 10 + 10, 10});
  EXPECT_EQ(areas.Count(), LinkRects::kCapacity);
  EXPECT_EQ(areas.HitTest(Point{995, 5}), 99);
  EXPECT_EQ(areas.HitTest(Point{1005, 5}), -1);
}

// Four areas side by side, as the skin lays out the four links.
LinkRects FourLinks() {
  LinkRects areas;
  for (int i = 0; i < 4; ++i) areas.Append(Rect{i * 100, 0, i * 100 + 50, 20});
  return areas;
}
Point InArea(int index) { return Point{index * 100 + 10, 10}; }

TEST(ClickAction, EachAreaUnderThePanelAndScreenStates) {
  const LinkRects areas = FourLinks();
  struct Row {
    Point p;
    bool panelShown, resultsScreen;
    LinkAction expected;
  };
  const Row rows[] = {
      {InArea(0), false, false, LinkAction::ToggleAdvice},
      {InArea(0), true, true, LinkAction::ToggleAdvice},
      {InArea(1), true, false, LinkAction::DriverLink},
      {InArea(1), false, false, LinkAction::None},
      {InArea(2), false, false, LinkAction::ProductSite},
      {InArea(2), false, true, LinkAction::None},
      {InArea(3), false, true, LinkAction::MakerHome},
      {Point{60, 10}, true, false, LinkAction::None},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ClickAction(areas, r.p, r.panelShown, r.resultsScreen), r.expected)
        << "at " << r.p.x << " panel " << r.panelShown << " results " << r.resultsScreen;
  }
}

TEST(ClickAction, DriverLinkFollowsThePanelAsItIsToggled) {
  const LinkRects areas = FourLinks();
  bool panelShown = false;
  std::vector<LinkAction> seen;
  for (int click = 0; click < 2; ++click) {
    seen.push_back(ClickAction(areas, InArea(1), panelShown, false));
    if (ClickAction(areas, InArea(0), panelShown, false) == LinkAction::ToggleAdvice) {
      panelShown = !panelShown;
    }
  }
  seen.push_back(ClickAction(areas, InArea(1), panelShown, false));
  EXPECT_EQ(seen, (std::vector<LinkAction>{LinkAction::None, LinkAction::DriverLink,
                                           LinkAction::None}));
}

TEST(DriverPage, KeywordsCountOnlyAtTheStartOfAWord) {
  struct Row {
    const char* name;
    const char* page;
  };
  const Row rows[] = {
      {"Matrox G400", kMatroxDriverPage},
      {"MATROX MILLENNIUM", kMatroxDriverPage},
      {"matrox g200", kMatroxDriverPage},
      {"ATI Rage 128", kAtiDriverPage},
      {"Rage Fury", kAtiDriverPage},
      {"RADEON 9700", kAtiDriverPage},
      {"3dfx Voodoo3", k3dfxDriverPage},
      {"NVIDIA GeForce2 MX", kNvidiaDriverPage},
      {"CREATIVE 3D BLASTER GEFORCE", kNvidiaDriverPage},
      {"RIVA TNT2", kNvidiaDriverPage},
      {"Diamond Viper (TNT)", kNvidiaDriverPage},
      // The first keyword in the table's order decides, not the first in the name.
      {"NVIDIA card by Matrox", kMatroxDriverPage},
      {"Creative Storage Adapter", nullptr},
      // "ATI" first stands inside "Creative", then at a word start.
      {"Creative ATI Xpert 128", kAtiDriverPage},
      {"S3 Savage4", nullptr},
      {"", nullptr},
  };
  for (const Row& r : rows) {
    const char* page = DriverPageFor(r.name);
    EXPECT_EQ(page ? std::string(page) : "(none)", r.page ? std::string(r.page) : "(none)")
        << '"' << r.name << '"';
  }
}

class RecordingServices : public fake::FakeServices {
 public:
  struct Page {
    platform::DialogHost* owner;
    std::string address;
    platform::Show how;
  };
  std::vector<Page> pages;
  std::vector<platform::DialogHost*> boxOwners;

  void OpenWebPage(platform::DialogHost* owner, const std::string& address,
                   platform::Show how) override {
    pages.push_back(Page{owner, address, how});
  }
  void MessageBox(platform::DialogHost* owner, const std::string& text,
                  const std::string& caption, platform::MessageIcon icon) override {
    boxOwners.push_back(owner);
    FakeServices::MessageBox(owner, text, caption, icon);
  }
};

TEST(FollowLink, OpensEachPageOwnedByTheDialog) {
  fake::FakePlatform platform;
  fake::FakeDialogHost owner(platform, 102);
  struct Row {
    LinkAction action;
    const char* page;
  };
  const Row rows[] = {
      {LinkAction::DriverLink, kNvidiaDriverPage},
      {LinkAction::ProductSite, kProductSiteAddress},
      {LinkAction::MakerHome, kMakerHomeAddress},
  };
  for (const Row& r : rows) {
    RecordingServices services;
    EXPECT_TRUE(FollowLink(r.action, services, &owner, "NVIDIA GeForce2 MX"));
    ASSERT_EQ(services.pages.size(), 1u) << r.page;
    EXPECT_EQ(services.pages[0].address, r.page);
    EXPECT_EQ(services.pages[0].owner, &owner);
    EXPECT_EQ(services.pages[0].how, platform::Show::Default);
    EXPECT_TRUE(services.messageBoxes.empty());
  }
  for (LinkAction action : {LinkAction::None, LinkAction::ToggleAdvice}) {
    RecordingServices services;
    EXPECT_FALSE(FollowLink(action, services, &owner, "NVIDIA GeForce2 MX"));
    EXPECT_TRUE(services.pages.empty());
    EXPECT_TRUE(services.messageBoxes.empty());
  }
}

TEST(FollowLink, UnknownMakerGivesTheMessageAndNoPage) {
  fake::FakePlatform platform;
  fake::FakeDialogHost owner(platform, 102);
  RecordingServices services;
  EXPECT_TRUE(FollowLink(LinkAction::DriverLink, services, &owner, "S3 Savage4"));
  EXPECT_TRUE(services.pages.empty());
  ASSERT_EQ(services.messageBoxes.size(), 1u);
  EXPECT_EQ(services.messageBoxes[0].text,
            "Sorry, we are unable to determine who made your graphics card");
  EXPECT_EQ(services.messageBoxes[0].caption, "Unable to locate web site");
  EXPECT_EQ(services.messageBoxes[0].icon, platform::MessageIcon::Information);
  EXPECT_EQ(services.boxOwners[0], &owner);
}

}  // namespace
}  // namespace quorvel
