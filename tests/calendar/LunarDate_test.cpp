#include "calendar/core/LunarDate.h"

#include "calendar/core/LunarCalendar.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// The organizer's former table converter for lunar 1921 .. 2020 (day 1 = 1921-02-08),
// kept as an independent oracle for the engine.
constexpr int YearMasks[100] = {
    0xA4B, 0x5164B, 0x6A5, 0x6D4, 0x415B5, 0x2B6, 0x957, 0x2092F, 0x497, 0x60C96,
    0xD4A, 0xEA5, 0x50DA9, 0x5AD, 0x2B6, 0x3126E, 0x92E, 0x7192D, 0xC95, 0xD4A,
    0x61B4A, 0xB55, 0x56A, 0x4155B, 0x25D, 0x92D, 0x2192B, 0xA95, 0x71695, 0x6CA,
    0xB55, 0x50AB5, 0x4DA, 0xA5B, 0x30A57, 0x52B, 0x8152A, 0xE95, 0x6AA, 0x615AA,
    0xAB5, 0x4B6, 0x414AE, 0xA57, 0x526, 0x31D26, 0xD95, 0x70B55, 0x56A, 0x96D,
    0x5095D, 0x4AD, 0xA4D, 0x41A4D, 0xD25, 0x81AA5, 0xB54, 0xB6A, 0x612DA, 0x95B,
    0x49B, 0x41497, 0xA4B, 0xA164B, 0x6A5, 0x6D4, 0x615B4, 0xAB6, 0x957, 0x5092F,
    0x497, 0x64B, 0x30D4A, 0xEA5, 0x80D65, 0x5AC, 0xAB6, 0x5126D, 0x92E, 0xC96,
    0x41A95, 0xD4A, 0xDA5, 0x20B55, 0x56A, 0x7155B, 0x25D, 0x92D, 0x5192B, 0xA95,
    0xB4A, 0x416AA, 0xAD5, 0x90AB5, 0x4BA, 0xA5B, 0x60A57, 0x52B, 0xA93, 0x40E95};
constexpr int DaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

