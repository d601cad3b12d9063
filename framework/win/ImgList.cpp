#include "framework/win/ImgList.h"

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

void TImageList::Draw(TCanvas& canvas, int x, int y, int index) const {
    if (index < 0 || index >= Count()) return;
    canvas.Draw(x, y, *FImages[static_cast<size_t>(index)]);
}
