#include "skin/core/SkMenuLayout.h"

#include <algorithm>

namespace {

constexpr int kScrollBand = 10;

}  // namespace

int MenuGlyphWidth(const TSkMenuSkin& skin)
{
    return skin.ImagesWidth >= 0 ? skin.ImagesWidth + 5 : 16;
}

int MenuItemHeight(const TSkMenuSkin& skin, const TSkMenuItemInfo& item, bool byPopupRecord)
{
    const bool skinned = byPopupRecord ? skin.HasPopupRecord : skin.HasItemRecord;
    if (skinned)
        return item.Separator ? RectHeight(skin.DividerRect) : RectHeight(skin.ItemSkinRect);
    return item.Separator ? 4 : skin.DefaultItemHeight;
}

int MenuWindowWidth(const TSkMenuSkin& skin, const std::vector<TSkMenuItemInfo>& items)
{
    int a = 0;
    for (const TSkMenuItemInfo& item : items)
        a = std::max(a, item.TextWidth + 2);
    a += MenuGlyphWidth(skin) + 16;
    if (!skin.HasPopupRecord)
        return a + 10;
    const TRect& ir = skin.ItemsRect;
    const TRect& tr = skin.TextRect;
    return a + skin.PictureWidth + (ir.Left - ir.Right) + (tr.Left + RectWidth(skin.ItemSkinRect) - tr.Right);
}

int MenuWindowHeight(const TSkMenuSkin& skin, const std::vector<TSkMenuItemInfo>& items)
{
    int sum = 0;
    for (const TSkMenuItemInfo& item : items)
        sum += MenuItemHeight(skin, item, true);
    if (!skin.HasPopupRecord)
        return sum + 6;
    return skin.PictureHeight + sum + skin.ItemsRect.Top - skin.ItemsRect.Bottom;
}

TSkMenuGeometry MenuGeometry(const TSkMenuSkin& skin, int w, int h)
{
    TSkMenuGeometry g;
    if (!skin.HasPopupRecord) {
        g.ItemsArea = {3, 3, w - 3, h - 3};
        return g;
    }
    const int pw = skin.PictureWidth, ph = skin.PictureHeight;
    const TRect& ir = skin.ItemsRect;
    g.NewLeftTop = skin.LTPoint;
    g.NewRightTop = {w + skin.RTPoint.X - pw, skin.RTPoint.Y};
    g.NewLeftBottom = {skin.LBPoint.X, h + skin.LBPoint.Y - ph};
    g.NewRightBottom = {w + skin.RBPoint.X - pw, h + skin.RBPoint.Y - ph};
    g.ItemsArea = {ir.Left, ir.Top, w + ir.Right - pw, h + ir.Bottom - ph};
    return g;
}

TPoint PlaceMenuWindow(const TRect& a, const TRect& wa, int w, int h, int itemsTop, bool submenu, bool upward,
                       bool scrolling)
{
    const int mid = wa.Top + RectHeight(wa) / 2;
    bool beside = false;
    int y;
    if (scrolling) {
        y = wa.Top;
    } else if (submenu) {
        if (a.Top + h - itemsTop <= wa.Bottom)
            y = a.Top - itemsTop;
        else if (a.Top < mid)
            y = wa.Bottom - h;
        else
            y = std::max(a.Bottom - h + itemsTop, wa.Top);
    } else if (upward) {
        if (a.Top - h >= wa.Top) {
            y = a.Top - h;
        } else if (a.Top < mid) {
            y = a.Bottom;
            if (y + h > wa.Bottom) {
                y = wa.Bottom - h;
                beside = true;
            }
        } else {
            y = wa.Top;
            beside = true;
        }
    } else if (a.Bottom + h <= wa.Bottom) {
        y = a.Bottom;
    } else if (a.Top < mid) {
        y = wa.Bottom - h;
        beside = true;
    } else if (a.Top - h >= wa.Top) {
        y = a.Top - h;
    } else {
        y = wa.Top;
        beside = true;
    }
    int x;
    if (submenu || scrolling || beside) {
        x = a.Right + w + 1 <= wa.Right ? a.Right + 1 : a.Left - w - 1;
    } else {
        x = a.Left;
        if (a.Left + w > wa.Right)
            x = wa.Right - w;
        else if (a.Left < wa.Left)
            x = wa.Left;
    }
    return {x, y};
}

