#include <gtest/gtest.h>

#include "skin/core/SkMenuLayout.h"

namespace {

// Our skin: popup picture 65 x 69, items rectangle 3,8,62,61; menu item 63 x 20, divider 7,
// text rectangle 2,2,60,18.
TSkMenuSkin OurSkin()
{
    TSkMenuSkin s;
    s.HasPopupRecord = s.HasItemRecord = true;
    s.PictureWidth = 65;
    s.PictureHeight = 69;
    s.LTPoint = {8, 8};
    s.RTPoint = {57, 8};
    s.LBPoint = {8, 61};
    s.RBPoint = {57, 61};
    s.ItemsRect = {3, 8, 62, 61};
    s.ItemSkinRect = {0, 80, 63, 100};
    s.DividerRect = {0, 124, 63, 131};
    s.TextRect = {2, 2, 60, 18};
    return s;
}

TSkMenuItemInfo Item(int width, bool enabled = true) { return {false, enabled, false, width}; }
TSkMenuItemInfo Line() { return {true, true, false, 0}; }

}  // namespace

TEST(SkinMenuLayout, SystemMenuSizes)
{
    const std::vector<TSkMenuItemInfo> items{Item(50), Item(61), Line(), Item(40)};
    const TSkMenuSkin skin = OurSkin();
    EXPECT_EQ(MenuWindowHeight(skin, items), 83);           // 69 + 67 + 8 - 61
    EXPECT_EQ(MenuWindowWidth(skin, items), 61 + 45);       // the widest text + 45
    TSkMenuSkin plain;
    EXPECT_EQ(MenuWindowHeight(plain, items), 20 * 3 + 4 + 6);
    EXPECT_EQ(MenuWindowWidth(plain, items), 61 + 2 + 16 + 16 + 10);
    plain.ImagesWidth = 16;
    EXPECT_EQ(MenuWindowWidth(plain, items), 61 + 2 + 21 + 16 + 10);

    const TSkMenuGeometry g = MenuGeometry(skin, 106, 83);
    EXPECT_EQ(g.ItemsArea, (TRect{3, 8, 103, 75}));
    EXPECT_EQ(g.NewRightBottom, (TPoint{98, 75}));
    TSkMenuLevel level(skin, items, g.ItemsArea, false);
    EXPECT_EQ(level.VisibleCount(), 4);
    EXPECT_EQ(level.ItemRect(0), (TRect{3, 8, 103, 28}));
    EXPECT_EQ(level.ItemRect(2), (TRect{3, 48, 103, 55}));
    EXPECT_EQ(level.ItemRect(3), (TRect{3, 55, 103, 75}));
    EXPECT_EQ(level.ItemAt({3, 28}), 1);
    EXPECT_EQ(level.ItemAt({103, 20}), -1);   // right edge excluded
}

TEST(SkinMenuLayout, ScrollingStartAndEnd)
{
    const TSkMenuSkin skin = OurSkin();
    std::vector<TSkMenuItemInfo> items(12, Item(30));
    // An items area of 8..108 holds 80 pixels between the bands: 4 items of 20.
    TSkMenuLevel level(skin, items, {3, 8, 103, 108}, true);
    EXPECT_EQ(level.VisibleCount(), 4);
    EXPECT_EQ(level.ItemRect(0).Top, 18);
    EXPECT_FALSE(level.InView(4));
    EXPECT_TRUE(level.InUpBand({50, 8}));
    EXPECT_TRUE(level.InDownBand({50, 107}));
    EXPECT_FALSE(level.InDownBand({50, 97}));
    EXPECT_FALSE(level.CanScrollUp());
    // From the bottom band up: 78, 58, 38, 18 stay below the up band; -2 does not.
    EXPECT_EQ(level.LastStart(), 12 - 4);
    int scrolls = 0;
    while (level.ScrollDown(false))
        ++scrolls;
    EXPECT_EQ(scrolls, 8);
    EXPECT_EQ(level.FirstVisible(), 8);
    EXPECT_TRUE(level.InView(11));
    EXPECT_FALSE(level.InView(7));
    EXPECT_TRUE(level.ScrollDown(true));   // keys wrap to the start
    EXPECT_EQ(level.FirstVisible(), 0);
    EXPECT_TRUE(level.ScrollUp(true));
    EXPECT_EQ(level.FirstVisible(), level.LastStart());
}

