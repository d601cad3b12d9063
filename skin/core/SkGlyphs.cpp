#include "skin/core/SkGlyphs.h"

namespace {

void Line(TSkCanvas& c, int x1, int y1, int x2, int y2)
{
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
}

}  // namespace

void DrawGlyphFrame(TSkCanvas& canvas, int x, int y, int n, int k, const TSkBitmap& strip)
{
    if (strip.Empty() || k < 1 || n < 1 || n > k)
        return;
    const int w = strip.Width() / k;
    if (w < 1)
        return;
    canvas.DrawTransparent(x, y, CopyBitmapRect(strip, {(n - 1) * w, 0, n * w, strip.Height()}));
}

void DrawArrowImage(TSkCanvas& canvas, const TRect& rect, int color, TArrowKind kind)
{
    canvas.PenColor = SkPixelFromColor(color);
    const int cx = (rect.Left + rect.Right) / 2, cy = (rect.Top + rect.Bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        switch (kind) {
        case TArrowKind::akLeft: Line(canvas, cx - 2 + i, cy - i, cx - 2 + i, cy + i + 1); break;
        case TArrowKind::akRight: Line(canvas, cx + 1 - i, cy - i, cx + 1 - i, cy + i + 1); break;
        case TArrowKind::akUp: Line(canvas, cx - i, cy - 2 + i, cx + i + 1, cy - 2 + i); break;
        case TArrowKind::akDown: Line(canvas, cx - i, cy + 1 - i, cx + i + 1, cy + 1 - i); break;
        }
    }
}

void DrawCheckImage(TSkCanvas& canvas, int x, int y, int color)
{
    canvas.PenColor = SkPixelFromColor(color);
    for (int i = 0; i < 3; ++i)
        canvas.Polyline({{x, y + 5 - i}, {x + 2, y + 7 - i}, {x + 7, y + 2 - i}});
}

void DrawCloseGlyph(TSkCanvas& canvas, int x, int y, int color)
{
    canvas.PenColor = SkPixelFromColor(color);
    Line(canvas, x + 1, y + 1, x + 9, y + 9);
    Line(canvas, x + 9, y + 1, x + 1, y + 9);
    Line(canvas, x + 2, y + 1, x + 10, y + 9);
    Line(canvas, x + 8, y + 1, x, y + 9);
}

void DrawSysMenuGlyph(TSkCanvas& canvas, int x, int y, int color)
{
    canvas.PenColor = SkPixelFromColor(color);
    canvas.FrameRect({x + 1, y + 3, x + 9, y + 6});
}

void DrawMinimizeGlyph(TSkCanvas& canvas, int x, int y, int color)
{
    canvas.PenColor = SkPixelFromColor(color);
    Line(canvas, x + 1, y + 8, x + 9, y + 8);
    Line(canvas, x + 1, y + 9, x + 9, y + 9);
}

void DrawMaximizeGlyph(TSkCanvas& canvas, int x, int y, int color)
{
    canvas.PenColor = SkPixelFromColor(color);
    canvas.FrameRect({x, y, x + 11, y + 10});
    canvas.FrameRect({x, y, x + 11, y + 2});
}

void DrawRestoreGlyph(TSkCanvas& canvas, int x, int y, int color)
{
    canvas.PenColor = SkPixelFromColor(color);
    canvas.FrameRect({x + 2, y, x + 10, y + 6});
    canvas.FrameRect({x + 2, y, x + 10, y + 2});
    canvas.FrameRect({x, y + 4, x + 7, y + 10});
    canvas.FrameRect({x, y + 4, x + 7, y + 6});
}

void DrawRollUpGlyph(TSkCanvas& canvas, int x, int y, int color)
{
    canvas.PenColor = SkPixelFromColor(color);
    for (int i = 0; i < 5; ++i)
        Line(canvas, x + 5 - i, y + 6 - i, x + 5 + i, y + 6 - i);
}

void DrawRollDownGlyph(TSkCanvas& canvas, int x, int y, int color)
{
    canvas.PenColor = SkPixelFromColor(color);
    for (int i = 0; i < 5; ++i)
        Line(canvas, x + 5 - i, y + 2 + i, x + 5 + i, y + 2 + i);
}

void DrawTrayGlyph(TSkCanvas& canvas, int x, int y, int color)
{
    canvas.PenColor = canvas.BrushColor = SkPixelFromColor(color);
    canvas.FillRect({x + 2, y + 2, x + 7, y + 7});
}