bool TableSolarToLunar(int y, int m, int d, bool& leap, int& lunarDay, int& lunarMonth, int& lunarYear)
{
    int c = 365 * (y - 1921) + (y - 1921) / 4 + d + DaysBeforeMonth[m - 1] - 38;
    if (y % 4 == 0 && m > 2)
        ++c;
    if (c < 1 || c > 36529)
        return false;
    for (int row = 0; row < 100; ++row) {
        const int mask = YearMasks[row];
        const int months = mask > 4094 ? 13 : 12;
        for (int q = 1; q <= months; ++q) {
            const int length = 29 + ((mask >> (months - q)) & 1);
            if (c > length) {
                c -= length;
                continue;
            }
            const int leapAfter = months == 13 ? mask / 65536 : 0;
            lunarYear = 1921 + row;
            lunarDay = c;
            leap = leapAfter > 0 && q == leapAfter + 1;
            lunarMonth = leapAfter > 0 && q > leapAfter ? q - 1 : q;
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(LunarDateNames, MonthNamesBothWays)
{
    const char* names[] = {"正月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月", "十月", "十一月", "十二月"};
    for (int i = 0; i < 12; ++i) {
        char number[3] = {static_cast<char>('0' + (i + 1) / 10), static_cast<char>('0' + (i + 1) % 10), 0};
        EXPECT_EQ(LunarMonthToNumber(names[i]), number) << names[i];
    }
    // Names the month view and the memo texts write.
    EXPECT_EQ(LunarMonthToNumber("冬月"), "11");
    EXPECT_EQ(LunarMonthToNumber("腊月"), "12");
    EXPECT_EQ(LunarMonthToNumber("闰四"), "04");
    EXPECT_EQ(LunarMonthToNumber("闰四月"), "04");
    EXPECT_EQ(LunarMonthToNumber("闰冬"), "11");
    EXPECT_EQ(LunarMonthToNumber("闰腊月"), "12");
    for (const char* bad : {"", "一月", "十三月", "冬", "闰", "闰十三", "正月 ", "01", "闰闰四"})
        EXPECT_EQ(LunarMonthToNumber(bad), "") << bad;
}

TEST(LunarDateNames, DayNamesBothWays)
{
    EXPECT_EQ(LunarDayToNumber("初一"), "01");
    EXPECT_EQ(LunarDayToNumber("初十"), "10");
    EXPECT_EQ(LunarDayToNumber("十一"), "11");
    EXPECT_EQ(LunarDayToNumber("十九"), "19");
    EXPECT_EQ(LunarDayToNumber("二十"), "20");
    EXPECT_EQ(LunarDayToNumber("廿一"), "21");
    EXPECT_EQ(LunarDayToNumber("廿九"), "29");
    EXPECT_EQ(LunarDayToNumber("三十"), "30");
    for (const char* bad : {"", "廿十", "三十一", "初", "一", "卅", "初一 "})
        EXPECT_EQ(LunarDayToNumber(bad), "") << bad;
}

TEST(LunarDateConversion, EdgesOfTheFormerTableAreCoveredNow)
{
    bool leap;
    int day, month, year;
    ASSERT_TRUE(SolarToLunar(1921, 2, 8, leap, day, month, year));
    EXPECT_EQ(year * 10000 + month * 100 + day, 19210101);
    ASSERT_TRUE(SolarToLunar(1921, 2, 7, leap, day, month, year));
    EXPECT_EQ(year * 10000 + month * 100 + day, 19201230);
    ASSERT_TRUE(SolarToLunar(2021, 2, 11, leap, day, month, year));
    EXPECT_EQ(year * 10000 + month * 100 + day, 20201230);
    ASSERT_TRUE(SolarToLunar(2021, 2, 12, leap, day, month, year));
    EXPECT_EQ(year * 10000 + month * 100 + day, 20210101);
    EXPECT_FALSE(SolarToLunar(2101, 1, 1, leap, day, month, year));
    EXPECT_FALSE(SolarToLunar(-850, 12, 31, leap, day, month, year));
    EXPECT_FALSE(SolarToLunar(2023, 2, 29, leap, day, month, year));
    EXPECT_FALSE(SolarToLunar(2023, 13, 1, leap, day, month, year));
}

TEST(LunarDateConversion, LunarToSolarFindsThisYearsDate)
{
    int day = 0, month = 0, year = 0;
    ASSERT_TRUE(LunarToSolar(2024, 1, 1, false, day, month, year));
    EXPECT_EQ(year * 10000 + month * 100 + day, 20240210);
    ASSERT_TRUE(LunarToSolar(2025, 1, 1, false, day, month, year));
    EXPECT_EQ(year * 10000 + month * 100 + day, 20250129);
    ASSERT_TRUE(LunarToSolar(2025, 8, 15, false, day, month, year));
    EXPECT_EQ(year * 10000 + month * 100 + day, 20251006);
    ASSERT_TRUE(LunarToSolar(2024, 12, 29, false, day, month, year));  // 除夕 of 2025
    EXPECT_EQ(year * 10000 + month * 100 + day, 20250128);
    ASSERT_TRUE(LunarToSolar(2023, 2, 1, true, day, month, year));  // leap second month
    EXPECT_EQ(year * 10000 + month * 100 + day, 20230322);
    ASSERT_TRUE(LunarToSolar(2030, 5, 5, false, day, month, year));  // beyond the former table
    EXPECT_EQ(year * 10000 + month * 100 + day, 20300605);
}

TEST(LunarDateConversion, LunarToSolarReportsFailure)
{
    int day = -1, month = -1, year = -1;
    EXPECT_FALSE(LunarToSolar(2023, 2, 29, false, day, month, year));  // no 2023-02-29 to start from
    EXPECT_FALSE(LunarToSolar(2024, 2, 30, false, day, month, year));  // no February 30
    EXPECT_FALSE(LunarToSolar(2024, 1, 30, false, day, month, year));   // lunar 2024-01 has 29 days
    EXPECT_FALSE(LunarToSolar(2024, 12, 30, false, day, month, year));  // and so has 2024-12
    EXPECT_FALSE(LunarToSolar(2024, 4, 1, true, day, month, year));    // 2024 has no leap month
    EXPECT_FALSE(LunarToSolar(2101, 1, 1, false, day, month, year));
    EXPECT_FALSE(LunarToSolar(2024, 0, 1, false, day, month, year));
    EXPECT_FALSE(LunarToSolar(2024, 4, 31, false, day, month, year));
    EXPECT_EQ(day, -1);
    EXPECT_EQ(month, -1);
    EXPECT_EQ(year, -1);
}

// Every day the former table covered agrees with the engine.
TEST(LunarDateConversion, EngineAgreesWithTheFormerTable)
{
    int checked = 0;
    for (int y = 1921; y <= 2021; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= DaysInMonth(y, m); ++d) {
                bool tableLeap;
                int tableDay, tableMonth, tableYear;
                if (!TableSolarToLunar(y, m, d, tableLeap, tableDay, tableMonth, tableYear))
                    continue;
                bool leap;
                int day, month, year;
                ASSERT_TRUE(SolarToLunar(y, m, d, leap, day, month, year));
                ASSERT_EQ(std::make_tuple(year, month, day, leap),
                          std::make_tuple(tableYear, tableMonth, tableDay, tableLeap))
                    << y << "-" << m << "-" << d;
                ++checked;
            }
    EXPECT_EQ(checked, 36529);
}
