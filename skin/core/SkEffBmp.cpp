#include "skin/core/SkEffBmp.h"

#include <algorithm>
#include <cmath>

namespace {

// Nearest integer, halves to the even one, limited to a channel.
uint8_t Channel(double v)
{
    return static_cast<uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
}

double Unit(double k)
{
    return std::isnan(k) ? 0.0 : std::clamp(k, 0.0, 1.0);
}

int Near(double v)
{
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::nearbyint(std::clamp(v, -1e9, 1e9)));
}

// mix(m): m = 1 keeps self, m = 0 gives other.
void Mix(uint8_t* self, const uint8_t* other, double m)
{
    for (int c = 0; c < 3; ++c)
        self[c] = Channel(self[c] * m + (1 - m) * other[c]);
}

}  // namespace

TskEffectBmp::TskEffectBmp(int width, int height)
    : FWidth(std::max(width, 0)), FHeight(std::max(height, 0)), FStride(FWidth * 3 + FWidth % 4),
      FBits(static_cast<size_t>(FStride) * static_cast<size_t>(FHeight))
{
}

TskEffectBmp::TskEffectBmp(const TSkBitmap& bitmap) : TskEffectBmp(bitmap.Width(), bitmap.Height())
{
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            SetPixel(x, y, bitmap.Pixel(x, y));
}

TSkBitmap TskEffectBmp::ToBitmap() const
{
    TSkBitmap b(FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            b.SetPixel(x, y, Pixel(x, y));
    return b;
}

TSkPixel TskEffectBmp::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return SkRgb(0, 0, 0);
    const uint8_t* p = Row(y) + x * 3;
    return SkRgb(p[2], p[1], p[0]);
}

void TskEffectBmp::SetPixel(int x, int y, TSkPixel c)
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return;
    uint8_t* p = Row(y) + x * 3;
    p[0] = static_cast<uint8_t>(c & 255);
    p[1] = static_cast<uint8_t>((c >> 8) & 255);
    p[2] = static_cast<uint8_t>((c >> 16) & 255);
}

template <class F>
void TskEffectBmp::EachChannel(F f)
{
    for (int y = 0; y < FHeight; ++y) {
        uint8_t* row = Row(y);
        for (int i = 0; i < FWidth * 3; ++i)
            row[i] = f(row[i]);
    }
}

void TskEffectBmp::FlipInto(TskEffectBmp& other) const
{
    if (!SameSize(other))
        return;
    for (int y = 0; y < FHeight; ++y)
        std::copy_n(Row(y), FWidth * 3, other.Row(FHeight - 1 - y));
}

void TskEffectBmp::Morph(const TskEffectBmp& other, double k)
{
    if (SameSize(other))
        BlendRect(other, {0, 0, FWidth, FHeight}, 0, 0, k);
}

void TskEffectBmp::BlendRect(const TskEffectBmp& other, const TRect& r, int otherTop, int otherLeft, double k)
{
    k = Unit(k);
    // Rows and columns of r that lie in this picture and whose partner lies in other.
    const int64_t top = std::max<int64_t>({r.Top, 0, int64_t{r.Top} - otherTop});
    const int64_t bottom = std::min<int64_t>({r.Bottom, FHeight, int64_t{r.Top} - otherTop + other.FHeight});
    const int64_t left = std::max<int64_t>({r.Left, 0, int64_t{r.Left} - otherLeft});
    const int64_t right = std::min<int64_t>({r.Right, FWidth, int64_t{r.Left} - otherLeft + other.FWidth});
    for (int64_t y = top; y < bottom; ++y) {
        uint8_t* row = Row(static_cast<int>(y));
        const uint8_t* from = other.Row(static_cast<int>(otherTop + y - r.Top));
        for (int64_t x = left; x < right; ++x) {
            const int64_t ox = otherLeft + x - r.Left;
            for (int c = 0; c < 3; ++c)
                row[x * 3 + c] = Channel((1 - k) * row[x * 3 + c] + k * from[ox * 3 + c]);
        }
    }
}

void TskEffectBmp::Brightness(double k)
{
    k = Unit(k);
    EachChannel([k](uint8_t c) { return Channel((1 - k) * c + k * 255); });
}

void TskEffectBmp::Darkness(double k)
{
    k = Unit(k);
    EachChannel([k](uint8_t c) { return Channel((1 - k) * c); });
}

void TskEffectBmp::Invert()
{
    EachChannel([](uint8_t c) { return static_cast<uint8_t>(255 - c); });
}

