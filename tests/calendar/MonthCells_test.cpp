#include "calendar/core/MonthCells.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

const TMonthColors Colors;

TMonthCells Month(int year, int month, int day)
{
    TMonthCells m;
    EXPECT_TRUE(m.SetDateTime(EncodeDate(year, month, day), Colors));
    return m;
}

// The cell holding day d of the shown month.
const TcnDateInf& DayCell(const TMonthCells& m, int d)
{
    for (int k = 1; k < FirstTitleCell; ++k)
        if (m.Cell(k).Valid && m.Cell(k).Day == d)
            return m.Cell(k);
    ADD_FAILURE() << "no cell for day " << d;
    return m.Cell(1);
}

}  // namespace

TEST(MonthCells, MonthStartingOnSundayFillsFromTheFirstCellWithWeekendDatesRed)
{
    const TMonthCells m = Month(2024, 9, 15);   // 1 September 2024 is a Sunday
    for (int k = 1; k < FirstTitleCell; ++k) {
        int col, row;
        TMonthCells::CellPlace(k, col, row);
        EXPECT_EQ(TMonthCells::CellAt(col, row), k);
        EXPECT_EQ(m.Cell(k).Valid, k <= 30) << k;
        EXPECT_EQ(m.Cell(k).Day, k <= 30 ? k : 0);
        EXPECT_EQ(m.Cell(k).DateColor, col == 1 || col == 7 ? CellRed : Colors.Date) << k;
    }
    EXPECT_EQ(m.SelectedCell(), 15);
    // Each row bears the week of its Monday: Sunday the 1st shares row 1 with week 36.
    const char* const weeks[6] = {"36", "37", "38", "39", "40", ""};
    for (int row = 1; row <= 6; ++row)
        EXPECT_EQ(m.WeekText(row), weeks[row - 1]) << row;
}

namespace {

// ISO 8601 week of a day, from the standard library's calendar: the week of its Thursday.
int IsoWeek(std::chrono::sys_days day)
{
    using namespace std::chrono;
    const sys_days thursday = day + days(4 - int(weekday(day).iso_encoding()));
    const year_month_day ymd(thursday);
    return static_cast<int>((thursday - sys_days(ymd.year() / January / 1)).count() / 7 + 1);
}

}  // namespace

// Every month of the control's years: a row bears the ISO week of its Monday, a row without
// one (a short first or last row) the week its days share, an empty row nothing.
TEST(MonthCells, EveryRowBearsTheIsoWeekOfItsMondayAndEmptyRowsNone)
{
    using namespace std::chrono;
    TMonthCells m;
    for (int y = 1; y <= 2100; ++y)
        for (unsigned mo = 1; mo <= 12; ++mo) {
            const year_month ym = year(y) / month(mo);
            ASSERT_TRUE(m.SetDateTime(EncodeDate(y, int(mo), 1), Colors));
            const sys_days first = sys_days(ym / 1);
            const unsigned lead = weekday(first).c_encoding();   // Sunday 0
            const unsigned length = unsigned((ym / std::chrono::last).day());
            for (int row = 1; row <= 6; ++row) {
                std::string want;
                for (unsigned col = 0; col < 7; ++col) {
                    const int index = (row - 1) * 7 + int(col) - int(lead);
                    if (index < 0 || index >= int(length))
                        continue;
                    const sys_days day = first + days(index);
                    if (want.empty() || col == 1)
                        want = std::to_string(IsoWeek(day));
                }
                ASSERT_EQ(m.WeekText(row), want) << y << "-" << mo << " row " << row;
            }
        }
}

TEST(MonthCells, February2026HasNoWeekBesideItsEmptyRows)
{
    const TMonthCells m = Month(2026, 2, 9);   // Sunday the 1st, 28 days: four full rows
    const char* const weeks[6] = {"6", "7", "8", "9", "", ""};
    for (int row = 1; row <= 6; ++row)
        EXPECT_EQ(m.WeekText(row), weeks[row - 1]) << row;
}

TEST(MonthCells, SaturdayStartLeavesTheLastDayCellsEmptyAndFillsTheTitleCells)
{
    const TMonthCells m = Month(2025, 3, 31);
    for (int k = 1; k < FirstTitleCell; ++k)
        EXPECT_EQ(m.Cell(k).Valid, k >= 7 && k <= 37) << k;
    EXPECT_EQ(m.SelectedCell(), 37);
    int col, row;
    TMonthCells::CellPlace(37, col, row);
    EXPECT_EQ(col, 2);
    EXPECT_EQ(row, 6);
    EXPECT_EQ(m.Cell(40).ShowText, GetConstellationName(ConstellationOfDate(3, 31)));
    EXPECT_EQ(m.Cell(41).ShowText + m.Cell(42).ShowText, "乙巳蛇年");
    EXPECT_EQ(m.DateLine(), "2025-03-31 农历" + m.CnDate());
}

