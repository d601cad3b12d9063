#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "skin/core/SkEffBmp.h"

namespace {

// A one-row picture from its channel values (each pixel one grey, or (b, g, r) triples).
TskEffectBmp Row(const std::vector<int>& greys)
{
    TskEffectBmp b(static_cast<int>(greys.size()), 1);
    for (size_t x = 0; x < greys.size(); ++x)
        b.SetPixel(static_cast<int>(x), 0, SkRgb(greys[x], greys[x], greys[x]));
    return b;
}

std::vector<int> Greys(const TskEffectBmp& b, int y = 0)
{
    std::vector<int> out;
    for (int x = 0; x < b.Width(); ++x)
        out.push_back(static_cast<int>(b.Pixel(x, y) & 255));
    return out;
}

TskEffectBmp Filled(int w, int h, TSkPixel c)
{
    TskEffectBmp b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, c);
    return b;
}

}  // namespace

TEST(EffectBmp, RowsAreDwordAligned)
{
    EXPECT_EQ(TskEffectBmp(5, 2).Stride(), 16);
    EXPECT_EQ(TskEffectBmp(4, 1).Stride(), 12);
    EXPECT_EQ(TskEffectBmp(3, 3).Size(), 36);
    const TSkBitmap back = TskEffectBmp(TSkBitmap(3, 2, SkRgb(1, 2, 3))).ToBitmap();
    EXPECT_EQ(back.Pixel(2, 1), SkRgb(1, 2, 3));
}

TEST(EffectBmp, PerPixelEffects)
{
    struct Case {
        const char* name;
        TSkPixel in;
        std::function<void(TskEffectBmp&)> effect;
        TSkPixel out;
    } cases[] = {
        {"grey of white", SkRgb(255, 255, 255), [](TskEffectBmp& b) { b.Grayscale(); }, SkRgb(255, 255, 255)},
        {"grey of green", SkRgb(0, 255, 0), [](TskEffectBmp& b) { b.Grayscale(); }, SkRgb(150, 150, 150)},
        {"brightness of black", SkRgb(0, 0, 0), [](TskEffectBmp& b) { b.Brightness(0.5); }, SkRgb(128, 128, 128)},
        {"brightness above 1", SkRgb(0, 0, 0), [](TskEffectBmp& b) { b.Brightness(7); }, SkRgb(255, 255, 255)},
        {"darkness", SkRgb(100, 11, 255), [](TskEffectBmp& b) { b.Darkness(0.3); }, SkRgb(70, 8, 178)},
        {"invert", SkRgb(30, 20, 10), [](TskEffectBmp& b) { b.Invert(); }, SkRgb(225, 235, 245)},
        {"no noise at 0", SkRgb(9, 9, 9), [](TskEffectBmp& b) { b.Noise(0); }, SkRgb(9, 9, 9)},
        {"no noise below 0", SkRgb(9, 9, 9), [](TskEffectBmp& b) { b.Noise(-4); }, SkRgb(9, 9, 9)},
        {"noise of 1 adds 0", SkRgb(9, 9, 9), [](TskEffectBmp& b) { b.Noise(1); }, SkRgb(9, 9, 9)},
    };
    for (const Case& c : cases) {
        TskEffectBmp b = Filled(3, 2, c.in);
        c.effect(b);
        EXPECT_EQ(b.Pixel(2, 1), c.out) << c.name;
    }
    TskEffectBmp noisy = Filled(40, 40, SkRgb(100, 100, 100));
    noisy.Noise(50);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const int v = static_cast<int>(noisy.Pixel(x, y) & 255);
            ASSERT_GE(v, 75);
            ASSERT_LE(v, 124);
            ASSERT_EQ(noisy.Pixel(x, y), SkRgb(v, v, v));   // one offset for all three channels
        }
}

TEST(EffectBmp, MorphEndsAndSizes)
{
    const TskEffectBmp other = Row({200, 100, 50});
    for (double k : {-1.0, 0.0}) {
        TskEffectBmp self = Row({0, 10, 255});
        self.Morph(other, k);
        EXPECT_EQ(Greys(self), (std::vector<int>{0, 10, 255}));
    }
    for (double k : {1.0, 3.0}) {
        TskEffectBmp self = Row({0, 10, 255});
        self.Morph(other, k);
        EXPECT_EQ(Greys(self), (std::vector<int>{200, 100, 50}));
    }
    TskEffectBmp half = Row({1, 10, 255});
    half.Morph(Row({2, 100, 50}), 0.5);
    EXPECT_EQ(Greys(half), (std::vector<int>{2, 55, 152}));   // 1.5 goes to 2, 152.5 to 152
    for (TMorphKind kind : {TMorphKind::mkDefault, TMorphKind::mkGradient, TMorphKind::mkLeftGradient,
                            TMorphKind::mkRightGradient, TMorphKind::mkLeftSlide, TMorphKind::mkRightSlide,
                            TMorphKind::mkPush}) {
        TskEffectBmp self = Row({1, 2, 3});
        self.MorphBy(kind, Row({9, 9, 9, 9}), 0.5);
        EXPECT_EQ(Greys(self), (std::vector<int>{1, 2, 3})) << static_cast<int>(kind);
    }
}

