#include "framework/rtl/DateUtils.h"
#include "framework/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Ymd {
    int y, m, d;
};

Ymd Decode(TDateTime dt)
{
    Ymd r;
    DecodeDate(dt, r.y, r.m, r.d);
    return r;
}

// Fixes "now" for tests that depend on the current year.
class FixedClock {
public:
    explicit FixedClock(TDateTime now) { SetClockSource([now] { return now; }); }
    ~FixedClock() { SetClockSource(nullptr); }
};

} // namespace

TEST(DateUtils, EncodeDecodeAroundMonthEndsAndLeapYears)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(2024, 3, 1) - EncodeDate(2024, 2, 28), 2.0);
    EXPECT_EQ(EncodeDate(2023, 3, 1) - EncodeDate(2023, 2, 28), 1.0);
    EXPECT_EQ(EncodeDate(2100, 3, 1) - EncodeDate(2100, 2, 28), 1.0);
    EXPECT_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 28), 2.0);
    // Every day of a span across several leap years decodes back to itself.
    for (int y = 1999; y <= 2005; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= DaysInAMonth(y, m); ++d) {
                const Ymd r = Decode(EncodeDate(y, m, d));
                ASSERT_TRUE(r.y == y && r.m == m && r.d == d) << y << "-" << m << "-" << d;
            }
    EXPECT_EQ(DaysInAMonth(2024, 2), 29);
    EXPECT_EQ(DaysInAMonth(1900, 2), 28);
    EXPECT_FALSE(IsValidDate(2023, 2, 29));
    EXPECT_FALSE(IsValidDate(2024, 4, 31));
    EXPECT_FALSE(IsValidDate(0, 1, 1));
    TDateTime dt = 123;
    EXPECT_FALSE(TryEncodeDate(2024, 13, 1, dt));
    EXPECT_EQ(dt, 123);
    try {
        EncodeDate(2024, 13, 1);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'2024-13-01' is not a valid date");
    }
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
}

TEST(DateUtils, DatesBefore1899KeepTheTimeAsAPositiveFraction)
{
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    const TDateTime dt = EncodeDateTime(1899, 12, 29, 6, 0, 0, 0);
    EXPECT_EQ(dt, -1.25);
    const Ymd r = Decode(dt);
    EXPECT_EQ(r.y * 10000 + r.m * 100 + r.d, 18991229);
    int h, n, s, ms;
    DecodeTime(dt, h, n, s, ms);
    EXPECT_EQ(h, 6);
    EXPECT_EQ(DateOf(dt), -1.0);
    EXPECT_EQ(TimeOf(dt), 0.25);
    EXPECT_EQ(DayOfWeek(dt), 6);   // a Friday
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", EncodeDateTime(1850, 7, 1, 18, 30, 0, 0)), "1850-07-01 18:30");
    // Stepping across day 0 keeps the time of day.
    EXPECT_EQ(IncDay(EncodeDateTime(1899, 12, 30, 6, 0, 0, 0), -1), dt);
    EXPECT_EQ(IncDay(dt, 2), EncodeDateTime(1899, 12, 31, 6, 0, 0, 0));
    EXPECT_EQ(Trunc(-1.25), -1);
    EXPECT_EQ(Frac(-1.25), -0.25);
    EXPECT_THROW(Trunc(std::nan("")), EConvertError);
    EXPECT_THROW(Trunc(1e300), EConvertError);
    EXPECT_THROW(Trunc(-HUGE_VAL), EConvertError);
}

TEST(DateUtils, TimeDecodingRoundsToTheMillisecond)
{
    const TDateTime t = EncodeTime(23, 59, 59, 999);
    int h, n, s, ms;
    DecodeTime(t, h, n, s, ms);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 235959999);
    DecodeTime(EncodeTime(10, 31, 0, 0) + EncodeDate(2024, 9, 17), h, n, s, ms);
    EXPECT_EQ(h * 100 + n, 1031);
    // Just short of midnight by a floating-point hair is midnight of the next day.
    const TDateTime almost = EncodeDate(2024, 9, 17) + 1 - 1e-11;
    EXPECT_EQ(Decode(almost).d, 18);
    EXPECT_EQ(DateTimeToStr(almost), "2024-09-18");
}

