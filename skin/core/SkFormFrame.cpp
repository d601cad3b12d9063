#include "skin/core/SkFormFrame.h"

#include <algorithm>

namespace {

bool InZone(const TRect& zone, const TPoint& p) { return PointInSkinRect(zone, p); }

TPoint Or(const TPoint& p, const TPoint& fallback) { return IsNullPoint(p) ? fallback : p; }

TRect Moved(TRect r, int dx, int dy) { return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}; }

}  // namespace

bool SkinStretches(const TskSkinFormInfo& info)
{
    return info.RBPoint.X != info.LTPoint.X && info.RBPoint.Y != info.LTPoint.Y;
}

TSkinFrame PictureFrame(const TskSkinFormInfo& info)
{
    return {info.LTPoint, info.RTPoint, info.LBPoint, info.RBPoint, info.ClRect};
}

TRect MapSkinRect(const TRect& r, const TskSkinFormInfo& info, int pw, int ph, int dx, int dy)
{
    const TRect lt{0, 0, info.LTPoint.X, info.LTPoint.Y};
    const TRect rt{info.RTPoint.X, 0, pw, info.RTPoint.Y};
    const TRect lb{0, info.LBPoint.Y, info.LBPoint.X, ph};
    const TRect rb{info.RBPoint.X, info.RBPoint.Y, pw, ph};
    const TPoint a{r.Left, r.Top}, b{r.Right, r.Bottom};
    if (InZone(lt, a) && InZone(lt, b))
        return r;
    if (InZone(rt, a) && InZone(rt, b))
        return Moved(r, dx, 0);
    if (InZone(lb, a) && InZone(lb, b))
        return Moved(r, 0, dy);
    if (InZone(rb, a) && InZone(rb, b))
        return Moved(r, dx, dy);
    if (InZone(lt, a) && InZone(rb, b))
        return {r.Left, r.Top, r.Right + dx, r.Bottom + dy};
    if (InZone(lt, a) && InZone(rt, b))
        return {r.Left, r.Top, r.Right + dx, r.Bottom};
    if (InZone(lb, a) && InZone(rb, b))
        return {r.Left, r.Top + dy, r.Right + dx, r.Bottom + dy};
    if (InZone(lt, a) && InZone(lb, b))
        return {r.Left, r.Top, r.Right, r.Bottom + dy};
    if (InZone(rt, a) && InZone(rb, b))
        return {r.Left + dx, r.Top, r.Right + dx, r.Bottom + dy};
    return r;
}

TSkFrameGeometry ComputeFrameGeometry(const TskSkinFormInfo& info, int pw, int ph, int width, int height)
{
    TSkFrameGeometry g;
    g.Width = width;
    g.Height = height;
    g.PictureWidth = pw;
    g.PictureHeight = ph;
    g.DX = width - pw;
    g.DY = height - ph;
    const int dx = g.DX, dy = g.DY;
    g.LT = info.LTPoint;
    g.RT = {info.RTPoint.X + dx, info.RTPoint.Y};
    g.LB = {info.LBPoint.X, info.LBPoint.Y + dy};
    g.RB = {info.RBPoint.X + dx, info.RBPoint.Y + dy};
    const TPoint hlt = Or(info.HitTestLTPoint, info.LTPoint), hrt = Or(info.HitTestRTPoint, info.RTPoint);
    const TPoint hlb = Or(info.HitTestLBPoint, info.LBPoint), hrb = Or(info.HitTestRBPoint, info.RBPoint);
    g.HitLT = hlt;
    g.HitRT = {hrt.X + dx, hrt.Y};
    g.HitLB = {hlb.X, hlb.Y + dy};
    g.HitRB = {hrb.X + dx, hrb.Y + dy};
    const TRect& c = info.ClRect;
    g.ClientRect = {c.Left, c.Top, c.Right + dx, c.Bottom + dy};
    g.CaptionRect = info.CaptionRect;
    if (!IsNullRect(g.CaptionRect))
        g.CaptionRect.Right += dx;
    g.ButtonsRect = info.ButtonsRect;
    if (!IsNullRect(g.ButtonsRect) && g.ButtonsRect.Left > pw / 2)
        g.ButtonsRect = Moved(g.ButtonsRect, dx, 0);
    g.MainMenuRect = IsNullRect(info.MainMenuRect) ? info.MainMenuRect
                                                   : MapSkinRect(info.MainMenuRect, info, pw, ph, dx, dy);
    const TRect& m = info.MaskRectArea;
    g.MaskRect = IsNullRect(m) ? g.ClientRect : TRect{m.Left, m.Top, m.Right + dx, m.Bottom + dy};
    return g;
}

