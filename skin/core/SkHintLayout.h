#pragma once
// The window-free part of the skinned hint: the window size and skin geometry for a
// measured text, where the hint goes at the screen's edges, and how far below the cursor
// an object hint is placed, read from the cursor's mask bits.

#include <cstdint>
#include <string_view>

#include "skin/core/SkCompose.h"

class TskDataSkinHintWindow;

struct TSkHintGeometry {
    int Width = 0, Height = 0;
    TSkinFrame Frame;   // HintClientRect and the four new corner points
};

// tw x th: the measured text. Without a skin picture (pictureWidth or pictureHeight below
// 1) the plain hint is the text plus 4.
TSkHintGeometry HintGeometry(int tw, int th, const TskDataSkinHintWindow* record, int pictureWidth,
                             int pictureHeight);
// Bounds of a hint of width x height asked at left, top: moved left by width + 2 past the
// screen's right edge and up by height + 2 past its bottom.
TRect PlaceHint(int left, int top, int width, int height, int screenWidth, int screenHeight);

// Rows of the cursor mask below its first row that is not all 0xFF (or, for a mask twice as
// high as wide without one, not all 0x00 in the square before), less the hot spot's y.
// bits: the mask's bottom-up rows of ((width + 31) / 32) * 4 bytes. At most
// min(width, height) rows of each square are read; -1 when the bits are too short.
int CursorMaskMargin(std::string_view bits, int width, int height, int hotSpotY);
