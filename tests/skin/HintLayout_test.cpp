#include <gtest/gtest.h>

#include "skin/core/SkHintLayout.h"
#include "skin/core/SkinData.h"

namespace {

TskDataSkinHintWindow OurHint()
{
    TskDataSkinHintWindow r;
    r.WindowPictureIndex = 3;
    r.LTPoint = {13, 9};
    r.RTPoint = {37, 10};
    r.LBPoint = {3, 17};
    r.RBPoint = {26, 18};
    r.ClRect = {3, 8, 40, 20};
    return r;
}

}  // namespace

TEST(SkinHintLayout, SizeFollowsTheTextAndNeverShrinksBelowThePicture)
{
    const TskDataSkinHintWindow r = OurHint();
    const TSkHintGeometry g = HintGeometry(100, 24, &r, 42, 27);
    EXPECT_EQ(g.Width, 105);
    EXPECT_EQ(g.Height, 39);
    EXPECT_EQ(g.Frame.ClientRect, (TRect{3, 8, 103, 32}));
    EXPECT_EQ(g.Frame.RightTop, (TPoint{100, 10}));
    EXPECT_EQ(g.Frame.LeftBottom, (TPoint{3, 29}));
    EXPECT_EQ(g.Frame.RightBottom, (TPoint{89, 30}));
    const TSkHintGeometry small = HintGeometry(6, 4, &r, 42, 27);
    EXPECT_EQ(small.Width, 42);
    EXPECT_EQ(small.Height, 27);
    EXPECT_EQ(small.Frame.ClientRect, r.ClRect);
    const TSkHintGeometry plain = HintGeometry(100, 24, nullptr, 0, 0);
    EXPECT_EQ(plain.Width, 104);
    EXPECT_EQ(plain.Height, 28);
}

TEST(SkinHintLayout, MovedBackFromTheScreenEdges)
{
    EXPECT_EQ(PlaceHint(10, 20, 100, 30, 800, 600), (TRect{10, 20, 110, 50}));
    EXPECT_EQ(PlaceHint(750, 20, 100, 30, 800, 600), (TRect{648, 20, 748, 50}));
    EXPECT_EQ(PlaceHint(10, 590, 100, 30, 800, 600), (TRect{10, 558, 110, 588}));
}

TEST(SkinHintLayout, CursorMarginReadsNoMoreThanTheMaskHolds)
{
    // A 32 x 64 cursor (AND mask above the XOR mask, rows bottom-up of 4 bytes): the AND
    // square is all 0xFF, the XOR square has its lowest set row 20 rows from its start.
    std::string bits(4 * 64, '\0');
    for (size_t i = 4 * 32; i < bits.size(); ++i)
        bits[i] = static_cast<char>(0xFF);
    bits[4 * 20] = 1;
    EXPECT_EQ(CursorMaskMargin(bits, 32, 64, 0), 11);   // (128 - 80 - 1) / 4
    EXPECT_EQ(CursorMaskMargin(bits, 32, 64, 5), 6);
    // A mask lower than wide: only its own rows are read.
    const std::string flat(4 * 8, static_cast<char>(0xFF));
    EXPECT_EQ(CursorMaskMargin(flat, 32, 8, 0), 0);
    EXPECT_EQ(CursorMaskMargin(flat.substr(0, 8), 32, 8, 0), -1);
    EXPECT_EQ(CursorMaskMargin("", 0, 0, 0), -1);
}