void TskEffectBmp::Grayscale()
{
    for (int y = 0; y < FHeight; ++y) {
        uint8_t* p = Row(y);
        for (int x = 0; x < FWidth; ++x, p += 3)
            p[0] = p[1] = p[2] = Channel(0.3 * p[2] + 0.59 * p[1] + 0.11 * p[0]);
    }
}

void TskEffectBmp::Noise(int amount)
{
    if (amount <= 0)
        return;
    std::uniform_int_distribution<int> offset(0, amount - 1);
    for (int y = 0; y < FHeight; ++y) {
        uint8_t* p = Row(y);
        for (int x = 0; x < FWidth; ++x, p += 3) {
            const int r = offset(Random) - amount / 2;
            for (int c = 0; c < 3; ++c)
                p[c] = Channel(p[c] + r);
        }
    }
}

void TskEffectBmp::SplitBlur(int amount)
{
    if (amount == 0 || FWidth < 1 || FHeight < 1)
        return;
    const int64_t a = amount;
    // The far row and column are limited to the picture.
    auto near = [a](int64_t i, int64_t) { return i - a < 0 ? i : i - a; };
    auto far = [a](int64_t i, int64_t size) { return std::clamp<int64_t>(i + a >= size ? size - i : i + a, 0, size - 1); };
    auto nearClamped = [&](int64_t i, int64_t size) { return std::clamp<int64_t>(near(i, size), 0, size - 1); };
    for (int y = 0; y < FHeight; ++y) {
        const int64_t u = nearClamped(y, FHeight), d = far(y, FHeight);
        for (int x = 0; x < FWidth; ++x) {
            const int64_t l = nearClamped(x, FWidth), r = far(x, FWidth);
            uint8_t* p = Row(y) + x * 3;
            for (int c = 0; c < 3; ++c) {
                const int sum = Row(static_cast<int>(u))[l * 3 + c] + Row(static_cast<int>(d))[l * 3 + c] +
                                Row(static_cast<int>(u))[r * 3 + c] + Row(static_cast<int>(d))[r * 3 + c];
                p[c] = static_cast<uint8_t>(sum / 4);
            }
        }
    }
}

void TskEffectBmp::MorphGradient(const TskEffectBmp& other, double k)
{
    if (FWidth >= FHeight)
        MorphHGradient(other, k);
    else
        MorphVGradient(other, k);
}

void TskEffectBmp::MorphHGradient(const TskEffectBmp& other, double k)
{
    if (!SameSize(other) || FWidth < 1)
        return;
    const int w = FWidth, b = std::clamp(Near(w * k), -w, 2 * w);
    const int c = (w - b) / 2;
    const double s = c == 0 ? 1.0 : 1.0 / c;
    const int h = std::max(0, w / 2 - b / 2), g = std::min(w - 1, w / 2 + b / 2);
    for (int y = 0; y < FHeight; ++y) {
        uint8_t* row = Row(y);
        const uint8_t* o = other.Row(y);
        for (int x = h; x <= g; ++x)
            std::copy_n(o + x * 3, 3, row + x * 3);
        double m = 0;
        for (int x = std::min(h, w - 1); x >= 0; --x, m = std::min(1.0, m + s))
            Mix(row + x * 3, o + x * 3, m);
        m = 0;
        for (int x = std::max(g, 0); x < w; ++x, m = std::min(1.0, m + s))
            Mix(row + x * 3, o + x * 3, m);
    }
}

void TskEffectBmp::MorphVGradient(const TskEffectBmp& other, double k)
{
    if (!SameSize(other) || FHeight < 1)
        return;
    const int ht = FHeight, b = std::clamp(Near(ht * k), -ht, 2 * ht);
    const int c = (ht - 1 - b) / 2;
    const double s = c == 0 ? 0.0 : 1.0 / c;
    const int h = std::max(0, ht / 2 - b / 2), g = std::min(ht - 1, ht / 2 + b / 2);
    for (int y = h; y <= g; ++y)
        std::copy_n(other.Row(y), FWidth * 3, Row(y));
    auto mixRow = [&](int y, double m) {
        for (int x = 0; x < FWidth; ++x)
            Mix(Row(y) + x * 3, other.Row(y) + x * 3, m);
    };
    double m = 0;
    for (int y = std::min(h, ht - 1); y >= 0; --y, m = std::min(1.0, m + s))
        mixRow(y, m);
    m = 0;
    for (int y = std::max(g, 0); y < ht; ++y, m = std::min(1.0, m + s))
        mixRow(y, m);
}

