#include "skin/win/SkBitmapBridge.h"

#include <cstring>

TSkBitmap SkBitmapFromBitmap(TBitmap& bitmap)
{
    TSkBitmap result(bitmap.Width(), bitmap.Height());
    for (int y = 0; y < result.Height(); ++y)
        std::memcpy(result.Row(y), bitmap.ScanLine(y), static_cast<size_t>(result.Width()) * sizeof(TSkPixel));
    return result;
}

void AssignSkBitmap(TBitmap& target, const TSkBitmap& source)
{
    target.SetSize(source.Width(), source.Height());
    for (int y = 0; y < source.Height(); ++y)
        std::memcpy(target.ScanLine(y), source.Row(y), static_cast<size_t>(source.Width()) * sizeof(TSkPixel));
}

TFontStyles ToFontStyles(const TSkFontStyles& s)
{
    TFontStyles result;
    if (s.Bold) result.Include(fsBold);
    if (s.Italic) result.Include(fsItalic);
    if (s.Underline) result.Include(fsUnderline);
    if (s.StrikeOut) result.Include(fsStrikeOut);
    return result;
}
