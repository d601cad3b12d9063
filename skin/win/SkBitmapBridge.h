#pragma once
// Copies between the framework's TBitmap and the skin engine's TSkBitmap. Both hold
// 32-bit top-down pixels read as 0xAARRGGBB, so each row is copied as it is; the skin
// code composes on TSkBitmap and hands the result to the framework's canvases.

#include "framework/win/Bitmap.h"
#include "skin/core/SkBitmap.h"
#include "skin/core/SkIniValues.h"

TSkBitmap SkBitmapFromBitmap(TBitmap& bitmap);
void AssignSkBitmap(TBitmap& target, const TSkBitmap& source);
// A skin record's font styles as the framework's.
TFontStyles ToFontStyles(const TSkFontStyles& s);
