#pragma once
// Composition of a picture of any size from a skin rectangle split into nine parts by
// four corner points and a client rectangle: corners copied, edges tiled or stretched,
// the centre tiled on request; and the four border pictures of a frame. Any part whose
// source or target span is empty or inverted is left out.

#include "skin/core/SkBitmap.h"

// Corner points and client rectangle, relative to the skin rectangle's top-left.
struct TSkinFrame {
    TPoint LeftTop, RightTop, LeftBottom, RightBottom;
    TRect ClientRect;
};

struct TSkinStretch {
    bool Left = false, Right = false, Top = false, Bottom = false;
};

struct TSkinBorders {
    TSkBitmap Left, Right, Top, Bottom;
};

// Target becomes width x height; it stays blank when the source is empty or the skin's
// corner points leave no edge (RB.x = LT.x or RB.y = LT.y).
void ComposeSkinPicture(const TSkBitmap& source, const TRect& r, const TSkinFrame& frame, TSkBitmap& target,
                        int width, int height, const TSkinFrame& newFrame, const TSkinStretch& stretch,
                        bool fillCentre);
void ComposeSkinPictureTiled(const TSkBitmap& source, const TRect& r, const TSkinFrame& frame, TSkBitmap& target,
                             int width, int height, const TSkinFrame& newFrame, bool fillCentre);

// One-dimensional: the a first and r last columns (rows) kept, the middle tiled; empty when
// the picture would exceed 8M pixels.
void ComposeHSkinPicture(int a, int r, TSkBitmap& target, const TSkBitmap& source, const TRect& sourceRect, int width);
void ComposeVSkinPicture(int a, int r, TSkBitmap& target, const TSkBitmap& source, const TRect& sourceRect, int height);

// Border pictures of a frame of the new width from a whole source picture (frame in
// picture coordinates); edges tiled.
TSkinBorders ComposeSkinBorders(const TSkBitmap& source, const TSkinFrame& frame, int width, const TSkinFrame& newFrame);
// The same from the skin rectangle r, each edge stretched when its flag is set.
TSkinBorders ComposeSkinBordersStretched(const TSkBitmap& source, const TRect& r, const TSkinFrame& frame, int width,
                                         int height, const TSkinFrame& newFrame, const TSkinStretch& stretch);
