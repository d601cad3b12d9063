#pragma once
// Pictures at the Win32 boundary: TFBitmap, the 24-bit top-down DIB copy of a bitmap
// handle with row pointers and its own memory DC, and conversions between TSkBitmap and
// 32-bit DIB sections.

#include <vector>

#include "framework/win/Handles.h"
#include "skin/core/SkBitmap.h"

class TFBitmap {
public:
    explicit TFBitmap(HBITMAP source);   // raises Exception when the DIB cannot be made
    ~TFBitmap();
    TFBitmap(const TFBitmap&) = delete;
    TFBitmap& operator=(const TFBitmap&) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Gap() const { return FWidth % 4; }                 // padding bytes at each row's end
    int Stride() const { return FWidth * 3 + Gap(); }
    int Size() const { return Stride() * FHeight; }
    unsigned char* Row(int y) const { return FRows[static_cast<size_t>(y)]; }   // blue, green, red
    HDC DC() const { return FDC.Get(); }
    TSkBitmap ToBitmap() const;

private:
    int FWidth = 0;
    int FHeight = 0;
    unsigned char* FBits = nullptr;
    GdiObject<HBITMAP> FDib;
    MemoryDC FDC;
    HGDIOBJ FOldBitmap = nullptr;
    std::vector<unsigned char*> FRows;
};

// A 32-bit top-down DIB section holding the picture (null for an empty picture).
GdiObject<HBITMAP> CreateDibFromBitmap(const TSkBitmap& bitmap);
// The pixels of any bitmap handle (empty for a null handle).
TSkBitmap BitmapFromHandle(HBITMAP handle);