TSkMenuLevel::TSkMenuLevel(TSkMenuSkin skin, std::vector<TSkMenuItemInfo> items, const TRect& itemsArea,
                           bool scrolling)
    : FSkin(std::move(skin)), FItems(std::move(items)), FRects(FItems.size()), FInView(FItems.size(), true),
      FItemsArea(itemsArea), FScrolling(scrolling)
{
    Layout();
}

bool TSkMenuLevel::InUpBand(TPoint p) const
{
    return FScrolling && p.X >= FItemsArea.Left && p.X < FItemsArea.Right && p.Y >= FItemsArea.Top &&
           p.Y < FItemsArea.Top + kScrollBand;
}

bool TSkMenuLevel::InDownBand(TPoint p) const
{
    return FScrolling && p.X >= FItemsArea.Left && p.X < FItemsArea.Right && p.Y >= FItemsArea.Bottom - kScrollBand &&
           p.Y < FItemsArea.Bottom;
}

void TSkMenuLevel::Layout()
{
    int y = FItemsArea.Top + (FScrolling ? kScrollBand : 0);
    const int limit = FItemsArea.Bottom - (FScrolling ? kScrollBand : 0);
    FVisibleCount = 0;
    for (int i = FFirstVisible; i < Count(); ++i) {
        const int h = MenuItemHeight(FSkin, Item(i), false);
        FRects[static_cast<size_t>(i)] = {FItemsArea.Left, y, FItemsArea.Right, y + h};
        y += h;
        if (y > limit)
            break;
        FInView[static_cast<size_t>(i)] = true;
        ++FVisibleCount;
    }
    if (FScrolling)
        for (int i = 0; i < Count(); ++i)
            if (i < FFirstVisible || i >= FFirstVisible + FVisibleCount)
                FInView[static_cast<size_t>(i)] = false;
}

int TSkMenuLevel::LastStart() const
{
    int s = FItemsArea.Bottom - kScrollBand;
    int counted = 0;
    for (int i = Count() - 1; i >= 0; --i) {
        s -= MenuItemHeight(FSkin, Item(i), false);
        if (s < FItemsArea.Top + kScrollBand)  // the last items fit below the up band
            break;
        ++counted;
    }
    return Count() - counted;
}

bool TSkMenuLevel::ScrollUp(bool wrap)
{
    if (FFirstVisible > 0)
        --FFirstVisible;
    else if (wrap && LastStart() != FFirstVisible)
        FFirstVisible = LastStart();
    else
        return false;
    Layout();
    return true;
}

bool TSkMenuLevel::ScrollDown(bool wrap)
{
    if (CanScrollDown())
        ++FFirstVisible;
    else if (wrap && FFirstVisible != 0)
        FFirstVisible = 0;
    else
        return false;
    Layout();
    return true;
}

int TSkMenuLevel::ItemAt(TPoint p) const
{
    for (int i = 0; i < Count(); ++i)
        if (InView(i) && ItemRect(i).Contains(p))
            return i;
    return -1;
}

int TSkMenuLevel::MoveDown(int active, bool scrollingNow)
{
    if (Count() == 0)
        return active;
    if (FScrolling && !scrollingNow && active >= 0 && active == FFirstVisible + FVisibleCount - 1)
        ScrollDown(true);
    const int start = active < 0 || active >= Count() - 1 ? 0 : active + 1;
    for (int i = start; i < Count(); ++i) {
        // Passing the last item in view scrolls (as far as it goes) until i is in view.
        for (int guard = Count(); FScrolling && guard > 0 && (i < FFirstVisible || i >= FFirstVisible + FVisibleCount);
             --guard)
            if (!ScrollDown(true))
                break;
        if (CanEnter(i))
            return i;
    }
    return active;
}

int TSkMenuLevel::MoveUp(int active, bool scrollingNow)
{
    if (Count() == 0)
        return active;
    if (FScrolling && !scrollingNow && active >= 0 && active == FFirstVisible)
        ScrollUp(true);
    const int start = active <= 0 ? Count() - 1 : active - 1;
    for (int i = start; i >= 0; --i) {
        for (int guard = Count(); FScrolling && guard > 0 && (i < FFirstVisible || i >= FFirstVisible + FVisibleCount);
             --guard)
            if (!ScrollUp(true))
                break;
        if (CanEnter(i))
            return i;
    }
    return active;
}

std::vector<int> FadeInSteps(int step, int target)
{
    std::vector<int> steps;
    for (int a = step; step > 0 && a < target; a += step)
        steps.push_back(a);
    steps.push_back(target);
    return steps;
}
