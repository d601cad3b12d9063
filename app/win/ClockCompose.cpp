#include "app/win/ClockCompose.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "app/win/GDITools.h"
#include "framework/win/WinUtil.h"

namespace {

bool IsEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

RECT Intersection(const RECT& a, const RECT& b)
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    return IsEmpty(r) ? RECT{} : r;
}

RECT Union(const RECT& a, const RECT& b)
{
    if (IsEmpty(a))
        return b;
    if (IsEmpty(b))
        return a;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// Where GDI+ may put pixels for a layer: its rectangle turned about its centre, with a
// margin for the smoothed edges.
RECT ReachOf(const TClockLayerState& layer)
{
    double cx = layer.Left + layer.Width / 2, cy = layer.Top + layer.Height / 2;
    double a = layer.Rotate * std::numbers::pi / 180, c = std::cos(a), s = std::sin(a);
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for (int corner = 0; corner < 4; ++corner) {
        double x = (corner & 1 ? layer.Left + layer.Width : layer.Left) - cx;
        double y = (corner & 2 ? layer.Top + layer.Height : layer.Top) - cy;
        double rx = cx + x * c - y * s, ry = cy + x * s + y * c;
        x0 = std::min(x0, rx);
        x1 = std::max(x1, rx);
        y0 = std::min(y0, ry);
        y1 = std::max(y1, ry);
    }
    constexpr double margin = 2;
    return RECT{LONG(std::floor(x0 - margin)), LONG(std::floor(y0 - margin)), LONG(std::ceil(x1 + margin)),
                LONG(std::ceil(y1 + margin))};
}

void Fill(uint32_t* pixels, int stride, const RECT& r)
{
    for (LONG y = r.top; y < r.bottom; ++y)
        std::memset(pixels + size_t(y) * stride + r.left, 0, size_t(r.right - r.left) * 4);
}

}  // namespace

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
    std::memset(Pixels, 0, size_t(width) * size_t(height) * 4);
}

bool TClockComposer::Same(const TClockLayerState& a, const TClockLayerState& b)
{
    return a.Image == b.Image && a.ImageVersion == b.ImageVersion && a.Left == b.Left && a.Top == b.Top &&
           a.Width == b.Width && a.Height == b.Height && a.Rotate == b.Rotate;
}

// Only what the last drawing inked is cleared and only where this one can reach is
// looked at: the rest of the picture is transparent black throughout.
void TClockComposer::Draw(Picture& picture, const TClockLayerState& layer)
{
    picture.Drawn = false;
    if (!picture.Pixels)
        picture.Pixels = std::make_unique<Surface>(FWidth, FHeight);
    Surface& surface = *picture.Pixels;
    GdiFlush();
    Fill(surface.Pixels, FWidth, picture.Inked);
    picture.Bounds = picture.Inked = RECT{};
    ++FPicturesDrawn;
    if (!layer.Image || layer.Image->Empty()) {
        picture.Layer = layer;
        picture.Drawn = true;
        return;
    }
    picture.Inked = RECT{0, 0, FWidth, FHeight};   // until the drawing is looked at
    if (!surface.Graphics) {
        // A graphics of its own per picture: nothing of one layer's transform can reach another.
        surface.GpBitmap = std::make_unique<TGpBitmap>(FWidth, FHeight, surface.Pixels);
        surface.Graphics = std::make_unique<TGpGraphics>(*surface.GpBitmap);
    }
    DrawPNGImage(*surface.Graphics, *layer.Image, layer.Left, layer.Top, layer.Width, layer.Height, layer.Rotate);
    RECT reach = Intersection(ReachOf(layer), RECT{0, 0, FWidth, FHeight});
    RECT bounds{reach.right, reach.bottom, reach.left, reach.top}, inked = bounds;
    for (LONG y = reach.top; y < reach.bottom; ++y) {
        const uint32_t* row = surface.Pixels + size_t(y) * FWidth;
        for (LONG x = reach.left; x < reach.right; ++x)
            if (uint32_t p = row[x]) {
                RECT& r = p >> 24 ? bounds : inked;
                r.left = std::min(r.left, x);
                r.right = std::max(r.right, x + 1);
                r.top = std::min(r.top, y);
                r.bottom = y + 1;
            }
    }
    picture.Bounds = IsEmpty(bounds) ? RECT{} : bounds;
    picture.Inked = Union(picture.Bounds, IsEmpty(inked) ? RECT{} : inked);
    picture.Layer = layer;
    picture.Drawn = true;
}

