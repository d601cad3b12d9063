#include "calendar/core/ChnCalendarUse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "calendar/core/LunarCalendar.h"
#include "calendar/core/LunarCalendarNames.h"

namespace {

TDateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

TEST(CalendarNames, LunarDayNamesRunFromChuYiToSanShi)
{
    const std::vector<std::string> expected = {
        "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
        "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
        "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十"};
    for (int day = 1; day <= 30; ++day)
        EXPECT_EQ(GetCnDayName(day), expected[day - 1]) << day;
    EXPECT_EQ(GetCnDayName(0), "");
    EXPECT_EQ(GetCnDayName(31), "");
}

TEST(CalendarNames, LookupsOutsideTheTablesAreEmpty)
{
    EXPECT_EQ(GetStemBranchName(59), "癸亥");
    EXPECT_EQ(GetStemBranchName(60), "");
    EXPECT_EQ(GetStemBranchName(-1), "");
    EXPECT_EQ(GetAnimalName(12), "");
    EXPECT_EQ(GetSolarTermName(0), "立春");
    EXPECT_EQ(GetSolarTermName(24), "");
    EXPECT_EQ(GetConstellationName(-1), "");
    EXPECT_EQ(NameAt(DayPrefixNames, 6), "");
}

TEST(CalendarNames, StemBranchIndexPairsOnlyMatchingParity)
{
    for (int i = 0; i < 60; ++i) {
        int stem, branch;
        ASSERT_TRUE(SplitStemBranch(i, stem, branch));
        EXPECT_EQ(StemBranchIndex(stem, branch), i);
        EXPECT_EQ(StemBranchNames[i], std::string(StemNames[stem]) + std::string(BranchNames[branch]));
    }
    EXPECT_EQ(StemBranchIndex(0, 1), -1);   // 甲 never pairs with 丑
    EXPECT_EQ(StemBranchIndex(10, 0), -1);
    EXPECT_EQ(StemBranchIndex(0, 12), -1);
    EXPECT_EQ(StemBranchIndex(-1, 0), -1);
    int stem = 0, branch = 0;
    EXPECT_FALSE(SplitStemBranch(60, stem, branch));
    EXPECT_EQ(stem, -1);
    EXPECT_EQ(branch, -1);
    EXPECT_FALSE(SplitStemBranch(-1, stem, branch));
}

TEST(CalendarNames, WesternSignsChangeOnTheirStartDays)
{
    EXPECT_EQ(ConstellationOfDate(1, 1), 9);
    EXPECT_EQ(ConstellationOfDate(1, 19), 9);    // 摩羯
    EXPECT_EQ(ConstellationOfDate(1, 20), 10);   // 宝瓶
    EXPECT_EQ(ConstellationOfDate(2, 18), 10);
    EXPECT_EQ(ConstellationOfDate(2, 19), 11);   // 双鱼
    EXPECT_EQ(ConstellationOfDate(3, 20), 11);
    EXPECT_EQ(ConstellationOfDate(3, 21), 0);    // 白羊
    EXPECT_EQ(ConstellationOfDate(6, 21), 2);
    EXPECT_EQ(ConstellationOfDate(6, 22), 3);
    EXPECT_EQ(ConstellationOfDate(12, 21), 8);   // 射手
    EXPECT_EQ(ConstellationOfDate(12, 22), 9);
    EXPECT_EQ(ConstellationOfDate(12, 31), 9);
}

TEST(CalendarFestivals, SolarTermDaysOfKnownYears)
{
    EXPECT_EQ(GetSolarTermOfDay(D(2024, 2, 4)), "立春");
    EXPECT_EQ(GetSolarTermOfDay(D(2024, 2, 3)), "");
    EXPECT_EQ(GetSolarTermOfDay(D(2024, 2, 5)), "");
    EXPECT_EQ(GetSolarTermOfDay(D(2024, 1, 6)), "小寒");
    EXPECT_EQ(GetSolarTermOfDay(D(2024, 3, 20)), "春分");
    EXPECT_EQ(GetSolarTermOfDay(D(2024, 6, 21)), "夏至");
    EXPECT_EQ(GetSolarTermOfDay(D(2024, 9, 22)), "秋分");
    EXPECT_EQ(GetSolarTermOfDay(D(2024, 12, 21)), "冬至");
    EXPECT_EQ(GetSolarTermOfDay(D(2023, 2, 4)), "立春");
    EXPECT_EQ(GetSolarTermOfDay(D(2023, 3, 6)), "惊蛰");
    EXPECT_EQ(GetSolarTermOfDay(D(2024, 4, 4) + 0.75), "清明");   // the time of day is ignored
    int terms = 0;
    for (TDateTime t = D(2023, 1, 1); t < D(2024, 1, 1); t += 1)
        terms += GetSolarTermOfDay(t).empty() ? 0 : 1;
    EXPECT_EQ(terms, 24);
}

TEST(CalendarFestivals, FixedDaySolarFestivals)
{
    EXPECT_EQ(GetHoliday(1, D(2024, 1, 1)), "元旦节");
    EXPECT_EQ(GetHoliday(6, D(2024, 10, 1)), "老人节");     // the day argument decides, t gives the month
    EXPECT_EQ(GetHoliday(31, D(2024, 10, 31)), "万圣节");
    EXPECT_EQ(GetHoliday(2, D(2024, 1, 2)), "");
    EXPECT_EQ(GetHoliday(31, D(2024, 2, 1)), "");          // no such day in February
    EXPECT_EQ(GetHoliday(0, D(2024, 5, 1)), "");
}

TEST(CalendarFestivals, NthWeekdayFestivals)
{
    // 1 May 2022 was a Sunday: the second Sunday is 8 May, and 1 May stays 劳动节.
    EXPECT_EQ(GetHoliday(1, D(2022, 5, 1)), "劳动节");
    EXPECT_EQ(GetHoliday(4, D(2022, 5, 4)), "青年节");
    EXPECT_EQ(GetHoliday(8, D(2022, 5, 8)), "母亲节");
    EXPECT_EQ(GetHoliday(15, D(2022, 5, 15)), "");
    EXPECT_EQ(GetHoliday(12, D(2024, 5, 12)), "母亲节");
    EXPECT_EQ(GetHoliday(5, D(2024, 5, 5)), "");            // first Sunday
    EXPECT_EQ(GetHoliday(16, D(2024, 6, 16)), "父亲节");
    EXPECT_EQ(GetHoliday(9, D(2024, 6, 9)), "");
    EXPECT_EQ(GetHoliday(1, D(2024, 6, 1)), "儿童节");
    EXPECT_EQ(GetHoliday(28, D(2024, 11, 28)), "感恩节");
    // November 2018 had five Thursdays, from the 1st: the fourth is the 22nd.
    EXPECT_EQ(GetHoliday(22, D(2018, 11, 22)), "感恩节");
    EXPECT_EQ(GetHoliday(29, D(2018, 11, 29)), "");
    EXPECT_EQ(GetHoliday(8, D(2018, 11, 8)), "记者日");
}

TEST(CalendarFestivals, LunarFestivalsAndNewYearsEve)
{
    EXPECT_EQ(GetCnHoliday(1, 1, D(2024, 2, 10)), "春节");
    EXPECT_EQ(GetCnHoliday(5, 5, D(2024, 6, 10)), "端午节");
    EXPECT_EQ(GetCnHoliday(8, 15, D(2024, 9, 17)), "中秋节");
    EXPECT_EQ(GetCnHoliday(12, 8, D(2024, 1, 18)), "腊八节");
    EXPECT_EQ(GetCnHoliday(12, 1, D(2024, 1, 11)), "");
    EXPECT_EQ(GetCnHoliday(2, 15, D(2024, 3, 24)), "");
    // The twelfth month of lunar 2023 had 30 days, that of 2024 only 29.
    EXPECT_EQ(GetCnHoliday(12, 29, D(2024, 2, 8)), "");
    EXPECT_EQ(GetCnHoliday(12, 30, D(2024, 2, 9)), "除夕");
    EXPECT_EQ(GetCnHoliday(12, 29, D(2025, 1, 28)), "除夕");
    EXPECT_EQ(GetCnHoliday(12, 28, D(2025, 1, 27)), "");
    // Beyond the engine's last year there is no New Year to find.
    EXPECT_EQ(GetCnHoliday(12, 30, D(2100, 12, 31)), "");
}

TEST(CalendarFestivals, DateTimeToCnDateUsesTheDatePart)
{
    int year = 0, month = 0, day = 0;
    bool leap = true;
    ASSERT_TRUE(DateTimeToCnDate(D(2024, 2, 10) + 0.99, year, month, day, leap));
    EXPECT_EQ(year, 2024);
    EXPECT_EQ(month, 1);
    EXPECT_EQ(day, 1);
    EXPECT_FALSE(leap);
    ASSERT_TRUE(DateTimeToCnDate(D(2023, 3, 22), year, month, day, leap));
    EXPECT_EQ(month, 2);
    EXPECT_TRUE(leap);
    EXPECT_FALSE(DateTimeToCnDate(D(2101, 6, 1), year, month, day, leap));
}

TEST(EraTable, RowsAreOrderedAndCloseTheirIntervals)
{
    const auto rows = EraTable();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows.front().Start, -2069);
    EXPECT_EQ(rows.back().Start, 1949);
    EXPECT_STREQ(rows.back().EraName, "公历");
    EXPECT_EQ(rows[rows.size() - 2].Start, 1912);
    for (size_t i = 0; i + 1 < rows.size(); ++i) {
        EXPECT_LE(rows[i].Start, rows[i + 1].Start) << i;
        EXPECT_EQ(rows[i].Length, rows[i + 1].Start - rows[i].Start) << rows[i].EraName;
        EXPECT_STRNE(rows[i].Dynasty, "") << i;
        EXPECT_STRNE(rows[i].EraName, "") << i;
    }
    for (int year = -2069; year < 1949; ++year) {
        const std::string text = GetEraText(year);
        ASSERT_TRUE(text.starts_with("[") && EndsWith(text, "年")) << year << " " << text;
    }
}

