#include "skin/win/SkDib.h"

#include <cstring>

#include "framework/rtl/SysUtils.h"

namespace {

BITMAPINFO TopDownInfo(int width, int height, int bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bits);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

TFBitmap::TFBitmap(HBITMAP source)
{
    BITMAP bm{};
    if (!source || !GetObjectW(source, sizeof bm, &bm))
        return;
    FWidth = bm.bmWidth;
    FHeight = bm.bmHeight;
    BITMAPINFO info = TopDownInfo(FWidth, FHeight, 24);
    void* bits = nullptr;
    WindowDC screen(nullptr);
    FDib.Reset(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!FDib)
        throw Exception("Cannot create a " + std::to_string(FWidth) + "x" + std::to_string(FHeight) + " bitmap");
    FBits = static_cast<unsigned char*>(bits);
    GetDIBits(screen.Get(), source, 0, static_cast<UINT>(FHeight), FBits, &info, DIB_RGB_COLORS);
    for (int y = 0; y < FHeight; ++y)
        FRows.push_back(FBits + static_cast<size_t>(y) * static_cast<size_t>(Stride()));
    FOldBitmap = SelectObject(FDC.Get(), FDib.Get());
}

TFBitmap::~TFBitmap()
{
    if (FOldBitmap)
        SelectObject(FDC.Get(), FOldBitmap);
}

TSkBitmap TFBitmap::ToBitmap() const
{
    TSkBitmap bitmap(FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) {
            const unsigned char* p = Row(y) + x * 3;
            bitmap.SetPixel(x, y, SkRgb(p[2], p[1], p[0]));
        }
    return bitmap;
}

GdiObject<HBITMAP> CreateDibFromBitmap(const TSkBitmap& bitmap)
{
    if (bitmap.Empty())
        return {};
    BITMAPINFO info = TopDownInfo(bitmap.Width(), bitmap.Height(), 32);
    void* bits = nullptr;
    GdiObject<HBITMAP> dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib)
        throw Exception("Cannot create a " + std::to_string(bitmap.Width()) + "x" + std::to_string(bitmap.Height()) +
                        " bitmap");
    std::memcpy(bits, bitmap.Pixels().data(), bitmap.Pixels().size() * sizeof(TSkPixel));
    GdiFlush();
    return dib;
}

TSkBitmap BitmapFromHandle(HBITMAP handle)
{
    return TFBitmap(handle).ToBitmap();
}
