#include <gtest/gtest.h>

#include "framework/db/DbDates.h"
#include "framework/rtl/SysUtils.h"
#include "organizer/core/Countdown.h"

namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return EncodeDateTime(y, mo, d, h, mi, s, 0); }

}  // namespace

TEST(Countdown, SplitsTheTimeLeft)
{
    const TDateTime now = At(2026, 3, 10, 10, 0, 0);
    const struct {
        TDateTime Target;
        TTimeLeft Left;
    } table[] = {
        {At(2026, 3, 12, 13, 4, 30), {2, 3, 4}},
        {now + 36.5 / 24, {1, 12, 30}},          // 36.5 hours
        {now + 150, {150, 0, 0}},               // three digits
        {now + 4.0 / 1440, {0, 0, 4}},           // exact minutes keep their count
        {now + 13.0 / 24, {0, 13, 0}},
        {now - 30.0 / 86400, {0, 0, 0}},
        {now - 2.0 / 24, {0, 0, 0}},
        {now - 3.5, {0, 0, 0}},
        {now, {0, 0, 0}},
        {0, {0, 0, 0}},                          // a slot never loaded
        {1e10, {0, 0, 0}},                       // a number outside the calendar is no target
    };
    for (const auto& row : table)
        EXPECT_EQ(SplitTimeLeft(row.Target, now), row.Left) << row.Target;
}

TEST(Countdown, SplitsAcrossAMonthEndAndAYearEnd)
{
    EXPECT_EQ(SplitTimeLeft(At(2026, 2, 2, 0, 15), At(2026, 1, 31, 22, 0)), (TTimeLeft{1, 2, 15}));
    EXPECT_EQ(SplitTimeLeft(At(2026, 3, 1, 1, 15), At(2026, 2, 28, 23, 0)), (TTimeLeft{0, 2, 15}));
    EXPECT_EQ(SplitTimeLeft(At(2024, 3, 1, 0, 0), At(2024, 2, 28, 12, 30)), (TTimeLeft{1, 11, 30}));
    EXPECT_EQ(SplitTimeLeft(At(2027, 1, 1, 0, 0), At(2026, 12, 31, 23, 59, 1)), (TTimeLeft{0, 0, 0}));
    EXPECT_EQ(SplitTimeLeft(At(2027, 1, 1, 0, 5), At(2026, 12, 30, 22, 0)), (TTimeLeft{1, 2, 5}));
}


TEST(Countdown, RelativeTargetsCountDaysOrHours)
{
    const TDateTime now = At(2026, 3, 10, 10, 0);
    EXPECT_DOUBLE_EQ(RelativeTarget(now, 36, "小时"), At(2026, 3, 11, 22, 0));
    EXPECT_DOUBLE_EQ(RelativeTarget(now, 5, "小时"), At(2026, 3, 10, 15, 0));
    EXPECT_DOUBLE_EQ(RelativeTarget(now, 13, "天"), At(2026, 3, 23, 10, 0));
    EXPECT_DOUBLE_EQ(RelativeTarget(now, 0, "天"), now);
    EXPECT_EQ(SplitTimeLeft(RelativeTarget(now, 36, "小时"), now), (TTimeLeft{1, 12, 0}));
    EXPECT_THROW(RelativeTarget(now, 1, "周"), EConvertError);
}

