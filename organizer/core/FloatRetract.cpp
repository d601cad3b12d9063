#include "organizer/core/FloatRetract.h"

bool IsDocked(const TFloatBounds& b, int screenWidth)
{
    return b.Top <= kDockTopLine || b.Left + b.Width >= screenWidth;
}

TFloatBounds RevealBounds(const TFloatBounds& b, int screenWidth)
{
    TFloatBounds r = b;
    if (b.Top <= kDockTopLine)
        r.Top = 0;
    else if (b.Left + b.Width >= screenWidth)
        r.Left = screenWidth - b.Width;
    return r;
}

TFloatBounds RetractBounds(const TFloatBounds& b, int screenWidth)
{
    TFloatBounds r = b;
    if (b.Top <= kSnapDistance) {
        r.Top = kTopStrip - b.Height;
        if (r.Left + r.Width > screenWidth)
            r.Left = screenWidth - r.Width;
    } else if (b.Left + b.Width >= screenWidth - kSnapDistance) {
        r.Left = screenWidth - kRightStrip;
    }
    return r;
}
