#pragma once
// TImageList: pictures of one size, drawn by index with the transparent colour of each
// picture's bottom-left pixel.
#include <memory>
#include <vector>

#include "framework/base/Component.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Canvas.h"

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* AOwner);
    ~TImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Sizes below 1 raise EInvalidOperation; the pictures go.
    void SetSize(int width, int height);
    int Count() const { return static_cast<int>(FImages.size()); }

    // Adds the pictures of a strip laid side by side, Width() apart; a strip narrower than one
    // picture or of another height raises EInvalidOperation. Returns the first new index.
    int Add(TBitmap& strip);
    void Clear() { FImages.clear(); }
    // Draws picture index at x, y; an index out of range draws nothing. A disabled picture is
    // drawn embossed: its shape in the button highlight colour one pixel down and right, and in
    // the button shadow colour in its place.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

private:
    int FWidth = 16, FHeight = 16;
    std::vector<std::unique_ptr<TBitmap>> FImages;
};
