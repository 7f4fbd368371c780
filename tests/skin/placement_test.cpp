// Where an element's edges go inside its parent, mode by mode.
#include <gtest/gtest.h>

#include "skin/screen_element.h"

namespace quorvel {
namespace {

enum class Side { Left, Top, Right, Bottom };

// The element's edge on `side` when only that edge has a mode and value;
// the other edges are inset by 0 (the parent's).
int EdgeOf(Side side, std::uint8_t mode, std::int32_t value, const Rect& parent) {
  ScreenElement e;
  switch (side) {
    case Side::Left: e.lMode = mode; e.lVal = value; return e.Place(parent).left;
    case Side::Top: e.tMode = mode; e.tVal = value; return e.Place(parent).top;
    case Side::Right: e.rMode = mode; e.rVal = value; return e.Place(parent).right;
    case Side::Bottom: e.bMode = mode; e.bVal = value; return e.Place(parent).bottom;
  }
  return 0;
}

TEST(Placement, EachEdgeByItsMode) {
  struct Case {
    const char* what;
    Side side;
    std::uint8_t mode;
    std::int32_t value;
    Rect parent;
    int want;
  };
  const Case cases[] = {
      {"inset left", Side::Left, kEdgeInset, 7, {20, 30, 220, 130}, 27},
      {"inset top", Side::Top, kEdgeInset, -5, {20, 30, 220, 130}, 25},
      {"inset right", Side::Right, kEdgeInset, 7, {20, 30, 220, 130}, 213},
      {"inset bottom", Side::Bottom, kEdgeInset, 7, {20, 30, 220, 130}, 123},
      {"absolute left", Side::Left, kEdgeAbsolute, 125, {80, 0, 300, 50}, 125},
      {"absolute right", Side::Right, kEdgeAbsolute, 125, {80, 0, 300, 50}, 125},
      {"absolute bottom", Side::Bottom, kEdgeAbsolute, -3, {80, 0, 300, 50}, -3},
      {"per cent left, parent at 0", Side::Left, kEdgePercent, 30, {0, 0, 500, 50}, 150},
      {"per cent left, parent at 100", Side::Left, kEdgePercent, 30, {100, 0, 600, 50}, 150},
      {"per cent right is measured from 0 too", Side::Right, kEdgePercent, 50, {100, 0, 600, 50}, 250},
      {"per cent top of the height", Side::Top, kEdgePercent, 25, {0, 40, 10, 240}, 50},
      {"per cent bottom of the height", Side::Bottom, kEdgePercent, 99, {0, 0, 10, 10}, 9},
      {"per cent truncates toward zero", Side::Left, kEdgePercent, -30, {0, 0, 5, 5}, -1},
      {"opposite side: right from the parent's left", Side::Right, kEdgeFromOpposite, 125,
       {80, 0, 300, 50}, 205},
      {"opposite side: left from the parent's right", Side::Left, kEdgeFromOpposite, 40,
       {80, 0, 300, 50}, 260},
      {"opposite side: top from the parent's bottom", Side::Top, kEdgeFromOpposite, 10,
       {0, 20, 10, 90}, 80},
      {"opposite side: bottom from the parent's top", Side::Bottom, kEdgeFromOpposite, 10,
       {0, 20, 10, 90}, 30},
      {"unknown mode keeps the parent's left", Side::Left, 4, 77, {80, 20, 300, 90}, 80},
      {"unknown mode keeps the parent's bottom", Side::Bottom, 255, 77, {80, 20, 300, 90}, 90},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EdgeOf(c.side, c.mode, c.value, c.parent), c.want) << c.what;
  }
}

TEST(Placement, EdgesAreIndependent) {
  ScreenElement e;
  e.lMode = kEdgePercent;
  e.lVal = 10;
  e.tMode = kEdgeAbsolute;
  e.tVal = 5;
  e.rMode = kEdgeFromOpposite;
  e.rVal = 60;
  e.bMode = kEdgeInset;
  e.bVal = 8;
  EXPECT_EQ(e.Place(Rect{100, 50, 300, 150}), (Rect{20, 5, 160, 142}));
}

}  // namespace
}  // namespace quorvel