TEST(EraTable, WellKnownEras)
{
    EXPECT_EQ(GetEraText(627), "[唐]太宗 李世民 贞观元年");
    EXPECT_EQ(GetEraText(649), "[唐]太宗 李世民 贞观23年");
    EXPECT_EQ(GetEraText(650), "[唐]高宗 李治 永徽元年");
    EXPECT_EQ(GetEraText(713), "[唐]玄宗 李隆基 开元元年");
    EXPECT_EQ(GetEraText(1368), "[明]太祖 朱元璋 洪武元年");
    EXPECT_EQ(GetEraText(1662), "[清]圣祖 爱新觉罗·玄烨 康熙元年");
    EXPECT_EQ(GetEraText(1722), "[清]圣祖 爱新觉罗·玄烨 康熙61年");
    EXPECT_EQ(GetEraText(1736), "[清]高宗 爱新觉罗·弘历 乾隆元年");
    EXPECT_EQ(GetEraText(1875), "[清]德宗 爱新觉罗·载湉 光绪元年");
    EXPECT_EQ(GetEraText(1909), "[清]宣统帝 爱新觉罗·溥仪 宣统元年");
    EXPECT_EQ(GetEraText(-140 + 1), "[西汉]武帝 刘彻 建元元年");   // 140 BC
    EXPECT_EQ(GetEraText(-840), "[西周]共和  共和元年");             // 841 BC
    EXPECT_EQ(GetEraText(1), "[西汉]平帝 刘衎 元始元年");
    EXPECT_EQ(GetEraText(0), "[西汉]哀帝 刘欣 元寿2年");             // 1 BC
}

