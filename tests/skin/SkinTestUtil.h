#pragma once
// Helpers of the skin tests: BMP images of any supported depth built byte by byte,
// pictures whose every pixel tells where it came from, and masks drawn as text rows.
// Shared by the portable and the Windows-only test programs.

#include <cstdint>
#include <string>
#include <vector>

#include "skin/core/SkBitmap.h"

namespace skintest {

inline void Put32(std::string& s, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((v >> (8 * i)) & 255));
}
inline void Put16(std::string& s, uint16_t v)
{
    s.push_back(static_cast<char>(v & 255));
    s.push_back(static_cast<char>(v >> 8));
}

// A bottom-up BMP of the given depth; indices (for depths up to 8) or 0x00RRGGBB values
// row by row from the top. A palette is written for depths up to 8.
inline std::string MakeBmp(int width, int height, int bits, const std::vector<uint32_t>& values,
                           const std::vector<uint32_t>& palette = {})
{
    const uint32_t stride = ((static_cast<uint32_t>(width) * bits + 31) / 32) * 4;
    std::string rows;
    for (int y = height - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            const uint32_t v = values[static_cast<size_t>(y * width + x)];
            if (bits >= 24) {
                for (int b = 0; b < bits / 8; ++b)
                    row[static_cast<size_t>(x * bits / 8 + b)] = static_cast<char>((v >> (8 * b)) & 255);
            } else {
                const int bit = x * bits;
                row[static_cast<size_t>(bit / 8)] |= static_cast<char>(v << (8 - bits - bit % 8));
            }
        }
        rows += row;
    }
    std::string pal;
    for (uint32_t c : palette)
        Put32(pal, c);
    const uint32_t off = 54 + static_cast<uint32_t>(pal.size());
    std::string out = "BM";
    Put32(out, off + static_cast<uint32_t>(rows.size()));
    Put32(out, 0);
    Put32(out, off);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<uint16_t>(bits));
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(rows.size()));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(palette.size()));
    Put32(out, 0);
    return out + pal + rows;
}

// Pixel (x, y) holds red x, green y, blue 7: where a composed pixel came from is readable.
inline TSkBitmap Coordinates(int width, int height)
{
    TSkBitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.SetPixel(x, y, SkRgb(x, y, 7));
    return b;
}
inline TSkPixel At(int x, int y) { return SkRgb(x, y, 7); }

// A picture from rows of text: '#' black, anything else white.
inline TSkBitmap MaskFromText(const std::vector<std::string>& rows)
{
    TSkBitmap b(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, rows[static_cast<size_t>(y)][static_cast<size_t>(x)] == '#' ? SkRgb(0, 0, 0) : SkRgb(255, 255, 255));
    return b;
}

}  // namespace skintest
