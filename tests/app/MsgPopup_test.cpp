// The pop-up's path on each side of the work area, its rest interval and gradient.
#include "app/core/MsgPopup.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/base/TimerService.h"

namespace {

const TRect kWork = Rect(0, 0, 1280, 770);
constexpr int kW = 212, kH = 185;

}  // namespace

// Every side: in from just outside, never past the resting place, speeding up by the step;
// then back out from where it rested, slowing down, until (almost) gone.
TEST(MsgPopupPath, EachSideSlidesInToItsRestAndOutAgain)
{
    struct Case {
        int side;
        TPoint start, rest;
    };
    const Case cases[] = {
        {MsgSideLeft, {1 - kW, (770 - kH) / 2}, {0, (770 - kH) / 2}},
        {MsgSideRight, {1279, (770 - kH) / 2}, {1280 - kW, (770 - kH) / 2}},
        {MsgSideTopRight, {1280 - kW, 1 - kH}, {1280 - kW, 0}},
        {MsgSideBottomRight, {1280 - kW, 769}, {1280 - kW, 770 - kH}},
        {7, {1280 - kW, 769}, {1280 - kW, 770 - kH}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.side);
        TPoint pos = MsgPopupStart(c.side, kWork, kW, kH);
        EXPECT_EQ(pos, c.start);
        int step = 0, lastMove = 0;
        while (!MsgPopupResting(c.side, kWork, pos, kW, kH)) {
            ASSERT_LT(++step, 100);
            TPoint next = MsgPopupSlideIn(c.side, kWork, pos, kW, kH, MsgPopupSpeed(step));
            lastMove = std::abs(next.X - pos.X) + std::abs(next.Y - pos.Y);
            EXPECT_LE(lastMove, MsgPopupSpeed(step));
            pos = next;
        }
        EXPECT_EQ(pos, c.rest);
        EXPECT_GT(lastMove, 0);
        int out = 0;
        while (!MsgPopupGone(c.side, kWork, pos, kW, kH)) {
            ASSERT_LT(++out, 200);
            if (step > 0)
                --step;
            pos = MsgPopupSlideOut(c.side, pos, MsgPopupSpeed(step));
        }
        EXPECT_FALSE(kWork.Contains(pos) && kWork.Contains({pos.X + kW - 3, pos.Y + kH - 3}));
    }
}

TEST(MsgPopupRest, SecondsBecomeMillisecondsAndTooLongMeansUntilClicked)
{
    EXPECT_EQ(MsgPopupRestInterval(5), 5000u);
    EXPECT_EQ(MsgPopupRestInterval(2147483), 2147483000u);
    for (int32_t never : {2147484, 9999999, INT32_MAX, 0, -5})
        EXPECT_GT(MsgPopupRestInterval(never), kMaxTimerInterval) << never;
}

TEST(MsgPopupGradient, ChannelsRunFromLeftColourTowardRightColour)
{
    std::vector<uint32_t> row(206);
    MsgPopupGradientRow(0xFFFFFF, 0x80E0F0, 206, row.data());
    EXPECT_EQ(row[0], 0xFFFFFFu);
    EXPECT_EQ(row[103], 0xC0F0F8u);   // red 255 + 103 * (128 - 255) / 206: -63.5 rounds toward zero
    EXPECT_EQ(row[205], 0x81E1F1u);   // the right colour itself is never reached
}