TEST(EraTable, BoundariesAndSharedStartYears)
{
    EXPECT_EQ(GetEraText(-2070), "");
    EXPECT_EQ(GetEraText(-2069), "[夏]禹  禹元年");
    EXPECT_EQ(GetEraText(-2025), "[夏]禹  禹45年");
    EXPECT_EQ(GetEraText(-2024), "[夏]启  启元年");
    EXPECT_EQ(GetEraText(1911), "[清]宣统帝 爱新觉罗·溥仪 宣统3年");
    EXPECT_EQ(GetEraText(1912), "[近、现代]中华民国  民国元年");
    EXPECT_EQ(GetEraText(1913), "[近、现代]中华民国  民国2年");
    EXPECT_EQ(GetEraText(1948), "[近、现代]中华民国  民国37年");
    EXPECT_EQ(GetEraText(1949), "");
    EXPECT_EQ(GetEraText(2024), "");
    // Several eras began in 189; the last of them holds the year.
    EXPECT_EQ(GetEraText(188), "[东汉]灵帝 刘宏 中平5年");
    EXPECT_EQ(GetEraText(189), "[东汉]献帝 刘协 永汉元年");
    EXPECT_EQ(GetEraText(190), "[东汉]献帝 刘协 初平元年");
}

TEST(CalendarText, GetDelimitedField)
{
    EXPECT_EQ(GetDelimitedField("a, b,,c", ',', 1, false), "a");
    EXPECT_EQ(GetDelimitedField("a, b,,c", ',', 2, false), "b");
    EXPECT_EQ(GetDelimitedField("a, b,,c", ',', 3, false), "");
    EXPECT_EQ(GetDelimitedField("a, b,,c", ',', 4, false), "c");
    EXPECT_EQ(GetDelimitedField("a, b,,c", ',', 3, true), "c");
    EXPECT_EQ(GetDelimitedField("a, b,,c", ',', 4, true), "");
    EXPECT_EQ(GetDelimitedField(",, x ,", ',', 1, true), "x");
    EXPECT_EQ(GetDelimitedField(" ,x", ',', 1, true), "x");          // a blank field is empty
    EXPECT_EQ(GetDelimitedField("宜 嫁娶/忌 动土", '/', 2, false), "忌 动土");
    EXPECT_EQ(GetDelimitedField("abc", ',', 1, false), "abc");
    EXPECT_EQ(GetDelimitedField("abc", ',', 2, false), "");
    EXPECT_EQ(GetDelimitedField("a,", ',', 2, false), "");
    EXPECT_EQ(GetDelimitedField("", ',', 1, true), "");
    EXPECT_EQ(GetDelimitedField("a,b", ',', 0, false), "");
    EXPECT_EQ(GetDelimitedField("a,b", ',', -1, false), "");
}

