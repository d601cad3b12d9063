#include "framework/rtl/DateUtils.h"

#include "framework/rtl/SysUtils.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#include <ctime>
#endif

#include <cmath>
#include <mutex>

const char* const LongMonthNames[12] = {"一月", "二月", "三月", "四月", "五月", "六月",
                                        "七月", "八月", "九月", "十月", "十一月", "十二月"};
const char* const LongDayNames[7] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
const char* const ShortDayNames[7] = {"日", "一", "二", "三", "四", "五", "六"};

namespace {

constexpr int64_t MsPerDay = 86400000;
constexpr int64_t MinDay = -693593;    // 0001-01-01
constexpr int64_t MaxDay = 2958465;    // 9999-12-31
constexpr int64_t UnixEpochDay = 25569;

// Days between 1970-01-01 and a proleptic Gregorian date (negative before it).
int64_t DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

// A TDateTime as a day number and the milliseconds of the day. The day is the integral
// part; the fraction is the time of day whatever the sign (-1.25 is 1899-12-29 06:00).
// The value is rounded to the millisecond first, so 23:59:59.9999 carries into the next day.
struct DayTime {
    int64_t day;
    int64_t ms;
};

DayTime Split(TDateTime dt)
{
    if (std::isfinite(dt) && dt > MinDay - 1 && dt < MaxDay + 1) {
        const auto total = static_cast<int64_t>(std::llround(std::fabs(dt) * MSecsPerDay));
        DayTime r{total / MsPerDay, total % MsPerDay};
        if (dt < 0)
            r.day = -r.day;
        if (r.day >= MinDay && r.day <= MaxDay)
            return r;
    }
    throw EConvertError("Invalid date/time value " + FloatToStr(dt));
}

TDateTime Compose(int64_t day, int64_t ms)
{
    const double t = static_cast<double>(ms) / MSecsPerDay;
    return day >= 0 ? static_cast<double>(day) + t : static_cast<double>(day) - t;
}

int64_t DayNumber(int year, int month, int day)
{
    return DaysFromCivil(year, month, day) + UnixEpochDay;
}

} // namespace

//--- Calendar arithmetic

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInAMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool IsValidDate(int year, int month, int day)
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInAMonth(year, month);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result)
{
    if (!IsValidDate(year, month, day))
        return false;
    result = static_cast<double>(DayNumber(year, month, day));
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime r;
    if (!TryEncodeDate(year, month, day, r))
        throw EConvertError(Format("'%d-%.2d-%.2d' is not a valid date", {year, month, day}));
    return r;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day)
{
    CivilFromDays(Split(date).day - UnixEpochDay, year, month, day);
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result)
{
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999)
        return false;
    result = ((hour * 60 + min) * 60 + sec) * 1000.0 + msec;
    result /= MSecsPerDay;
    return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    TDateTime r;
    if (!TryEncodeTime(hour, min, sec, msec, r))
        throw EConvertError(Format("'%d:%.2d:%.2d.%.3d' is not a valid time", {hour, min, sec, msec}));
    return r;
}

void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec)
{
    const int64_t ms = Split(time).ms;
    hour = static_cast<int>(ms / 3600000);
    min = static_cast<int>(ms / 60000 % 60);
    sec = static_cast<int>(ms / 1000 % 60);
    msec = static_cast<int>(ms % 1000);
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec)
{
    const TDateTime time = EncodeTime(hour, min, sec, msec);
    return Compose(static_cast<int64_t>(EncodeDate(year, month, day)), std::llround(time * MSecsPerDay));
}

int DayOfWeek(TDateTime date)
{
    const int64_t day = Split(date).day;   // day 0 is a Saturday
    return static_cast<int>(((day % 7) + 13) % 7) + 1;
}

int DayOfTheWeek(TDateTime date)
{
    const int d = DayOfWeek(date);
    return d == 1 ? 7 : d - 1;
}

