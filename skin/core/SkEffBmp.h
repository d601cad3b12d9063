#pragma once
// TskEffectBmp: a 24-bit top-down picture (rows of Width * 3 + Width mod 4 bytes, pixels
// blue, green, red) with whole-picture effects and two-picture blends: the morphs that
// fade a look into another, the inactive-frame effects and simulated transparency.
// Results are rounded half to even and limited to 0..255. A two-picture operation does
// nothing unless both pictures have the same size; BlendRect clips to both instead.

#include <cstdint>
#include <random>
#include <vector>

#include "skin/core/SkBitmap.h"
#include "skin/core/SkIniValues.h"

class TskEffectBmp {
public:
    TskEffectBmp(int width, int height);   // pixels black
    explicit TskEffectBmp(const TSkBitmap& bitmap);
    TSkBitmap ToBitmap() const;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Stride() const { return FStride; }
    int Size() const { return FStride * FHeight; }
    uint8_t* Bits() { return FBits.data(); }
    const uint8_t* Bits() const { return FBits.data(); }
    uint8_t* Row(int y) { return FBits.data() + static_cast<size_t>(y) * static_cast<size_t>(FStride); }
    const uint8_t* Row(int y) const { return FBits.data() + static_cast<size_t>(y) * static_cast<size_t>(FStride); }
    // Opaque pixel at x, y; Pixel outside the picture is black and SetPixel there does nothing.
    TSkPixel Pixel(int x, int y) const;
    void SetPixel(int x, int y, TSkPixel p);

    void FlipInto(TskEffectBmp& other) const;
    void Morph(const TskEffectBmp& other, double k);
    void MorphGradient(const TskEffectBmp& other, double k);
    void MorphHGradient(const TskEffectBmp& other, double k);
    void MorphVGradient(const TskEffectBmp& other, double k);
    void MorphLeftGradient(const TskEffectBmp& other, double k);
    void MorphRightGradient(const TskEffectBmp& other, double k);
    void MorphLeftSlide(const TskEffectBmp& other, double k);
    void MorphRightSlide(const TskEffectBmp& other, double k);
    void MorphPush(const TskEffectBmp& other, double k);
    // The morph a skin's morphkind names.
    void MorphBy(TMorphKind kind, const TskEffectBmp& other, double k);
    // Inside r of this picture, blended toward other from (otherTop, otherLeft) on.
    void BlendRect(const TskEffectBmp& other, const TRect& r, int otherTop, int otherLeft, double k);
    void Brightness(double k);
    void Darkness(double k);
    void Grayscale();
    void Invert();
    void Noise(int amount);
    void SplitBlur(int amount);
    // The inactive-frame effect with the amounts the skinned form uses.
    void ApplyInactiveEffect(TImageEffect effect);

    // The generator behind Noise; tests seed it.
    std::minstd_rand Random{1};

private:
    bool SameSize(const TskEffectBmp& other) const { return other.FWidth == FWidth && other.FHeight == FHeight; }
    template <class F>
    void EachChannel(F f);

    int FWidth = 0;
    int FHeight = 0;
    int FStride = 0;
    std::vector<uint8_t> FBits;
};
