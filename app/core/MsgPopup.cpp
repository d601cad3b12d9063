#include "app/core/MsgPopup.h"

#include <algorithm>

#include "framework/base/TimerService.h"

TPoint MsgPopupStart(int side, const TRect& work, int width, int height)
{
    switch (side) {
    case MsgSideLeft: return {work.Left + 1 - width, (work.Bottom - height) / 2};
    case MsgSideRight: return {work.Right - 1, (work.Bottom - height) / 2};
    case MsgSideTopRight: return {work.Right - width, work.Top + 1 - height};
    default: return {work.Right - width, work.Bottom - 1};
    }
}

bool MsgPopupResting(int side, const TRect& work, TPoint pos, int width, int height)
{
    switch (side) {
    case MsgSideLeft: return pos.X >= work.Left;
    case MsgSideRight: return pos.X <= work.Right - width;
    case MsgSideTopRight: return pos.Y >= work.Top;
    default: return pos.Y + height <= work.Bottom;
    }
}

TPoint MsgPopupSlideIn(int side, const TRect& work, TPoint pos, int width, int height, int speed)
{
    switch (side) {
    case MsgSideLeft: pos.X = std::min(pos.X + speed, work.Left); break;
    case MsgSideRight: pos.X = std::max(pos.X - speed, work.Right - width); break;
    case MsgSideTopRight: pos.Y = std::min(pos.Y + speed, work.Top); break;
    default: pos.Y = std::max(pos.Y - speed, work.Bottom - height); break;
    }
    return pos;
}

TPoint MsgPopupSlideOut(int side, TPoint pos, int speed)
{
    switch (side) {
    case MsgSideLeft: pos.X -= speed; break;
    case MsgSideRight: pos.X += speed; break;
    case MsgSideTopRight: pos.Y -= speed; break;
    default: pos.Y += speed; break;
    }
    return pos;
}

bool MsgPopupGone(int side, const TRect& work, TPoint pos, int width, int height)
{
    switch (side) {
    case MsgSideLeft: return pos.X <= work.Left + 2 - width;
    case MsgSideRight: return pos.X >= work.Right - 2;
    case MsgSideTopRight: return pos.Y <= work.Top + 1 - height;
    default: return pos.Y >= work.Bottom - 2;
    }
}

uint32_t MsgPopupRestInterval(int32_t seconds)
{
    const int64_t ms = int64_t(seconds) * 1000;
    if (ms <= 0 || ms > kMaxTimerInterval)
        return kMaxTimerInterval + 1u;
    return uint32_t(ms);
}

void MsgPopupGradientRow(uint32_t from, uint32_t to, int width, uint32_t* row)
{
    for (int i = 0; i < width; ++i) {
        uint32_t pixel = 0;
        for (int shift : {16, 8, 0}) {
            const int f = int(from >> shift & 0xFF), t = int(to >> shift & 0xFF);
            pixel |= uint32_t(i * (t - f) / width + f) << shift;
        }
        row[i] = pixel;
    }
}