int DefaultCaptionHeight(bool toolWindow) { return toolWindow ? 15 : 19; }
int DefaultButtonSize(bool toolWindow) { return toolWindow ? 13 : 17; }

TPoint MinimumSize(const TSkMinSizeInput& in)
{
    const bool small = in.RolledUp || in.Minimized;
    if (in.NCArea) {
        if (in.SkinActive) {
            const int w = in.PictureWidth < in.MinWidth && !in.Minimized ? in.MinWidth : in.PictureWidth;
            const int frame = in.PictureHeight - in.ClientRectHeight;
            return {w, frame >= in.MinHeight || small ? frame : in.MinHeight};
        }
        const int w = in.MinWidth ? in.MinWidth : 130;
        const int frame = in.CaptionHeight + 6;
        return {w, frame >= in.MinHeight || small ? frame : in.MinHeight};
    }
    if (!in.SkinActive)
        return {0, 0};
    return {in.MinWidth > 0 && in.MinWidth <= in.PictureWidth ? in.MinWidth : in.PictureWidth,
            in.MinHeight > 0 && in.MinHeight <= in.PictureHeight ? in.MinHeight : in.PictureHeight};
}

namespace {

// The sizing border: one of the four points b away lies outside the window (no mask) or
// neither in the mask rectangle nor on a black mask pixel.
bool InBorderZone(const TSkHitInput& in, TPoint p)
{
    const TSkFrameGeometry& g = *in.Geometry;
    // Past the largest coordinate every width tests the same; clamped, no sum overflows.
    const int b = std::clamp(in.BorderWidth, -kMaxSkinCoord, kMaxSkinCoord);
    const TRect window{0, 0, g.Width, g.Height};
    if (in.HasMask && g.MaskRect.Contains(p))
        return false;
    for (TPoint q : {TPoint{p.X - b, p.Y}, TPoint{p.X, p.Y - b}, TPoint{p.X + b, p.Y}, TPoint{p.X, p.Y + b}}) {
        if (!in.HasMask) {
            if (!window.Contains(q))
                return true;
        } else if (!g.MaskRect.Contains(q) && !(window.Contains(q) && in.MaskSolid && in.MaskSolid(q))) {
            return true;
        }
    }
    return false;
}

int BorderCode(const TSkFrameGeometry& g, TPoint p)
{
    const int x = p.X, y = p.Y;
    if (x <= g.HitLT.X && y <= g.HitLT.Y)
        return kHtTopLeft;
    if (x >= g.HitRT.X && y <= g.HitRT.Y)
        return kHtTopRight;
    if (x <= g.HitLB.X && y >= g.HitLB.Y)
        return kHtBottomLeft;
    if (x >= g.HitRB.X && y >= g.HitRB.Y)
        return kHtBottomRight;
    if (TRect{g.HitLT.X, 0, g.HitRT.X, g.ClientRect.Top}.Contains(p))
        return kHtTop;
    if (TRect{g.HitLB.X, g.ClientRect.Bottom, g.HitRB.X, g.Height}.Contains(p))
        return kHtBottom;
    if (TRect{0, g.HitLT.Y, g.ClientRect.Left, g.HitLB.Y}.Contains(p))
        return kHtLeft;
    if (TRect{g.ClientRect.Right, g.HitRT.Y, g.Width, g.HitRB.Y}.Contains(p))
        return kHtRight;
    return kHtNowhere;
}

bool OnCaption(const TSkHitInput& in, TPoint p) { return in.OnCaptionObject && in.OnCaptionObject(p); }

}  // namespace

