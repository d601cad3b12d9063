#pragma once
// The geometry and timing of the sliding message pop-up, apart from its window: where it
// starts outside the work area on each side, where it rests, how far it moves on a tick
// in and out, the rest time as a timer interval, and the rows of its gradient.

#include <cstdint>

#include "framework/rtl/Types.h"

// Sides of the work area a pop-up slides in from.
enum TMsgPopupSide : uint8_t { MsgSideLeft = 0, MsgSideRight = 1, MsgSideTopRight = 2, MsgSideBottomRight = 3 };

// Pixels moved on animation step `step`: the pop-up speeds up as it comes in and slows
// down again on the way out.
inline int MsgPopupSpeed(int step) { return step * 3 / 11 + 1; }

// Top-left just outside the work area on `side` (any side above 2 is the bottom right).
TPoint MsgPopupStart(int side, const TRect& work, int width, int height);
// Whether a pop-up at `pos` has reached its resting place inside the work area.
bool MsgPopupResting(int side, const TRect& work, TPoint pos, int width, int height);
// One tick in: `speed` pixels toward the resting place, never past it.
TPoint MsgPopupSlideIn(int side, const TRect& work, TPoint pos, int width, int height, int speed);
// One tick out: `speed` pixels back the way it came.
TPoint MsgPopupSlideOut(int side, TPoint pos, int speed);
// Whether a pop-up sliding out is (almost) out of the work area.
bool MsgPopupGone(int side, const TRect& work, TPoint pos, int width, int height);

// The rest timer's interval for `seconds`: above what a timer can hold (and for nothing
// to wait, 0 or less) it never fires, so the pop-up waits for a click.
uint32_t MsgPopupRestInterval(int32_t seconds);

// Row of the horizontal gradient: pixel i of `width` takes each channel
// i * (to - from) / width + from of the two 0x00RRGGBB colours.
void MsgPopupGradientRow(uint32_t from, uint32_t to, int width, uint32_t* row);
