#pragma once
// A strip of Count equal images loaded from a bitmap resource (the bookmark marks). Strips
// are shared process-wide by upper-cased resource name and freed with their last user.

#include <string>

#include "framework/win/Bitmap.h"

class TNoteInternalImage {
public:
    // Raises EInvalidGraphic when the module has no such bitmap.
    TNoteInternalImage(HINSTANCE module, const std::string& name, int count);
    TNoteInternalImage(const TNoteInternalImage&) = delete;
    TNoteInternalImage& operator=(const TNoteInternalImage&) = delete;
    ~TNoteInternalImage();

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return FCount; }
    // Copies image `number` (opaque) to x, placed in the row as a glyph is; nothing for a
    // number outside 0..Count-1.
    void DrawImage(TCanvas& canvas, int number, int x, int y, int lineHeight);

    static int SharedStripCount();

private:
    std::string FKey;
    TBitmap* FStrip;
    int FWidth, FHeight, FCount;
};