// A storable target is one the data file's date text can hold: years 1 to 9999.
TEST(Countdown, TargetsBeyondTheYears1To9999AreNotStorable)
{
    const TDateTime now = At(2026, 3, 10, 10, 0);
    const TDateTime last = At(9999, 12, 31, 23, 59, 59);
    const int days = int(DateOf(last) - DateOf(now));
    const struct { TDateTime Target; bool Storable; } cases[] = {
        {now, true},
        {RelativeTarget(now, days, "天"), true},
        {RelativeTarget(now, days + 1, "天"), false},
        {RelativeTarget(now, 3000000, "天"), false},
        {RelativeTarget(now, days * 24 + 13, "小时"), true},
        {RelativeTarget(now, days * 24 + 14, "小时"), false},
        {last, true},
        {last + 1.0 / 86400, false},
        {At(1, 1, 1, 0, 0), true},
        {At(1, 1, 1, 23, 59, 59), true},
        {RelativeTarget(At(1, 1, 1, 0, 0), -1, "小时"), false},
        {RelativeTarget(now, -800000, "天"), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CountdownTargetStorable(c.Target), c.Storable) << FloatToStr(c.Target);
    // What is storable the data file's text takes; past 9999 it raises.
    for (const auto& c : cases) {
        if (c.Storable) {
            EXPECT_NO_THROW(DateToStorage(c.Target));
        } else if (c.Target > last) {
            EXPECT_ANY_THROW(DateToStorage(c.Target));
        }
    }
}

// Before 1899-12-30 a TDateTime counts its days back and still adds the time of day: a
// target there keeps the picked day and time, and days and hours count on the calendar.
TEST(Countdown, TargetsBefore1900KeepTheirDayAndTime)
{
    EXPECT_EQ(DateToStorage(AbsoluteTarget(At(1800, 1, 1), At(2026, 1, 1, 8, 0))), "1800-01-01 08:00:00");
    EXPECT_EQ(DateToStorage(AbsoluteTarget(At(1899, 12, 29), At(2026, 1, 1, 23, 30))), "1899-12-29 23:30:00");
    const struct {
        TDateTime Now;
        int Amount;
        const char* Unit;
        const char* Stored;
    } cases[] = {
        {At(1900, 1, 1, 10, 0), -5, "天", "1899-12-27 10:00:00"},
        {At(1900, 1, 1, 10, 0), -3, "天", "1899-12-29 10:00:00"},
        {At(1900, 1, 1, 10, 0), -60, "小时", "1899-12-29 22:00:00"},
        {At(1900, 1, 1, 10, 0), -83, "小时", "1899-12-28 23:00:00"},
        {At(1850, 6, 1, 10, 0), 3, "天", "1850-06-04 10:00:00"},
        {At(1850, 6, 1, 10, 0), 20, "小时", "1850-06-02 06:00:00"},
        {At(1850, 6, 1, 10, 0), -20, "小时", "1850-05-31 14:00:00"},
        {At(1899, 12, 29, 18, 0), 10, "小时", "1899-12-30 04:00:00"},
        {At(2026, 3, 10, 10, 0), -46091, "天", "1899-12-30 10:00:00"},
        {At(2026, 3, 10, 10, 0), -46092, "天", "1899-12-29 10:00:00"},
        {At(1, 1, 2, 10, 0), -1, "天", "0001-01-01 10:00:00"},
    };
    for (const auto& c : cases) {
        const TDateTime target = RelativeTarget(c.Now, c.Amount, c.Unit);
        ASSERT_TRUE(CountdownTargetStorable(target)) << c.Stored;
        EXPECT_EQ(DateToStorage(target), c.Stored);
    }
    EXPECT_FALSE(CountdownTargetStorable(RelativeTarget(At(1, 1, 2, 10, 0), -2, "天")));
    EXPECT_FALSE(CountdownTargetStorable(RelativeTarget(At(1, 1, 1, 10, 0), -11, "小时")));
    EXPECT_TRUE(CountdownTargetStorable(RelativeTarget(At(1, 1, 1, 10, 0), -10, "小时")));
}

TEST(Countdown, AbsoluteTargetJoinsThePickersDayAndTime)
{
    const TDateTime date = At(2026, 12, 31, 8, 30);        // the time part is not the date picker's
    const TDateTime time = At(1999, 1, 1, 23, 59, 58) + 0.4 / 86400;   // nor the date part the time picker's
    EXPECT_DOUBLE_EQ(AbsoluteTarget(date, time), At(2026, 12, 31, 23, 59, 58));
}

TEST(Countdown, RowsSetATargetWhenAbsoluteOrInDaysOrHours)
{
    EXPECT_TRUE(RowSetsTarget("1", "绝对时间"));
    EXPECT_TRUE(RowSetsTarget("1", ""));
    EXPECT_TRUE(RowSetsTarget("0", "天"));
    EXPECT_TRUE(RowSetsTarget("", "小时"));
    EXPECT_FALSE(RowSetsTarget("0", "绝对时间"));
    EXPECT_FALSE(RowSetsTarget("", ""));
}

