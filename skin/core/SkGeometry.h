#pragma once
// Rectangles and points of the skin engine and their helpers. Rectangles are left, top,
// right, bottom with right and bottom excluded; a null rectangle has a width or height
// below 1, a null point an x or a y of 0.

struct TSkPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TSkPoint&, const TSkPoint&) = default;
};

struct TSkRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TSkRect&, const TSkRect&) = default;
};

inline TSkRect NullRect() { return {}; }
inline int RectWidth(const TSkRect& r) { return r.Right - r.Left; }
inline int RectHeight(const TSkRect& r) { return r.Bottom - r.Top; }
inline bool IsNullRect(const TSkRect& r) { return RectWidth(r) < 1 || RectHeight(r) < 1; }
inline bool IsNullPoint(const TSkPoint& p) { return p.X == 0 || p.Y == 0; }

// Both edges included.
inline bool PointInSkinRect(const TSkRect& r, const TSkPoint& p)
{
    return p.X >= r.Left && p.X <= r.Right && p.Y >= r.Top && p.Y <= r.Bottom;
}

// The inner top-left and bottom-right both lie in outer, its right and bottom edges excluded.
inline bool RectInsideRect(const TSkRect& inner, const TSkRect& outer)
{
    auto in = [&](int x, int y) { return x >= outer.Left && x < outer.Right && y >= outer.Top && y < outer.Bottom; };
    return in(inner.Left, inner.Top) && in(inner.Right, inner.Bottom);
}
