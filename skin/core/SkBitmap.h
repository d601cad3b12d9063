#pragma once
// TSkBitmap: the skin engine's picture, a top-down buffer of 32-bit pixels in the byte
// order of a 32-bit DIB (blue, green, red, alpha; read as 0xAARRGGBB). Compositions,
// mask scans and glyphs work on it; the Win32 layer turns it into DIB sections.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/core/SkGeometry.h"

using TSkPixel = uint32_t;

constexpr TSkPixel kSkOpaque = 0xFF000000u;
constexpr TSkPixel SkRgb(int r, int g, int b)
{
    return kSkOpaque | (static_cast<uint32_t>(r & 255) << 16) | (static_cast<uint32_t>(g & 255) << 8) |
           static_cast<uint32_t>(b & 255);
}
// A framework colour (0x00BBGGRR) as an opaque pixel.
constexpr TSkPixel SkPixelFromColor(int color)
{
    return SkRgb(color & 255, (color >> 8) & 255, (color >> 16) & 255);
}
constexpr TSkPixel SkRgbPart(TSkPixel p) { return p & 0x00FFFFFFu; }

class TSkBitmap {
public:
    TSkBitmap() = default;
    TSkBitmap(int width, int height, TSkPixel fill = 0) { SetSize(width, height, fill); }

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
    TRect BoundsRect() const { return {0, 0, FWidth, FHeight}; }

    // Sizes below 1 make the bitmap empty; every pixel takes fill.
    void SetSize(int width, int height, TSkPixel fill = 0);
    void Clear() { SetSize(0, 0); }

    TSkPixel Pixel(int x, int y) const { return FPixels[Index(x, y)]; }
    void SetPixel(int x, int y, TSkPixel p) { FPixels[Index(x, y)] = p; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < FWidth && y < FHeight; }
    TSkPixel* Row(int y) { return FPixels.data() + Index(0, y); }
    const TSkPixel* Row(int y) const { return FPixels.data() + Index(0, y); }
    const std::vector<TSkPixel>& Pixels() const { return FPixels; }

    friend bool operator==(const TSkBitmap&, const TSkBitmap&) = default;

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x); }
    int FWidth = 0;
    int FHeight = 0;
    std::vector<TSkPixel> FPixels;
};
