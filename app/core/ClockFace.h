#pragma once
// The analog clock's arithmetic: hand angles for a time of day (whole degrees clockwise
// from twelve), when the 200 ms redraw must compose a frame, the frames it composes
// (with the seconds hand first overshooting its mark), the constant alpha of a percent
// and the file names of the two faces' image layers.

#include <cstdint>
#include <string>

int HourHandAngle(int hour, int minute);       // one degree every two minutes
int MinuteHandAngle(int minute, int second);   // one degree every ten seconds
int SecondHandAngle(int second);
constexpr int kSecondOvershoot = 4;            // degrees past the mark for the first frame
constexpr int kOvershootMs = 50;               // how long the overshoot frame stays
constexpr int kDrawClockMs = 200;              // the redraw timer's interval

// Alpha percent (0..100) to a constant alpha byte, rounded half to even: 60 gives 153.
uint8_t ConstantAlpha(int percent);

struct THandAngles {
    int Hour = 0, Minute = 0, Second = 0;
    bool operator==(const THandAngles&) const = default;
};

// What one redraw composes: nothing, one frame, or the overshoot frame and the settled one.
struct TClockFrames {
    int Count = 0;
    THandAngles Frames[2];
};

// Remembers the last drawn time and decides whether a new one needs a frame.
class TClockDial {
public:
    // True when the shown time differs from the last drawn one: any of h, m, s with a
    // seconds hand, only h and m without it.
    bool Changed(int hour, int minute, int second, bool showSecond) const;
    void Remember(int hour, int minute, int second);
    // The frames for a time; the overshoot frame comes only when the seconds hand shows.
    static TClockFrames Frames(int hour, int minute, int second, bool showSecond, bool secondTan);

private:
    uint16_t FHour = 0, FMinute = 0, FSecond = 0;
};

// Image layers of a face, in drawing order; the settings picture ships but is never drawn.
enum TClockLayer { clFace, clHour, clMinute, clSecond, clDot, clHighLights, clSettings };
constexpr int kClockLayerCount = 6;   // layers the clock draws

constexpr int kBlackFace = 0;
constexpr int kBlueFace = 1;
// File name (without folder) of entry skinType * 7 + layer: "Blue_h.png", "Black.png", ...
std::string ClockImageName(int skinType, int layer);
