#include "base/layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The main window's client area of a 619 x 483 window with a menu bar, as
// Windows reports it with the classic metrics.
constexpr Rect kMainClient{0, 0, 611, 430};

std::vector<LayoutItem> MainWindowChildren() {
  return {{Align::Top, true, RectAt(0, 0, 100, 65)}, {Align::Client, true, {}}};
}

std::vector<LayoutItem> ContentChildren() {
  return {{Align::Client, true, {}},                   // ViewArea
          {Align::Left, true, RectAt(0, 0, 161, 10)},  // ElementTree
          {Align::Left, true, RectAt(0, 0, 4, 10)}};   // TreeSplitter
}

TEST(Layout, MainWindowStacksTheTopBarOverTheContent) {
  auto items = MainWindowChildren();
  LayoutChildren(kMainClient, 0, items);
  EXPECT_EQ(items[0].Bounds, (Rect{0, 0, 611, 65}));
  EXPECT_EQ(items[1].Bounds, (Rect{0, 65, 611, 430}));
}

TEST(Layout, ContentPanelPlacesTreeSplitterAndViewWithItsMargin) {
  auto items = ContentChildren();
  const Rect free = LayoutChildren({0, 0, 605, 359}, 2, items);
  EXPECT_EQ(items[1].Bounds, (Rect{2, 2, 163, 357}));
  EXPECT_EQ(items[2].Bounds, (Rect{165, 2, 169, 357}));
  EXPECT_EQ(items[0].Bounds, (Rect{171, 2, 603, 357}));
  EXPECT_EQ(free, (Rect{169, 0, 605, 359}));
}

TEST(Layout, ViewAreaHasNoMarginAndGrowingGivesAllTheChangeToTheClientChild) {
  std::vector<LayoutItem> items{{Align::Left, true, RectAt(0, 0, 233, 10)},  // InfoPanel
                                {Align::Left, true, RectAt(0, 0, 4, 10)},    // InfoSplitter
                                {Align::Client, true, {}}};                  // PreviewPane
  LayoutChildren({0, 0, 1200, 900}, 0, items);
  EXPECT_EQ(items[0].Bounds, (Rect{0, 0, 233, 900}));
  EXPECT_EQ(items[1].Bounds, (Rect{233, 0, 237, 900}));
  EXPECT_EQ(items[2].Bounds, (Rect{237, 0, 1200, 900}));
}

TEST(Layout, TooSmallContainersGiveZeroSizesNeverNegative) {
  auto content = ContentChildren();
  LayoutChildren({0, 0, 100, 3}, 2, content);
  EXPECT_EQ(content[1].Bounds, (Rect{2, 2, 163, 2}));
  EXPECT_EQ(content[2].Bounds, (Rect{165, 2, 169, 2}));
  EXPECT_EQ(content[0].Bounds, (Rect{171, 2, 171, 2}));

  auto main = MainWindowChildren();
  LayoutChildren({0, 0, 0, 20}, 0, main);
  EXPECT_EQ(main[0].Bounds, (Rect{0, 0, 0, 65}));
  EXPECT_EQ(main[1].Bounds, (Rect{0, 65, 0, 65}));
}

TEST(Layout, HiddenAndUnalignedChildrenAreSkipped) {
  std::vector<LayoutItem> items{{Align::Left, false, RectAt(7, 8, 50, 60)},
                                {Align::None, true, RectAt(72, 100, 121, 17)},
                                {Align::Left, true, RectAt(0, 0, 30, 1)},
                                {Align::Client, true, {}}};
  LayoutChildren({0, 0, 200, 100}, 1, items);
  EXPECT_EQ(items[0].Bounds, RectAt(7, 8, 50, 60));
  EXPECT_EQ(items[1].Bounds, RectAt(72, 100, 121, 17));
  EXPECT_EQ(items[2].Bounds, (Rect{1, 1, 31, 99}));
  EXPECT_EQ(items[3].Bounds, (Rect{32, 1, 199, 99}));
}

TEST(Layout, BottomAndRightMirrorTopAndLeft) {
  std::vector<LayoutItem> items{{Align::Right, true, RectAt(0, 0, 20, 1)},
                                {Align::Bottom, true, RectAt(0, 0, 1, 10)},
                                {Align::Top, true, RectAt(0, 0, 1, 5)},
                                {Align::Client, true, {}}};
  const Rect free = LayoutChildren({0, 0, 100, 50}, 2, items);
  EXPECT_EQ(items[2].Bounds, (Rect{2, 2, 98, 7}));
  EXPECT_EQ(items[1].Bounds, (Rect{2, 38, 98, 48}));
  // Left and right children fit between what top and bottom left over.
  EXPECT_EQ(items[0].Bounds, (Rect{78, 9, 98, 36}));
  EXPECT_EQ(items[3].Bounds, (Rect{2, 9, 76, 36}));
  EXPECT_EQ(free, (Rect{0, 7, 78, 38}));
}

TEST(Centring, IsHalfTheDifferenceShiftedArithmetically) {
  EXPECT_EQ(CentredStart(1280, 619), 330);
  EXPECT_EQ(CentredStart(620, 619), 0);
  // Smaller screens: the start is negative and rounds towards minus infinity.
  EXPECT_EQ(CentredStart(600, 619), -10);
  EXPECT_EQ(CentredStart(400, 483), -42);
  EXPECT_EQ(CentredStart(0, 1), -1);
}

TEST(SplitWidth, FollowsThePointerWithinZeroAndTheRoomAfter) {
  EXPECT_EQ(SplitWidth(161, 25, 432), 186);
  EXPECT_EQ(SplitWidth(161, -161, 432), 0);
  EXPECT_EQ(SplitWidth(161, -500, 432), 0);
  EXPECT_EQ(SplitWidth(161, 432, 432), 593);
  EXPECT_EQ(SplitWidth(161, 900, 432), 593);
  // No room after the splitter: the width can only shrink.
  EXPECT_EQ(SplitWidth(161, 10, 0), 161);
  EXPECT_EQ(SplitWidth(161, 10, -5), 161);
}

}  // namespace