// Lunar 2023 began on 22 January 2023 and 立春 fell on 4 February.
TEST(ChnCal, WalkAcrossLunarNewYearAndStartOfSpring)
{
    TChnCal cal;
    cal.SetDateTime(D(2023, 1, 21));
    EXPECT_EQ(cal.FCnYear, 2022);
    EXPECT_EQ(cal.FCnYearText, "2022");
    EXPECT_EQ(cal.FCnMonthName, "腊月");
    EXPECT_EQ(cal.FCnDayName, "三十");
    EXPECT_EQ(cal.FCnHoliday, "除夕");
    EXPECT_EQ(cal.FAnimal, "虎");
    EXPECT_EQ(cal.FYearStemBranch, "壬寅");
    EXPECT_EQ(cal.FConstellation, "宝瓶");
    EXPECT_EQ(cal.FEraText, "");

    cal.SetDateTime(D(2023, 1, 22));
    EXPECT_EQ(cal.FCnYear, 2023);
    EXPECT_EQ(cal.FCnMonthName, "正月");
    EXPECT_EQ(cal.FCnDayName, "初一");
    EXPECT_EQ(cal.FCnHoliday, "春节");
    EXPECT_EQ(cal.FAnimal, "兔");
    EXPECT_EQ(cal.FYearStemBranch, "壬寅");   // the stem-branch year starts at 立春
    EXPECT_EQ(cal.FMonthStemBranch, "癸丑");
    EXPECT_EQ(cal.FSolarTerm, "");

    cal.SetDateTime(D(2023, 2, 3));
    EXPECT_EQ(cal.FYearStemBranch, "壬寅");
    cal.SetDateTime(D(2023, 2, 4));
    EXPECT_EQ(cal.FSolarTerm, "立春");
    EXPECT_EQ(cal.FYearStemBranch, "癸卯");
    EXPECT_EQ(cal.FMonthStemBranch, "甲寅");
    EXPECT_EQ(cal.FCnDayName, "十四");
    EXPECT_EQ(cal.FAnimal, "兔");
    cal.SetDateTime(D(2023, 2, 5));
    EXPECT_EQ(cal.FCnHoliday, "元宵节");
    EXPECT_EQ(cal.FSolarTerm, "");
    EXPECT_EQ(cal.FYearStemBranch, "癸卯");
}

