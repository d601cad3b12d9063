#include <gtest/gtest.h>

#include "organizer/core/FloatRetract.h"

namespace {
constexpr int kScreen = 1280;
}

TEST(FloatRetract, ARetractStepDependsOnTheDistanceFromTheTopAndRightEdges)
{
    const struct {
        TFloatBounds From, To;
    } table[] = {
        {{300, 20, 214, 59}, {300, -56, 214, 59}},       // 20 px from the top: up to a 3 px strip
        {{300, 0, 214, 59}, {300, -56, 214, 59}},
        {{300, -56, 214, 59}, {300, -56, 214, 59}},      // already retracted
        {{300, 21, 214, 59}, {300, 21, 214, 59}},        // 21 px: stays
        {{1046, 25, 214, 59}, {1276, 25, 214, 59}},      // right edge 20 px inside: to a 4 px strip
        {{1056, 25, 214, 59}, {1276, 25, 214, 59}},
        {{1045, 25, 214, 59}, {1045, 25, 214, 59}},      // 21 px inside: stays
        {{1200, 10, 214, 59}, {1066, -56, 214, 59}},     // top wins, pulled inside the right edge
        {{-100, 400, 214, 59}, {-100, 400, 214, 59}},    // left and bottom edges never count
        {{300, 790, 214, 59}, {300, 790, 214, 59}},
    };
    for (const auto& row : table) {
        const TFloatBounds r = RetractBounds(row.From, kScreen);
        EXPECT_EQ(r.Left, row.To.Left) << row.From.Left << "," << row.From.Top;
        EXPECT_EQ(r.Top, row.To.Top) << row.From.Left << "," << row.From.Top;
    }
}

TEST(FloatRetract, ADockedWindowComesBackInside)
{
    EXPECT_EQ(RevealBounds({300, -56, 214, 59}, kScreen), (TFloatBounds{300, 0, 214, 59}));
    EXPECT_EQ(RevealBounds({300, 3, 214, 59}, kScreen), (TFloatBounds{300, 0, 214, 59}));
    EXPECT_EQ(RevealBounds({1276, 25, 214, 59}, kScreen), (TFloatBounds{1066, 25, 214, 59}));
    EXPECT_EQ(RevealBounds({300, 400, 214, 59}, kScreen), (TFloatBounds{300, 400, 214, 59}));
}


TEST(FloatRetract, RetractRevealRetractIsStable)
{
    for (int top = -60; top <= 40; ++top)
        for (int left = 1000; left <= 1300; left += 7) {
            const TFloatBounds b{left, top, 214, 59};
            const TFloatBounds once = RetractBounds(b, kScreen);
            EXPECT_EQ(RetractBounds(once, kScreen), once) << left << "," << top;
            if (!(once == b)) {
                ASSERT_TRUE(IsDocked(once, kScreen)) << left << "," << top;
                const TFloatBounds shown = RevealBounds(once, kScreen);
                EXPECT_GE(shown.Top, 0);
                EXPECT_LE(shown.Left + shown.Width, kScreen);
            }
        }
}
