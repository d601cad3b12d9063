#include "skin/core/SkCanvas.h"

#include <algorithm>
#include <cstdlib>

void TSkCanvas::CopyRect(const TRect& dest, const TSkBitmap& source, const TRect& sourceRect)
{
    // Spans in 64 bits: any int rectangle is taken without overflow.
    const int64_t dw = int64_t{dest.Right} - dest.Left, dh = int64_t{dest.Bottom} - dest.Top;
    const int64_t sw = int64_t{sourceRect.Right} - sourceRect.Left, sh = int64_t{sourceRect.Bottom} - sourceRect.Top;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || source.Empty())
        return;
    const int y0 = std::max(dest.Top, 0), y1 = std::min(dest.Bottom, FTarget.Height());
    const int x0 = std::max(dest.Left, 0), x1 = std::min(dest.Right, FTarget.Width());
    for (int y = y0; y < y1; ++y) {
        const int64_t sy = sourceRect.Top + (int64_t{y} - dest.Top) * sh / dh;
        if (sy < 0 || sy >= source.Height())
            continue;
        const TSkPixel* src = source.Row(static_cast<int>(sy));
        TSkPixel* dst = FTarget.Row(y);
        for (int x = x0; x < x1; ++x) {
            const int64_t sx = sourceRect.Left + (int64_t{x} - dest.Left) * sw / dw;
            if (sx >= 0 && sx < source.Width())
                dst[x] = src[sx];
        }
    }
}

void TSkCanvas::Draw(int x, int y, const TSkBitmap& source)
{
    CopyRect({x, y, x + source.Width(), y + source.Height()}, source, source.BoundsRect());
}

void TSkCanvas::DrawTransparent(int x, int y, const TSkBitmap& source)
{
    if (source.Empty())
        return;
    const TSkPixel key = SkRgbPart(source.Pixel(0, source.Height() - 1));
    for (int sy = 0; sy < source.Height(); ++sy)
        for (int sx = 0; sx < source.Width(); ++sx) {
            const TSkPixel p = source.Pixel(sx, sy);
            if (SkRgbPart(p) != key)
                Plot(x + sx, y + sy, p);
        }
}

void TSkCanvas::LineTo(int x, int y)
{
    // Bresenham from the pen position, the end point left out as GDI does.
    int cx = FPenX, cy = FPenY;
    const int dx = std::abs(x - cx), dy = -std::abs(y - cy);
    const int stepX = cx < x ? 1 : -1, stepY = cy < y ? 1 : -1;
    int error = dx + dy;
    while (cx != x || cy != y) {
        Plot(cx, cy, PenColor);
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            cx += stepX;
        }
        if (e2 <= dx) {
            error += dx;
            cy += stepY;
        }
    }
    MoveTo(x, y);
}

void TSkCanvas::Polyline(std::initializer_list<TPoint> points)
{
    bool first = true;
    for (const TPoint& p : points) {
        if (first)
            MoveTo(p.X, p.Y);
        else
            LineTo(p.X, p.Y);
        first = false;
    }
}

void TSkCanvas::FrameRect(const TRect& r)
{
    if (IsNullRect(r))
        return;
    for (int x = r.Left; x < r.Right; ++x) {
        Plot(x, r.Top, PenColor);
        Plot(x, r.Bottom - 1, PenColor);
    }
    for (int y = r.Top; y < r.Bottom; ++y) {
        Plot(r.Left, y, PenColor);
        Plot(r.Right - 1, y, PenColor);
    }
}

void TSkCanvas::FillRect(const TRect& r)
{
    for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, FTarget.Height()); ++y)
        for (int x = std::max(r.Left, 0); x < std::min(r.Right, FTarget.Width()); ++x)
            FTarget.SetPixel(x, y, BrushColor);
}

TSkBitmap CopyBitmapRect(const TSkBitmap& source, const TRect& rect)
{
    const TRect r{std::max(rect.Left, 0), std::max(rect.Top, 0), std::min(rect.Right, source.Width()),
                  std::min(rect.Bottom, source.Height())};
    TSkBitmap part(RectWidth(r), RectHeight(r));
    if (!part.Empty())
        TSkCanvas(part).CopyRect(part.BoundsRect(), source, r);
    return part;
}
