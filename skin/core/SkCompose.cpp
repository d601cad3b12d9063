#include "skin/core/SkCompose.h"

#include <algorithm>

#include "skin/core/SkCanvas.h"

namespace {

TSkinFrame Clamped(const TSkinFrame& f)
{
    return {ClampSkinPoint(f.LeftTop), ClampSkinPoint(f.RightTop), ClampSkinPoint(f.LeftBottom),
            ClampSkinPoint(f.RightBottom), ClampSkinRect(f.ClientRect)};
}

int ClampSize(int v)
{
    return std::clamp(v, 0, kMaxSkinCoord);
}

TRect Offset(const TRect& r, int dx, int dy)
{
    return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

// The first tile start at or after from - span that still reaches 0: tiles left of the
// target are skipped without changing where the others fall.
int FirstTile(int from, int span)
{
    return from >= 0 ? from : from + static_cast<int>((-static_cast<int64_t>(from)) / span * span);
}

// Ends of a span clipped to the target, so the work never exceeds the target's size.
int LastEdge(int to, int size)
{
    return std::min(to, size);
}

// Tiles src over dest from dest's top-left, the last column and row cut short.
void Tile(TSkCanvas& canvas, const TRect& dest, const TSkBitmap& source, const TRect& src)
{
    const int sw = RectWidth(src), sh = RectHeight(src);
    if (sw <= 0 || sh <= 0 || IsNullRect(dest))
        return;
    const int right = LastEdge(dest.Right, canvas.Target().Width());
    const int bottom = LastEdge(dest.Bottom, canvas.Target().Height());
    for (int y = FirstTile(dest.Top, sh); y < bottom; y += sh) {
        const int h = std::min(sh, dest.Bottom - y);
        for (int x = FirstTile(dest.Left, sw); x < right; x += sw) {
            const int w = std::min(sw, dest.Right - x);
            canvas.CopyRect({x, y, x + w, y + h}, source, {src.Left, src.Top, src.Left + w, src.Top + h});
        }
    }
}

// An edge strip: stretched, or tiled along its length (the other axis is stretched to fit).
void Edge(TSkCanvas& canvas, const TRect& dest, const TSkBitmap& source, const TRect& src, bool stretch,
          bool horizontal)
{
    const int sw = RectWidth(src), sh = RectHeight(src);
    if (sw <= 0 || sh <= 0 || IsNullRect(dest))
        return;
    if (stretch) {
        canvas.CopyRect(dest, source, src);
    } else if (horizontal) {
        for (int x = FirstTile(dest.Left, sw); x < LastEdge(dest.Right, canvas.Target().Width()); x += sw) {
            const int w = std::min(sw, dest.Right - x);
            canvas.CopyRect({x, dest.Top, x + w, dest.Bottom}, source, {src.Left, src.Top, src.Left + w, src.Bottom});
        }
    } else {
        for (int y = FirstTile(dest.Top, sh); y < LastEdge(dest.Bottom, canvas.Target().Height()); y += sh) {
            const int h = std::min(sh, dest.Bottom - y);
            canvas.CopyRect({dest.Left, y, dest.Right, y + h}, source, {src.Left, src.Top, src.Right, src.Top + h});
        }
    }
}

void Compose(const TSkBitmap& source, const TRect& skinRect, const TSkinFrame& skinFrame, TSkBitmap& target,
             int width, int height, const TSkinFrame& newFrame, const TSkinStretch& stretch, bool fillCentre)
{
    width = ClampSize(width);
    height = ClampSize(height);
    const TRect r = ClampSkinRect(skinRect);
    const TSkinFrame f = Clamped(skinFrame), n = Clamped(newFrame);
    target.SetSize(width, height);
    if (f.RightBottom.X == f.LeftTop.X || f.RightBottom.Y == f.LeftTop.Y || source.Empty() || target.Empty())
        return;
    TSkCanvas c(target);
    const int L = r.Left, T = r.Top;
    const TRect& cr = f.ClientRect;
    const TRect& ncr = n.ClientRect;
    Edge(c, {n.LeftTop.X, 0, n.RightTop.X, ncr.Top}, source, {L + f.LeftTop.X, T, L + f.RightTop.X, T + cr.Top},
         stretch.Top, true);
    Edge(c, {n.LeftBottom.X, ncr.Bottom, n.RightBottom.X, height}, source,
         {L + f.LeftBottom.X, T + cr.Bottom, L + f.RightBottom.X, r.Bottom}, stretch.Bottom, true);
    Edge(c, {0, n.LeftTop.Y, ncr.Left, n.LeftBottom.Y}, source, {L, T + f.LeftTop.Y, L + cr.Left, T + f.LeftBottom.Y},
         stretch.Left, false);
    Edge(c, {ncr.Right, n.RightTop.Y, width, n.RightBottom.Y}, source,
         {L + cr.Right, T + f.RightTop.Y, r.Right, T + f.RightBottom.Y}, stretch.Right, false);

    c.CopyRect({0, 0, n.LeftTop.X, ncr.Top}, source, {L, T, L + f.LeftTop.X, T + cr.Top});
    c.CopyRect({0, ncr.Top, ncr.Left, n.LeftTop.Y}, source, {L, T + cr.Top, L + cr.Left, T + f.LeftTop.Y});
    c.CopyRect({n.RightTop.X, 0, width, ncr.Top}, source, {L + f.RightTop.X, T, r.Right, T + cr.Top});
    c.CopyRect({ncr.Right, ncr.Top, width, n.RightTop.Y}, source, {L + cr.Right, T + cr.Top, r.Right, T + f.RightTop.Y});
    c.CopyRect({0, n.LeftBottom.Y, ncr.Left, height}, source, {L, T + f.LeftBottom.Y, L + cr.Left, r.Bottom});
    c.CopyRect({ncr.Left, ncr.Bottom, n.LeftBottom.X, height}, source,
               {L + cr.Left, T + cr.Bottom, L + f.LeftBottom.X, r.Bottom});
    c.CopyRect({n.RightBottom.X, ncr.Bottom, width, height}, source,
               {L + f.RightBottom.X, T + cr.Bottom, r.Right, r.Bottom});
    c.CopyRect({ncr.Right, n.RightBottom.Y, width, ncr.Bottom}, source,
               {L + cr.Right, T + f.RightBottom.Y, r.Right, T + cr.Bottom});

    if (fillCentre)
        Tile(c, ncr, source, Offset(cr, L, T));
}

// One border picture: its edge strip tiled (from start) or stretched over the span, then
// its two end pieces copied over the ends.
struct TBorderLayout {
    int Width, Height;
    bool Horizontal;
    TRect Strip;           // source
    int SpanFrom, SpanTo;    // target span of the strip along the edge
    TRect FirstPiece;      // source piece at the start of the edge
    int FirstTo;             // its target end along the edge (it starts at 0)
    TRect LastPiece;       // source piece at the end of the edge
    int LastFrom;            // its target start along the edge (it ends at the picture's end)
};

// Largest side and area of a border or one-dimensional picture; a skin whose rectangles lie
// far outside its picture would otherwise ask for an absurd bitmap. A real one is far smaller.
constexpr int kMaxBorderSide = 32768;
constexpr int64_t kMaxBorderPixels = int64_t{8} * 1024 * 1024;

TSkBitmap Border(const TSkBitmap& source, const TBorderLayout& s, bool stretch)
{
    TSkBitmap picture;
    if (s.Width < 1 || s.Height < 1 || s.Width > kMaxBorderSide || s.Height > kMaxBorderSide ||
        int64_t{s.Width} * s.Height > kMaxBorderPixels || IsNullRect(s.Strip))
        return picture;
    picture.SetSize(s.Width, s.Height);
    TSkCanvas c(picture);
    auto along = [&](int from, int to) {
        return s.Horizontal ? TRect{from, 0, to, s.Height} : TRect{0, from, s.Width, to};
    };
    Edge(c, along(s.SpanFrom, s.SpanTo), source, s.Strip, stretch, s.Horizontal);
    c.CopyRect(along(0, s.FirstTo), source, s.FirstPiece);
    c.CopyRect(along(s.LastFrom, s.Horizontal ? s.Width : s.Height), source, s.LastPiece);
    return picture;
}

}  // namespace

void ComposeSkinPicture(const TSkBitmap& source, const TRect& r, const TSkinFrame& frame, TSkBitmap& target,
                        int width, int height, const TSkinFrame& newFrame, const TSkinStretch& stretch,
                        bool fillCentre)
{
    Compose(source, r, frame, target, width, height, newFrame, stretch, fillCentre);
}

void ComposeSkinPictureTiled(const TSkBitmap& source, const TRect& r, const TSkinFrame& frame, TSkBitmap& target,
                             int width, int height, const TSkinFrame& newFrame, bool fillCentre)
{
    Compose(source, r, frame, target, width, height, newFrame, TSkinStretch{}, fillCentre);
}

void ComposeHSkinPicture(int a, int r, TSkBitmap& target, const TSkBitmap& source, const TRect& rect, int width)
{
    a = ClampSkinCoord(a);
    r = ClampSkinCoord(r);
    width = ClampSize(width);
    const TRect sourceRect = ClampSkinRect(rect);
    const int h = ClampSize(RectHeight(sourceRect));
    target.SetSize(int64_t{width} * h > kMaxBorderPixels ? 0 : width, h);
    if (target.Empty() || source.Empty())
        return;
    TSkCanvas c(target);
    if (a > 0)
        c.CopyRect({0, 0, a, h}, source, {sourceRect.Left, sourceRect.Top, sourceRect.Left + a, sourceRect.Bottom});
    if (r > 0)
        c.CopyRect({width - r, 0, width, h}, source, {sourceRect.Right - r, sourceRect.Top, sourceRect.Right, sourceRect.Bottom});
    Edge(c, {a, 0, width - r, h}, source, {sourceRect.Left + a, sourceRect.Top, sourceRect.Right - r, sourceRect.Bottom},
         false, true);
}

void ComposeVSkinPicture(int a, int r, TSkBitmap& target, const TSkBitmap& source, const TRect& rect, int height)
{
    a = ClampSkinCoord(a);
    r = ClampSkinCoord(r);
    height = ClampSize(height);
    const TRect sourceRect = ClampSkinRect(rect);
    const int w = ClampSize(RectWidth(sourceRect));
    target.SetSize(int64_t{w} * height > kMaxBorderPixels ? 0 : w, height);
    if (target.Empty() || source.Empty())
        return;
    TSkCanvas c(target);
    if (a > 0)
        c.CopyRect({0, 0, w, a}, source, {sourceRect.Left, sourceRect.Top, sourceRect.Right, sourceRect.Top + a});
    if (r > 0)
        c.CopyRect({0, height - r, w, height}, source, {sourceRect.Left, sourceRect.Bottom - r, sourceRect.Right, sourceRect.Bottom});
    Edge(c, {0, a, w, height - r}, source, {sourceRect.Left, sourceRect.Top + a, sourceRect.Right, sourceRect.Bottom - r},
         false, false);
}

TSkinBorders ComposeSkinBorders(const TSkBitmap& source, const TSkinFrame& skinFrame, int width,
                                const TSkinFrame& newFrame)
{
    const TSkinFrame f = Clamped(skinFrame), n = Clamped(newFrame);
    width = ClampSize(width);
    const int pw = source.Width(), ph = source.Height();
    const TRect& cr = f.ClientRect;
    const int ch = RectHeight(n.ClientRect), bh = ph - cr.Bottom;
    TSkinBorders b;
    if (source.Empty())
        return b;
    b.Left = Border(source, {cr.Left, ch, false, {0, f.LeftTop.Y, cr.Left, f.LeftBottom.Y}, 0, ch,
                             {0, cr.Top, cr.Left, f.LeftTop.Y}, f.LeftTop.Y - cr.Top,
                             {0, f.LeftBottom.Y, cr.Left, cr.Bottom}, ch - (cr.Bottom - f.LeftBottom.Y)}, false);
    b.Right = Border(source, {pw - cr.Right, ch, false, {cr.Right, f.RightTop.Y, pw, f.RightBottom.Y}, 0, ch,
                              {cr.Right, cr.Top, pw, f.RightTop.Y}, f.RightTop.Y - cr.Top,
                              {cr.Right, f.RightBottom.Y, pw, cr.Bottom}, ch - (cr.Bottom - f.RightBottom.Y)}, false);
    b.Top = Border(source, {width, cr.Top, true, {f.LeftTop.X, 0, f.RightTop.X, cr.Top}, n.LeftTop.X, n.RightTop.X,
                            {0, 0, f.LeftTop.X, cr.Top}, f.LeftTop.X, {f.RightTop.X, 0, pw, cr.Top}, n.RightTop.X},
                   false);
    b.Bottom = Border(source, {width, bh, true, {f.LeftBottom.X, cr.Bottom, f.RightBottom.X, ph}, n.LeftBottom.X,
                               n.RightBottom.X, {0, cr.Bottom, f.LeftBottom.X, ph}, f.LeftBottom.X,
                               {f.RightBottom.X, cr.Bottom, pw, ph}, n.RightBottom.X},
                      false);
    return b;
}

TSkinBorders ComposeSkinBordersStretched(const TSkBitmap& source, const TRect& skinRect, const TSkinFrame& skinFrame,
                                         int width, int height, const TSkinFrame& newFrame, const TSkinStretch& stretch)
{
    const TRect r = ClampSkinRect(skinRect);
    const TSkinFrame f = Clamped(skinFrame), n = Clamped(newFrame);
    width = ClampSize(width);
    height = ClampSize(height);
    const int L = r.Left, T = r.Top, pw = RectWidth(r), ph = RectHeight(r);
    const TRect& cr = f.ClientRect;
    const TRect& ncr = n.ClientRect;
    const int ch = RectHeight(ncr), bh = height - ncr.Bottom;
    TSkinBorders b;
    if (source.Empty())
        return b;
    // A stretched edge covers its new span; a tiled one runs across the whole picture.
    auto span = [](bool on, int from, int to, int whole) { return on ? std::pair{from, to} : std::pair{0, whole}; };
    auto [lf, lt] = span(stretch.Left, n.LeftTop.Y - ncr.Top, n.LeftBottom.Y - ncr.Top, ch);
    b.Left = Border(source, {cr.Left, ch, false, Offset({0, f.LeftTop.Y, cr.Left, f.LeftBottom.Y}, L, T), lf, lt,
                             Offset({0, cr.Top, cr.Left, f.LeftTop.Y}, L, T), f.LeftTop.Y - cr.Top,
                             Offset({0, f.LeftBottom.Y, cr.Left, cr.Bottom}, L, T), ch - (cr.Bottom - f.LeftBottom.Y)},
                    stretch.Left);
    auto [rf, rt] = span(stretch.Right, n.RightTop.Y - ncr.Top, n.RightBottom.Y - ncr.Top, ch);
    b.Right = Border(source, {pw - cr.Right, ch, false, Offset({cr.Right, f.RightTop.Y, pw, f.RightBottom.Y}, L, T), rf, rt,
                              Offset({cr.Right, cr.Top, pw, f.RightTop.Y}, L, T), f.RightTop.Y - cr.Top,
                              Offset({cr.Right, f.RightBottom.Y, pw, cr.Bottom}, L, T),
                              ch - (cr.Bottom - f.RightBottom.Y)},
                     stretch.Right);
    auto [tf, tt] = span(stretch.Top, n.LeftTop.X, n.RightTop.X, width);
    b.Top = Border(source, {width, cr.Top, true, Offset({f.LeftTop.X, 0, f.RightTop.X, cr.Top}, L, T), tf, tt,
                            Offset({0, 0, f.LeftTop.X, cr.Top}, L, T), n.LeftTop.X,
                            Offset({f.RightTop.X, 0, pw, cr.Top}, L, T), n.RightTop.X},
                   stretch.Top);
    auto [bf, bt] = span(stretch.Bottom, n.LeftBottom.X, n.RightBottom.X, width);
    b.Bottom = Border(source, {width, bh, true, Offset({f.LeftBottom.X, cr.Bottom, f.RightBottom.X, ph}, L, T), bf, bt,
                               Offset({0, cr.Bottom, f.LeftBottom.X, ph}, L, T), n.LeftBottom.X,
                               Offset({f.RightBottom.X, cr.Bottom, pw, ph}, L, T), n.RightBottom.X},
                      stretch.Bottom);
    return b;
}
