#pragma once
// Chinese calendar engine: day numbers across the 1582 Julian/Gregorian switch, the 24
// solar terms, new and full moons with eclipse flags, leap months, solar <-> lunar
// conversion and the stem-branch (sexagenary) indexes, for the years -849 .. 2100.
// Stateless functions on plain integers; there is no year 0 (year -1 precedes year 1).
// The name tables live in LunarCalendarNames.h; nothing here raises.

#include <array>
#include <cstdint>
#include <string_view>

// One character per year -849 .. 2100 at position year + 849 (position 849 stands for the
// missing year 0): "0" no leap month, "1".."9","a","b","c" a leap month after month 1..12.
extern const std::string_view LeapMonthTable;

// Per year -849..-1 (index year + 849) and 1..2100 (index year + 848): the count of years
// from -849 up to it with a leap month.
extern const std::array<int32_t, 2949> LeapMonthCountTable;

constexpr int CnMinYear = -849;
constexpr int CnMaxYear = 2100;

// Entry of LeapMonthCountTable for a year in -849..2100 (year 0 and others give 0).
int LeapMonthCountOfYear(int year);

//--- Civil dates and day numbers

// 1 Julian (before 1582-10-05), 0 dropped day (1582-10-05 .. 1582-10-14), 2 Gregorian.
int GetCalendarKind(int year, int month, int day);
// Leap year of this calendar: Julian before 1582 (-1, -5, .. leap), Gregorian after.
// (Named apart from the run-time library's proleptic Gregorian IsLeapYear.)
bool IsCalendarLeapYear(int year);
int DaysInMonth(int year, int month);  // 0 for a month outside 1..12
// 1 if the first date is later, -1 if earlier, 0 if equal.
int CompareDate(int year1, int month1, int day1, int year2, int month2, int day2);
// Lunar dates: year, month, then a leap month after the ordinary one, then day.
int CompareCnDate(int year1, int month1, int day1, bool leap1, int year2, int month2, int day2, bool leap2);
int DayOfYear(int year, int month, int day);
// Continuous count of days (1582-10-04 is 577735, 1582-10-15 is 577736); 0 for a dropped day
// and for years beyond a million either way.
int DateToDayNumber(int year, int month, int day);
// Exact inverse of DateToDayNumber; false for negative numbers.
bool DayNumberToDate(int dayNumber, int& year, int& month, int& day);

//--- Astronomy

// The astronomy answers for the years -1049 .. 2300; outside them the functions below give
// 0, -1 or false.

// Day of the year (1 = 1 January; the fraction is the time of day, Beijing time) of solar
// term n, n = 1 Minor Cold .. 24 Winter Solstice; odd n open the twelve solar months. In
// 1901 .. 2100 the terms fall on the days of the published calendar.
long double SolarTermDay(int year, int n);
// Term index 0..23 (0 Minor Cold, 2 Start of Spring, 23 Winter Solstice); false for index >= 24.
// The minute is rounded and carried into the hour and day. Minor Cold of a Julian year can
// fall in the December before (month 12), Winter Solstice of the earliest years in the
// January after (month 1).
bool GetSolarTermDate(int year, int index, int& month, int& day, int& hour, int& minute);

// Phase kinds of MoonPhaseOfDate.
constexpr int PhaseNone = 0, PhaseNewMoon = 1, PhaseFullMoon = 2;
// Eclipse kinds: 1 solar eclipse (new moon), 2 and 3 lunar eclipses (full moon).
constexpr int EclipseNone = 0, EclipseSolar = 1, EclipseLunarTotal = 2, EclipseLunarPartial = 3;

// Lunar day 1..30 of the date (whole number), or -1 when no new moon lay 0..29 days back.
// In 1901 .. 2100 the months begin on the days of the published calendar.
// phaseTime is the fraction of day of the new or full moon falling on the date, else -1.
long double MoonPhaseOfDate(int year, int month, int day, long double& phaseTime, int& phaseKind, int& eclipseKind);

//--- Lunar calendar

// Leap month 1..12 of the lunar year, or 0.
int LeapMonthOfYear(int year);
// Lunar month 1..12 of the date, negated for a leap month; 0 outside the astronomy's years.
int CnMonthOfDate(int year, int month, int day);
// False outside -849..2100 and for dates that do not exist. Dates before the lunar New
// Year carry the previous lunar year; in years whose first month begins in the winter
// before (9 .. 23, 237 .. 239 and many years before 1) the dates from it on carry the next.
bool SolarToCnDate(int year, int month, int day, bool& leap, int& cnDay, int& cnMonth, int& cnYear);
// The same without the lunar year.
bool SolarToCnDate(int year, int month, int day, bool& leap, int& cnDay, int& cnMonth);
// False for a leap flag on a month that is not the year's leap month or a lunar date that
// the calendar does not hold; out values are written only on success. Where two days share
// one lunar date (at the breaks of the calendar and where the day numbers before year 1
// repeat a day) the answer is one of them.
bool CnDateToSolar(int cnYear, int cnMonth, int cnDay, bool leap, int& year, int& month, int& day);

//--- Stem-branch (sexagenary) indexes

// Cycle index 0..59 (0 = 甲子) of the day, the solar month and the year (which starts at
// Start of Spring); the month and year give -1 outside the astronomy's years.
int DayStemBranch(int year, int month, int day);
int MonthStemBranch(int year, int month, int day);
int YearStemBranch(int year, int month, int day);
int YearCycleIndex(int year);  // 0..59 of the civil year
int YearAnimal(int year);      // 0..11, 0 = rat
// The index i in 0..59 with i mod 10 = stem and i mod 12 = branch; -1 when they do not pair.
int StemBranchIndex(int stem, int branch);
// Stem 0..9 and branch 0..11 of a cycle index; false with (-1, -1) outside 0..59.
bool SplitStemBranch(int index, int& stem, int& branch);
