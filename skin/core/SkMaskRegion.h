#pragma once
// Window regions from mask pictures, without Win32: the black pixels of a mask become
// one rectangle per horizontal run (no limit on the number of runs), and region data in
// the layout ExtCreateRegion takes (a 32-byte header, then 16-byte rectangles).

#include <optional>
#include <string>
#include <vector>

#include "skin/core/SkBitmap.h"
#include "skin/core/SkCompose.h"

// Runs of pure black (blue, green and red all 0) row by row from the top, moved by the offsets.
std::vector<TRect> BuildMaskRuns(const TSkBitmap& mask, int xOffset, int yOffset);
// Header (size 32, type 1, count, 0, bounds = the mask's rectangle at the offsets) and the
// runs, little-endian; empty for an empty mask.
std::string BuildMaskRegionData(const TSkBitmap& mask, int xOffset, int yOffset);
// Region data for a list of rectangles with the given bounds.
std::string MakeRegionData(const std::vector<TRect>& rects, const TRect& bounds);

// The rectangles whose union is the window region of a frame of the new size: the new
// client rectangle and the black runs of the mask's four border pictures at their places.
// Nothing when the new corner points cross (RT left of LT, LB above LT) or the mask is
// empty. r is the mask's skin rectangle; a null r takes the whole mask.
std::optional<std::vector<TRect>> ComposeSkinRegionRects(const TSkBitmap& mask, const TRect& r,
                                                         const TSkinFrame& frame, int width,
                                                         const TSkinFrame& newFrame);
