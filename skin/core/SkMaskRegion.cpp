#include "skin/core/SkMaskRegion.h"

#include "skin/core/SkCanvas.h"

namespace {

void Put32(std::string& out, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 255));
}

void PutRect(std::string& out, const TRect& r)
{
    Put32(out, r.Left);
    Put32(out, r.Top);
    Put32(out, r.Right);
    Put32(out, r.Bottom);
}

void AddRuns(std::vector<TRect>& rects, const TSkBitmap& mask, int x, int y)
{
    const auto runs = BuildMaskRuns(mask, x, y);
    rects.insert(rects.end(), runs.begin(), runs.end());
}

}  // namespace

std::vector<TRect> BuildMaskRuns(const TSkBitmap& mask, int xOffset, int yOffset)
{
    std::vector<TRect> runs;
    for (int y = 0; y < mask.Height(); ++y) {
        const TSkPixel* row = mask.Row(y);
        for (int x = 0; x < mask.Width();) {
            if (SkRgbPart(row[x]) != 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < mask.Width() && SkRgbPart(row[x]) == 0)
                ++x;
            runs.push_back({start + xOffset, y + yOffset, x + xOffset, y + yOffset + 1});
        }
    }
    return runs;
}

std::string MakeRegionData(const std::vector<TRect>& rects, const TRect& bounds)
{
    std::string out;
    out.reserve(32 + 16 * rects.size());
    Put32(out, 32);
    Put32(out, 1);   // RDH_RECTANGLES
    Put32(out, static_cast<int32_t>(rects.size()));
    Put32(out, 0);
    PutRect(out, bounds);
    for (const TRect& r : rects)
        PutRect(out, r);
    return out;
}

std::string BuildMaskRegionData(const TSkBitmap& mask, int xOffset, int yOffset)
{
    if (mask.Empty())
        return {};
    return MakeRegionData(BuildMaskRuns(mask, xOffset, yOffset),
                          {xOffset, yOffset, xOffset + mask.Width(), yOffset + mask.Height()});
}

std::optional<std::vector<TRect>> ComposeSkinRegionRects(const TSkBitmap& mask, const TRect& skinRect,
                                                         const TSkinFrame& frame, int width,
                                                         const TSkinFrame& newFrame)
{
    const TRect r = ClampSkinRect(skinRect);
    const TSkinFrame n{ClampSkinPoint(newFrame.LeftTop), ClampSkinPoint(newFrame.RightTop),
                       ClampSkinPoint(newFrame.LeftBottom), ClampSkinPoint(newFrame.RightBottom),
                       ClampSkinRect(newFrame.ClientRect)};
    if (n.RightTop.X < n.LeftTop.X || n.LeftBottom.Y < n.LeftTop.Y || mask.Empty())
        return std::nullopt;
    const TSkBitmap part = IsNullRect(r) ? mask : CopyBitmapRect(mask, r);
    const TSkinBorders b = ComposeSkinBorders(part, frame, width, n);
    std::vector<TRect> rects;
    if (!IsNullRect(n.ClientRect))
        rects.push_back(n.ClientRect);
    AddRuns(rects, b.Top, 0, 0);
    AddRuns(rects, b.Bottom, 0, n.ClientRect.Bottom);
    AddRuns(rects, b.Left, 0, n.ClientRect.Top);
    AddRuns(rects, b.Right, n.ClientRect.Right, n.ClientRect.Top);
    return rects;
}