TEST(EffectBmp, GradientsAndSlidesByHand)
{
    const std::vector<int> a{0, 0, 0, 0, 0, 0, 0, 0}, b{80, 80, 80, 80, 80, 80, 80, 80};
    auto run = [&](std::function<void(TskEffectBmp&, const TskEffectBmp&)> f) {
        TskEffectBmp self = Row(a);
        f(self, Row(b));
        return Greys(self);
    };
    // b = 4, c = 2, s = 0.5, columns 2..6 from other, then m = 0, 0.5, 1 outward.
    EXPECT_EQ(run([](auto& s, auto& o) { s.MorphHGradient(o, 0.5); }), (std::vector<int>{0, 40, 80, 80, 80, 80, 80, 40}));
    // a = 4, s = 0.25: columns 0..4 with m = 0, .25, .5, .75, 1.
    EXPECT_EQ(run([](auto& s, auto& o) { s.MorphLeftGradient(o, 0.5); }), (std::vector<int>{80, 60, 40, 20, 0, 0, 0, 0}));
    EXPECT_EQ(run([](auto& s, auto& o) { s.MorphRightGradient(o, 0.5); }), (std::vector<int>{0, 0, 0, 0, 20, 40, 60, 80}));
    TskEffectBmp self = Row({0, 1, 2, 3, 4, 5, 6, 7});
    self.MorphLeftSlide(Row({10, 11, 12, 13, 14, 15, 16, 17}), 0.25);   // b = 2, j from 5: 16, 17
    EXPECT_EQ(Greys(self), (std::vector<int>{16, 17, 2, 3, 4, 5, 6, 7}));
    self = Row({0, 1, 2, 3, 4, 5, 6, 7});
    self.MorphRightSlide(Row({10, 11, 12, 13, 14, 15, 16, 17}), 0.25);
    EXPECT_EQ(Greys(self), (std::vector<int>{0, 1, 2, 3, 4, 5, 10, 11}));
    self = Row({0, 1, 2, 3, 4, 5, 6, 7});
    self.MorphPush(Row({10, 11, 12, 13, 14, 15, 16, 17}), 0.25);   // a = 2: shift right by 3, other's 15..17 in
    EXPECT_EQ(Greys(self), (std::vector<int>{15, 16, 17, 0, 1, 2, 3, 4}));
    TskEffectBmp one = Row({5});
    one.MorphLeftSlide(Row({9}), 0.7);
    EXPECT_EQ(Greys(one), std::vector<int>{5});
}

TEST(EffectBmp, BlendRectClipsToBothPictures)
{
    TskEffectBmp self = Filled(4, 3, SkRgb(0, 0, 0));
    const TskEffectBmp other = Filled(2, 2, SkRgb(200, 200, 200));
    self.BlendRect(other, {-1, -1, 10, 10}, -2, -3, 0.5);   // only where both exist
    int blended = 0;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            blended += self.Pixel(x, y) == SkRgb(100, 100, 100);
    EXPECT_EQ(blended, 4);
    EXPECT_EQ(self.Pixel(3, 2), SkRgb(100, 100, 100));
    self.BlendRect(other, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, INT32_MAX, INT32_MIN, 1);
}

TEST(EffectBmp, SplitBlurStaysInside)
{
    TskEffectBmp b(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            b.SetPixel(x, y, SkRgb(0, 0, 20 * (x + 3 * y)));
    b.SplitBlur(1);
    // (0,0): rows 0 and 1, columns 0 and 1: (0 + 20 + 60 + 80) / 4.
    EXPECT_EQ(b.Pixel(0, 0) & 255, 40u);
    TskEffectBmp edge(2, 2);
    edge.SplitBlur(5);   // far rows and columns are limited to the picture
    TskEffectBmp line(4, 1);
    line.SplitBlur(1);
    EXPECT_EQ(b.Width(), 3);
}
