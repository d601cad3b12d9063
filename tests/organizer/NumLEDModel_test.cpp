#include <gtest/gtest.h>

#include <string>

#include "organizer/core/NumLEDModel.h"

TEST(NumLEDModel, EveryDigitAndTheMinusLightTheirSegments)
{
    const struct {
        char C;
        const char* Lit;
    } table[] = {{'0', "012345"}, {'1', "12"},    {'2', "01643"},   {'3', "01623"},  {'4', "5612"}, {'5', "05623"},
                 {'6', "054326"}, {'7', "012"},   {'8', "0123456"}, {'9', "650123"}, {'-', "6"}};
    for (const auto& row : table) {
        ASSERT_NE(LedLitSegments(row.C), nullptr) << row.C;
        EXPECT_STREQ(LedLitSegments(row.C), row.Lit) << row.C;
    }
    for (char c : std::string(" +.:aA/\x7f"))
        EXPECT_EQ(LedLitSegments(c), nullptr) << int(c);
}

TEST(NumLEDModel, DefaultCellPolygonsFollowTheTable)
{
    const auto s = LedCellSegments(4, 4, 17, 29, 3);   // M = 18, N = 19
    EXPECT_EQ(s[0], (TLedSegment{{{6, 4}, {8, 6}, {16, 6}, {18, 4}, {18, 4}, {18, 4}}}));
    EXPECT_EQ(s[1], (TLedSegment{{{20, 5}, {18, 7}, {18, 15}, {20, 17}, {20, 17}, {20, 17}}}));
    EXPECT_EQ(s[2], (TLedSegment{{{20, 19}, {18, 21}, {18, 29}, {20, 31}, {20, 31}, {20, 31}}}));
    EXPECT_EQ(s[3], (TLedSegment{{{18, 32}, {16, 30}, {8, 30}, {6, 32}, {6, 32}, {6, 32}}}));
    EXPECT_EQ(s[4], (TLedSegment{{{4, 31}, {6, 29}, {6, 21}, {4, 19}, {4, 19}, {4, 19}}}));
    EXPECT_EQ(s[5], (TLedSegment{{{4, 17}, {6, 15}, {6, 7}, {4, 5}, {4, 5}, {4, 5}}}));
    EXPECT_EQ(s[6], (TLedSegment{{{7, 17}, {6, 18}, {7, 19}, {17, 19}, {18, 18}, {17, 17}}}));
}

TEST(NumLEDModel, AThinMiddleBarKeepsABody)
{
    const auto s = LedCellSegments(0, 0, 10, 9, 1);   // N = 5
    EXPECT_EQ(s[6], (TLedSegment{{{2, 4}, {2, 4}, {2, 4}, {7, 4}, {7, 4}, {7, 4}}}));
}

TEST(NumLEDModel, SizePropertiesKeepTheCellShape)
{
    TLedMetrics m;
    EXPECT_TRUE(m.SetWordHeight(30));
    EXPECT_EQ(m.WordHeight, 31);
    EXPECT_TRUE(m.SetWordHeight(29));
    EXPECT_EQ(m.WordHeight, 29);
    EXPECT_FALSE(m.SetWordHeight(11));   // below 4 x 3
    EXPECT_FALSE(m.SetThick(9));         // 18 is not less than 17
    EXPECT_FALSE(m.SetThick(8));         // 32 is more than 29
    EXPECT_TRUE(m.SetThick(5));
    EXPECT_FALSE(m.SetWordWidth(10));    // not more than 2 x 5
    EXPECT_TRUE(m.SetWordWidth(11));
    EXPECT_EQ(m.Thick, 5);
    EXPECT_EQ(m.WordWidth, 11);
}

TEST(NumLEDModel, AutoSizeFitsTheText)
{
    TLedMetrics m;
    EXPECT_EQ(m.AutoSize(2), (TPoint{46, 37}));
    EXPECT_EQ(m.AutoSize(3), (TPoint{67, 37}));
    EXPECT_EQ(m.AutoSize(0), (TPoint{4, 37}));   // 2 x OffsetX - Space
    EXPECT_EQ(m.CellLeft(0), 4);
    EXPECT_EQ(m.CellLeft(2), 46);
}