TEST(ChnCal, YearTextsDoNotDependOnTheFirstDateOfTheLunarYear)
{
    TChnCal late;
    late.SetDateTime(D(2023, 2, 10));
    EXPECT_EQ(late.FYearStemBranch, "癸卯");
    late.SetDateTime(D(2023, 1, 25));   // the same lunar year, before 立春
    EXPECT_EQ(late.FYearStemBranch, "壬寅");
    EXPECT_EQ(late.FAnimal, "兔");

    // Lunar 1911 ran into 1912: the era follows the solar year.
    TChnCal cal;
    cal.SetDateTime(D(1911, 12, 31));
    EXPECT_EQ(cal.FEraText, "[清]宣统帝 爱新觉罗·溥仪 宣统3年");
    cal.SetDateTime(D(1912, 1, 1));
    EXPECT_EQ(cal.FCnYear, 1911);
    EXPECT_EQ(cal.FEraText, "[近、现代]中华民国  民国元年");
    cal.SetDateTime(D(1948, 12, 31));
    EXPECT_EQ(cal.FEraText, "[近、现代]中华民国  民国37年");
}

TEST(ChnCal, MonthTextsAcrossLeapMonthSolarTermAndYearEnd)
{
    TChnCal cal;
    cal.SetDateTime(D(2023, 3, 5));
    EXPECT_EQ(cal.FCnMonthName, "二月");
    EXPECT_EQ(cal.FMonthStemBranch, "甲寅");
    cal.SetDateTime(D(2023, 3, 6));     // 惊蛰 inside the same lunar month
    EXPECT_EQ(cal.FSolarTerm, "惊蛰");
    EXPECT_EQ(cal.FMonthStemBranch, "乙卯");
    cal.SetDateTime(D(2023, 3, 21));
    EXPECT_EQ(cal.FCnMonthName, "二月");
    EXPECT_EQ(cal.FCnDayName, "三十");
    cal.SetDateTime(D(2023, 3, 22));
    EXPECT_EQ(cal.FCnMonthName, "闰二");
    EXPECT_TRUE(cal.FIsLeap);
    EXPECT_EQ(cal.FCnDayName, "初一");
    EXPECT_EQ(cal.FConstellation, "白羊");
    cal.SetDateTime(D(2024, 1, 10));
    EXPECT_EQ(cal.FCnMonthName, "冬月");
    EXPECT_FALSE(cal.FIsLeap);
    cal.SetDateTime(D(2024, 1, 11));
    EXPECT_EQ(cal.FCnMonthName, "腊月");
    EXPECT_EQ(cal.FCnDayName, "初一");
}

TEST(ChnCal, KnownDayAndDatesOutsideTheEngine)
{
    TChnCal cal;
    cal.SetDateTime(D(1949, 10, 1) + 0.5);
    EXPECT_EQ(cal.FDayStemBranch, "甲子");
    EXPECT_EQ(cal.FYearStemBranch, "己丑");
    EXPECT_EQ(cal.FMonthStemBranch, "癸酉");
    EXPECT_EQ(cal.FAnimal, "牛");
    EXPECT_EQ(cal.FCnMonthName, "八月");
    EXPECT_EQ(cal.FCnDayName, "初十");
    EXPECT_EQ(cal.FHoliday, "国庆节");
    EXPECT_EQ(cal.FConstellation, "天秤");
    EXPECT_EQ(cal.FEraText, "");

    cal.SetDateTime(D(2101, 1, 1));
    EXPECT_DOUBLE_EQ(cal.FDateTime, D(2101, 1, 1));
    EXPECT_EQ(cal.FCnYear, 1949);
    EXPECT_EQ(cal.FHoliday, "国庆节");
    EXPECT_EQ(cal.FDayStemBranch, "甲子");
}

