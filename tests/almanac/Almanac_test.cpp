// The almanac of a date against facts published widely and checked by hand from the
// traditional rules.
#include <gtest/gtest.h>

#include "almanac/core/Almanac.h"
#include "calendar/core/LunarCalendar.h"
#include "calendar/core/LunarCalendarNames.h"

namespace {

std::string Pillar(int index) { return StemBranchNames[index]; }

struct KnownDay {
    int y, m, d;
    int weekday;
    const char *year, *month, *day;   // stem-branch pillars
    int cnMonth, cnDay;
    const char* officer;
};

}  // namespace

TEST(Almanac, KnownDaysHaveTheirPillarsLunarDateAndOfficer) {
    const KnownDay days[] = {
        {1949, 10, 1, 6, "己丑", "癸酉", "甲子", 8, 10, "平"},   // 酉 month, 子 day: three after 建
        {2000, 1, 1, 6, "己卯", "丙子", "戊午", 11, 25, "破"},   // 午 clashes with the 子 month
        {2026, 2, 17, 2, "丙午", "庚寅", "壬戌", 1, 1, "成"},    // the Spring Festival of 2026
        {2025, 1, 5, 0, "甲辰", "丁丑", "甲戌", 12, 6, "收"},    // 小寒 opens the 丑 month
        {2025, 2, 2, 0, "甲辰", "丁丑", "壬寅", 1, 5, "除"},     // the day before 立春: still the 甲辰 year
        {2025, 2, 3, 1, "乙巳", "戊寅", "癸卯", 1, 6, "除"},     // 立春 repeats the day before's officer
    };
    for (const KnownDay& k : days) {
        SCOPED_TRACE(std::to_string(k.y) + "-" + std::to_string(k.m) + "-" + std::to_string(k.d));
        TAlmanacDay a;
        ASSERT_TRUE(ComputeAlmanacDay(k.y, k.m, k.d, a));
        EXPECT_EQ(a.Weekday, k.weekday);
        EXPECT_EQ(Pillar(a.YearPillar) + Pillar(a.MonthPillar) + Pillar(a.DayPillar),
                  std::string(k.year) + k.month + k.day);
        EXPECT_EQ(a.CnMonth * 100 + a.CnDay, k.cnMonth * 100 + k.cnDay);
        EXPECT_FALSE(a.Leap);
        const std::vector<std::string> lines = AlmanacLines(k.y, k.m, k.d);
        EXPECT_EQ(lines[6], std::string("建除十二神：") + k.officer + "日");
    }
}

TEST(Almanac, LinesOfTheFirstDayOfTheRepublicsCalendarYear) {
    const std::vector<std::string> expected = {
        "公历：1949年10月1日 星期六",
        "农历：己丑年（牛年）八月初十",
        "干支：己丑年 癸酉月 甲子日",
        "节气：下一节气 寒露（10月8日）",
        "五行：海中金",
        "值神：司命（黄道日）",
        "建除十二神：平日",
        "冲煞：冲马（戊午） 煞南",
        "彭祖百忌：甲不开仓财物耗散 子不问卜自惹祸殃",
        "吉神方位：喜神东北 福神东南 财神东北",
        "宜：修饰垣墙 平治道涂 涂泥",
        "忌：嫁娶 开渠 栽种 出行",
    };
    EXPECT_EQ(AlmanacLines(1949, 10, 1), expected);
    std::string joined = expected[0];
    for (size_t i = 1; i < expected.size(); ++i) joined += "/" + expected[i];
    EXPECT_EQ(AlmanacText(1949, 10, 1), joined);
}

TEST(Almanac, SolarTermDayNamesTheTermAndTheNextOne) {
    EXPECT_EQ(AlmanacLines(2024, 12, 6)[3], "节气：今日大雪，下一节气 冬至（12月21日）");
    EXPECT_EQ(AlmanacLines(2024, 12, 31)[3], "节气：下一节气 小寒（1月5日）");   // the next term lies in the next year
}

