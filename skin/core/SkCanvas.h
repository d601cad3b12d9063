#pragma once
// TSkCanvas: drawing on a TSkBitmap with the few canvas operations the skin engine uses:
// rectangle copies that stretch (nearest pixel) when the two rectangles differ, transparent
// drawing keyed on the bottom-left pixel, pen lines that leave out their end point, frames
// and fills. Everything is clipped to the bitmap; empty or inverted rectangles draw nothing.

#include <initializer_list>

#include "skin/core/SkBitmap.h"

class TSkCanvas {
public:
    explicit TSkCanvas(TSkBitmap& target) : FTarget(target) {}

    TSkBitmap& Target() { return FTarget; }
    TSkPixel PenColor = SkRgb(0, 0, 0);
    TSkPixel BrushColor = SkRgb(255, 255, 255);

    void CopyRect(const TRect& dest, const TSkBitmap& source, const TRect& sourceRect);
    void Draw(int x, int y, const TSkBitmap& source);              // opaque copy at x, y
    void DrawTransparent(int x, int y, const TSkBitmap& source);   // bottom-left colour left out
    void MoveTo(int x, int y) { FPenX = x; FPenY = y; }
    void LineTo(int x, int y);
    void Polyline(std::initializer_list<TPoint> points);
    void FrameRect(const TRect& rect);   // the rectangle's outline in the pen colour
    void FillRect(const TRect& rect);    // in the brush colour
    void Plot(int x, int y, TSkPixel color)
    {
        if (FTarget.Contains(x, y))
            FTarget.SetPixel(x, y, color);
    }

private:
    TSkBitmap& FTarget;
    int FPenX = 0;
    int FPenY = 0;
};

// The part of source inside rect (clipped to source) as a bitmap of its own.
TSkBitmap CopyBitmapRect(const TSkBitmap& source, const TRect& rect);