TEST(DateUtils, WeekdaysWeeksAndMonthArithmetic)
{
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 9, 15)), 1);   // Sunday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 9, 21)), 7);
    EXPECT_EQ(DayOfTheWeek(EncodeDate(2024, 9, 15)), 7);
    EXPECT_EQ(WeekOfTheYear(EncodeDate(2021, 1, 3)), 53);   // belongs to 2020's last week
    EXPECT_EQ(WeekOfTheYear(EncodeDate(2021, 1, 4)), 1);
    EXPECT_EQ(WeekOfTheYear(EncodeDate(2024, 12, 30)), 1);  // belongs to 2025
    EXPECT_EQ(WeekOfTheYear(EncodeDate(2026, 12, 31)), 53);
    EXPECT_EQ(WeekOfTheYear(EncodeDate(2024, 1, 1)), 1);

    const TDateTime jan31 = EncodeDate(2024, 1, 31) + EncodeTime(8, 30, 0, 0);
    EXPECT_EQ(IncMonth(jan31), EncodeDate(2024, 2, 29) + EncodeTime(8, 30, 0, 0));
    EXPECT_EQ(IncMonth(EncodeDate(2023, 1, 31)), EncodeDate(2023, 2, 28));
    EXPECT_EQ(IncMonth(EncodeDate(2024, 3, 31), -1), EncodeDate(2024, 2, 29));
    EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 15), -13), EncodeDate(2022, 12, 15));
    EXPECT_EQ(IncMonth(EncodeDate(2024, 12, 1), 1), EncodeDate(2025, 1, 1));
    EXPECT_EQ(IncYear(EncodeDate(2024, 2, 29)), EncodeDate(2025, 2, 28));
    EXPECT_EQ(IncYear(EncodeDate(2024, 2, 29), -4), EncodeDate(2020, 2, 29));
    // Far out of range: years * 12 must not wrap around into a plausible month count.
    EXPECT_THROW(IncYear(EncodeDate(2024, 1, 1), 357913942), EConvertError);
    EXPECT_THROW(IncYear(EncodeDate(2024, 1, 1), -357913942), EConvertError);
    EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1)), EConvertError);
    EXPECT_EQ(IncDay(EncodeDate(2024, 12, 31)), EncodeDate(2025, 1, 1));
    EXPECT_EQ(YearOf(jan31) * 10000 + MonthOf(jan31) * 100 + DayOf(jan31), 20240131);
}

TEST(DateUtils, ClockSeam)
{
    const TDateTime fixed = EncodeDateTime(1901, 9, 17, 10, 31, 5, 0);
    {
        FixedClock clock(fixed);
        EXPECT_EQ(Now(), fixed);
        EXPECT_EQ(Date(), EncodeDate(1901, 9, 17));
        EXPECT_EQ(Time(), EncodeTime(10, 31, 5, 0));
    }
    EXPECT_NE(Now(), fixed);   // the system clock again, whatever it reads
}

TEST(DateUtils, FormatDateTimeTokens)
{
    const TDateTime dt = EncodeDateTime(2024, 3, 5, 8, 7, 9, 45);
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd", dt), "2024-03-05");
    EXPECT_EQ(FormatDateTime("YYYY-MM-DD", dt), "2024-03-05");
    EXPECT_EQ(FormatDateTime("HH:MM", dt), "08:07");
    EXPECT_EQ(FormatDateTime("HHMM", dt), "0807");
    EXPECT_EQ(FormatDateTime("HH:MM:SS", dt), "08:07:09");
    EXPECT_EQ(FormatDateTime("h:n:s", dt), "8:7:9");
    EXPECT_EQ(FormatDateTime("MM", dt), "03");
    EXPECT_EQ(FormatDateTime("DD", dt), "05");
    EXPECT_EQ(FormatDateTime("yy/m/d", dt), "24-3-5");
    EXPECT_EQ(FormatDateTime("mmmm dddd ddd", dt), "三月 星期二 二");
    EXPECT_EQ(FormatDateTime("yyyy\"年\"m'月'd日", dt), "2024年3月5日");
    EXPECT_EQ(FormatDateTime("hh'h'mm", dt), "08h07");   // a literal does not end the hour token
    EXPECT_EQ(FormatDateTime("hh:nn mm", dt), "08:07 03");
    EXPECT_EQ(FormatDateTime("hh mmmm", dt), "08 三月");   // only m/mm turn into minutes
    EXPECT_EQ(FormatDateTime("h:MMM", dt), "8:三月");
    EXPECT_EQ(FormatDateTime("ss.zzz", dt), "09.045");
    EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeTime(13, 5, 0, 0)), "1:05 pm");
    EXPECT_EQ(FormatDateTime("h AM/PM", EncodeTime(0, 5, 0, 0)), "12 AM");
    EXPECT_EQ(FormatDateTime("mmmm", EncodeDate(2024, 12, 1)), "十二月");
    EXPECT_EQ(FormatDateTime("yyyy年mm月dd日 hh:mm", dt), "2024年03月05日 08:07");
    EXPECT_EQ(FormatDateTime("", dt), "2024-03-05 8:07:09");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd", EncodeDate(9999, 12, 31)), "9999-12-31");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd", EncodeDate(1, 1, 1)), "0001-01-01");
    EXPECT_THROW(FormatDateTime("yyyy", EncodeDate(9999, 12, 31) + 1), EConvertError);
    EXPECT_THROW(FormatDateTime("yyyy", EncodeDate(1, 1, 1) - 1), EConvertError);
    EXPECT_THROW(DateTimeToStr(std::nan("")), EConvertError);
}

