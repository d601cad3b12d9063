#include "skin/core/SkControlLayout.h"

#include "skin/core/SkCanvas.h"
#include "skin/core/SkGeometry.h"

int SkinResizeMode(const TRect& skinRect, const TSkinFrame& f)
{
    if (IsNullRect(skinRect))
        return -1;
    if (f.RightBottom.X != 0 && f.RightBottom.Y != 0)
        return 1;
    if (f.RightTop.X != 0 || f.RightTop.Y != 0)
        return 2;
    if (f.LeftBottom.X != 0 || f.LeftBottom.Y != 0)
        return 3;
    return 0;
}

TSkinControlSize CalcSkinControlSize(int mode, const TRect& skinRect, const TSkinFrame& f, int width, int height)
{
    const int sw = RectWidth(skinRect), sh = RectHeight(skinRect);
    TSkinControlSize s{width, height, f};
    switch (mode) {
    case 1: {
        const int dx = width - sw, dy = height - sh;
        s.NewFrame.RightTop.X += dx;
        s.NewFrame.LeftBottom.Y += dy;
        s.NewFrame.RightBottom.X += dx;
        s.NewFrame.RightBottom.Y += dy;
        s.NewFrame.ClientRect.Right += dx;
        s.NewFrame.ClientRect.Bottom += dy;
        break;
    }
    case 2:
        s.Height = sh;
        s.NewFrame.RightTop.X += width - sw;
        s.NewFrame.ClientRect.Right += width - sw;
        break;
    case 3:
        s.Width = sw;
        s.NewFrame.LeftBottom.Y += height - sh;
        s.NewFrame.ClientRect.Bottom += height - sh;
        break;
    case 0:
        s.Width = sw;
        s.Height = sh;
        break;
    default:
        break;
    }
    return s;
}

TRect MapSkinSubRect(int mode, const TRect& skinRect, const TSkinFrame& f, int width, int height, const TRect& r)
{
    const int sw = RectWidth(skinRect), sh = RectHeight(skinRect);
    const int dx = width - sw, dy = height - sh;
    TRect m = r;
    auto shift = [&m](int x, int y) {
        m.Left += x;
        m.Right += x;
        m.Top += y;
        m.Bottom += y;
    };
    switch (mode) {
    case 1: {
        const TRect tl{0, 0, f.LeftTop.X, f.LeftTop.Y}, tr{f.RightTop.X, 0, sw, f.RightTop.Y};
        const TRect bl{0, f.LeftBottom.Y, f.LeftBottom.X, sh}, br{f.RightBottom.X, f.RightBottom.Y, sw, sh};
        const TPoint a{r.Left, r.Top}, b{r.Right, r.Bottom};
        if (RectInsideRect(r, tl)) {
        } else if (RectInsideRect(r, tr)) {
            shift(dx, 0);
        } else if (RectInsideRect(r, bl)) {
            shift(0, dy);
        } else if (RectInsideRect(r, br)) {
            shift(dx, dy);
        } else if (PointInSkinRect(tl, a) && PointInSkinRect(br, b)) {
            m.Right += dx;
            m.Bottom += dy;
        } else if (PointInSkinRect(tl, a) && PointInSkinRect(tr, b)) {
            m.Right += dx;
        } else if (PointInSkinRect(bl, a) && PointInSkinRect(br, b)) {
            shift(0, dy);
            m.Right += dx;
        } else if (PointInSkinRect(tl, a) && PointInSkinRect(bl, b)) {
            m.Bottom += dy;
        } else if (PointInSkinRect(tr, a) && PointInSkinRect(br, b)) {
            shift(dx, 0);
            m.Bottom += dy;
        }
        break;
    }
    case 2:
        if (r.Left <= f.LeftTop.X && r.Right >= f.RightTop.X)
            m.Right += dx;
        else if (r.Left >= f.RightTop.X)
            shift(dx, 0);
        break;
    case 3:
        if (r.Top <= f.LeftTop.Y && r.Bottom >= f.LeftBottom.Y)
            m.Bottom += dy;
        else if (r.Top >= f.LeftBottom.Y)
            shift(0, dy);
        break;
    default:
        break;
    }
    return m;
}

