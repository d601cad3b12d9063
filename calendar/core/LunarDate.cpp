#include "calendar/core/LunarDate.h"

#include "calendar/core/LunarCalendar.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::string_view, 12> MonthNames = {"正月", "二月", "三月", "四月", "五月", "六月",
                                                         "七月", "八月", "九月", "十月", "十一月", "十二月"};
// Month names written elsewhere in the program: the stems of 11 and 12, and the stems
// that follow "闰" in a leap month's name.
constexpr std::array<std::string_view, 12> MonthStems = {"正", "二", "三", "四", "五", "六",
                                                         "七", "八", "九", "十", "冬", "腊"};
constexpr std::array<std::string_view, 30> DayNames = {
    "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
    "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
    "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十"};

constexpr std::string_view LeapPrefix = "闰";

std::string TwoDigits(int n)
{
    return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

// 1..12 for the name of an ordinary month, else 0.
int OrdinaryMonth(std::string_view name)
{
    for (size_t i = 0; i < MonthNames.size(); ++i)
        if (name == MonthNames[i])
            return static_cast<int>(i) + 1;
    if (name == "冬月")
        return 11;
    if (name == "腊月")
        return 12;
    return 0;
}

}  // namespace

std::string LunarMonthToNumber(std::string_view name)
{
    int month = OrdinaryMonth(name);
    if (month == 0 && name.starts_with(LeapPrefix)) {
        const std::string_view rest = name.substr(LeapPrefix.size());
        month = OrdinaryMonth(rest);
        for (size_t i = 0; i < MonthStems.size() && month == 0; ++i)
            if (rest == MonthStems[i])
                month = static_cast<int>(i) + 1;
    }
    return month > 0 ? TwoDigits(month) : std::string();
}

std::string LunarDayToNumber(std::string_view name)
{
    for (size_t i = 0; i < DayNames.size(); ++i)
        if (name == DayNames[i])
            return TwoDigits(static_cast<int>(i) + 1);
    return {};
}

bool SolarToLunar(int year, int month, int day, bool& leap, int& lunarDay, int& lunarMonth, int& lunarYear)
{
    return SolarToCnDate(year, month, day, leap, lunarDay, lunarMonth, lunarYear);
}

bool LunarToSolar(int year, int month, int day, bool leap, int& solarDay, int& solarMonth, int& solarYear)
{
    if (year == 0 || day < 1 || day > DaysInMonth(year, month) || GetCalendarKind(year, month, day) == 0)
        return false;
    int y, m, d;
    if (!CnDateToSolar(year, month, day, leap, y, m, d))
        return false;
    const int offset = DateToDayNumber(y, m, d) - DateToDayNumber(year, month, day);
    if (offset < 0 || offset > 100)
        return false;
    solarDay = d;
    solarMonth = m;
    solarYear = y;
    return true;
}

bool NextLunarDate(int month, int day, TDateTime from, TDateTime& date, bool& shortMonth)
{
    if (month < 1 || month > 12 || day < 1 || day > 30)
        return false;
    int y, m, d, cnDay, cnMonth, cnYear;
    bool leap;
    DecodeDate(from, y, m, d);
    if (!SolarToCnDate(y, m, d, leap, cnDay, cnMonth, cnYear))
        return false;
    from = DateOf(from);
    for (int year = cnYear; year <= cnYear + 1; ++year)
        for (int dd = day; dd >= (day == 30 ? 29 : day); --dd) {
            int sy, sm, sd;
            TDateTime found;
            if (!CnDateToSolar(year, month, dd, false, sy, sm, sd) || !TryEncodeDate(sy, sm, sd, found))
                continue;
            if (found < from)
                break;   // this year's has passed
            date = found;
            shortMonth = dd != day;
            return true;
        }
    return false;
}

bool NextLunarDayDate(int day, TDateTime from, TDateTime& date, bool& shortMonth)
{
    if (day < 1 || day > 30)
        return false;
    from = DateOf(from);
    int y, m, d, cnDay, cnMonth;
    bool leap;
    DecodeDate(from, y, m, d);
    if (!SolarToCnDate(y, m, d, leap, cnDay, cnMonth))
        return false;
    // Walk month by month from the first day of the month of `from`; a month has 30 days
    // when its 30th day still carries the lunar day 30.
    TDateTime first = from - (cnDay - 1);
    for (int i = 0; i < 3; ++i) {
        DecodeDate(first + 29, y, m, d);
        if (!SolarToCnDate(y, m, d, leap, cnDay, cnMonth))
            return false;
        const int length = cnDay == 30 ? 30 : 29;
        const TDateTime found = first + (std::min(day, length) - 1);
        if (found >= from) {
            date = found;
            shortMonth = day > length;
            return true;
        }
        first += length;
    }
    return false;
}
