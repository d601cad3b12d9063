#pragma once
// Rectangle and point helpers of the skin engine over the run-time library's TRect and
// TPoint. Rectangles are left, top, right, bottom with right and bottom excluded; a null
// rectangle has a width or height below 1, a null point an x or a y of 0.

#include <algorithm>
#include <cstdint>

#include "framework/rtl/Types.h"

// No skin picture is larger than this; coordinates read from a skin are clamped to it.
constexpr int kMaxSkinCoord = 32768;

// A coordinate limited to twice the largest picture either way, so that sums of a few of
// them never overflow.
inline int ClampSkinCoord(int64_t v)
{
    return static_cast<int>(std::clamp<int64_t>(v, -2 * int64_t{kMaxSkinCoord}, 2 * int64_t{kMaxSkinCoord}));
}
inline TPoint ClampSkinPoint(const TPoint& p) { return {ClampSkinCoord(p.X), ClampSkinCoord(p.Y)}; }
inline TRect ClampSkinRect(const TRect& r)
{
    return {ClampSkinCoord(r.Left), ClampSkinCoord(r.Top), ClampSkinCoord(r.Right), ClampSkinCoord(r.Bottom)};
}

inline TRect NullRect() { return {}; }
inline int RectWidth(const TRect& r) { return r.Width(); }
inline int RectHeight(const TRect& r) { return r.Height(); }
inline bool IsNullRect(const TRect& r) { return RectWidth(r) < 1 || RectHeight(r) < 1; }
inline bool IsNullPoint(const TPoint& p) { return p.X == 0 || p.Y == 0; }

// Both edges included.
inline bool PointInSkinRect(const TRect& r, const TPoint& p)
{
    return p.X >= r.Left && p.X <= r.Right && p.Y >= r.Top && p.Y <= r.Bottom;
}

// The inner top-left and bottom-right both lie in outer, its right and bottom edges excluded.
inline bool RectInsideRect(const TRect& inner, const TRect& outer)
{
    return outer.Contains({inner.Left, inner.Top}) && outer.Contains({inner.Right, inner.Bottom});
}