TSkBitmap ComposeSkinControlPicture(int mode, const TSkBitmap& source, const TRect& sourceRect,
                                    const TSkinFrame& frame, const TSkinFrame& newFrame, int width, int height)
{
    TSkBitmap target;
    if (width < 1 || height < 1)
        return target;
    const int sw = RectWidth(sourceRect), sh = RectHeight(sourceRect);
    switch (mode) {
    case 1:
        ComposeSkinPictureTiled(source, sourceRect, frame, target, width, height, newFrame, true);
        break;
    case 2:
        ComposeHSkinPicture(frame.LeftTop.X, sw - frame.RightTop.X, target, source, sourceRect, width);
        break;
    case 3:
        ComposeVSkinPicture(frame.LeftTop.Y, sh - frame.LeftBottom.Y, target, source, sourceRect, height);
        break;
    default:
        target = CopyBitmapRect(source, sourceRect);
        break;
    }
    if (target.Width() != width || target.Height() != height) {
        // A fixed picture or a strip of its own size goes onto a blank picture of ours.
        TSkBitmap sized(width, height);
        TSkCanvas(sized).Draw(0, 0, target);
        return sized;
    }
    return target;
}

TSkButtonLook ChooseButtonLook(const TSkButtonStateInput& s)
{
    if (!s.Enabled && s.HasDisabledRect)
        return TSkButtonLook::Disabled;
    if (s.Down && (s.InGroup || s.Hovered || (s.Focused && !s.MousePressed)))
        return TSkButtonLook::Down;
    // A morph under way shows its factor: at 0 the normal look, whichever way it heads.
    if (s.MorphedIn || ((s.Focused || s.Hovered) && !s.MorphedOut))
        return TSkButtonLook::Active;
    return TSkButtonLook::Normal;
}

double ButtonMorphStep(double factor, bool towardActive)
{
    const double next = factor + (towardActive ? 0.2 : -0.2);
    // Steps of 0.2 do not add up exactly: the ends are reached, not passed by a rounding.
    if (next > 1 - 1e-9)
        return 1;
    if (next < 1e-9)
        return 0;
    return next;
}

int ButtonFontColor(const TSkButtonFontColors& c, bool enabled, bool active, bool down)
{
    if (!enabled)
        return c.Disabled;
    if (active && down)
        return c.Down;
    return active ? c.Active : c.Normal;
}

int ButtonGlyphNumber(int count, bool enabled, bool hovered, bool down)
{
    if (hovered && down && count > 2)
        return 3;
    if (down && count > 3)
        return 4;
    return !enabled && count >= 2 ? 2 : 1;
}

TSkContentPlace PlaceGlyphAndCaption(const TRect& r, TskButtonLayout layout, int margin, int spacing, int gw, int gh,
                                     int tw, int th, bool pressed)
{
    const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
    TSkContentPlace p;
    const bool horizontal = layout == TskButtonLayout::blGlyphLeft || layout == TskButtonLayout::blGlyphRight;
    if (margin < 0) {
        const int m = (gw + tw + spacing) / 2, n = (th + gh + spacing) / 2;
        switch (layout) {
        case TskButtonLayout::blGlyphLeft:
            p = {{cx - m, cy - gh / 2}, {cx + m - tw, cy - th / 2}};
            break;
        case TskButtonLayout::blGlyphRight:
            p = {{cx + m - gw, cy - gh / 2}, {cx - m, cy - th / 2}};
            break;
        case TskButtonLayout::blGlyphTop:
            p = {{cx - gw / 2, cy - n}, {cx - tw / 2, cy + n - th}};
            break;
        case TskButtonLayout::blGlyphBottom:
            p = {{cx - gw / 2, cy + n - gh}, {cx - tw / 2, cy - n}};
            break;
        }
    } else if (horizontal) {
        p.Glyph.Y = cy - gh / 2;
        p.Text.Y = cy - th / 2;
        if (layout == TskButtonLayout::blGlyphLeft) {
            p.Glyph.X = r.Left + margin;
            p.Text.X = p.Glyph.X + gw + spacing;
        } else {
            p.Glyph.X = r.Right - gw - margin;
            p.Text.X = p.Glyph.X - spacing - tw;
        }
    } else {
        p.Glyph.X = cx - gw / 2;
        p.Text.X = cx - tw / 2;
        if (layout == TskButtonLayout::blGlyphTop) {
            p.Glyph.Y = r.Top + margin;
            p.Text.Y = p.Glyph.Y + gh + spacing;
        } else {
            p.Glyph.Y = r.Bottom - gh - margin;
            p.Text.Y = p.Glyph.Y - spacing - th;
        }
    }
    if (pressed) {
        p.Glyph = {p.Glyph.X + 1, p.Glyph.Y + 1};
        p.Text = {p.Text.X + 1, p.Text.Y + 1};
    }
    return p;
}
