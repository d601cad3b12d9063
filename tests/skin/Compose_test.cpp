#include <gtest/gtest.h>

#include "skin/core/SkCompose.h"
#include "tests/skin/SkinTestUtil.h"

using namespace skintest;

namespace {

// A 6x6 skin: 2-pixel corners and edges, a 2x2 centre.
const TSkinFrame kFrame{{2, 2}, {4, 2}, {2, 4}, {4, 4}, {2, 2, 4, 4}};
const TRect kR{0, 0, 6, 6};

TSkinFrame FrameFor(int w, int h)
{
    return {{2, 2}, {w - 2, 2}, {2, h - 2}, {w - 2, h - 2}, {2, 2, w - 2, h - 2}};
}

// Where a tiled composition takes target coordinate v from, along one axis of length n.
int TiledSource(int v, int n)
{
    if (v < 2)
        return v;
    if (v >= n - 2)
        return v - n + 6;
    return 2 + (v - 2) % 2;
}

}  // namespace

TEST(ComposeSkinPicture, EqualAndLargerSizesPixelByPixel)
{
    const TSkBitmap source = Coordinates(6, 6);
    for (int w : {6, 9, 12})
        for (int h : {6, 7}) {
            TSkBitmap target;
            ComposeSkinPictureTiled(source, kR, kFrame, target, w, h, FrameFor(w, h), true);
            ASSERT_EQ(target.Width(), w);
            ASSERT_EQ(target.Height(), h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(target.Pixel(x, y), At(TiledSource(x, w), TiledSource(y, h))) << w << "x" << h << " at " << x << "," << y;
        }
}

TEST(ComposeSkinPicture, StretchedEdgesAndUnfilledCentre)
{
    const TSkBitmap source = Coordinates(6, 6);
    TSkBitmap target;
    ComposeSkinPicture(source, kR, kFrame, target, 10, 10, FrameFor(10, 10), {true, true, true, true}, false);
    // Top edge: 2 source columns stretched over 6 target columns.
    for (int x = 2; x < 8; ++x) {
        EXPECT_EQ(target.Pixel(x, 0), At(2 + (x - 2) * 2 / 6, 0));
        EXPECT_EQ(target.Pixel(0, x), At(0, 2 + (x - 2) * 2 / 6));
    }
    EXPECT_EQ(target.Pixel(9, 9), At(5, 5));
    EXPECT_EQ(target.Pixel(5, 5), 0u);   // centre left blank
}

TEST(ComposeSkinPicture, SmallerThanTheCornersDrawsNoEdgeAndNoMirror)
{
    const TSkBitmap source = Coordinates(6, 6);
    TSkBitmap target;
    ComposeSkinPicture(source, kR, kFrame, target, 3, 3, FrameFor(3, 3), {true, true, true, true}, true);
    // Only the four corners land, in their order; nothing is drawn mirrored.
    const TSkPixel expected[3][3] = {{At(0, 0), At(4, 0), At(5, 0)},
                                     {At(0, 4), At(4, 4), At(5, 4)},
                                     {At(0, 5), At(4, 5), At(5, 5)}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(target.Pixel(x, y), expected[y][x]) << x << "," << y;
}

TEST(ComposeSkinPicture, SkinRectangleInsideABiggerPicture)
{
    const TSkBitmap source = Coordinates(20, 20);
    TSkBitmap target;
    ComposeSkinPictureTiled(source, {10, 5, 16, 11}, kFrame, target, 6, 6, FrameFor(6, 6), true);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(target.Pixel(x, y), At(10 + x, 5 + y));
}

TEST(ComposeSkinPicture, DegenerateSkinsLeaveTheTargetBlank)
{
    const TSkBitmap source = Coordinates(6, 6);
    TSkBitmap target;
    TSkinFrame flat = kFrame;
    flat.RightBottom.X = flat.LeftTop.X;
    ComposeSkinPictureTiled(source, kR, flat, target, 8, 8, FrameFor(8, 8), true);
    EXPECT_EQ(target, TSkBitmap(8, 8));
    ComposeSkinPictureTiled(TSkBitmap(), kR, kFrame, target, 8, 8, FrameFor(8, 8), true);
    EXPECT_EQ(target, TSkBitmap(8, 8));

    // A zero-wide top edge and an empty client rectangle are skipped, the rest is drawn.
    TSkinFrame thin = kFrame;
    thin.RightTop.X = thin.LeftTop.X;
    thin.ClientRect = {2, 2, 2, 2};
    ComposeSkinPictureTiled(source, kR, thin, target, 8, 8, FrameFor(8, 8), true);
    EXPECT_EQ(target.Pixel(0, 0), At(0, 0));
    EXPECT_EQ(target.Pixel(4, 0), 0u);
}

TEST(ComposeHVSkinPicture, TilesTheMiddle)
{
    TSkBitmap source = Coordinates(16, 2);   // 3 + middle of 10 + 3
    TSkBitmap target;
    ComposeHSkinPicture(3, 3, target, source, {0, 0, 16, 2}, 30);
    ASSERT_EQ(target.Width(), 30);
    ASSERT_EQ(target.Height(), 2);
    for (int x = 0; x < 30; ++x) {
        const int sx = x < 3 ? x : x >= 27 ? x - 14 : 3 + (x - 3) % 10;
        EXPECT_EQ(target.Pixel(x, 1), At(sx, 1)) << x;
    }
    // Tiles of 10, 10 and 4: the third tile starts at 23 with source column 3.
    EXPECT_EQ(target.Pixel(23, 0), At(3, 0));
    EXPECT_EQ(target.Pixel(26, 0), At(6, 0));

    TSkBitmap vsource = Coordinates(2, 7);
    ComposeVSkinPicture(2, 2, target, vsource, {0, 0, 2, 7}, 9);
    for (int y = 0; y < 9; ++y) {
        const int sy = y < 2 ? y : y >= 7 ? y - 2 : 2 + (y - 2) % 3;
        EXPECT_EQ(target.Pixel(0, y), At(0, sy)) << y;
    }
    ComposeHSkinPicture(3, 3, target, Coordinates(6, 1), {0, 0, 6, 1}, 20);   // no middle: edges only
    EXPECT_EQ(target.Pixel(10, 0), 0u);
}

TEST(ComposeSkinBorders, BuildsFourBordersOfTheNewSize)
{
    const TSkBitmap source = Coordinates(6, 6);
    const TSkinBorders b = ComposeSkinBorders(source, kFrame, 9, FrameFor(9, 8));
    ASSERT_EQ(b.Top.Width(), 9);
    ASSERT_EQ(b.Top.Height(), 2);
    ASSERT_EQ(b.Bottom.Height(), 2);
    ASSERT_EQ(b.Left.Width(), 2);
    ASSERT_EQ(b.Left.Height(), 4);
    ASSERT_EQ(b.Right.Width(), 2);
    for (int x = 0; x < 9; ++x) {
        EXPECT_EQ(b.Top.Pixel(x, 1), At(TiledSource(x, 9), 1)) << x;
        EXPECT_EQ(b.Bottom.Pixel(x, 0), At(TiledSource(x, 9), 4)) << x;
    }
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(b.Left.Pixel(0, y), At(0, 2 + y % 2)) << y;
        EXPECT_EQ(b.Right.Pixel(1, y), At(5, 2 + y % 2)) << y;
    }

    const TSkinBorders s = ComposeSkinBordersStretched(source, kR, kFrame, 10, 10, FrameFor(10, 10),
                                                       {false, false, true, false});
    ASSERT_EQ(s.Top.Width(), 10);
    ASSERT_EQ(s.Bottom.Height(), 2);
    EXPECT_EQ(s.Top.Pixel(4, 0), At(2 + 2 * 2 / 6, 0));   // stretched
    EXPECT_EQ(s.Bottom.Pixel(4, 0), At(2 + 4 % 2, 4));     // tiled from 0
    EXPECT_EQ(s.Bottom.Pixel(9, 1), At(5, 5));             // corner drawn over the tiles

    TSkinFrame noEdge = kFrame;
    noEdge.RightTop.X = noEdge.LeftTop.X;
    EXPECT_TRUE(ComposeSkinBorders(source, noEdge, 9, FrameFor(9, 8)).Top.Empty());
}

TEST(ComposeSkinPicture, AbsurdGeometryCostsNoMoreThanTheTarget)
{
    const TSkBitmap source = Coordinates(6, 6);
    TSkBitmap target;
    const int far = 1000000000;
    const TSkinFrame huge{{-far, 2}, {far, 2}, {-far, 4}, {far, 4}, {-far, -far, far, far}};
    ComposeSkinPictureTiled(source, kR, kFrame, target, 5, 5, huge, true);
    EXPECT_EQ(target.Pixel(4, 4), At(2 + (4 + far) % 2, 2 + (4 + far) % 2));   // the centre's tiles keep their phase
    const TSkinBorders b = ComposeSkinBorders(source, {{2, 2}, {4, 2}, {2, 4}, {4, 4}, {far, 2, 4, 4}}, 10, FrameFor(10, 10));
    EXPECT_TRUE(b.Left.Empty());
    // A one-dimensional picture as tall (wide) as any skin may say stays within the budget.
    ComposeHSkinPicture(2, 2, target, source, {0, 0, 6, far}, 1000);
    EXPECT_TRUE(target.Empty());
    ComposeVSkinPicture(2, 2, target, source, {0, 0, far, 6}, 1000);
    EXPECT_TRUE(target.Empty());
}
