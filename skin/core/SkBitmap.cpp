#include "skin/core/SkBitmap.h"

void TSkBitmap::SetSize(int width, int height, TSkPixel fill)
{
    if (width <= 0 || height <= 0)
        width = height = 0;
    FWidth = width;
    FHeight = height;
    FPixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
}
