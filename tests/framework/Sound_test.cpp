#include "framework/win/Sound.h"

#include <gtest/gtest.h>

TEST(Sound, PlaysThroughTheInstalledService)
{
    SoundRecorder recorder;
    recorder.Result = false;
    EXPECT_FALSE(SndPlaySound("C:\\sounds\\提醒.wav"));
    ASSERT_EQ(recorder.Played.size(), 1u);
    EXPECT_EQ(recorder.Played[0], "C:\\sounds\\提醒.wav");
}

TEST(Sound, EmptyNamePlaysNothing)
{
    SoundRecorder recorder;
    EXPECT_FALSE(SndPlaySound(""));
    EXPECT_TRUE(recorder.Played.empty());
}
