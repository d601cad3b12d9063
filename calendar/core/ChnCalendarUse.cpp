#include "calendar/core/ChnCalendarUse.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "calendar/core/LunarCalendar.h"
#include "calendar/core/LunarCalendarNames.h"
#include "framework/rtl/SysUtils.h"

namespace {

// Generated at build time from EraTable.txt.
constexpr TEraRow EraRows[] = {
#include "EraTable.inc"
};

// Western sign start dates as month * 100 + day, from 白羊.
constexpr std::array<int, 12> ConstellationStarts = {120, 219, 321, 421, 521, 622, 723, 823, 923, 1023, 1123, 1222};

bool SolarTermFallsOn(int year, int index, int month, int day)
{
    int m, d, hour, minute;
    return GetSolarTermDate(year, index, m, d, hour, minute) && m == month && d == day;
}

// The framework's day of a TDateTime (the date part, to the millisecond as DecodeDate takes
// it); false for NaN and values beyond 0001-01-01 .. 9999-12-31.
bool WholeDay(TDateTime t, int& dayOfT)
{
    constexpr double MinDay = -693593, MaxDay = 2958465, MsPerDay = 86400000.0;
    if (!std::isfinite(t) || t <= MinDay - 1 || t >= MaxDay + 1)
        return false;
    const double day = std::floor(std::round(std::fabs(t) * MsPerDay) / MsPerDay);
    dayOfT = static_cast<int>(t < 0 ? -day : day);
    return dayOfT >= MinDay && dayOfT <= MaxDay;
}

// The engine's civil date of the day of t. TDateTime counts proleptic Gregorian days while
// the engine's dates are Julian before 1582-10-15, so the day goes through the engine's day
// number (which equals the proleptic Gregorian count of days from 0001-01-01). False for
// days outside the engine's years.
bool EngineDate(TDateTime t, int& year, int& month, int& day)
{
    constexpr int DayNumberOfZero = 693594;  // DateToDayNumber(1899, 12, 30)
    int dayOfT;
    if (!WholeDay(t, dayOfT))
        return false;
    const int n = dayOfT + DayNumberOfZero;
    return n <= DateToDayNumber(CnMaxYear, 12, 31) && DayNumberToDate(n, year, month, day);
}

// The shown (proleptic Gregorian) date of t; false where the framework cannot decode it.
bool ShownDate(TDateTime t, int& year, int& month, int& day)
{
    int dayOfT;
    if (!WholeDay(t, dayOfT))
        return false;
    DecodeDate(dayOfT, year, month, day);
    return true;
}

}  // namespace

std::string GetStemBranchName(int index) { return NameAt(StemBranchNames, index); }
std::string GetAnimalName(int index) { return NameAt(AnimalNames, index); }
std::string GetSolarTermName(int index) { return NameAt(SolarTermNames, index); }
std::string GetConstellationName(int index) { return NameAt(ConstellationNames, index); }

std::string GetCnDayName(int cnDay)
{
    if (cnDay < 1 || cnDay > 30)
        return {};
    int units = cnDay % 10, tens = cnDay / 10;
    if (units == 0) {
        // 初十 and 二十, 三十: the tens move to the prefixes "二", "三".
        units = 10;
        tens = tens == 1 ? 0 : tens + 2;
    }
    return NameAt(DayPrefixNames, tens) + NameAt(NumeralNames, units - 1);
}

int ConstellationOfDate(int month, int day)
{
    const int v = 100 * month + day;
    const auto next = std::upper_bound(ConstellationStarts.begin(), ConstellationStarts.end(), v);
    if (next == ConstellationStarts.end())
        return 9;  // from 22 December on: 摩羯, as before 20 January
    return static_cast<int>(next - ConstellationStarts.begin() + 9) % 12;
}

bool DateTimeToCnDate(TDateTime t, int& cnYear, int& cnMonth, int& cnDay, bool& leap)
{
    int y, m, d;
    return EngineDate(t, y, m, d) && SolarToCnDate(y, m, d, leap, cnDay, cnMonth, cnYear);
}

std::string GetSolarTermOfDay(TDateTime t)
{
    // Engine term index i (0 = 小寒) is name (i + 22) mod 24 (the name table starts at 立春).
    // Month m holds about terms 2m-2 and 2m-1; Julian dates run up to a month off that, and
    // a term of the year before or after can fall in January or December.
    int y, m, d;
    if (!EngineDate(t, y, m, d))
        return {};
    for (int i = std::max(0, 2 * m - 4); i <= std::min(23, 2 * m + 1); ++i) {
        int tm, td, hour, minute;
        const bool otherYear = (i <= 1 && m == 12) || (i >= 22 && m == 1);
        if (!otherYear && GetSolarTermDate(y, i, tm, td, hour, minute) && tm == m && td == d)
            return NameAt(SolarTermNames, (i + 22) % 24);
    }
    if (m == 12) {
        const int next = y == -1 ? 1 : y + 1;
        for (int i = 0; i <= 1; ++i)
            if (SolarTermFallsOn(next, i, 12, d))
                return NameAt(SolarTermNames, (i + 22) % 24);
    }
    if (m == 1) {
        const int prev = y == 1 ? -1 : y - 1;
        for (int i = 22; i <= 23; ++i)
            if (SolarTermFallsOn(prev, i, 1, d))
                return NameAt(SolarTermNames, (i + 22) % 24);
    }
    return {};
}

