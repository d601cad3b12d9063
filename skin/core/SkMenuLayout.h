#pragma once
// The window-free part of the skinned popup menus: item heights, window size and skin
// geometry, the layout of the items in view with scrolling, where a level's window goes
// on the work area, and the arrow-key moves over items that can be entered.

#include <vector>

#include "skin/core/SkGeometry.h"

struct TSkMenuItemInfo {
    bool Separator = false;
    bool Enabled = true;
    bool HasSubItems = false;
    int TextWidth = 0;   // caption (and short cut) as measured, without the 2 added
};

// The skin records a menu level draws from; without a popup record the default look.
struct TSkMenuSkin {
    bool HasPopupRecord = false;
    int PictureWidth = 0, PictureHeight = 0;        // the popup window picture
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;      // of the popup record
    TRect ItemsRect;
    bool HasItemRecord = false;
    TRect ItemSkinRect, DividerRect, TextRect;      // of the menu item record
    int DefaultItemHeight = 20;
    int ImagesWidth = -1;                           // the menu's image width, -1 without images
};

struct TSkMenuGeometry {
    TPoint NewLeftTop, NewRightTop, NewLeftBottom, NewRightBottom;
    TRect ItemsArea;
};

int MenuGlyphWidth(const TSkMenuSkin& skin);
// Height of an item while sizing (byPopupRecord) or laying out (by the item record).
int MenuItemHeight(const TSkMenuSkin& skin, const TSkMenuItemInfo& item, bool byPopupRecord);
int MenuWindowWidth(const TSkMenuSkin& skin, const std::vector<TSkMenuItemInfo>& items);
int MenuWindowHeight(const TSkMenuSkin& skin, const std::vector<TSkMenuItemInfo>& items);
TSkMenuGeometry MenuGeometry(const TSkMenuSkin& skin, int width, int height);

// Screen position of a level's window of width x height: anchor is the screen rectangle
// it opens from (a point for the first level, the parent item for a submenu).
TPoint PlaceMenuWindow(const TRect& anchor, const TRect& workArea, int width, int height, int itemsTop,
                       bool submenu, bool upward, bool scrolling);

// One level's items in view, scrolling and the active item.
class TSkMenuLevel {
public:
    TSkMenuLevel(TSkMenuSkin skin, std::vector<TSkMenuItemInfo> items, const TRect& itemsArea, bool scrolling);

    int Count() const { return static_cast<int>(FItems.size()); }
    const TSkMenuItemInfo& Item(int i) const { return FItems[static_cast<size_t>(i)]; }
    bool CanEnter(int i) const { return i >= 0 && i < Count() && Item(i).Enabled && !Item(i).Separator; }
    const TRect& ItemRect(int i) const { return FRects[static_cast<size_t>(i)]; }
    bool InView(int i) const { return FInView[static_cast<size_t>(i)]; }
    bool Scrolling() const { return FScrolling; }
    int FirstVisible() const { return FFirstVisible; }
    int VisibleCount() const { return FVisibleCount; }
    const TRect& ItemsArea() const { return FItemsArea; }
    bool CanScrollUp() const { return FFirstVisible > 0; }
    bool CanScrollDown() const { return FFirstVisible + FVisibleCount < Count(); }
    // Bands of 10 pixels at the top and bottom of the items area while scrolling.
    bool InUpBand(TPoint p) const;
    bool InDownBand(TPoint p) const;

    void Layout();
    int LastStart() const;
    // One item up or down; wrapping (keys only) goes round at the ends. False when nothing moved.
    bool ScrollUp(bool wrap);
    bool ScrollDown(bool wrap);
    // The first item in view whose rectangle holds p (right and bottom excluded), or -1.
    int ItemAt(TPoint p) const;
    // The item Down or Up moves to from active (-1 none), scrolling as it passes the
    // items in view; active itself when no other can be entered. scrollingNow: the
    // pointer is scrolling the level.
    int MoveDown(int active, bool scrollingNow);
    int MoveUp(int active, bool scrollingNow);

private:
    TSkMenuSkin FSkin;
    std::vector<TSkMenuItemInfo> FItems;
    std::vector<TRect> FRects;
    std::vector<bool> FInView;
    TRect FItemsArea;
    bool FScrolling;
    int FFirstVisible = 0;
    int FVisibleCount = 0;
};

// The alpha values of a fade-in: step, 2 * step, ... below target, then target itself.
std::vector<int> FadeInSteps(int step, int target);