// The week belongs to the year of its Thursday; week 1 holds the year's first Thursday.
int WeekOfTheYear(TDateTime date)
{
    const int64_t thursday = Split(date).day - DayOfTheWeek(date) + 4;
    int y, m, d;
    CivilFromDays(thursday - UnixEpochDay, y, m, d);
    return static_cast<int>((thursday - DayNumber(y, 1, 1)) / 7 + 1);
}

int YearOf(TDateTime date)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    return y;
}

int MonthOf(TDateTime date)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    return m;
}

int DayOf(TDateTime date)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    return d;
}

TDateTime DateOf(TDateTime dt)
{
    return static_cast<double>(Split(dt).day);
}

TDateTime TimeOf(TDateTime dt)
{
    return static_cast<double>(Split(dt).ms) / MSecsPerDay;
}

TDateTime IncDay(TDateTime dt, int days)
{
    if (dt >= 0 && dt + days >= 0)
        return dt + days;
    const DayTime t = Split(dt);
    return Compose(t.day + days, t.ms);
}

namespace {

// Months as a 64-bit count so that IncYear's years * 12 cannot overflow.
TDateTime AddMonths(TDateTime dt, int64_t months)
{
    const DayTime t = Split(dt);
    int y, m, d;
    CivilFromDays(t.day - UnixEpochDay, y, m, d);
    const int64_t index = int64_t(y) * 12 + (m - 1) + months;
    const int64_t ny = index >= 0 ? index / 12 : (index - 11) / 12;
    if (ny < 1 || ny > 9999)
        throw EConvertError("Date out of range after adding " + IntToStr(months) + " months");
    y = static_cast<int>(ny);
    m = static_cast<int>(index - ny * 12 + 1);
    d = std::min(d, DaysInAMonth(y, m));
    return Compose(DayNumber(y, m, d), t.ms);
}

} // namespace

TDateTime IncMonth(TDateTime dt, int months)
{
    return AddMonths(dt, months);
}

TDateTime IncYear(TDateTime dt, int years)
{
    return AddMonths(dt, int64_t(years) * 12);
}

// NaN, infinities and values beyond the 64-bit range have no integral part to give.
int64_t Trunc(double value)
{
    const double t = std::trunc(value);
    if (!(t >= -9223372036854775808.0 && t < 9223372036854775808.0))
        throw EConvertError("'" + FloatToStr(value) + "' is not a valid integer value");
    return static_cast<int64_t>(t);
}

double Frac(double value)
{
    return value - std::trunc(value);
}

//--- Clock

namespace {

std::mutex clockMutex;
ClockSource clockSource;

TDateTime SystemNow()
{
#ifdef _WIN32
    SYSTEMTIME st;
    GetLocalTime(&st);
    return EncodeDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
#else
    using namespace std::chrono;
    const int64_t ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    const time_t secs = static_cast<time_t>(ms >= 0 ? ms / 1000 : (ms - 999) / 1000);
    std::tm local{};
    localtime_r(&secs, &local);
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                          std::min(local.tm_sec, 59), static_cast<int>(ms - int64_t(secs) * 1000));
#endif
}

} // namespace

void SetClockSource(ClockSource source)
{
    std::lock_guard<std::mutex> lock(clockMutex);
    clockSource = std::move(source);
}

TDateTime Now()
{
    ClockSource source;
    {
        std::lock_guard<std::mutex> lock(clockMutex);
        source = clockSource;
    }
    return source ? source() : SystemNow();
}

TDateTime Date()
{
    return DateOf(Now());
}

TDateTime Time()
{
    return TimeOf(Now());
}

//--- Formatting