std::string GetHoliday(int day, TDateTime t)
{
    int y, m, d;
    if (!ShownDate(t, y, m, d) || day < 1 || day > DaysInAMonth(y, m))
        return {};
    const int week = (day - 1) / 7;  // 0 = first week of the month
    auto isWeekday = [&](int weekday) { return DayOfWeek(EncodeDate(y, m, day)) == weekday; };
    constexpr int Sunday = 1, Thursday = 5;
    std::string name;
    switch (m) {
    case 1: if (day == 1) name = "元旦节"; break;
    case 2: if (day == 14) name = "情人节"; break;
    case 3: if (day == 8) name = "妇女节"; break;
    case 4: if (day == 1) name = "愚人节"; break;
    case 5:
        if (day == 1) name = "劳动节";
        if (day == 4) name = "青年节";
        if (week == 1 && isWeekday(Sunday)) name = "母亲节";
        break;
    case 6:
        if (day == 1) name = "儿童节";
        if (week == 2 && isWeekday(Sunday)) name = "父亲节";
        break;
    case 7: if (day == 1) name = "建党节"; break;
    case 8: if (day == 1) name = "建军节"; break;
    case 9: if (day == 10) name = "教师节"; break;
    case 10:
        if (day == 1) name = "国庆节";
        if (day == 6) name = "老人节";
        if (day == 31) name = "万圣节";
        break;
    case 11:
        if (day == 8) name = "记者日";
        if (week == 3 && isWeekday(Thursday)) name = "感恩节";
        break;
    case 12: if (day == 25) name = "圣诞节"; break;
    }
    return name;
}

std::string GetCnHoliday(int cnMonth, int cnDay, TDateTime t, bool leap)
{
    switch (leap ? 0 : cnMonth * 100 + cnDay) {
    case 101: return "春节";
    case 115: return "元宵节";
    case 505: return "端午节";
    case 707: return "七夕节";
    case 815: return "中秋节";
    case 909: return "重阳节";
    case 1208: return "腊八节";
    }
    // Only the last day of a month (29 or 30) can precede New Year's Day; checking just those
    // spares a conversion for the other days of the twelfth month.
    if (cnMonth == 12 && cnDay >= 29) {
        int year, month, day;
        bool leap;
        if (DateTimeToCnDate(t + 1, year, month, day, leap) && month == 1 && day == 1)
            return "除夕";
    }
    return {};
}

std::span<const TEraRow> EraTable() { return EraRows; }

std::string GetEraText(int year)
{
    const std::span<const TEraRow> rows = EraTable();
    if (year < rows.front().Start || year >= rows.back().Start)
        return {};
    // The last row starting at or before the year; the sentinel is never chosen.
    const auto next = std::upper_bound(rows.begin(), rows.end(), year,
                                       [](int y, const TEraRow& row) { return y < row.Start; });
    const TEraRow& row = *(next - 1);
    const std::string number = year == row.Start ? std::string("元") : IntToStr(year - row.Start + 1);
    return std::string("[") + row.Dynasty + "]" + row.EmperorTitle + " " + row.PersonalName + " " + row.EraName +
           number + "年";
}

std::string GetDelimitedField(std::string_view s, char delim, int field, bool skipEmpty)
{
    int counted = 0;
    size_t start = 0;
    while (true) {
        const size_t end = s.find(delim, start);
        const std::string text = Trim(s.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (!(skipEmpty && text.empty()) && ++counted == field)
            return text;
        if (end == std::string_view::npos)
            return {};
        start = end + 1;
    }
}

void TChnCal::SetDateTime(TDateTime t)
{
    FDateTime = t;
    // y, m, d: the engine's date (Julian before 1582-10-15); the western sign and the solar
    // festivals go by the shown Gregorian date sm, sd.
    int y, m, d, sy, sm, sd;
    int cnYear, cnMonth, cnDay;
    bool leap;
    if (!EngineDate(t, y, m, d) || !ShownDate(t, sy, sm, sd) || !SolarToCnDate(y, m, d, leap, cnDay, cnMonth, cnYear))
        return;

    const bool newYear = !FFilled || cnYear != FCnYear;
    if (newYear) {
        FCnYear = cnYear;
        FCnYearText = IntToStr(cnYear);
        FAnimal = NameAt(AnimalNames, YearAnimal(cnYear));
    }
    if (newYear || cnMonth != FCnMonth || leap != FIsLeap) {
        FCnMonth = cnMonth;
        FIsLeap = leap;
        const std::string stem = NameAt(CnMonthNames, cnMonth - 1);
        FCnMonthName = leap ? "闰" + stem : stem + "月";
    }
    FFilled = true;
    // The stem-branch year and month turn at solar terms, not with the lunar year or month,
    // and the era follows the solar year: these are worked out for every date.
    FYearStemBranch = NameAt(StemBranchNames, YearStemBranch(y, m, d));
    FMonthStemBranch = NameAt(StemBranchNames, MonthStemBranch(y, m, d));
    FEraText = GetEraText(y);

    FCnDayName = GetCnDayName(cnDay);
    FDayStemBranch = NameAt(StemBranchNames, DayStemBranch(y, m, d));
    FConstellation = NameAt(ConstellationNames, ConstellationOfDate(sm, sd));
    FHoliday = GetHoliday(sd, t);
    FCnHoliday = GetCnHoliday(cnMonth, cnDay, t, leap);
    FSolarTerm = GetSolarTermOfDay(t);
}
