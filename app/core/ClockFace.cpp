#include "app/core/ClockFace.h"

#include "framework/rtl/SysUtils.h"

int HourHandAngle(int hour, int minute) { return (hour % 12) * 30 + minute / 2; }

int MinuteHandAngle(int minute, int second) { return minute * 6 + second / 10; }

int SecondHandAngle(int second) { return second * 6; }

uint8_t ConstantAlpha(int percent)
{
    int scaled = percent * 255;
    int q = scaled / 100, r = scaled % 100;
    if (r > 50 || (r == 50 && q % 2 == 1))
        ++q;
    return static_cast<uint8_t>(q);
}

bool TClockDial::Changed(int hour, int minute, int second, bool showSecond) const
{
    if (hour != FHour || minute != FMinute)
        return true;
    return showSecond && second != FSecond;
}

void TClockDial::Remember(int hour, int minute, int second)
{
    FHour = static_cast<uint16_t>(hour);
    FMinute = static_cast<uint16_t>(minute);
    FSecond = static_cast<uint16_t>(second);
}

TClockFrames TClockDial::Frames(int hour, int minute, int second, bool showSecond, bool secondTan)
{
    THandAngles settled{HourHandAngle(hour, minute), MinuteHandAngle(minute, second), SecondHandAngle(second)};
    TClockFrames frames;
    if (showSecond && secondTan) {
        frames.Frames[frames.Count] = settled;
        frames.Frames[frames.Count++].Second += kSecondOvershoot;
    }
    frames.Frames[frames.Count++] = settled;
    return frames;
}

std::string ClockImageName(int skinType, int layer)
{
    static const char* const kParts[] = {"", "_h", "_m", "_s", "_dot", "_highlights", "_settings"};
    if ((skinType != kBlackFace && skinType != kBlueFace) || layer < clFace || layer > clSettings)
        throw Exception("No clock image for face " + IntToStr(skinType) + ", layer " + IntToStr(layer));
    return std::string(skinType == kBlueFace ? "Blue" : "Black") + kParts[layer] + ".png";
}
