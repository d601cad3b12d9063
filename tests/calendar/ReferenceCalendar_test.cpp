// The engine against an independent computation of the calendar for 1901 .. 2100: every
// day's lunar date and every solar term's day.
#include "ReferenceCalendar.h"

#include "calendar/core/LunarCalendar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

using CnDate = std::tuple<int, int, int, bool>;  // lunar year, month, day, leap

}  // namespace

// Worked values of the two series and of Delta T: a wrong coefficient in the tables moves
// these by far more than the tolerances.
TEST(ReferenceCalendar, SeriesReproduceKnownValues)
{
    EXPECT_NEAR(ReferenceNewMoon(-283), 2443192.65118, 1e-5);            // 1977-02-18 03:37:42 TD
    EXPECT_NEAR(ReferenceSunLongitude(2448908.5), 199.90601, 1e-4);      // 1992-10-13 0h TD
    EXPECT_NEAR(ReferenceSunReaches(90, 2437837.0), 2437837.3924, 1e-3);  // June solstice 1962
    EXPECT_NEAR(ReferenceDeltaT(2000), 63.9, 0.5);
    EXPECT_NEAR(ReferenceDeltaT(1950), 29.1, 0.5);
    // 小暑 2016 at 00:03 Beijing time on 7 July.
    const double jde = ReferenceSunReaches(105, 2457576.5);
    EXPECT_EQ(ReferenceBeijingDay(jde), DateToDayNumber(2016, 7, 7));
    EXPECT_EQ(ReferenceBeijingMinute(jde), 3);
}

TEST(ReferenceCalendar, EverySolarTermOf1901To2100FallsOnItsDay)
{
    for (const ReferenceTerm& term : ReferenceSolarTerms(1901, 2100)) {
        int month = 0, day = 0, hour = 0, minute = 0;
        ASSERT_TRUE(GetSolarTermDate(term.Year, term.Index, month, day, hour, minute));
        EXPECT_EQ(DateToDayNumber(term.Year, month, day), term.Day) << term.Year << " term " << term.Index;
        // The series' times are good to some twenty minutes (the corrected ones to the minute).
        ASSERT_TRUE(hour >= 0 && hour < 24 && minute >= 0 && minute < 60);
        const int diff = std::abs(hour * 60 + minute - ReferenceBeijingMinute(term.Jde));
        EXPECT_LE(std::min(diff, 1440 - diff), 25) << term.Year << " term " << term.Index;
    }
}

TEST(ReferenceCalendar, EveryDayOf1901To2100HasItsLunarDate)
{
    const std::vector<ReferenceMonth> months = ReferenceLunarMonths(1901, 2100);
    const int first = DateToDayNumber(1901, 1, 1), last = DateToDayNumber(2100, 12, 31);
    int checked = 0;
    for (size_t i = 0; i + 1 < months.size(); ++i) {
        const ReferenceMonth& mo = months[i];
        for (int n = std::max(first, mo.FirstDay); n < months[i + 1].FirstDay && n <= last; ++n) {
            int y, m, d;
            ASSERT_TRUE(DayNumberToDate(n, y, m, d));
            bool leap;
            int cnDay, cnMonth, cnYear;
            ASSERT_TRUE(SolarToCnDate(y, m, d, leap, cnDay, cnMonth, cnYear));
            ASSERT_EQ(CnDate(cnYear, cnMonth, cnDay, leap), CnDate(mo.Year, mo.Month, n - mo.FirstDay + 1, mo.Leap))
                << y << "-" << m << "-" << d;
            ++checked;
        }
    }
    EXPECT_EQ(checked, last - first + 1);
    // The leap months the reference finds are those of the engine's table.
    for (const ReferenceMonth& mo : months)
        if (mo.Leap && mo.Year >= 1901 && mo.Year <= 2100) {
            EXPECT_EQ(LeapMonthOfYear(mo.Year), mo.Month) << mo.Year;
        }
}
