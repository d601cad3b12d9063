#pragma once
// Window regions from the skin's masks: rectangle lists become HRGNs through
// ExtCreateRegion (in slices, so any number of runs works), black mask pixels become a
// region, and a frame of a new size gets its region from the mask's border pictures.
// Every function returns an owned region; an empty one means "no region".

#include <vector>

#include "framework/win/Handles.h"
#include "skin/core/SkBitmap.h"
#include "skin/core/SkCompose.h"

using TRegion = GdiObject<HRGN>;

TRegion CreateRegionFromRects(const std::vector<TRect>& rects);
TRegion CreateMaskRegion(const TSkBitmap& mask);   // at 0,0; none for an empty mask
TRegion CreateMaskRegion(HBITMAP mask);
TRegion ComposeSkinRegion(const TSkBitmap& mask, const TRect& r, const TSkinFrame& frame, int width,
                          const TSkinFrame& newFrame);
