#pragma once
// System helpers of the skin layer: window alpha through SetLayeredWindowAttributes
// looked up at run time, the two Windows-version gates (the version comes through a seam
// so tests can set it), monitors and work areas, screen capture, text fitting on a canvas and
// painting what lies behind a control.

#include "framework/win/WinApi.h"

#include <string>
#include <string_view>

#include "skin/core/SkBitmap.h"

class TCanvas;

struct TOsVersion {
    int Major = 0;
    int Minor = 0;
};
using TOsVersionSource = TOsVersion (*)();
// Seam: nullptr goes back to GetVersion.
void SetOsVersionSource(TOsVersionSource source);
TOsVersion CurrentOsVersion();

bool IsLayeredAlphaSystem();   // 5.0, 5.1 and 5.2 only
bool IsDropShadowSystem();     // 5.1 only

// Does nothing where user32 lacks SetLayeredWindowAttributes.
void SetWindowAlpha(HWND window, BYTE alpha);

bool IsMultiMonitor();
TRect GetWorkAreaRect(bool workArea);
TRect GetMonitorAreaRect(HWND window, bool workArea);

// Screen pixels at x, y into bitmap, at its present size; pixels off the screen are black.
void CopyScreenArea(int x, int y, TSkBitmap& bitmap);

std::string FitTextToWidth(TCanvas& canvas, std::string_view text, int width);   // in the canvas's font

// Paints the control's parent and the siblings below it into dc, so the control can draw
// transparently over them.
void PaintControlBackground(HWND control, HDC dc);
