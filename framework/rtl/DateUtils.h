#pragma once
// TDateTime: days since 1899-12-30 as a double, the fraction being the time of day.
// Encoding, decoding and arithmetic; FormatDateTime and the text conversions under the
// program's fixed settings (date separator '-', short date "yyyy-mm-dd", long time
// "H:mm:ss", two-digit-year window 70). Month and weekday names are fixed Chinese texts,
// never the host locale. Now/Date/Time read a clock seam that tests replace.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Before 1899-12-30 the integral part counts days back and the fraction still adds the
// time of day: -1.25 is 1899-12-29 06:00. Decoding rounds to the millisecond first; values
// outside 0001-01-01 .. 9999-12-31 (or NaN) raise EConvertError.
using TDateTime = double;

constexpr double MSecsPerDay = 86400000.0;

bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);
bool IsValidDate(int year, int month, int day);

TDateTime EncodeDate(int year, int month, int day);           // raises EConvertError
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
void DecodeDate(TDateTime date, int& year, int& month, int& day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);   // raises EConvertError
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result);
void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec);

int DayOfWeek(TDateTime date);          // 1 = Sunday .. 7 = Saturday
int DayOfTheWeek(TDateTime date);       // ISO: 1 = Monday .. 7 = Sunday
int WeekOfTheYear(TDateTime date);      // ISO 8601 week number
int YearOf(TDateTime date);
int MonthOf(TDateTime date);
int DayOf(TDateTime date);

TDateTime DateOf(TDateTime dt);         // whole days (Trunc for dates before 1899 too)
TDateTime TimeOf(TDateTime dt);         // time of day as a fraction in [0, 1)
TDateTime IncDay(TDateTime dt, int days = 1);
TDateTime IncMonth(TDateTime dt, int months = 1);   // clamps the day to the month's end
TDateTime IncYear(TDateTime dt, int years = 1);     // Feb 29 -> Feb 28 in common years
int64_t Trunc(double value);           // NaN or beyond 64 bits raises EConvertError
double Frac(double value);

// Clock seam: Now() returns what the source returns. The default source reads the
// system's local time; tests install a fixed or stepping source.
using ClockSource = std::function<TDateTime()>;
void SetClockSource(ClockSource source);   // empty = back to the system clock
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Tokens (case-insensitive): yyyy yy m mm mmm mmmm d dd ddd dddd h hh n nn s ss z zzz
// am/pm, "quoted" and 'quoted' literals, '/' date and ':' time separator. m/mm right after
// h/hh (ignoring literals) means minutes. mmmm = "一月".., dddd = "星期日"..
std::string FormatDateTime(std::string_view format, TDateTime dt);
std::string DateToStr(TDateTime dt);       // "yyyy-mm-dd"
std::string TimeToStr(TDateTime dt);       // "H:mm:ss"
std::string DateTimeToStr(TDateTime dt);   // date, plus " H:mm:ss" when the time is not zero

// Lenient readers: "2024-9-17", "24-09-17", "9-17" (this year), "2024-09-17 8:05",
// "8:05:30", "8:05:30.250", a time alone (day 0). Blanks around are ignored.
TDateTime StrToDate(std::string_view s);       // raise EConvertError with the text quoted
TDateTime StrToTime(std::string_view s);
TDateTime StrToDateTime(std::string_view s);
bool TryStrToDate(std::string_view s, TDateTime& value);
bool TryStrToTime(std::string_view s, TDateTime& value);
bool TryStrToDateTime(std::string_view s, TDateTime& value);

extern const char* const LongMonthNames[12];   // "一月" .. "十二月"
extern const char* const LongDayNames[7];      // "星期日" .. "星期六"
extern const char* const ShortDayNames[7];     // "日" .. "六"
