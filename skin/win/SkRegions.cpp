#include "skin/win/SkRegions.h"

#include <algorithm>
#include <string>

#include "framework/rtl/SysUtils.h"
#include "skin/core/SkMaskRegion.h"
#include "skin/win/SkDib.h"

namespace {

// Rectangles per ExtCreateRegion call; slices are united afterwards.
constexpr size_t kSlice = 4000;

TRegion RegionFromSlice(std::vector<TRect>::const_iterator first, std::vector<TRect>::const_iterator last)
{
    TRect bounds = *first;
    for (auto it = first; it != last; ++it) {
        bounds.Left = std::min(bounds.Left, it->Left);
        bounds.Top = std::min(bounds.Top, it->Top);
        bounds.Right = std::max(bounds.Right, it->Right);
        bounds.Bottom = std::max(bounds.Bottom, it->Bottom);
    }
    const std::string data = MakeRegionData(std::vector<TRect>(first, last), bounds);
    TRegion region(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data())));
    if (!region)
        throw Exception("Cannot create a window region of " + std::to_string(last - first) + " rectangles");
    return region;
}

}  // namespace

TRegion CreateRegionFromRects(const std::vector<TRect>& rects)
{
    TRegion result(CreateRectRgn(0, 0, 0, 0));
    for (size_t at = 0; at < rects.size(); at += kSlice) {
        const auto first = rects.begin() + static_cast<std::ptrdiff_t>(at);
        const auto last = rects.begin() + static_cast<std::ptrdiff_t>(std::min(rects.size(), at + kSlice));
        TRegion part = RegionFromSlice(first, last);
        CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
    }
    return result;
}

TRegion CreateMaskRegion(const TSkBitmap& mask)
{
    if (mask.Empty())
        return {};
    return CreateRegionFromRects(BuildMaskRuns(mask, 0, 0));
}

TRegion CreateMaskRegion(HBITMAP mask)
{
    return CreateMaskRegion(BitmapFromHandle(mask));
}

TRegion ComposeSkinRegion(const TSkBitmap& mask, const TRect& r, const TSkinFrame& frame, int width,
                          const TSkinFrame& newFrame)
{
    const auto rects = ComposeSkinRegionRects(mask, r, frame, width, newFrame);
    if (!rects)
        return {};
    return CreateRegionFromRects(*rects);
}