TEST(MonthCells, LeapMonthBeginsWithItsRedNameAndSolarTermsOutrankLunarDays)
{
    const TMonthCells m = Month(2023, 3, 1);
    const TcnDateInf& leapStart = DayCell(m, 22);   // 闰二月初一
    EXPECT_EQ(leapStart.ShowText, "闰二");
    EXPECT_EQ(leapStart.CnColor, CellRed);
    EXPECT_EQ(DayCell(m, 21).ShowText, "春分");
    EXPECT_EQ(DayCell(m, 21).CnColor, Colors.LunarHolDay);
    EXPECT_EQ(DayCell(m, 23).ShowText, "初二");
    EXPECT_EQ(DayCell(m, 23).CnColor, Colors.CnDate);
}

TEST(MonthCells, FestivalsOutrankTheMonthNameAndEveFollowsAShortTwelfthMonth)
{
    const TMonthCells spring = Month(2022, 2, 1);   // 春节 on the 1st, 立春 on the 4th
    EXPECT_EQ(DayCell(spring, 1).ShowText, "春节");
    EXPECT_EQ(DayCell(spring, 1).CnColor, Colors.CnHolDay);
    EXPECT_EQ(DayCell(spring, 1).CnMonthText, "正月");
    EXPECT_EQ(DayCell(spring, 4).ShowText, "立春");
    EXPECT_EQ(DayCell(spring, 14).ShowText, "情人节");
    EXPECT_EQ(DayCell(spring, 14).CnColor, Colors.Holiday);
    const TMonthCells eve = Month(2025, 1, 1);      // 腊月 of 29 days: 除夕 on 廿九
    EXPECT_EQ(DayCell(eve, 28).CnDayText, "廿九");
    EXPECT_EQ(DayCell(eve, 28).ShowText, "除夕");
}

TEST(MonthCells, DatesOutsideTheYearRangeOrUnchangedChangeNothing)
{
    TMonthCells m = Month(2024, 5, 1);
    EXPECT_FALSE(m.SetDateTime(EncodeDate(2101, 1, 1), Colors));
    EXPECT_FALSE(m.SetDateTime(EncodeDate(1, 1, 1) - 1, Colors));
    EXPECT_FALSE(m.SetDateTime(EncodeDate(2024, 5, 1), Colors));
    EXPECT_EQ(m.DateTime(), EncodeDate(2024, 5, 1));
    EXPECT_EQ(m.DateLine().substr(0, 10), "2024-05-01");
    EXPECT_TRUE(m.SetDateTime(EncodeDate(1900, 1, 31), Colors));
    EXPECT_EQ(m.DateLine().find("2024"), std::string::npos);   // an era text before 1949
    EXPECT_NE(m.DateLine().find(" 农历"), std::string::npos);
}

TEST(MonthCells, MonthAndYearStepsLowerTheDayUntilItExists)
{
    struct Case { int year, position, day; TDateTime expected; };
    for (const Case& c : {Case{2024, 4, 31, EncodeDate(2024, 4, 30)}, Case{2024, 0, 15, EncodeDate(2023, 12, 15)},
                          Case{2024, 13, 31, EncodeDate(2025, 1, 31)}, Case{2023, 2, 30, EncodeDate(2023, 2, 28)}})
    {
        TDateTime d;
        ASSERT_TRUE(MonthStepDate(c.year, c.position, c.day, d)) << c.year << " " << c.position;
        EXPECT_EQ(d, c.expected) << c.year << " " << c.position;
    }
    TDateTime d;
    EXPECT_FALSE(MonthStepDate(1, 0, 15, d));   // December before year 1
    ASSERT_TRUE(YearStepDate(2025, 2, 29, d));
    EXPECT_EQ(d, EncodeDate(2025, 2, 28));
    EXPECT_FALSE(YearStepDate(2025, 13, 1, d));
}

TEST(MonthCells, GradientRunsFromStartToEndAndBlendSkipsTheKeyColour)
{
    EXPECT_EQ(GradientBand(5484032, 6673664, 0, 256), 5484032);
    EXPECT_EQ(GradientBand(5484032, 6673664, 256, 256), 6673664);
    EXPECT_EQ(GradientBand(0x000000, 0x0000FF, 128, 256), 0x000080);

    std::vector<uint32_t> back = {0x102030, 0x102030, 0x102030};
    const std::vector<uint32_t> picture = {0xFFFFFF, 0x506070, 0xFFFFFF};
    BlendPicture(back, picture, 150);   // mod 100: half and half
    EXPECT_EQ(back, (std::vector<uint32_t>{0x102030, 0x304050, 0x102030}));
    BlendPicture(back, picture, 200);   // mod 100 gives 0: the back stays
    EXPECT_EQ(back[1], 0x304050u);
}
