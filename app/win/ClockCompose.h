#pragma once
// TClockComposer: composes the clock's frames from its layers' decoded images. Each layer
// is first drawn alone (placed and rotated by GDI+) into a transparent picture of the
// frame's size, and the pictures are laid over one another with GDI's AlphaBlend, which
// gives exactly the pixels of drawing the layers with GDI+ onto the frame's DC. A picture
// is drawn again only when its layer's image, place or angle changes, and the frame is
// blended again only from the first layer that changed and only inside the area where a
// changed picture was or is now visible: for the running clock with its seconds hand that
// is one small GDI+ drawing and three blends over the hand's old and new places. Surfaces
// and GDI+ objects live from frame to frame; a frame allocates nothing.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "framework/win/GdiPlus.h"
#include "framework/win/Handles.h"

// One layer as it is drawn: its image (nullptr or empty: left out), identified by a
// version that changes whenever the image is decoded anew, its place and its angle in
// degrees clockwise about its centre.
struct TClockLayerState {
    const TGpImage* Image = nullptr;
    unsigned ImageVersion = 0;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    double Rotate = 0;
};

class TClockComposer {
public:
    // Composes the layers in order into a frame of width x height; false when the frame
    // has the pixels of the last one (nothing was drawn or blended).
    bool Compose(int width, int height, std::span<const TClockLayerState> layers);
    // The last frame: premultiplied ARGB in a 32-bit top-down DIB section selected into DC.
    HDC DC() const { return FFrame ? FFrame->DC.Get() : nullptr; }
    const uint32_t* Pixels() const { return FFrame ? FFrame->Pixels : nullptr; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Changes whenever a composed frame differs from the one before, or may.
    unsigned FrameVersion() const { return FFrameVersion; }
    int PicturesDrawn() const { return FPicturesDrawn; }   // layer pictures drawn so far
    int LayersBlended() const { return FLayersBlended; }   // blends so far
    long long PixelsComposed() const { return FPixelsComposed; }   // pixels copied or blended so far

private:
    struct Surface {
        Surface(int width, int height);
        GdiObject<HBITMAP> Bitmap;
        MemoryDC DC;
        uint32_t* Pixels = nullptr;
        std::unique_ptr<TGpBitmap> GpBitmap;   // GDI+ view of Pixels, made at the first drawing
        std::unique_ptr<TGpGraphics> Graphics;
    };
    struct Picture {
        TClockLayerState Layer;
        bool Drawn = false;
        RECT Bounds{};   // where the picture is not transparent
        RECT Inked{};    // where it holds any non-zero pixel
        std::unique_ptr<Surface> Pixels;
        std::unique_ptr<Surface> Composed;   // the frame up to and with this layer
        bool ComposedValid = false;          // Composed holds that frame everywhere
    };
    static bool Same(const TClockLayerState& a, const TClockLayerState& b);
    void Draw(Picture& picture, const TClockLayerState& layer);
    void Blend(size_t j, const RECT& area);

    int FWidth = 0, FHeight = 0;
    std::vector<Picture> FPictures;
    std::unique_ptr<Surface> FBlank;
    Surface* FFrame = nullptr;
    unsigned FFrameVersion = 0;
    int FPicturesDrawn = 0, FLayersBlended = 0;
    long long FPixelsComposed = 0;
};
