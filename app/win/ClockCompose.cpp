#include "app/win/ClockCompose.h"

#include <algorithm>
#include <cstring>

#include "app/win/GDITools.h"
#include "framework/win/WinUtil.h"

TClockComposer::Surface::Surface(int width, int height) : DC(nullptr)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!Bitmap || !DC.Get())
        RaiseLastOSError("CreateDIBSection");
    SelectObject(DC.Get(), Bitmap.Get());
    Pixels = static_cast<uint32_t*>(bits);
    Clear();
}

void TClockComposer::Surface::Clear()
{
    BITMAP bm{};
    GetObjectW(Bitmap.Get(), sizeof bm, &bm);
    GdiFlush();
    std::memset(Pixels, 0, size_t(bm.bmWidthBytes) * size_t(bm.bmHeight));
}

bool TClockComposer::Same(const TClockLayerState& a, const TClockLayerState& b) const
{
    return a.Image == b.Image && a.ImageVersion == b.ImageVersion && a.Left == b.Left && a.Top == b.Top &&
           a.Width == b.Width && a.Height == b.Height && a.Rotate == b.Rotate;
}

void TClockComposer::Draw(Picture& picture, const TClockLayerState& layer)
{
    picture.Drawn = false;
    if (!picture.Pixels)
        picture.Pixels = std::make_unique<Surface>(FWidth, FHeight);
    else
        picture.Pixels->Clear();
    picture.Bounds = RECT{};
    ++FPicturesDrawn;
    if (layer.Image && !layer.Image->Empty()) {
        // A graphics of its own per picture: nothing of one layer's transform can reach another.
        TGpBitmap bitmap(FWidth, FHeight, picture.Pixels->Pixels);
        TGpGraphics graphics(bitmap);
        DrawPNGImage(graphics, *layer.Image, layer.Left, layer.Top, layer.Width, layer.Height, layer.Rotate);
    }
    int left = FWidth, top = FHeight, right = 0, bottom = 0;
    const uint32_t* row = picture.Pixels->Pixels;
    for (int y = 0; y < FHeight; ++y, row += FWidth)
        for (int x = 0; x < FWidth; ++x)
            if (row[x] >> 24) {
                left = std::min(left, x);
                right = std::max(right, x + 1);
                top = std::min(top, y);
                bottom = y + 1;
            }
    if (left < right)
        picture.Bounds = RECT{left, top, right, bottom};
    picture.Layer = layer;
    picture.Drawn = true;
}

void TClockComposer::Compose(int width, int height, const std::vector<TClockLayerState>& layers)
{
    if (width != FWidth || height != FHeight || !FBlank) {
        FPictures.clear();
        FFrame = nullptr;
        FWidth = width;
        FHeight = height;
        FBlank = std::make_unique<Surface>(width, height);
    }
    FPictures.resize(layers.size());
    size_t first = layers.size();
    try {
        for (size_t j = 0; j < layers.size(); ++j)
            if (!FPictures[j].Drawn || !Same(FPictures[j].Layer, layers[j])) {
                first = std::min(first, j);
                Draw(FPictures[j], layers[j]);
            }
        // Blends from the first layer that changed; the ones below keep their composed frames.
        for (size_t j = first; j < layers.size(); ++j) {
            Picture& picture = FPictures[j];
            if (!picture.Composed)
                picture.Composed = std::make_unique<Surface>(FWidth, FHeight);
            const Surface& below = j == 0 ? *FBlank : *FPictures[j - 1].Composed;
            GdiFlush();
            std::memcpy(picture.Composed->Pixels, below.Pixels, size_t(FWidth) * size_t(FHeight) * 4);
            const RECT& r = picture.Bounds;
            if (r.left < r.right) {
                BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
                if (!GdiAlphaBlend(picture.Composed->DC.Get(), r.left, r.top, r.right - r.left, r.bottom - r.top,
                                   picture.Pixels->DC.Get(), r.left, r.top, r.right - r.left, r.bottom - r.top, blend))
                    RaiseLastOSError("AlphaBlend");
                ++FLayersBlended;
            }
        }
    } catch (...) {
        // Drawn again and composed again next time: a picture drawn before the failure
        // was never blended.
        for (size_t j = first; j < FPictures.size(); ++j)
            FPictures[j].Drawn = false;
        FFrame = nullptr;
        throw;
    }
    GdiFlush();
    FFrame = layers.empty() ? FBlank.get() : FPictures[layers.size() - 1].Composed.get();
}
