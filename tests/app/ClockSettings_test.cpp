#include "app/core/ClockSettings.h"

#include <gtest/gtest.h>

#include "tests/rtl/TempDir.h"

#include <filesystem>
#include <fstream>

#include "framework/rtl/IniFiles.h"

namespace {

constexpr int kWidth = 136, kHeight = 131;
const TDesktop kOneScreen{1280, {{0, 0, 1280, 800}}};

TClockSettings Load(std::string_view text, const TDesktop& desktop = kOneScreen)
{
    return LoadClockSettings(TMemIniFile(text), desktop, kWidth, kHeight);
}

}  // namespace

TEST(ClockSettings, MissingKeysGiveTheDefaults)
{
    TClockSettings s = Load("");
    EXPECT_EQ(s.SkinType, 1);
    EXPECT_TRUE(s.ShowSecond);
    EXPECT_TRUE(s.SecondTan);
    EXPECT_EQ(s.Alpha, 100);
    EXPECT_EQ(s.Left, 1280 - kWidth - 20);   // 20 pixels from the right edge
    EXPECT_EQ(s.Top, 20);

    // Only Left absent: the default left, the stored top.
    s = Load("[ZuzuvOdada]\r\nTop=300\r\nWorkTime=08:30\r\n");
    EXPECT_EQ(s.Left, 1124);
    EXPECT_EQ(s.Top, 300);
}

TEST(ClockSettings, ReadsStoredValues)
{
    TClockSettings s = Load("[zuzuvodada]\nskintype=0\nShowSecond=0\nSecondTan=0\nAlpha=60\nLeft=40\nTop=50\nStayOnTop=1\n");
    EXPECT_EQ(s.SkinType, 0);
    EXPECT_FALSE(s.ShowSecond);
    EXPECT_FALSE(s.SecondTan);
    EXPECT_EQ(s.Alpha, 60);
    EXPECT_EQ(s.Left, 40);
    EXPECT_EQ(s.Top, 50);
    EXPECT_FALSE(s.StayOnTop);   // written, never read back
}

TEST(ClockSettings, MendsOutOfRangeValues)
{
    EXPECT_EQ(Load("[ZuzuvOdada]\nSkinType=7\n").SkinType, 1);
    EXPECT_EQ(Load("[ZuzuvOdada]\nSkinType=-1\n").SkinType, 1);
    EXPECT_EQ(Load("[ZuzuvOdada]\nSkinType=256\n").SkinType, 1);   // would wrap to 0 as a byte
    EXPECT_EQ(Load("[ZuzuvOdada]\nAlpha=250\n").Alpha, 100);
    EXPECT_EQ(Load("[ZuzuvOdada]\nAlpha=-5\n").Alpha, 0);
    EXPECT_EQ(Load("[ZuzuvOdada]\nAlpha=356\n").Alpha, 100);
    EXPECT_EQ(Load("[ZuzuvOdada]\nAlpha=abc\n").Alpha, 100);
}

TEST(ClockSettings, PositionWhollyOffEveryScreenFallsBack)
{
    auto at = [](int left, int top, const TDesktop& d = kOneScreen) {
        TClockSettings s = Load("[ZuzuvOdada]\nLeft=" + std::to_string(left) + "\nTop=" + std::to_string(top) + "\n", d);
        return std::pair{s.Left, s.Top};
    };
    EXPECT_EQ(at(5000, 100), (std::pair{1124, 20}));
    EXPECT_EQ(at(-kWidth, 100), (std::pair{1124, 20}));     // touches the left edge only
    EXPECT_EQ(at(100, 800), (std::pair{1124, 20}));         // just below the screen
    EXPECT_EQ(at(-kWidth + 1, 100), (std::pair{-kWidth + 1, 100}));   // one column still shows
    EXPECT_EQ(at(1279, 799), (std::pair{1279, 799}));
    EXPECT_EQ(at(100, -kHeight + 1), (std::pair{100, -kHeight + 1}));

    TDesktop two{1280, {{0, 0, 1280, 800}, {1280, 0, 2560, 1024}}};
    EXPECT_EQ(at(1500, 900, two), (std::pair{1500, 900}));   // on the second monitor
    EXPECT_EQ(at(100, 900, two), (std::pair{1124, 20}));     // below the first, left of the second
}

TEST(ClockSettings, SaveAndLoadRoundTrip)
{
    TMemIniFile ini("[ZuzuvOdada]\r\nWorkTime=08:30\r\n[Other]\r\nx=1\r\n");
    TClockSettings s;
    s.SkinType = 0;
    s.ShowSecond = false;
    s.SecondTan = true;
    s.Alpha = 40;
    s.Left = 300;
    s.Top = 200;
    s.StayOnTop = true;
    SaveClockSettings(ini, s);
    EXPECT_EQ(ini.ReadString("ZuzuvOdada", "StayOnTop", ""), "1");
    EXPECT_EQ(ini.ReadString("ZuzuvOdada", "ShowSecond", ""), "0");
    EXPECT_EQ(ini.ReadString("ZuzuvOdada", "WorkTime", ""), "08:30");   // left alone
    EXPECT_EQ(ini.ReadString("Other", "x", ""), "1");

    TClockSettings back = LoadClockSettings(TMemIniFile(ini.Text()), kOneScreen, kWidth, kHeight);
    EXPECT_EQ(back.SkinType, 0);
    EXPECT_FALSE(back.ShowSecond);
    EXPECT_TRUE(back.SecondTan);
    EXPECT_EQ(back.Alpha, 40);
    EXPECT_EQ(back.Left, 300);
    EXPECT_EQ(back.Top, 200);
}

TEST(ClockSettings, FileRoundTripAndDamagedFile)
{
    std::filesystem::path path = UniqueTempPath("clock_settings_test.ini");
    std::filesystem::remove(path);
    {
        TIniFile missing(path.string());   // no file yet: defaults
        EXPECT_EQ(LoadClockSettings(missing, kOneScreen, kWidth, kHeight).Alpha, 100);
        TClockSettings s;
        s.Alpha = 20;
        s.Left = 10;
        SaveClockSettings(missing, s);
    }
    {
        TIniFile again(path.string());
        TClockSettings s = LoadClockSettings(again, kOneScreen, kWidth, kHeight);
        EXPECT_EQ(s.Alpha, 20);
        EXPECT_EQ(s.Left, 10);
    }
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string("\x00\xff\xfe[Zuzuv\x01=\n=\n[[", 14);
        TIniFile damaged(path.string());
        TClockSettings s = LoadClockSettings(damaged, kOneScreen, kWidth, kHeight);
        EXPECT_EQ(s.SkinType, 1);
        EXPECT_EQ(s.Alpha, 100);
        EXPECT_EQ(s.Left, 1124);
    }
    std::filesystem::remove(path);
}
