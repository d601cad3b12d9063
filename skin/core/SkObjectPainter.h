#pragma once
// What a skin object draws with: pieces of the skin's pictures copied to its place, images
// built from them, and text in a font. The form supplies one over its frame bitmap; tests
// record the calls.

#include <string>

#include "skin/core/SkBitmap.h"
#include "skin/core/SkinData.h"

// Picture numbers besides the active pictures (0, 1, ...); -1 is an object's "no active
// picture" and stands for none.
constexpr int kSkFramePicture = -2;
constexpr int kSkRollUpPicture = -3;

class TSkObjectPainter {
public:
    virtual ~TSkObjectPainter() = default;
    // The picture of that number, or nullptr when the skin has none.
    virtual const TSkBitmap* Picture(int picture) const = 0;
    // source of the picture into dest (window coordinates), stretched when the sizes differ;
    // nothing when the picture is missing or either rectangle is empty.
    virtual void Copy(const TRect& dest, int picture, const TRect& source) = 0;
    virtual void DrawImage(int x, int y, const TSkBitmap& image) = 0;
    // text aligned in box and vertically centred; the background is left as it is.
    virtual void Text(const TRect& box, const std::string& text, const TskSkinFont& font, int color,
                      TSkAlignment alignment) = 0;
};
