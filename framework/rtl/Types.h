#pragma once
// TPoint and TRect: integer points and rectangles (left, top, right, bottom; right and
// bottom excluded from Contains), with the Rect and Bounds makers. Portable; on Windows they
// convert to and from the Win32 RECT (made where the caller has included <windows.h>).

#ifdef _WIN32
struct tagRECT;
#endif

struct TPoint {
    int X = 0, Y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
#ifdef _WIN32
    template <class R = tagRECT>
    R ToRECT() const { return R{Left, Top, Right, Bottom}; }
    template <class R>
    static TRect FromRECT(const R& r) { return TRect{r.left, r.top, r.right, r.bottom}; }
#endif
    bool operator==(const TRect&) const = default;
};
inline TRect Rect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) { return TRect{left, top, left + width, top + height}; }