namespace {

char Up(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool StartsWithNoCase(std::string_view s, size_t pos, std::string_view what)
{
    return s.size() - pos >= what.size() && SameText(s.substr(pos, what.size()), what);
}

void AppendNumber(std::string& out, int64_t value, int digits)
{
    std::string s = std::to_string(value);
    if (static_cast<int>(s.size()) < digits)
        out.append(digits - s.size(), '0');
    out += s;
}

// Whether an unquoted am/pm or a/p token makes the hours 12-hour based.
bool HasAmPm(std::string_view f)
{
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] == '"' || f[i] == '\'') {
            const size_t close = f.find(f[i], i + 1);
            if (close == std::string_view::npos)
                return false;
            i = close;
        } else if (StartsWithNoCase(f, i, "am/pm") || StartsWithNoCase(f, i, "a/p")) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string FormatDateTime(std::string_view format, TDateTime dt)
{
    if (format.empty())
        return DateTimeToStr(dt);
    const DayTime t = Split(dt);
    int year, month, day;
    CivilFromDays(t.day - UnixEpochDay, year, month, day);
    const int hour = static_cast<int>(t.ms / 3600000), min = static_cast<int>(t.ms / 60000 % 60);
    const int sec = static_cast<int>(t.ms / 1000 % 60), msec = static_cast<int>(t.ms % 1000);
    const int weekDay = DayOfWeek(dt) - 1;
    const bool twelveHour = HasAmPm(format);

    std::string out;
    char last = 0;   // previous token letter, upper case; literals do not change it
    for (size_t i = 0; i < format.size();) {
        const char c = format[i];
        if (c == '"' || c == '\'') {
            const size_t close = format.find(c, i + 1);
            const size_t end = close == std::string_view::npos ? format.size() : close;
            out.append(format.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        if (!IsAsciiLetter(c)) {
            out += c == '/' ? '-' : c;
            ++i;
            continue;
        }
        char token = Up(c);
        if (token == 'A') {
            if (StartsWithNoCase(format, i, "am/pm")) {
                out.append(format.substr(hour < 12 ? i : i + 3, 2));
                i += 5;
                last = token;
                continue;
            }
            if (StartsWithNoCase(format, i, "a/p")) {
                out += format[hour < 12 ? i : i + 2];
                i += 3;
                last = token;
                continue;
            }
        }
        size_t n = 1;
        while (i + n < format.size() && Up(format[i + n]) == token)
            ++n;
        if (token == 'M' && n <= 2 && last == 'H')
            token = 'N';
        last = token;
        switch (token) {
        case 'Y':
            if (n <= 2)
                AppendNumber(out, year % 100, 2);
            else
                AppendNumber(out, year, 4);
            break;
        case 'M':
            if (n <= 2)
                AppendNumber(out, month, static_cast<int>(n));
            else
                out += LongMonthNames[month - 1];
            break;
        case 'D':
            if (n <= 2)
                AppendNumber(out, day, static_cast<int>(n));
            else
                out += n == 3 ? ShortDayNames[weekDay] : LongDayNames[weekDay];
            break;
        case 'H': {
            int h = hour;
            if (twelveHour)
                h = h % 12 == 0 ? 12 : h % 12;
            AppendNumber(out, h, n >= 2 ? 2 : 1);
            break;
        }
        case 'N':
            AppendNumber(out, min, n >= 2 ? 2 : 1);
            break;
        case 'S':
            AppendNumber(out, sec, n >= 2 ? 2 : 1);
            break;
        case 'Z':
            AppendNumber(out, msec, n >= 2 ? 3 : 1);
            break;
        default:
            out.append(format.substr(i, n));
            break;
        }
        i += n;
    }
    return out;
}

std::string DateToStr(TDateTime dt)
{
    return FormatDateTime("yyyy-mm-dd", dt);
}

std::string TimeToStr(TDateTime dt)
{
    return FormatDateTime("h:nn:ss", dt);
}

std::string DateTimeToStr(TDateTime dt)
{
    return Split(dt).ms == 0 ? DateToStr(dt) : FormatDateTime("yyyy-mm-dd h:nn:ss", dt);
}

//--- Reading

namespace {

class Scanner {
public:
    explicit Scanner(std::string_view s) : FText(s) {}

    bool AtEnd() const { return FPos >= FText.size(); }
    bool Char(char c)
    {
        if (AtEnd() || FText[FPos] != c)
            return false;
        ++FPos;
        return true;
    }
    // Returns whether at least one blank was skipped.
    bool Blanks()
    {
        const size_t start = FPos;
        while (!AtEnd() && (FText[FPos] == ' ' || FText[FPos] == '\t'))
            ++FPos;
        return FPos > start;
    }
    bool Number(int& value, int& digits)
    {
        value = 0;
        digits = 0;
        while (!AtEnd() && FText[FPos] >= '0' && FText[FPos] <= '9') {
            if (++digits > 9)
                return false;
            value = value * 10 + (FText[FPos++] - '0');
        }
        return digits > 0;
    }
    bool Number(int& value)
    {
        int digits;
        return Number(value, digits);
    }

    // Y-M-D or M-D (this year); a one- or two-digit year goes through the century window.
    bool Date(int64_t& day)
    {
        int n1, n2, n3, len1;
        if (!Number(n1, len1) || !Char('-') || !Number(n2))
            return false;
        int y, m, d;
        if (Char('-')) {
            if (!Number(n3))
                return false;
            y = n1;
            m = n2;
            d = n3;
            if (len1 <= 2)
                y = ExpandYear(y);
        } else {
            y = YearOf(Now());
            m = n1;
            d = n2;
        }
        if (!IsValidDate(y, m, d))
            return false;
        day = DayNumber(y, m, d);
        return true;
    }

    // H:M, H:M:S or H:M:S.zzz
    bool Time(int64_t& ms)
    {
        int h, m, s = 0, z = 0, zDigits = 0;
        if (!Number(h) || !Char(':') || !Number(m))
            return false;
        if (Char(':')) {
            if (!Number(s))
                return false;
            if (Char('.') && (!Number(z, zDigits) || zDigits > 3))
                return false;
        }
        for (; zDigits > 0 && zDigits < 3; ++zDigits)
            z *= 10;
        if (h > 23 || m > 59 || s > 59)
            return false;
        ms = ((int64_t(h) * 60 + m) * 60 + s) * 1000 + z;
        return true;
    }

private:
    // The century window: a two-digit year falls within the 100 years starting 70 years
    // before the current year.
    static int ExpandYear(int y)
    {
        constexpr int window = 70;
        const int base = YearOf(Now()) - window;
        y += base / 100 * 100;
        if (y < base)
            y += 100;
        return y;
    }

    std::string_view FText;
    size_t FPos = 0;
};

} // namespace

bool TryStrToDate(std::string_view s, TDateTime& value)
{
    const std::string text = Trim(s);
    Scanner sc(text);
    int64_t day;
    if (!sc.Date(day) || !sc.AtEnd())
        return false;
    value = static_cast<double>(day);
    return true;
}

bool TryStrToTime(std::string_view s, TDateTime& value)
{
    const std::string text = Trim(s);
    Scanner sc(text);
    int64_t ms;
    if (!sc.Time(ms) || !sc.AtEnd())
        return false;
    value = Compose(0, ms);
    return true;
}

bool TryStrToDateTime(std::string_view s, TDateTime& value)
{
    const std::string text = Trim(s);
    Scanner sc(text);
    int64_t day = 0, ms = 0;
    if (sc.Date(day)) {
        if (!sc.AtEnd() && (!sc.Blanks() || !sc.Time(ms) || !sc.AtEnd()))
            return false;
    } else {
        Scanner timeOnly(text);
        if (!timeOnly.Time(ms) || !timeOnly.AtEnd())
            return false;
    }
    value = Compose(day, ms);
    return true;
}

TDateTime StrToDate(std::string_view s)
{
    TDateTime r;
    if (!TryStrToDate(s, r))
        throw EConvertError("'" + std::string(s) + "' is not a valid date");
    return r;
}

TDateTime StrToTime(std::string_view s)
{
    TDateTime r;
    if (!TryStrToTime(s, r))
        throw EConvertError("'" + std::string(s) + "' is not a valid time");
    return r;
}

TDateTime StrToDateTime(std::string_view s)
{
    TDateTime r;
    if (!TryStrToDateTime(s, r))
        throw EConvertError("'" + std::string(s) + "' is not a valid date and time");
    return r;
}