// NaN and values beyond the engine's or the framework's dates leave the texts alone and give
// empty lookups; nothing raises.
TEST(ChnCal, UnusableDateTimesChangeNothing)
{
    TChnCal cal;
    cal.SetDateTime(D(2024, 2, 10));
    for (const TDateTime bad : {std::nan(""), D(2101, 1, 1), 1e300, -1e300, -800000.0, 3000000.0}) {
        ASSERT_NO_THROW(cal.SetDateTime(bad));
        EXPECT_EQ(cal.FCnDayName, "初一");
        EXPECT_EQ(cal.FCnHoliday, "春节");
        EXPECT_EQ(cal.FCnYear, 2024);
        int y, m, d;
        bool leap;
        EXPECT_FALSE(DateTimeToCnDate(bad, y, m, d, leap));
        EXPECT_EQ(GetSolarTermOfDay(bad), "");
        EXPECT_EQ(GetCnHoliday(12, 30, bad), "");
        if (bad != D(2101, 1, 1)) {
            EXPECT_EQ(GetHoliday(1, bad), "");
        }
    }
}

// 2009 has a leap fifth month: its fifth day is no second 端午.
TEST(ChnCal, LunarFestivalsBelongToTheOrdinaryMonth)
{
    TChnCal cal;
    cal.SetDateTime(D(2009, 5, 28));
    EXPECT_EQ(cal.FCnHoliday, "端午节");
    cal.SetDateTime(D(2009, 6, 27));
    EXPECT_EQ(cal.FCnMonthName, "闰五");
    EXPECT_EQ(cal.FCnDayName, "初五");
    EXPECT_EQ(cal.FCnHoliday, "");
    EXPECT_EQ(GetCnHoliday(8, 15, D(2009, 10, 3), false), "中秋节");
    EXPECT_EQ(GetCnHoliday(8, 15, D(2009, 10, 3), true), "");
}

// TDateTime days are proleptic Gregorian; before the reform the texts are those of the
// Julian date of the same day, and every day (1582-10-05 .. 14 included) gets its own.
TEST(ChnCal, DaysBeforeTheReformGetTheirOwnTexts)
{
    TChnCal cal;
    cal.SetDateTime(D(1368, 1, 31));  // Julian 1368-01-23: 洪武元年正月初四
    EXPECT_EQ(cal.FCnYear, 1368);
    EXPECT_EQ(cal.FCnMonthName, "正月");
    EXPECT_EQ(cal.FCnDayName, "初四");
    EXPECT_EQ(cal.FDayStemBranch, GetStemBranchName(DayStemBranch(1368, 1, 23)));
    int previous = -1, previousStemBranch = -1;
    for (TDateTime t = D(1582, 9, 1); t <= D(1582, 11, 30); t += 1) {
        int year, month, day;
        bool leap;
        ASSERT_TRUE(DateTimeToCnDate(t, year, month, day, leap));
        cal.SetDateTime(t);
        const int index = [&] {
            for (int i = 0; i < 60; ++i)
                if (GetStemBranchName(i) == cal.FDayStemBranch)
                    return i;
            return -1;
        }();
        if (previous > 0) {
            EXPECT_TRUE(day == previous + 1 || (day == 1 && previous >= 29)) << t;
            EXPECT_EQ(index, (previousStemBranch + 1) % 60) << t;
        }
        previous = day;
        previousStemBranch = index;
    }
}

// Before 1583 Minor Cold of a Julian year can fall in the December before and the terms
// run up to a month off the Gregorian months: every term is still found on its day.
TEST(CalendarFestivals, EveryTermIsFoundOnItsDay)
{
    const TDateTime zero = D(1899, 12, 30);
    const int zeroDay = DateToDayNumber(1899, 12, 30);
    int found = 0;
    for (int year = 1; year <= 2100; year += (year < 1900 ? 7 : 1)) {
        for (int index = 0; index < 24; ++index) {
            int month, day, hour, minute;
            ASSERT_TRUE(GetSolarTermDate(year, index, month, day, hour, minute));
            const int termYear = index < 2 && month == 12 ? year - 1 : (index > 21 && month == 1 ? year + 1 : year);
            if (termYear < 1)
                continue;
            const TDateTime t = zero + (DateToDayNumber(termYear, month, day) - zeroDay);
            ASSERT_EQ(GetSolarTermOfDay(t), GetSolarTermName((index + 22) % 24)) << year << " term " << index;
            ++found;
        }
    }
    EXPECT_GT(found, 24 * 400);
}