TEST(Almanac, ClashTakesTheOppositeBranchUnderTheOvercomeStem) {
    struct { int y, m, d; const char* line; } cases[] = {
        {1949, 10, 1, "冲煞：冲马（戊午） 煞南"},     // 甲子
        {2000, 1, 1, "冲煞：冲鼠（壬子） 煞北"},      // 戊午
        {2026, 2, 17, "冲煞：冲龙（丙辰） 煞北"},     // 壬戌
        {2025, 2, 3, "冲煞：冲鸡（丁酉） 煞西"},      // 癸卯
    };
    for (const auto& c : cases) EXPECT_EQ(AlmanacLines(c.y, c.m, c.d)[7], c.line);
}

// Over two centuries: each of the twelve month-opening terms moves the month branch on by
// one, keeps the officer of the day before, and the day whose branch is the month's is 建.
TEST(Almanac, MonthsOpenOnTheirTermsAndOfficersRepeatThere) {
    for (int year = 1901; year <= 2100; ++year) {
        for (int index = 0; index < 24; index += 2) {
            int m, d, h, mi;
            ASSERT_TRUE(GetSolarTermDate(year, index, m, d, h, mi));
            int py = year, pm = m, pd = d - 1;
            if (pd == 0) {
                pm = m - 1;
                pd = DaysInMonth(year, pm);
            }
            TAlmanacDay on, before;
            ASSERT_TRUE(ComputeAlmanacDay(year, m, d, on));
            ASSERT_TRUE(ComputeAlmanacDay(py, pm, pd, before));
            ASSERT_EQ(on.MonthBranch, (index / 2 + 1) % 12) << year << " term " << index;
            ASSERT_EQ(before.MonthBranch, (on.MonthBranch + 11) % 12) << year << " term " << index;
            ASSERT_EQ(on.Officer, before.Officer) << year << " term " << index;
            ASSERT_EQ(on.Officer == 0, on.DayPillar % 12 == on.MonthBranch);
        }
    }
}

TEST(Almanac, DatesItCannotHoldGiveOneLine) {
    for (auto [y, m, d] : {std::tuple{2026, 2, 29}, {2101, 1, 1}, {0, 1, 1}, {1582, 10, 10}, {2026, 13, 1}, {2026, 4, 31}}) {
        const std::vector<std::string> lines = AlmanacLines(y, m, d);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find("不在黄历的范围内"), std::string::npos);
        TAlmanacDay a;
        EXPECT_FALSE(ComputeAlmanacDay(y, m, d, a));
    }
    EXPECT_EQ(AlmanacLines(2100, 12, 31).size(), 12u);
    EXPECT_EQ(AlmanacLines(1, 1, 1).size(), 12u);
}

// Under the Julian calendar 小寒 falls in the December before its year: that December day
// opens the 丑 month, and the next term of a January day is the coming 大寒.
TEST(Almanac, JulianYearsWhoseSmallColdFallsInDecember) {
    for (int year = 2; year <= 1582; ++year) {
        for (auto [m, d] : {std::pair{12, 24}, {12, 31}, {1, 1}, {1, 8}, {1, 15}}) {
            const int y = m == 12 ? year - 1 : year;
            TAlmanacDay a;
            ASSERT_TRUE(ComputeAlmanacDay(y, m, d, a));
            ASSERT_EQ(a.MonthPillar, MonthStemBranch(y, m, d)) << y << "-" << m << "-" << d;
            const int nextYear = a.NextTermMonth < m ? y + 1 : y;
            const int gap = DateToDayNumber(nextYear, a.NextTermMonth, a.NextTermDay) - DateToDayNumber(y, m, d);
            ASSERT_TRUE(gap >= 1 && gap <= 16) << y << "-" << m << "-" << d << " next term in " << gap << " days";
        }
    }
    EXPECT_EQ(AlmanacLines(837, 1, 1)[2], "干支：丙辰年 辛丑月 " + Pillar(DayStemBranch(837, 1, 1)) + "日");
}
