#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <cstdint>
#include <random>
#include <string>

#include "framework/rtl/FileUtils.h"
#include "skin/core/SkCompose.h"
#include "tests/skin/fuzz/GeometryInput.h"
#include "tests/skin/SkinTestUtil.h"

// Geometry near the ends of int reaches every composition: the sanitizer tree fails on
// any signed overflow, and no routine may touch a pixel outside a picture; in every tree
// each composed picture has the asked size and only the source's pixels.
TEST(SkinGeometry, ExtremeValuesInEveryCompositionAndReader)
{
    const int32_t extremes[] = {INT_MIN, INT_MIN + 1, -65537, -1, 0, 1, 2, 5, 16, 65537, INT_MAX - 1, INT_MAX};
    std::mt19937 random(2027);
    for (int run = 0; run < 300; ++run) {
        std::string bytes;
        for (int i = 0; i < 64; ++i) {
            const auto v = static_cast<uint32_t>(
                run % 3 == 0 ? extremes[random() % std::size(extremes)] : static_cast<int32_t>(random()));
            for (int b = 3; b >= 0; --b)
                bytes.push_back(static_cast<char>((v >> (8 * b)) & 255));
        }
        EXPECT_TRUE(RunGeometryInput(bytes)) << "run " << run;
    }
    EXPECT_TRUE(RunGeometryInput(""));
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(VORPEN_SKIN_FUZZ_CORPUS).parent_path() / "geometry-corpus"))
        EXPECT_TRUE(RunGeometryInput(ReadFileBytes(entry.path().string()))) << entry.path();
    EXPECT_TRUE(RunGeometryInput("2147483647,2147483647,-2147483648,9999999999999999999"));
}

TEST(SkinGeometry, FarCoordinatesComposeLikeClampedOnes)
{
    const TSkBitmap source = skintest::Coordinates(12, 10);
    const TSkinFrame frame{{4, 4}, {8, 4}, {4, 6}, {8, 6}, {3, 3, 9, 7}};
    TSkinFrame far = frame;
    far.RightTop = {INT_MAX, 4};
    far.RightBottom = {INT_MAX, 6};
    TSkBitmap a, b;
    ComposeSkinPicture(source, {0, 0, 12, 10}, frame, a, 20, 14, far, {}, true);
    far.RightTop.X = far.RightBottom.X = 2 * 32768;
    ComposeSkinPicture(source, {0, 0, 12, 10}, frame, b, 20, 14, far, {}, true);
    EXPECT_EQ(a, b);
}
