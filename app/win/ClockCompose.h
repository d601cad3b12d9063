#pragma once
// TClockComposer: composes the clock's frames from its layers' decoded images. Each layer
// is first drawn alone (placed and rotated by GDI+) into a transparent picture of the
// frame's size, and the pictures are laid over one another with GDI's AlphaBlend, which
// gives exactly the pixels of drawing the layers with GDI+ onto the frame's DC. A picture
// is drawn again only when its layer's image, place or angle changes, and the frame is
// blended again only from the first layer that changed: for the running clock with its
// seconds hand that is one small GDI+ drawing and three blends a frame.

#include <cstdint>
#include <memory>
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
    // Composes the layers in order into a frame of width x height.
    void Compose(int width, int height, const std::vector<TClockLayerState>& layers);
    // The last frame: premultiplied ARGB in a 32-bit top-down DIB section selected into DC.
    HDC DC() const { return FFrame ? FFrame->DC.Get() : nullptr; }
    const uint32_t* Pixels() const { return FFrame ? FFrame->Pixels : nullptr; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int PicturesDrawn() const { return FPicturesDrawn; }   // layer pictures drawn so far
    int LayersBlended() const { return FLayersBlended; }   // blends so far

private:
    struct Surface {
        Surface(int width, int height);
        GdiObject<HBITMAP> Bitmap;
        MemoryDC DC;
        uint32_t* Pixels = nullptr;
        void Clear();
    };
    struct Picture {
        TClockLayerState Layer;
        bool Drawn = false;
        RECT Bounds{};   // where the picture is not transparent
        std::unique_ptr<Surface> Pixels;
        std::unique_ptr<Surface> Composed;   // the frame up to and with this layer
    };
    bool Same(const TClockLayerState& a, const TClockLayerState& b) const;
    void Draw(Picture& picture, const TClockLayerState& layer);

    int FWidth = 0, FHeight = 0;
    std::vector<Picture> FPictures;
    std::unique_ptr<Surface> FBlank;
    Surface* FFrame = nullptr;
    int FPicturesDrawn = 0, FLayersBlended = 0;
};
