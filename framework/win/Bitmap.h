#pragma once
// TBitmap: a 32-bit top-down DIB section (pixels are $AARRGGBB words, row 0 at the top)
// with a Canvas over its own memory DC. Reads BMP files of 1, 4, 8, 24 and 32 bits
// (uncompressed or bit fields) and writes them at its PixelFormat; a 1/4/8-bit save
// builds the palette from the pixels and raises when they do not fit.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/win/Canvas.h"

enum TPixelFormat { pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

class TBitmap : public TObject {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FWidth == 0 || FHeight == 0; }
    void SetSize(int width, int height);   // keeps the overlapping top-left pixels
    void SetWidth(int width) { SetSize(width, FHeight); }
    void SetHeight(int height) { SetSize(FWidth, height); }

    uint32_t* ScanLine(int y);             // raises EInvalidGraphic when out of range
    uint32_t PixelARGB(int x, int y) { return ScanLine(y)[x]; }
    TCanvas& Canvas();
    HBITMAP Handle() const { return FBitmap.Get(); }

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat value) { FPixelFormat = value; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value) { FTransparent = value; }
    // clDefault means the bottom-left pixel.
    TColor TransparentColor();
    void SetTransparentColor(TColor value) { FTransparentColor = value; }

    void LoadFromBytes(std::string_view bmp);   // raises EInvalidGraphic
    std::string SaveToBytes();
    void LoadFromFile(std::string_view fileName);
    void SaveToFile(std::string_view fileName);
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);
    void Assign(TBitmap& source);

private:
    void Allocate(int width, int height);

    int FWidth = 0, FHeight = 0;
    uint32_t* FBits = nullptr;
    GdiObject<HBITMAP> FBitmap;
    MemoryDC FDC;
    HGDIOBJ FOldBitmap = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
    TPixelFormat FPixelFormat = pf32bit;
    bool FTransparent = false;
    TColor FTransparentColor = clDefault;
};