// Composed[j] := Composed[j - 1] with picture j laid over it, inside `area` only.
void TClockComposer::Blend(size_t j, const RECT& area)
{
    Picture& picture = FPictures[j];
    if (!picture.Composed)
        picture.Composed = std::make_unique<Surface>(FWidth, FHeight);
    const Surface& below = j == 0 ? *FBlank : *FPictures[j - 1].Composed;
    GdiFlush();
    size_t width = size_t(area.right - area.left);
    for (LONG y = area.top; y < area.bottom; ++y) {
        size_t at = size_t(y) * FWidth + area.left;
        std::memcpy(picture.Composed->Pixels + at, below.Pixels + at, width * 4);
    }
    FPixelsComposed += (long long)width * (area.bottom - area.top);
    RECT r = Intersection(area, picture.Bounds);
    if (!IsEmpty(r)) {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        if (!GdiAlphaBlend(picture.Composed->DC.Get(), r.left, r.top, r.right - r.left, r.bottom - r.top,
                           picture.Pixels->DC.Get(), r.left, r.top, r.right - r.left, r.bottom - r.top, blend))
            RaiseLastOSError("AlphaBlend");
        ++FLayersBlended;
    }
}

bool TClockComposer::Compose(int width, int height, std::span<const TClockLayerState> layers)
{
    if (width != FWidth || height != FHeight || !FBlank) {
        FPictures.clear();
        FFrame = nullptr;
        FWidth = width;
        FHeight = height;
        FBlank = std::make_unique<Surface>(width, height);
    }
    bool countChanged = FPictures.size() != layers.size();
    FPictures.resize(layers.size());
    size_t first = layers.size();
    RECT dirty{};
    try {
        for (size_t j = 0; j < layers.size(); ++j)
            if (!FPictures[j].Drawn || !Same(FPictures[j].Layer, layers[j])) {
                first = std::min(first, j);
                RECT before = FPictures[j].Bounds;
                Draw(FPictures[j], layers[j]);
                dirty = Union(dirty, Union(before, FPictures[j].Bounds));
            }
        // Blends from the first layer that changed; the ones below keep their composed
        // frames, and outside `dirty` every frame above keeps its pixels too.
        bool whole = false;
        for (size_t j = first; j < layers.size(); ++j) {
            whole = whole || !FPictures[j].ComposedValid;
            FPictures[j].ComposedValid = false;
            Blend(j, whole ? RECT{0, 0, FWidth, FHeight} : dirty);
            FPictures[j].ComposedValid = true;
        }
    } catch (...) {
        // Drawn again and composed again next time: a picture drawn before the failure
        // was never blended.
        for (size_t j = first; j < FPictures.size(); ++j) {
            Picture& picture = FPictures[j];
            picture.Drawn = picture.ComposedValid = false;
            if (picture.Pixels)   // made anew, in case GDI+ kept any state of the failed call
                picture.Pixels->Graphics.reset();
        }
        FFrame = nullptr;
        ++FFrameVersion;
        throw;
    }
    GdiFlush();
    Surface* frame = layers.empty() ? FBlank.get() : FPictures[layers.size() - 1].Composed.get();
    bool changed = frame != FFrame || first < layers.size() || countChanged;
    FFrame = frame;
    if (changed)
        ++FFrameVersion;
    return changed;
}
