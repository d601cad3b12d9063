#include "skin/core/SkBmp.h"

#include <algorithm>
#include <cstring>

TSkBitmap LoadBmpFromBytes(std::string_view b, size_t& used, int64_t maxPixels)
{
    TBmpImage image;
    size_t size = 0;
    try {
        size = BmpFileSize(b);
        image = DecodeBmp(b.substr(0, size), std::min(kMaxBmpPixels, maxPixels));
    } catch (const EBmpError& e) {
        throw ESkinFormatError("Invalid bitmap in the skin: " + e.Message());
    }
    // Many writers leave the fourth byte of 32-bit pixels 0: such a picture is opaque.
    if (image.BitCount == 32 &&
        std::none_of(image.Pixels.begin(), image.Pixels.end(), [](uint32_t p) { return (p & kSkOpaque) != 0; }))
        for (uint32_t& p : image.Pixels)
            p |= kSkOpaque;
    TSkBitmap bitmap(image.Width, image.Height);
    if (!bitmap.Empty())
        std::memcpy(bitmap.Row(0), image.Pixels.data(), image.Pixels.size() * sizeof(TSkPixel));
    used = size;
    return bitmap;
}

std::string SaveBmpToBytes(const TSkBitmap& bitmap)
{
    const bool alpha = std::any_of(bitmap.Pixels().begin(), bitmap.Pixels().end(),
                                   [](TSkPixel p) { return (p & kSkOpaque) != kSkOpaque; });
    return EncodeBmp(bitmap.Pixels().data(), bitmap.Width(), bitmap.Height(), alpha ? 32 : 24);
}
