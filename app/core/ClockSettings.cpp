#include "app/core/ClockSettings.h"

#include <algorithm>

#include "framework/rtl/IniFiles.h"

const char* const kClockSection = "ZuzuvOdada";

namespace {

bool OnSomeScreen(const TDesktop& desktop, int left, int top, int width, int height)
{
    return std::any_of(desktop.Monitors.begin(), desktop.Monitors.end(), [&](const TScreenRect& m) {
        return left < m.Right && left + width > m.Left && top < m.Bottom && top + height > m.Top;
    });
}

}  // namespace

TClockSettings LoadClockSettings(const TMemIniFile& ini, const TDesktop& desktop, int width, int height)
{
    TClockSettings s;
    int skin = ini.ReadInteger(kClockSection, "SkinType", 1);
    s.SkinType = static_cast<uint8_t>(skin == 0 ? 0 : 1);
    s.ShowSecond = ini.ReadBool(kClockSection, "ShowSecond", true);
    s.SecondTan = ini.ReadBool(kClockSection, "SecondTan", true);
    s.Alpha = static_cast<uint8_t>(std::clamp(ini.ReadInteger(kClockSection, "Alpha", 100), 0, 100));
    int defaultLeft = desktop.ScreenWidth - width - 20, defaultTop = 20;
    s.Left = ini.ReadInteger(kClockSection, "Left", defaultLeft);
    s.Top = ini.ReadInteger(kClockSection, "Top", defaultTop);
    if (!OnSomeScreen(desktop, s.Left, s.Top, width, height)) {
        s.Left = defaultLeft;
        s.Top = defaultTop;
    }
    return s;
}

void SaveClockSettings(TMemIniFile& ini, const TClockSettings& settings)
{
    ini.WriteInteger(kClockSection, "SkinType", settings.SkinType);
    ini.WriteBool(kClockSection, "ShowSecond", settings.ShowSecond);
    ini.WriteBool(kClockSection, "SecondTan", settings.SecondTan);
    ini.WriteInteger(kClockSection, "Alpha", settings.Alpha);
    ini.WriteInteger(kClockSection, "Left", settings.Left);
    ini.WriteInteger(kClockSection, "Top", settings.Top);
    ini.WriteBool(kClockSection, "StayOnTop", settings.StayOnTop);
}