bool MaskStripsSolid(const TSkinBorders& strips, const TRect& m, TPoint p)
{
    auto black = [](const TSkBitmap& b, int x, int y) { return b.Contains(x, y) && SkRgbPart(b.Pixel(x, y)) == 0; };
    if (p.Y < m.Top)
        return black(strips.Top, p.X, p.Y);
    if (p.Y >= m.Bottom)
        return black(strips.Bottom, p.X, p.Y - m.Bottom);
    if (p.X < m.Left)
        return black(strips.Left, p.X, p.Y - m.Top);
    if (p.X >= m.Right)
        return black(strips.Right, p.X - m.Right, p.Y - m.Top);
    return true;
}

int HitTestSkinned(const TSkHitInput& in, TPoint p)
{
    const TSkFrameGeometry& g = *in.Geometry;
    if (in.RolledUp || in.Minimized)
        return OnCaption(in, p) ? kHtCaption : kHtObject;
    if (in.ObjectHovered && !OnCaption(in, p) && !g.ClientRect.Contains(p) && !in.InSizeMove)
        return kHtObject;
    if (!in.Maximized && in.Sizeable) {
        if (!InBorderZone(in, p)) {
            if (g.ClientRect.Contains(p))
                return kHtClient;
            return OnCaption(in, p) ? kHtCaption : kHtObject;
        }
        if (const int code = BorderCode(g, p))
            return code;
    }
    if (g.ClientRect.Contains(p))
        return kHtClient;
    return OnCaption(in, p) ? kHtCaption : kHtObject;
}

int HitTestFace(const TSkHitInput& in, bool skinActive, TPoint p)
{
    if (!in.Sizeable || in.Maximized || in.RolledUp || in.ObjectHovered || !skinActive)
        return kHtClient;
    if (InBorderZone(in, p))
        if (const int code = BorderCode(*in.Geometry, p))
            return code;
    return kHtClient;
}

int HitTestDefault(const TSkDefaultHitInput& in, TPoint p)
{
    const int x = p.X, y = p.Y, w = in.Width, h = in.Height;
    if (!in.Maximized && !in.RolledUp && !in.Minimized && in.Sizeable) {
        if (in.ObjectHovered)
            return kHtObject;
        if (x <= 2 && y <= 2)
            return kHtTopLeft;
        if (x >= w - 2 && y <= 2)
            return kHtTopRight;
        if (x <= 2 && y >= h - 2)
            return kHtBottomLeft;
        if (x >= w - 2 && y >= h - 2)
            return kHtBottomRight;
        if (x <= 2)
            return kHtLeft;
        if (y <= 2)
            return kHtTop;
        if (x >= w - 2)
            return kHtRight;
        if (y >= h - 2)
            return kHtBottom;
    }
    if (in.CaptionRect.Contains(p))
        return kHtCaption;
    if (TRect{3, in.CaptionHeight + 3, w - 3, h - 3}.Contains(p))
        return kHtClient;
    return kHtObject;
}

TSkDefaultButtons LayoutDefaultButtons(int frameWidth, int captionHeight, int size, int sysMenuSize,
                                       const TSkDefaultButtonsShown& shown)
{
    TSkDefaultButtons b;
    // The caption strip as it is painted: caption height rows from (3, 3).
    b.Caption = {3, 3, frameWidth - 3, 3 + captionHeight};
    int x = frameWidth - 3;
    auto place = [&](bool on, TRect& r) {
        if (!on)
            return;
        r = {x - size, 4, x, 4 + size};
        x -= size;
    };
    place(shown.Close, b.Close);
    place(shown.Maximize, b.Maximize);
    place(shown.Minimize, b.Minimize);
    place(shown.RollUp, b.RollUp);
    place(shown.Tray, b.Tray);
    b.Caption.Right = x;
    if (shown.SysMenu) {
        b.SysMenu = {3, 4, 3 + sysMenuSize, 4 + sysMenuSize};
        b.Caption.Left = b.SysMenu.Right;
    }
    return b;
}