TEST(SkinMenuLayout, ArrowKeysSkipSeparatorsAndDisabledItems)
{
    const std::vector<TSkMenuItemInfo> items{Item(9), Line(), Item(9, false), Item(9), Line()};
    TSkMenuLevel level(OurSkin(), items, {3, 8, 103, 200}, false);
    EXPECT_EQ(level.MoveDown(-1, false), 0);
    EXPECT_EQ(level.MoveDown(0, false), 3);
    EXPECT_EQ(level.MoveDown(3, false), 3);    // nothing after 3 can be entered: no further wrap
    EXPECT_EQ(level.MoveDown(4, false), 0);    // from the last: again from the start
    EXPECT_EQ(level.MoveUp(3, false), 0);
    EXPECT_EQ(level.MoveUp(0, false), 3);      // from the first: from the end
    EXPECT_EQ(level.MoveUp(-1, false), 3);
    const std::vector<TSkMenuItemInfo> none{Line(), Item(9, false)};
    TSkMenuLevel empty(OurSkin(), none, {3, 8, 103, 200}, false);
    EXPECT_EQ(empty.MoveDown(-1, false), -1);
    EXPECT_EQ(empty.MoveUp(-1, false), -1);
}

TEST(SkinMenuLayout, ArrowKeysScrollItemsIntoView)
{
    std::vector<TSkMenuItemInfo> items(12, Item(30));
    TSkMenuLevel level(OurSkin(), items, {3, 8, 103, 108}, true);
    int active = 0;
    for (int i = 0; i < 5; ++i)
        active = level.MoveDown(active, false);
    EXPECT_EQ(active, 5);
    EXPECT_TRUE(level.InView(5));
    active = level.MoveUp(0, false);
    EXPECT_EQ(active, 11);
    EXPECT_TRUE(level.InView(11));
    // Up from the first item wraps to the last, which shows although the last start's
    // items do not fill the space between the bands (20 + 7 + 3 * 20 of 80 pixels).
    std::vector<TSkMenuItemInfo> mixed(5, Item(30));
    mixed.insert(mixed.end(), {Line(), Item(30), Item(30), Item(30)});
    TSkMenuLevel wrapping(OurSkin(), mixed, {3, 8, 103, 108}, true);
    EXPECT_EQ(wrapping.MoveUp(0, false), 8);
    EXPECT_TRUE(wrapping.InView(8));
    EXPECT_EQ(wrapping.LastStart(), 5);
}

TEST(SkinMenuLayout, WindowPlacement)
{
    const TRect wa{0, 0, 800, 600};
    // Downward below the point; pushed left at the right edge.
    EXPECT_EQ(PlaceMenuWindow({100, 100, 100, 100}, wa, 120, 83, 8, false, false, false), (TPoint{100, 100}));
    EXPECT_EQ(PlaceMenuWindow({750, 100, 750, 100}, wa, 120, 83, 8, false, false, false), (TPoint{680, 100}));
    // Low in the work area: above the point.
    EXPECT_EQ(PlaceMenuWindow({100, 560, 100, 560}, wa, 120, 83, 8, false, false, false), (TPoint{100, 477}));
    // A submenu opens beside its item, level with it, or to its left without room.
    EXPECT_EQ(PlaceMenuWindow({100, 200, 220, 220}, wa, 120, 83, 8, true, false, false), (TPoint{221, 192}));
    EXPECT_EQ(PlaceMenuWindow({600, 200, 720, 220}, wa, 120, 83, 8, true, false, false), (TPoint{479, 192}));
    // No room below: ends at the work area's bottom (upper half) or at the item's bottom.
    EXPECT_EQ(PlaceMenuWindow({100, 250, 220, 270}, wa, 120, 400, 8, true, false, false), (TPoint{221, 200}));
    EXPECT_EQ(PlaceMenuWindow({100, 500, 220, 520}, wa, 120, 400, 8, true, false, false), (TPoint{221, 128}));
    // A scrolling window starts at the work area's top, beside the anchor.
    EXPECT_EQ(PlaceMenuWindow({100, 100, 100, 100}, wa, 120, 600, 18, false, false, true), (TPoint{101, 0}));
}

// Menus fade in by 2, forms by 5; the last value is the target, clipped.
TEST(SkinMenuLayout, FadeInStepsEndAtTheTarget)
{
    struct Case { int step, target; std::vector<int> steps; };
    const Case cases[] = {
        {2, 7, {2, 4, 6, 7}}, {2, 8, {2, 4, 6, 8}}, {2, 1, {1}}, {2, 0, {0}}, {5, 12, {5, 10, 12}}, {0, 9, {9}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FadeInSteps(c.step, c.target), c.steps) << c.step << " " << c.target;
    const std::vector<int> full = FadeInSteps(5, 255);
    EXPECT_EQ(full.size(), 51u);
    EXPECT_EQ(full.back(), 255);
}