void TskEffectBmp::MorphLeftGradient(const TskEffectBmp& other, double k)
{
    if (!SameSize(other) || FWidth < 1)
        return;
    const int a = std::min(std::max(Near(FWidth * k), 1), FWidth - 1);
    const double s = a == 0 ? 1.0 : 1.0 / a;
    for (int y = 0; y < FHeight; ++y) {
        double m = 0;
        for (int x = 0; x <= a; ++x, m = std::min(1.0, m + s))
            Mix(Row(y) + x * 3, other.Row(y) + x * 3, m);
    }
}

void TskEffectBmp::MorphRightGradient(const TskEffectBmp& other, double k)
{
    if (!SameSize(other) || FWidth < 1)
        return;
    const int a = std::min(std::max(FWidth - Near(FWidth * k), 0), FWidth - 1);
    const double s = FWidth - a <= 0 ? 1.0 : 1.0 / (FWidth - a);
    for (int y = 0; y < FHeight; ++y) {
        double m = 0;
        for (int x = FWidth - 1; x >= a; --x, m = std::min(1.0, m + s))
            Mix(Row(y) + x * 3, other.Row(y) + x * 3, m);
    }
}

void TskEffectBmp::MorphLeftSlide(const TskEffectBmp& other, double k)
{
    if (!SameSize(other) || FWidth < 1)
        return;
    const int b = std::min(std::max(Near(FWidth * k), 1), FWidth - 1);
    for (int y = 0; y < FHeight; ++y) {
        int j = std::max(0, FWidth - 1 - b);
        for (int i = 0; i < b; ++i) {
            j = std::min(j + 1, FWidth - 1);
            std::copy_n(other.Row(y) + j * 3, 3, Row(y) + i * 3);
        }
    }
}

void TskEffectBmp::MorphRightSlide(const TskEffectBmp& other, double k)
{
    if (!SameSize(other) || FWidth < 1)
        return;
    const int b = std::min(std::max(Near(FWidth * k), 1), FWidth - 1);
    for (int y = 0; y < FHeight; ++y) {
        int j = std::max(0, FWidth - 1 - b);
        for (int i = 0; i < b; ++i) {
            j = std::min(j + 1, FWidth - 1);
            std::copy_n(other.Row(y) + i * 3, 3, Row(y) + j * 3);
        }
    }
}

void TskEffectBmp::MorphPush(const TskEffectBmp& other, double k)
{
    if (!SameSize(other) || FWidth < 1)
        return;
    const int a = std::min(std::max(Near(FWidth * k), 0), FWidth - 1);
    for (int y = 0; y < FHeight; ++y) {
        uint8_t* row = Row(y);
        for (int x = FWidth - 1; x >= a; --x)
            std::copy_n(row + std::max(0, x - a - 1) * 3, 3, row + x * 3);
        int j = std::max(0, FWidth - a - 1);
        for (int x = 0; x <= a; ++x) {
            std::copy_n(other.Row(y) + j * 3, 3, row + x * 3);
            j = std::min(j + 1, FWidth - 1);
        }
    }
}

void TskEffectBmp::MorphBy(TMorphKind kind, const TskEffectBmp& other, double k)
{
    switch (kind) {
    case TMorphKind::mkDefault: Morph(other, k); break;
    case TMorphKind::mkGradient: MorphGradient(other, k); break;
    case TMorphKind::mkLeftGradient: MorphLeftGradient(other, k); break;
    case TMorphKind::mkRightGradient: MorphRightGradient(other, k); break;
    case TMorphKind::mkLeftSlide: MorphLeftSlide(other, k); break;
    case TMorphKind::mkRightSlide: MorphRightSlide(other, k); break;
    case TMorphKind::mkPush: MorphPush(other, k); break;
    }
}

void TskEffectBmp::ApplyInactiveEffect(TImageEffect effect)
{
    switch (effect) {
    case TImageEffect::ieBrightness: Brightness(0.5); break;
    case TImageEffect::ieDarkness: Darkness(0.3); break;
    case TImageEffect::ieGrayScale: Grayscale(); break;
    case TImageEffect::ieNoise: Noise(50); break;
    case TImageEffect::ieSplitBlur: SplitBlur(1); break;
    case TImageEffect::ieInvert: Invert(); break;
    }
}