TRect MagneticSnap(const TRect& window, const TRect& bounds, int d)
{
    const int w = window.Width(), h = window.Height();
    int left = window.Left, top = window.Top;
    if (bounds.Left - d < left && left < bounds.Left + d)
        left = bounds.Left;
    if (bounds.Top - d < top && top < bounds.Top + d)
        top = bounds.Top;
    if (bounds.Right - d < left + w && left + w < bounds.Right + d)
        left = bounds.Right - w;
    if (bounds.Bottom - d < top + h && top + h < bounds.Bottom + d)
        top = bounds.Bottom - h;
    return {left, top, left + w, top + h};
}

TPoint MinimizedSlot(const TRect& area, int w, int h, const std::vector<TPoint>& taken)
{
    TPoint p{area.Left, area.Bottom - h};
    // Each step takes a new slot, so the search ends after at most one slot per window.
    for (size_t guard = 0; guard <= taken.size(); ++guard) {
        if (std::find(taken.begin(), taken.end(), p) == taken.end())
            break;
        p.X += w;
        if (p.X + w > area.Right) {
            p.X = area.Left;
            p.Y -= h;
            if (p.Y < area.Top) {
                p.Y = area.Bottom - h;
                break;
            }
        }
    }
    return p;
}

TRect MaximizedBounds(const TRect& monitor, const TRect& workArea, bool fullScreen)
{
    if (fullScreen)
        return monitor;
    if (workArea == monitor)
        return {monitor.Left + 1, monitor.Top + 1, monitor.Right - 1, monitor.Bottom - 1};
    return workArea;
}

bool SystemMenuItemShown(const std::string& name, const TSkSystemMenuState& s)
{
    auto has = [&](TskBorderIcon i) { return (s.Icons & SkIcon(i)) != 0; };
    if (name == "DSF_MINITEM")
        return s.WindowState != 1 && has(TskBorderIcon::biMinimize);
    if (name == "DSF_MAXITEM")
        return s.WindowState != 2 && has(TskBorderIcon::biMaximize);
    if (name == "DSF_RESTORE")
        return s.WindowState != 0 || s.RolledUp;
    if (name == "DSF_ROLLUP")
        return (!s.MDIChild || s.WindowState != 2) && !s.RolledUp && s.WindowState != 1 &&
               has(TskBorderIcon::biRollUp);
    if (name == "DSF_MINTOTRAY")
        return has(TskBorderIcon::biMinimizeToTray);
    return name == "DSF_CLOSE";
}

std::vector<TSkSystemMenuItem> DefaultSystemMenu(const TSkSystemMenuState& s)
{
    static const TSkSystemMenuItem items[] = {
        {"DSF_MINITEM", "Mi&nimize", "MI_MINCAPTION"},
        {"DSF_MAXITEM", "Ma&ximize", "MI_MAXCAPTION"},
        {"DSF_RESTORE", "&Restore", "MI_RESTORECAPTION"},
        {"DSF_ROLLUP", "Ro&llUp", "MI_ROLLUPCAPTION"},
        {"DSF_MINTOTRAY", "Minimize to &Tray", "MI_MINTOTRAYCAPTION"},
    };
    std::vector<TSkSystemMenuItem> result;
    for (const TSkSystemMenuItem& item : items)
        if (SystemMenuItemShown(item.Name, s))
            result.push_back(item);
    if (!result.empty())
        result.push_back({"", "-", ""});
    result.push_back({"DSF_CLOSE", "&Close", "MI_CLOSECAPTION"});
    return result;
}
