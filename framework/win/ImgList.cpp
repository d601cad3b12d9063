#include "framework/win/ImgList.h"

#include <cstdint>
#include <string>

#include "framework/win/Controls.h"

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}

TImageList::~TImageList() = default;

void TImageList::SetSize(int width, int height) {
    if (width < 1 || height < 1)
        throw EInvalidOperation("Invalid image size " + std::to_string(width) + " x " + std::to_string(height));
    FWidth = width;
    FHeight = height;
    Clear();
}

int TImageList::Add(TBitmap& strip) {
    if (strip.Width() < FWidth || strip.Height() != FHeight)
        throw EInvalidOperation("Image of " + std::to_string(strip.Width()) + " x " + std::to_string(strip.Height()) +
                                " does not fit a list of " + std::to_string(FWidth) + " x " + std::to_string(FHeight));
    const int first = Count();
    for (int x = 0; x + FWidth <= strip.Width(); x += FWidth) {
        auto image = std::make_unique<TBitmap>(FWidth, FHeight);
        image->Canvas().CopyRect({0, 0, FWidth, FHeight}, strip.Canvas(), {x, 0, x + FWidth, FHeight});
        image->SetTransparent(true);
        FImages.push_back(std::move(image));
    }
    return first;
}

namespace {

// As GDI writes it into the picture: no alpha, or the transparent colour would not match.
uint32_t PixelOf(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// The picture's shape (every pixel but its transparent colour) in one colour; the rest is transparent.
std::unique_ptr<TBitmap> Silhouette(TBitmap& image, TColor colour) {
    const uint32_t key = PixelOf(ColorToRGB(image.TransparentColor()));
    const COLORREF ink = ColorToRGB(colour), clear = ink ^ 0xFFFFFF;
    auto shape = std::make_unique<TBitmap>(image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y) {
        const uint32_t* from = image.ScanLine(y);
        uint32_t* to = shape->ScanLine(y);
        for (int x = 0; x < image.Width(); ++x)
            to[x] = (from[x] & 0xFFFFFF) == key ? PixelOf(clear) : PixelOf(ink);
    }
    shape->SetTransparent(true);
    shape->SetTransparentColor(static_cast<TColor>(clear));
    return shape;
}

}  // namespace

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count()) return;
    TBitmap& image = *FImages[static_cast<size_t>(index)];
    if (enabled) {
        canvas.Draw(x, y, image);
        return;
    }
    canvas.Draw(x + 1, y + 1, *Silhouette(image, clBtnHighlight));
    canvas.Draw(x, y, *Silhouette(image, clBtnShadow));
}
