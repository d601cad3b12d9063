#include <gtest/gtest.h>

#include "skin/core/SkMaskRegion.h"
#include "tests/skin/SkinTestUtil.h"

using namespace skintest;

namespace {

int32_t Int32At(const std::string& s, size_t at)
{
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(static_cast<unsigned char>(s[at + i])) << (8 * i);
    return static_cast<int32_t>(v);
}

}  // namespace

TEST(MaskRegion, BlackRunsBecomeRectangles)
{
    EXPECT_EQ(BuildMaskRuns(MaskFromText({"#.#"}), 0, 0), (std::vector<TRect>{{0, 0, 1, 1}, {2, 0, 3, 1}}));
    const TSkBitmap mask = MaskFromText({"..##.", "#####", "....."});
    EXPECT_EQ(BuildMaskRuns(mask, 10, 20), (std::vector<TRect>{{12, 20, 14, 21}, {10, 21, 15, 22}}));

    TSkBitmap almost(2, 1, SkRgb(0, 0, 0));
    almost.SetPixel(1, 0, SkRgb(0, 0, 1));           // not pure black: outside
    almost.SetPixel(0, 0, 0x00000000u);              // alpha does not matter
    EXPECT_EQ(BuildMaskRuns(almost, 0, 0), (std::vector<TRect>{{0, 0, 1, 1}}));
}

TEST(MaskRegion, RegionDataHasTheHeaderAndEveryRun)
{
    EXPECT_TRUE(BuildMaskRegionData(TSkBitmap(), 0, 0).empty());
    const std::string data = BuildMaskRegionData(MaskFromText({"#.#", "..."}), 3, 4);
    ASSERT_EQ(data.size(), 32u + 2 * 16);
    EXPECT_EQ(Int32At(data, 0), 32);
    EXPECT_EQ(Int32At(data, 4), 1);
    EXPECT_EQ(Int32At(data, 8), 2);
    EXPECT_EQ(Int32At(data, 12), 0);
    EXPECT_EQ((std::vector<int32_t>{Int32At(data, 16), Int32At(data, 20), Int32At(data, 24), Int32At(data, 28)}),
              (std::vector<int32_t>{3, 4, 6, 6}));
    EXPECT_EQ(Int32At(data, 48), 5);   // second run's left
}

TEST(MaskRegion, RunTableHasNoFixedLimit)
{
    TSkBitmap stripes(200, 200, SkRgb(255, 255, 255));
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; x += 2)
            stripes.SetPixel(x, y, SkRgb(0, 0, 0));
    const auto runs = BuildMaskRuns(stripes, 0, 0);
    ASSERT_EQ(runs.size(), 20000u);
    EXPECT_EQ(runs.back(), (TRect{198, 199, 199, 200}));
    EXPECT_EQ(BuildMaskRegionData(stripes, 0, 0).size(), 32u + 16u * 20000);
}

TEST(MaskRegion, ComposedFrameRegion)
{
    // A 6x6 mask with its outer corner pixels cut off.
    const TSkBitmap mask = MaskFromText({".####.", "######", "######", "######", "######", ".####."});
    const TSkinFrame frame{{2, 2}, {4, 2}, {2, 4}, {4, 4}, {2, 2, 4, 4}};
    const TSkinFrame grown{{2, 2}, {8, 2}, {2, 6}, {8, 6}, {2, 2, 8, 6}};
    const auto rects = ComposeSkinRegionRects(mask, {}, frame, 10, grown);
    ASSERT_TRUE(rects.has_value());
    auto inside = [&](int x, int y) {
        for (const TRect& r : *rects)
            if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom)
                return true;
        return false;
    };
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool corner = (x == 0 || x == 9) && (y == 0 || y == 7);
            EXPECT_EQ(inside(x, y), !corner) << x << "," << y;
        }

    TSkinFrame crossed = grown;
    crossed.RightTop.X = 1;
    EXPECT_FALSE(ComposeSkinRegionRects(mask, {}, frame, 10, crossed).has_value());
    EXPECT_FALSE(ComposeSkinRegionRects(TSkBitmap(), {}, frame, 10, grown).has_value());
}