TEST(DateUtils, TextConversions)
{
    EXPECT_EQ(DateToStr(EncodeDate(2024, 9, 7)), "2024-09-07");
    EXPECT_EQ(TimeToStr(EncodeTime(8, 5, 0, 0)), "8:05:00");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 9, 7)), "2024-09-07");
    EXPECT_EQ(DateTimeToStr(EncodeDateTime(2024, 9, 7, 23, 0, 1, 0)), "2024-09-07 23:00:01");

    EXPECT_EQ(StrToDate("2024-9-17"), EncodeDate(2024, 9, 17));
    EXPECT_EQ(StrToDate(" 2024-09-17 "), EncodeDate(2024, 9, 17));
    EXPECT_EQ(StrToDateTime("2024-09-17 8:05"), EncodeDateTime(2024, 9, 17, 8, 5, 0, 0));
    EXPECT_EQ(StrToDateTime("2024-03-05  08:30:15"), EncodeDateTime(2024, 3, 5, 8, 30, 15, 0));
    EXPECT_EQ(StrToDateTime("2024-3-5"), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDateTime("10:31:00"), EncodeTime(10, 31, 0, 0));
    EXPECT_EQ(StrToTime("8:05:30.5"), EncodeTime(8, 5, 30, 500));
    EXPECT_EQ(StrToDateTime(DateTimeToStr(EncodeDateTime(1850, 1, 2, 3, 4, 5, 0))),
              EncodeDateTime(1850, 1, 2, 3, 4, 5, 0));

    for (const char* bad : {"", "2024-13-01", "2023-02-29", "2024/09/17", "2024-09-17x", "2024-09-17 25:00",
                            "2024-09-1710:00", "abc", "-5-1"}) {
        TDateTime v = 42;
        EXPECT_FALSE(TryStrToDateTime(bad, v)) << bad;
        EXPECT_EQ(v, 42) << bad;
    }
    TDateTime v;
    EXPECT_FALSE(TryStrToDate("2024-09-17 08:00", v));
    EXPECT_FALSE(TryStrToTime("2024-09-17", v));
    EXPECT_THROW(StrToTime("8"), EConvertError);
    EXPECT_THROW(StrToTime("8:60"), EConvertError);
    auto message = [](auto convert, const char* text) {
        try {
            convert(text);
        } catch (const EConvertError& e) {
            return e.Message();
        }
        return std::string("no error");
    };
    EXPECT_EQ(message(StrToDate, "2024-13-01"), "'2024-13-01' is not a valid date");
    EXPECT_EQ(message(StrToTime, "8:60"), "'8:60' is not a valid time");
    EXPECT_EQ(message(StrToDateTime, "2024-09-17 8"), "'2024-09-17 8' is not a valid date and time");
}

TEST(DateUtils, TwoDigitYearsAndMonthDayUseTheCurrentYear)
{
    FixedClock clock(EncodeDate(2025, 6, 1));   // window 1955 .. 2054
    EXPECT_EQ(StrToDate("24-09-17"), EncodeDate(2024, 9, 17));
    EXPECT_EQ(StrToDate("54-1-1"), EncodeDate(2054, 1, 1));
    EXPECT_EQ(StrToDate("55-1-1"), EncodeDate(1955, 1, 1));
    EXPECT_EQ(StrToDate("99-12-31"), EncodeDate(1999, 12, 31));
    EXPECT_EQ(StrToDate("0024-09-17"), EncodeDate(24, 9, 17));
    EXPECT_EQ(StrToDate("9-17"), EncodeDate(2025, 9, 17));
}

// The window slides with the year the clock seam reports, never the wall clock's.
TEST(DateUtils, TwoDigitYearWindowFollowsTheClock)
{
    {
        FixedClock clock(EncodeDateTime(2100, 12, 31, 23, 59, 0, 0));   // window 2030 .. 2129
        EXPECT_EQ(StrToDate("29-1-1"), EncodeDate(2129, 1, 1));
        EXPECT_EQ(StrToDate("30-1-1"), EncodeDate(2030, 1, 1));
        EXPECT_EQ(StrToDateTime("12-31 8:00"), EncodeDateTime(2100, 12, 31, 8, 0, 0, 0));
        TDateTime v;
        EXPECT_FALSE(TryStrToDate("2-29", v));   // 2100 is not a leap year
    }
    FixedClock clock(EncodeDate(1990, 1, 1));   // window 1920 .. 2019
    EXPECT_EQ(StrToDateTime("19-3-5 8:30"), EncodeDateTime(2019, 3, 5, 8, 30, 0, 0));
    EXPECT_EQ(StrToDate("20-3-5"), EncodeDate(1920, 3, 5));
}
