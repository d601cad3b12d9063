#pragma once
// The clock's look and place as kept in Set.ini, section "ZuzuvOdada": face, seconds
// hand, overshoot, alpha, position and (written only) stay-on-top. Reading mends what a
// hand-edited or damaged file could hold: an unknown face becomes the blue one, alpha is
// held to 0..100 and a position wholly off every screen falls back to the default place.

#include <cstdint>
#include <string>
#include <vector>

class TMemIniFile;

extern const char* const kClockSection;   // "ZuzuvOdada"

struct TScreenRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// What the settings need to know of the desktop: the primary screen's width (for the
// default place) and every monitor's rectangle (to tell a lost position).
struct TDesktop {
    int ScreenWidth = 0;
    std::vector<TScreenRect> Monitors;
};

struct TClockSettings {
    uint8_t SkinType = 1;      // 0 black face, 1 blue face
    bool ShowSecond = true;
    bool SecondTan = true;     // the seconds hand overshoots and settles
    uint8_t Alpha = 100;       // percent
    int Left = 0, Top = 20;
    bool StayOnTop = false;
};

// Reads the settings of a window of the given size; absent keys take the defaults
// (Left = screen width - width - 20, Top = 20). StayOnTop is not read back.
TClockSettings LoadClockSettings(const TMemIniFile& ini, const TDesktop& desktop, int width, int height);
// Writes every key; TIniFile writes through to its file (and raises when it cannot).
void SaveClockSettings(TMemIniFile& ini, const TClockSettings& settings);
