#include "skin/core/SkFormLayout.h"

#include <algorithm>

#include "skin/core/SkCompose.h"
#include "skin/core/SkFrameObjects.h"

namespace {

struct TButton {
    TskActiveSkinObject* Object;
    int Width, Height;
};

TRect Placed(int left, int top, const TButton& b) { return {left, top, left + b.Width, top + b.Height}; }

}  // namespace

void LayoutCaptionButtons(std::vector<std::unique_ptr<TskActiveSkinObject>>& objects, const TSkFrameGeometry& g,
                          const TskSkinFormInfo& info, TPoint iconSize)
{
    const bool rowIsCaption = IsNullRect(g.ButtonsRect);
    const TRect row = rowIsCaption ? g.CaptionRect : g.ButtonsRect;
    if (IsNullRect(row))
        return;
    // The row's order: close, maximize, minimize, roll-up, tray, then the custom ones.
    const TskCommand order[] = {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray, cmDefault};
    std::vector<TButton> buttons;
    TButton sysMenu{nullptr, 0, 0};
    TskSkinCaptionObject* caption = nullptr;
    for (TskCommand wanted : order)
        for (auto& o : objects) {
            TskCommand* command = CommandOf(*o);
            if (!command || *command != wanted || !o->Visible || !o->SkinRectInAPicture)
                continue;
            buttons.push_back({o.get(), o->SkinRect.Width(), o->SkinRect.Height()});
        }
    for (auto& o : objects) {
        if (!caption)
            caption = dynamic_cast<TskSkinCaptionObject*>(o.get());
        TskCommand* command = CommandOf(*o);
        if (!sysMenu.Object && command && *command == cmSysMenu && o->Visible && o->SkinRectInAPicture) {
            auto* sb = dynamic_cast<TskSkinStdButtonObject*>(o.get());
            const bool icon = sb && sb->DrawsIcon;
            sysMenu = {o.get(), icon ? iconSize.X : o->SkinRect.Width(), icon ? iconSize.Y : o->SkinRect.Height()};
        }
    }
    // Clamped like a coordinate: the row's sums stay far from overflowing.
    const int offset = std::clamp(info.ButtonsOffset, -kMaxSkinCoord, kMaxSkinCoord);
    const TRect& cr = g.CaptionRect;
    auto placeSysMenuAtCaptionLeft = [&] {
        if (!sysMenu.Object || IsNullRect(cr))
            return;
        sysMenu.Object->ObjectRect = Placed(cr.Left, cr.Top + (cr.Height() - sysMenu.Height) / 2, sysMenu);
        if (caption)
            caption->ObjectRect.Left = sysMenu.Object->ObjectRect.Right;
    };
    if (!info.ButtonsInLeft) {
        int right = row.Right;
        int lastLeft = row.Right;
        for (const TButton& b : buttons) {
            b.Object->ObjectRect = Placed(right - b.Width, row.Top, b);
            lastLeft = right - b.Width;
            right = lastLeft - offset;
        }
        if (rowIsCaption && caption && !buttons.empty())
            caption->ObjectRect.Right = lastLeft;
        placeSysMenuAtCaptionLeft();
        return;
    }
    int left = row.Left;
    for (const TButton& b : buttons) {
        b.Object->ObjectRect = Placed(left, row.Top, b);
        left += b.Width + offset;
    }
    if (!rowIsCaption) {
        placeSysMenuAtCaptionLeft();
        return;
    }
    if (sysMenu.Object) {
        sysMenu.Object->ObjectRect = Placed(left, row.Top, sysMenu);
        left += sysMenu.Width;
    }
    if (caption)
        caption->ObjectRect.Left = left + offset;
}

TRect RollUpObjectRect(const TRect& r, int leftX, int rightX, int d)
{
    if (leftX >= rightX)
        return r;
    if (r.Left >= rightX)
        return {r.Left + d, r.Top, r.Right + d, r.Bottom};
    if (r.Left <= leftX && r.Right >= rightX)
        return {r.Left, r.Top, r.Right + d, r.Bottom};
    return r;
}

TSkBitmap RollUpFacePicture(const TSkBitmap& picture, int leftX, int rightX, int width)
{
    if (picture.Empty() || leftX >= rightX || width < 1)
        return picture;
    const int a = std::clamp(leftX, 0, picture.Width());
    const int r = std::clamp(picture.Width() - rightX, 0, picture.Width() - a);
    TSkBitmap face;
    ComposeHSkinPicture(a, r, face, picture, picture.BoundsRect(), width);
    return face;
}

TRect AreaControlBounds(const TRect& area, const TskSkinFormInfo& info, int pictureWidth, int pictureHeight, int dx,
                        int dy)
{
    return SkinStretches(info) ? MapSkinRect(area, info, pictureWidth, pictureHeight, dx, dy) : area;
}

TRect CaptionFrameRect(const TskDataSkinCaption& r, int textLeft, int textWidth, const TRect& box)
{
    if (IsNullRect(r.FrameRect))
        return NullRect();
    const int left = textLeft - r.FrameTextRect.Left, top = box.Top - r.FrameTextRect.Top;
    const int width = std::max(textWidth + r.FrameRect.Width() - r.FrameTextRect.Width(), 0);
    return {left, top, left + width, top + r.FrameRect.Height()};
}
