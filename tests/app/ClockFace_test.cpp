#include "app/core/ClockFace.h"

#include <gtest/gtest.h>

#include "framework/rtl/SysUtils.h"

namespace {

// Runs the 200 ms redraw over `seconds` of time from hh:mm:ss and counts composed frames.
int FramesOver(TClockDial& dial, int startSecondOfDay, int seconds, bool showSecond, bool secondTan)
{
    int frames = 0;
    for (int ms = 0; ms < seconds * 1000; ms += 200) {
        int t = (startSecondOfDay + ms / 1000) % 86400;
        int h = t / 3600, m = t / 60 % 60, s = t % 60;
        if (!dial.Changed(h, m, s, showSecond))
            continue;
        frames += TClockDial::Frames(h, m, s, showSecond, secondTan).Count;
        dial.Remember(h, m, s);
    }
    return frames;
}

}  // namespace

TEST(ClockFace, HandAnglesAtHalfPastThree)
{
    EXPECT_EQ(HourHandAngle(15, 30), 105);
    EXPECT_EQ(MinuteHandAngle(30, 45), 184);
    EXPECT_EQ(SecondHandAngle(45), 270);

    TClockFrames overshoot = TClockDial::Frames(15, 30, 45, true, true);
    ASSERT_EQ(overshoot.Count, 2);
    EXPECT_EQ(overshoot.Frames[0], (THandAngles{105, 184, 274}));
    EXPECT_EQ(overshoot.Frames[1], (THandAngles{105, 184, 270}));
    TClockFrames plain = TClockDial::Frames(15, 30, 45, true, false);
    ASSERT_EQ(plain.Count, 1);
    EXPECT_EQ(plain.Frames[0], (THandAngles{105, 184, 270}));
    EXPECT_EQ(TClockDial::Frames(15, 30, 45, false, true).Count, 1);   // no hand, no overshoot
}

TEST(ClockFace, HandAnglesAtTheEndsOfTheDial)
{
    EXPECT_EQ(TClockDial::Frames(0, 0, 0, true, false).Frames[0], (THandAngles{0, 0, 0}));
    EXPECT_EQ(TClockDial::Frames(12, 0, 0, true, false).Frames[0], (THandAngles{0, 0, 0}));
    EXPECT_EQ(TClockDial::Frames(23, 59, 59, true, false).Frames[0], (THandAngles{359, 359, 354}));
    // The overshoot may pass 360; GDI+ turns 358 and 358 + 360 alike.
    EXPECT_EQ(TClockDial::Frames(11, 59, 59, true, true).Frames[0].Second, 358);
    // Whole-degree steps: the hour hand moves at even minutes, the minute hand every ten seconds.
    EXPECT_EQ(HourHandAngle(3, 1), HourHandAngle(3, 0));
    EXPECT_EQ(MinuteHandAngle(7, 9), MinuteHandAngle(7, 0));
    EXPECT_EQ(MinuteHandAngle(7, 10), MinuteHandAngle(7, 0) + 1);
}

TEST(ClockFace, ConstantAlphaRoundsHalvesToEven)
{
    EXPECT_EQ(ConstantAlpha(60), 153);
    EXPECT_EQ(ConstantAlpha(100), 255);
    EXPECT_EQ(ConstantAlpha(0), 0);
    EXPECT_EQ(ConstantAlpha(10), 26);    // 25.5
    EXPECT_EQ(ConstantAlpha(30), 76);    // 76.5
    EXPECT_EQ(ConstantAlpha(50), 128);   // 127.5
    EXPECT_EQ(ConstantAlpha(70), 178);   // 178.5
    EXPECT_EQ(ConstantAlpha(20), 51);
    EXPECT_EQ(ConstantAlpha(40), 102);
    EXPECT_EQ(ConstantAlpha(80), 204);
}

TEST(ClockDial, RedrawsOnlyWhenTheShownTimeChanges)
{
    TClockDial dial;   // starts at 0:00:00
    EXPECT_FALSE(dial.Changed(0, 0, 0, true));
    EXPECT_TRUE(dial.Changed(0, 0, 1, true));
    EXPECT_FALSE(dial.Changed(0, 0, 1, false));
    EXPECT_TRUE(dial.Changed(0, 1, 0, false));
    EXPECT_TRUE(dial.Changed(12, 0, 0, false));   // 12:00 looks like 0:00 but is another hour
    dial.Remember(15, 30, 45);
    EXPECT_FALSE(dial.Changed(15, 30, 45, true));
    EXPECT_FALSE(dial.Changed(15, 30, 46, false));
    EXPECT_TRUE(dial.Changed(15, 30, 46, true));
}

TEST(ClockDial, FramesPerMinute)
{
    const int start = 10 * 3600 + 10 * 60 + 0;   // 10:10:00, already drawn
    TClockDial seconds, overshoot, noSeconds;
    for (TClockDial* d : {&seconds, &overshoot, &noSeconds})
        d->Remember(10, 10, 0);
    EXPECT_EQ(FramesOver(seconds, start, 60, true, false), 59);   // 10:10:01 .. 10:10:59
    EXPECT_EQ(FramesOver(overshoot, start, 60, true, true), 118);
    EXPECT_EQ(FramesOver(noSeconds, start, 60, false, true), 0);  // nothing within the minute
    EXPECT_EQ(FramesOver(noSeconds, start + 60, 60, false, true), 1);   // the minute turns once
    EXPECT_EQ(FramesOver(seconds, start + 60, 60, true, false), 60);
}

TEST(ClockDial, RedrawsAcrossMidnight)
{
    TClockDial dial;
    dial.Remember(23, 59, 59);
    EXPECT_EQ(FramesOver(dial, 23 * 3600 + 59 * 60 + 59, 2, false, false), 1);
}

TEST(ClockImages, FourteenEntryTable)
{
    EXPECT_EQ(ClockImageName(kBlueFace, clFace), "Blue.png");
    EXPECT_EQ(ClockImageName(kBlueFace, clHour), "Blue_h.png");
    EXPECT_EQ(ClockImageName(kBlueFace, clDot), "Blue_dot.png");
    EXPECT_EQ(ClockImageName(kBlackFace, clMinute), "Black_m.png");
    EXPECT_EQ(ClockImageName(kBlackFace, clSecond), "Black_s.png");
    EXPECT_EQ(ClockImageName(kBlackFace, clHighLights), "Black_highlights.png");
    EXPECT_EQ(ClockImageName(kBlackFace, clSettings), "Black_settings.png");
    EXPECT_THROW(ClockImageName(2, clFace), Exception);
    EXPECT_THROW(ClockImageName(kBlueFace, 7), Exception);
    EXPECT_THROW(ClockImageName(kBlueFace, -1), Exception);
}
