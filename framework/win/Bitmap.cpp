#include "framework/win/Bitmap.h"

#include <algorithm>
#include <cstring>

#include "framework/rtl/BmpImage.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/WinUtil.h"

namespace {

uint32_t Read32(std::string_view s, size_t at) {
    if (at + 4 > s.size()) throw EInvalidGraphic("Bitmap image is not valid: truncated header");
    uint32_t v;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}
uint16_t Read16(std::string_view s, size_t at) {
    if (at + 2 > s.size()) throw EInvalidGraphic("Bitmap image is not valid: truncated header");
    uint16_t v;
    std::memcpy(&v, s.data() + at, 2);
    return v;
}
void Put32(std::string& s, uint32_t v) { s.append(reinterpret_cast<const char*>(&v), 4); }

int BitsOf(TPixelFormat f) {
    static const int bits[] = {1, 4, 8, 24, 32};
    return bits[f];
}

}  // namespace

TBitmap::TBitmap() : FDC(nullptr) {}

TBitmap::TBitmap(int width, int height) : TBitmap() { SetSize(width, height); }

TBitmap::~TBitmap() {
    FCanvas.reset();
    if (FOldBitmap) SelectObject(FDC.Get(), FOldBitmap);
}

void TBitmap::Allocate(int width, int height) {
    if (FCanvas) FCanvas->SetHandle(nullptr);
    if (FOldBitmap) SelectObject(FDC.Get(), FOldBitmap);
    FOldBitmap = nullptr;
    FBitmap.Reset();
    FBits = nullptr;
    FWidth = FHeight = 0;
    if (width <= 0 || height <= 0) return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;   // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp) RaiseLastOSError("CreateDIBSection");
    FBitmap.Reset(bmp);
    FBits = static_cast<uint32_t*>(bits);
    std::memset(FBits, 0, size_t(width) * height * 4);
    FWidth = width;
    FHeight = height;
    FOldBitmap = SelectObject(FDC.Get(), bmp);
    if (FCanvas) FCanvas->SetHandle(FDC.Get());
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == FWidth && height == FHeight) return;
    GdiFlush();
    std::vector<uint32_t> old(FBits, FBits + size_t(FWidth) * FHeight);
    int oldW = FWidth, oldH = FHeight;
    Allocate(width, height);
    for (int y = 0; y < std::min(oldH, FHeight); ++y)
        std::copy_n(old.data() + size_t(y) * oldW, std::min(oldW, FWidth), FBits + size_t(y) * FWidth);
}

uint32_t* TBitmap::ScanLine(int y) {
    if (y < 0 || y >= FHeight) throw EInvalidGraphic("Scan line index out of range (" + std::to_string(y) + ")");
    GdiFlush();
    return FBits + size_t(y) * FWidth;
}

TCanvas& TBitmap::Canvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>();
        if (FBitmap) FCanvas->SetHandle(FDC.Get());
    }
    return *FCanvas;
}

TColor TBitmap::TransparentColor() {
    if (FTransparentColor != clDefault || Empty()) return FTransparentColor;
    uint32_t p = ScanLine(FHeight - 1)[0];
    return static_cast<TColor>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
}

void TBitmap::LoadFromBytes(std::string_view s) {
    // The run-time library's reader checks every length before a pixel is read.
    TBmpImage image;
    try {
        image = DecodeBmp(s);
    } catch (const EBmpError& e) {
        throw EInvalidGraphic("Bitmap image is not valid: " + e.Message());
    }
    if (image.Width == 0 || image.Height == 0) throw EInvalidGraphic("Bitmap image is not valid: bad size");
    Allocate(image.Width, image.Height);
    GdiFlush();
    std::copy(image.Pixels.begin(), image.Pixels.end(), FBits);
    const int bits = image.BitCount;
    FPixelFormat = bits == 1 ? pf1bit : bits == 4 ? pf4bit : bits == 8 ? pf8bit : bits == 24 ? pf24bit : pf32bit;
}

std::string TBitmap::SaveToBytes() {
    GdiFlush();
    try {
        return EncodeBmp(FBits, FWidth, FHeight, BitsOf(FPixelFormat));
    } catch (const EBmpError& e) {
        throw EInvalidGraphic(e.Message());
    }
}

void TBitmap::LoadFromFile(std::string_view fileName) { LoadFromBytes(ReadFileBytes(fileName)); }

void TBitmap::SaveToFile(std::string_view fileName) { WriteFileBytes(fileName, SaveToBytes()); }

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
    std::wstring w = Wide(name);
    HRSRC res = FindResourceW(instance, w.c_str(), MAKEINTRESOURCEW(2));   // RT_BITMAP
    if (!res) throw EInvalidGraphic("Bitmap resource " + name + " not found");
    const char* data = static_cast<const char*>(LockResource(LoadResource(instance, res)));
    const DWORD size = SizeofResource(instance, res);
    // A bitmap resource is a BMP file without its 14-byte file header.
    std::string file = "BM";
    Put32(file, 14 + size);
    Put32(file, 0);
    uint32_t headerSize = Read32(std::string_view(data, size), 0);
    uint16_t bits = Read16(std::string_view(data, size), headerSize == 12 ? 10 : 14);
    uint32_t colors = headerSize >= 40 ? Read32(std::string_view(data, size), 32) : 0;
    uint32_t paletteSize = bits <= 8 ? (colors ? colors : 1u << bits) * (headerSize == 12 ? 3 : 4) : 0;
    Put32(file, 14 + headerSize + paletteSize);
    file.append(data, size);
    LoadFromBytes(file);
}

void TBitmap::Assign(TBitmap& source) {
    if (&source == this) return;
    Allocate(source.FWidth, source.FHeight);
    if (!source.Empty()) {
        GdiFlush();
        std::copy_n(source.FBits, size_t(FWidth) * FHeight, FBits);
    }
    FPixelFormat = source.FPixelFormat;
    FTransparent = source.FTransparent;
    FTransparentColor = source.FTransparentColor;
}
