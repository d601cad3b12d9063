#include "calendar/core/LunarCalendar.h"

#include <cmath>
#include <iterator>
#include <memory>
#include <mutex>

//--- Tables

// Rows of 50 years; the row of -49 ends with the placeholder of year 0.
static constexpr char LeapMonthText[] =
    "0c0080050010a0070030c0080050010a0070030c0080050020"  // -849
    "a0070030c0080050020a0070030c0090050020a0070030c009"  // -799
    "0050020a0060030c0060030c00900600c0c0060c00c00c00c0"  // -749
    "c000600c0c0006090303030006000c00c060c0006c00000c0c"  // -699
    "0c0060003030006c00009009c0090c00c00900030003090603"  // -649
    "0030c0c00060c00090c0060600c0030060c00c003006009060"  // -599
    "030c0060060c0090900c00090c0090c00c0060300060600030"  // -549
    "30c0c00030c0060030c0090060030c0090300c0080050020a0"  // -499
    "060030c0080050020b0070030c0090050010a0070030b00900"  // -449
    "60020a0070040c0080050020a0060030c0080050020b007003"  // -399
    "0c0090050010a0070030b0090060020a0070040c0080050020"  // -349
    "a0060030c0080050020b0070030c0090050000c00900909009"  // -299
    "00909009009009090090090900900900909009009090090090"  // -249
    "09090090090900900900909009009090090090900900900909"  // -199
    "00900909009009009090090090900900900909009009090060"  // -149
    "030c0090050010a0070030b008005001090070040c00800500"  // -99
    "20a0060030c0090040010a0060030c0090050010a0070030b0"  // -49
    "080050010a008005001090050020a0060030c0080040010a00"  // 1
    "60030c0090050010a0070030b0080050010a0070030b008005"  // 51
    "001090070040c0080050020a0060030c0080040010a0060030"  // 101
    "c0090050010a0070030b008005001090070040c0080050020a"  // 151
    "0060030c0080040010a0060030c0090050010a0060030c0090"  // 201
    "050010a0070030b008005001090070040c0080050020a00600"  // 251
    "30c0080040010a0070030b0080050010a0070040c008005002"  // 301
    "0a0060030c0080040010a0070030c0090050010a0070030b00"  // 351
    "80050020a0060030c0080040010a0060030c0090050050020a"  // 401
    "0060030c0090050010b0070030c0090050010a0070040c0080"  // 451
    "040020a0060030c0080050020a0060030c0090050010a00700"  // 501
    "30b0080040020a0060040c0090050020b0070030c00a005001"  // 551
    "0a0070030b0090050020a0070030c0080040020a0060030c00"  // 601
    "90050010a0070030c0090050030b007005001090050020a007"  // 651
    "004001090060020c0070050c0090060030b0080040020a0060"  // 701
    "030b0080040010a0060030b0080050010a0050040c00800500"  // 751
    "10a0060030c0080050010b0070030c007005001090070030b0"  // 801
    "070040020a0060030c0080040020a0070030b0090050010a00"  // 851
    "60040c0080050020a0060040c0080050010b0070030c007005"  // 901
    "001090070030c0080050020a0070030c0090050020a0070030"  // 951
    "c0090050020a0060040c0090050020a0060040c0090050010b"  // 1001
    "0070030c0080050030b007004001090060020c008004002090"  // 1051
    "060020a008004001090050030b0080040020a0060040b00800"  // 1101
    "40c00a0060020b007005001090060030b0070050020a006002"  // 1151
    "0c008004002090070030c008005002090070040c0080040020"  // 1201
    "a0060040b0090050010a0060030b0080050020a0060040c008"  // 1251
    "0050010b00700300108005001090070030c0080050020a0070"  // 1301
    "03001090050030a0070030b0090050020a0060040c00900500"  // 1351
    "30b0070040c0090050010c0070040c0080060020b00700400a"  // 1401
    "090060020b007003002090060020a005004001090050030b00"  // 1451
    "7004001090050040c0080040c00a0060020c00700500109006"  // 1501
    "0030b0070050020a0060020c008004002090060030b0080040"  // 1551
    "02090060030b0080040020a0060040b0080040010b0060030b"  // 1601
    "0070050010a006004002070050030800600400307005003070"  // 1651
    "06004003070050030800600400307005004090060040030700"  // 1701
    "500409006005002070050030a0060050030700500400206004"  // 1751
    "00206005003002060040030700500409006004003070050040"  // 1801
    "8007005003080050040a006005003070050040020600500308"  // 1851
    "00500400206005002070050040020600500307006004002070"  // 1901
    "050030800600400307005004080060040a0060050030800500"  // 1951
    "40020700500409006004002060050030b00600500207005003"  // 2001
    "08006004003070050040800600400307005004080060040020";  // 2051

const std::string_view LeapMonthTable(LeapMonthText, sizeof(LeapMonthText) - 1);
static_assert(sizeof(LeapMonthText) - 1 == 2950);

static constexpr int LeapCodeAt(int position)
{
    const char c = LeapMonthText[position];
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'c')
        return c - 'a' + 10;
    return -1;
}

static constexpr std::array<int32_t, 2949> BuildLeapMonthCounts()
{
    std::array<int32_t, 2949> counts{};
    int32_t count = 0;
    for (int year = CnMinYear; year <= CnMaxYear; ++year) {
        if (year == 0)
            continue;
        if (LeapCodeAt(year + 849) > 0)
            ++count;
        counts[year < 0 ? year + 849 : year + 848] = count;
    }
    return counts;
}

constinit const std::array<int32_t, 2949> LeapMonthCountTable = BuildLeapMonthCounts();

int LeapMonthCountOfYear(int year)
{
    if (year < CnMinYear || year > CnMaxYear || year == 0)
        return 0;
    return LeapMonthCountTable[year < 0 ? year + 849 : year + 848];
}

// Leap code of the year: 0 none, 1..12 the month it follows, -1 outside the table.
static int RawLeapCode(int year)
{
    if (year < CnMinYear || year > CnMaxYear)
        return -1;
    return LeapCodeAt(year + 849);
}

//--- Civil dates and day numbers

// Largest year magnitude the day arithmetic takes without overflow; the astronomy answers
// only for years near the calendar's range.
constexpr int SafeYear = 1000000;
constexpr int AstronomyFirstYear = CnMinYear - 200, AstronomyLastYear = CnMaxYear + 200;

static bool AstronomyYear(int year) { return year >= AstronomyFirstYear && year <= AstronomyLastYear; }

int GetCalendarKind(int year, int month, int day)
{
    if (year != 1582)
        return year < 1582 ? 1 : 2;
    if (month < 10 || (month == 10 && day <= 4))
        return 1;
    if (month == 10 && day <= 14)
        return 0;
    return 2;
}

bool IsCalendarLeapYear(int year)
{
    if (GetCalendarKind(year, 1, 1) == 2)
        return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    if (year >= 0)
        return year % 4 == 0;
    return year % 4 == -1;  // -1, -5, -9 ..
}

int DaysInMonth(int year, int month)
{
    switch (month) {
    case 2:
        return IsCalendarLeapYear(year) ? 29 : 28;
    case 4: case 6: case 9: case 11:
        return 30;
    case 1: case 3: case 5: case 7: case 8: case 10: case 12:
        return 31;
    default:
        return 0;
    }
}

static int Sign(int a, int b) { return a > b ? 1 : (a < b ? -1 : 0); }

int CompareDate(int year1, int month1, int day1, int year2, int month2, int day2)
{
    if (year1 != year2)
        return Sign(year1, year2);
    if (month1 != month2)
        return Sign(month1, month2);
    return Sign(day1, day2);
}

int CompareCnDate(int year1, int month1, int day1, bool leap1, int year2, int month2, int day2, bool leap2)
{
    if (year1 != year2)
        return Sign(year1, year2);
    if (month1 != month2)
        return Sign(month1, month2);
    if (leap1 != leap2)
        return leap1 ? 1 : -1;
    return Sign(day1, day2);
}

int DayOfYear(int year, int month, int day)
{
    // Days before month 1..12 of a common year; 13 stands for "after December".
    static constexpr int DaysBefore[14] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
    if (month < 1)
        return day;
    if (month > 13)
        month = 13;
    return day + DaysBefore[month] + (month > 2 && IsCalendarLeapYear(year) ? 1 : 0);
}

int DateToDayNumber(int year, int month, int day)
{
    if (year < -SafeYear || year > SafeYear || month < -1000 || month > 1000 || day < -1000000 || day > 1000000)
        return 0;
    const int e = year - 1;
    const int f = 365 * e + e / 4;
    switch (GetCalendarKind(year, month, day)) {
    case 1:
        return DayOfYear(year, month, day) + f - 2;
    case 2:
        return DayOfYear(year, month, day) + f + e / 400 - e / 100;
    default:
        return 0;
    }
}

// Finds the year and month by the forward formula itself, so the two always agree
// (including the ten days dropped in October 1582).
bool DayNumberToDate(int dayNumber, int& year, int& month, int& day)
{
    if (dayNumber < 0 || dayNumber > DateToDayNumber(SafeYear, 12, 31))
        return false;
    int y = static_cast<int>((dayNumber + 2) / 365.25) + 1;
    while (y > 1 && DateToDayNumber(y, 1, 1) > dayNumber)
        --y;
    while (DateToDayNumber(y + 1, 1, 1) <= dayNumber)
        ++y;
    int m = 12;
    while (m > 1 && DateToDayNumber(y, m, 1) > dayNumber)
        --m;
    int d = dayNumber - DateToDayNumber(y, m, 1) + 1;
    if (y == 1582 && m == 10 && d > 4)
        d += 10;
    year = y;
    month = m;
    day = d;
    return true;
}

//--- Astronomy (extended precision throughout)

using Real = long double;

static constexpr Real Pi = 3.14159265358979323846264338327950288L;
static constexpr Real Rad = 57.29577951308232L;  // degrees per radian

// The x87 instructions, as the calendar's constants were settled with them; the C
// library's sinl differs between platforms in the last bits.
static Real Sin(Real x)
{
#if defined(__x86_64__) || defined(__i386__)
    Real r;
    asm("fsin" : "=t"(r) : "0"(x));
    return r;
#else
    return std::sin(x);
#endif
}

static Real Cos(Real x)
{
#if defined(__x86_64__) || defined(__i386__)
    Real r;
    asm("fcos" : "=t"(r) : "0"(x));
    return r;
#else
    return std::cos(x);
#endif
}

// Exact rounding (half to even), floor and truncation by adding and taking away 2^63,
// which leaves no fraction bits in the 64-bit mantissa; far cheaper than the C library's
// rounding-mode handling. Values beyond 2^62 are whole already.
constexpr Real Shift = 9223372036854775808.0L;  // 2^63

static Real RoundHalfEven(Real x)
{
    if (x >= Shift / 2 || x <= -Shift / 2)
        return x;
    return x >= 0 ? (x + Shift) - Shift : (x - Shift) + Shift;
}

static Real Floor(Real x)
{
    const Real r = RoundHalfEven(x);
    return r > x ? r - 1 : r;
}

static Real Trunc(Real x) { return x >= 0 ? Floor(x) : -Floor(-x); }

// Fraction of x; for x <= 0 the near value x + trunc(x) that the angle and phase-time
// formulas are built on.
static Real FracPart(Real x)
{
    return x > 0 ? x - Trunc(x) : x + Trunc(x);
}

// Where the series miss the published calendar of 1901 .. 2100 by a day (they are off by
// up to a quarter of an hour), the published day and Beijing time of the term; term index
// as GetSolarTermDate.
struct TermCorrection {
    int16_t Year;
    int8_t Index, Month, Day, Hour, Minute;
};

static constexpr TermCorrection TermCorrections[] = {
    {1911, 8, 5, 7, 0, 0},     {1912, 18, 10, 9, 0, 6},  {1923, 3, 2, 19, 23, 59}, {1927, 16, 9, 9, 0, 5},
    {1928, 11, 6, 22, 0, 6},   {1979, 1, 1, 20, 23, 59}, {2016, 12, 7, 7, 0, 3},   {2020, 22, 12, 7, 0, 9},
    {2037, 17, 9, 23, 0, 12},  {2040, 18, 10, 8, 0, 5},  {2042, 13, 7, 23, 0, 6},  {2051, 5, 3, 20, 23, 58},
    {2059, 3, 2, 19, 0, 4},    {2083, 2, 2, 3, 23, 57},  {2084, 5, 3, 19, 23, 59}, {2085, 0, 1, 4, 23, 55},
    {2097, 8, 5, 5, 0, 7},
};

Real SolarTermDay(int year, int n)
{
    if (!AstronomyYear(year))
        return 0;
    if (year >= 1901 && year <= 2100) {
        for (const TermCorrection& c : TermCorrections)
            if (c.Year == year && c.Index == n - 1)
                return DayOfYear(year, c.Month, c.Day) + (c.Hour * 60 + c.Minute) / 1440.0L;
    }
    const int astroYear = year <= 0 ? year + 1 : year;
    const Real Y = astroYear;
    const Real m = Y - 100;
    const Real a = (365.2423112L - 6.4e-14L * m * m - 3.047e-8L * m) * Y + 15.218427L * n + 1721050.71301L;
    const Real x = 0.0003L * Y - 0.372781384L - 0.2617913325L * n;
    const Real b = (1.945L * Sin(x) - 0.01206L * Sin(2 * x)) * (1.048994L - 2.583e-5L * Y);
    const Real c = -0.0018L * Sin(2.313908653L * Y - 0.439822951L - 3.0443L * n);
    return a + b + c - DateToDayNumber(astroYear, 1, 0) - 1721425;
}

static Real CachedTermDay(int year, int n);

// Days of the civil year (355 in 1582) and a date's day in it, as the term days count them.
static int YearLength(int year)
{
    if (year == 1582)
        return DateToDayNumber(1583, 1, 1) - DateToDayNumber(1582, 1, 1);
    return IsCalendarLeapYear(year) ? 366 : 365;
}

static int TermDayOfDate(int year, int month, int day)
{
    if (year == 1582)
        return DateToDayNumber(year, month, day) - DateToDayNumber(year, 1, 1) + 1;
    return DayOfYear(year, month, day);
}

bool GetSolarTermDate(int year, int index, int& month, int& day, int& hour, int& minute)
{
    if (index < 0 || index >= 24 || !AstronomyYear(year))
        return false;
    const Real c = CachedTermDay(year, index + 1);
    // Whole minutes (rounded half to even), carried into the hour and the day. llrint keeps
    // the x87 unit's rounding mode; a truncating conversion would switch it.
    const Real whole = Floor(c);
    int minutes = static_cast<int>(std::llrint((c - whole) * 1440));
    int doy = static_cast<int>(std::llrint(whole));
    if (minutes >= 1440) {
        minutes -= 1440;
        ++doy;
    }
    // A term before 1 January (Minor Cold of Julian years) lies in the December before, one
    // past the year's end in the January after.
    int y = year, m = 1;
    if (doy < 1) {
        y = year == 1 ? -1 : year - 1;
        doy += YearLength(y);
    } else if (doy > YearLength(year)) {
        doy -= YearLength(year);
        y = year == -1 ? 1 : year + 1;
    }
    if (y == 1582) {
        int yy;
        DayNumberToDate(DateToDayNumber(1582, 1, 1) + doy - 1, yy, m, doy);
    } else {
        while (m < 12 && doy > DaysInMonth(y, m)) {
            doy -= DaysInMonth(y, m);
            ++m;
        }
    }
    month = m;
    day = doy;
    hour = minutes / 60;
    minute = minutes % 60;
    return true;
}

//--- New and full moons

namespace {

// The 29 half-lunation steps j = -1, -0.5, .. 13 around the start of a civil year (whole
// j new moons, half j full moons), with the eclipse each would carry, and the year's
// 24 solar terms. Depends on the civil year only, so it is computed once per year.
struct MoonStep {
    int Day;        // floor of the phase's day number
    Real Time;      // FracPart of it
    int8_t Eclipse;  // eclipse kind if the date lands on this phase, else 0
};

constexpr int StepCount = 29;

struct YearAstronomy {
    MoonStep Steps[StepCount];
    Real Terms[26];  // Terms[n] = SolarTermDay(year, n), n = 1..25 (25: next Minor Cold)
    int TermDays[26];  // their days as GetSolarTermDate shows them (a time rounded up to
                       // midnight is the next day)
};

// New moons whose day the series miss against the published calendar of 1901 .. 2100: the
// series' day, the shift to the published one and the time of day there. The calendars of
// 1912 .. 1928 counted days by the mean time of Beijing's meridian (116°25' east), which
// puts the new moons of a few minutes past midnight on the day before; the one of 2057 lies
// seconds from midnight, where the published calendar begins the month on the 29th.
struct MoonCorrection {
    int16_t Year;
    int8_t Month, Day, Shift;
    int16_t Minute;
};

constexpr MoonCorrection MoonCorrections[] = {
    {1914, 11, 18, -1, 1427}, {1916, 2, 4, -1, 1430}, {1920, 11, 11, -1, 1430},
    {1924, 3, 6, -1, 1423},   {2018, 11, 7, 1, 2},    {2057, 9, 28, 1, 0},
};

Real PhaseAngle(Real a, Real b, Real c, Real rate, Real t, Real k)
{
    return 2 * Pi * FracPart(rate * k) + c - b * t * t - a * t * t * t;
}

void ComputeYearAstronomy(int year, YearAstronomy& out)
{
    const Real t = (year - 1899.5L) / 100;
    const Real k = Floor((year - 1900) * 12.3685L);
    const Real j0 = PhaseAngle(1.55e-7L, 0.0002172L, 0.75933L, 0, t, k);
    const Real mSun = PhaseAngle(3.47e-6L / Rad, 3.33e-5L / Rad, 359.2242L / Rad, 0.08084821133L, t, k);
    const Real mMoon = PhaseAngle(-1.236e-5L / Rad, -0.0107306L / Rad, 306.0253L / Rad, 0.07171366128L, t, k);
    const Real f = PhaseAngle(2.39e-6L / Rad, 0.0016528L / Rad, 21.2964L / Rad, 0.08519585128L, t, k);
    const Real base = j0 + 0.53058868L * k - 0.000837L * t + 8.0L / 24 + 0.5L;
    const Real s = 0.1734L - 0.000393L * t;
    for (int i = 0; i < StepCount; ++i) {
        const Real j = (i - 2) / 2.0L;
        const Real m = mSun + 0.507984293L * j;
        const Real m1 = mMoon + 6.73377553L * j;
        const Real fj = f + 6.818486628L * j;
        const Real d = 28 * j + (29 * k + 693595) + (base + 1.53058868L * j) + s * Sin(m)
                       - 0.4068L * Sin(m1) + 0.0021L * Sin(2 * m) + 0.0161L * Sin(2 * m1)
                       + 0.0104L * Sin(2 * fj) - 0.0074L * Sin(m - m1) - 0.0051L * Sin(m + m1);
        MoonStep& step = out.Steps[i];
        step.Day = static_cast<int>(Floor(d));
        step.Time = FracPart(d);
        step.Eclipse = EclipseNone;
        if (std::fabs(Sin(fj)) <= 0.36L) {
            const Real sv = 5.19595L - 0.0048L * Cos(m) + 0.002L * Cos(2 * m) - 0.3283L * Cos(m1)
                            - 0.006L * Cos(m + m1) + 0.0041L * Cos(m - m1);
            const Real cv = 0.207L * Sin(m) + 0.0024L * Sin(2 * m) - 0.039L * Sin(m1)
                            + 0.0115L * Sin(2 * m1) - 0.0073L * Sin(m + m1) - 0.0067L * Sin(m - m1)
                            + 0.0117L * Sin(2 * fj);
            const Real g = std::fabs(sv * Sin(fj) + cv * Cos(fj));
            const Real u = 0.0059L + 0.0046L * Cos(fj) - 0.0182L * Cos(m1) + 0.0004L * Cos(2 * m1)
                           - 0.0005L * Cos(m + m1);
            if (g - u <= 1.5572L)
                step.Eclipse = i % 2 == 0 ? EclipseSolar : (g + u < 1.0129L ? EclipseLunarTotal : EclipseLunarPartial);
        }
    }
    for (int i = 0; i < StepCount; i += 2)
        for (const MoonCorrection& c : MoonCorrections)
            if (out.Steps[i].Day == DateToDayNumber(c.Year, c.Month, c.Day)) {
                out.Steps[i].Day += c.Shift;
                out.Steps[i].Time = c.Minute / 1440.0L;
            }
    out.Terms[0] = 0;
    out.TermDays[0] = 0;
    for (int n = 1; n <= 25; ++n) {
        out.Terms[n] = SolarTermDay(year, n);
        const Real whole = Floor(out.Terms[n]);
        out.TermDays[n] = static_cast<int>(std::llrint(whole)) + (std::llrint((out.Terms[n] - whole) * 1440) >= 1440 ? 1 : 0);
    }
}

// A year's astronomy is some 2 KB: each is allocated when first asked for, so the years a
// program never shows cost nothing.
struct CachedYear {
    std::once_flag Once;
    std::unique_ptr<YearAstronomy> Data;
};

CachedYear AstronomyCache[CnMaxYear - CnMinYear + 2];  // one slot beyond 2100 for the lunar year search

// The year's astronomy: cached inside the calendar range, computed into scratch outside it.
const YearAstronomy& AstronomyOf(int year, YearAstronomy& scratch)
{
    const int slot = year - CnMinYear;
    if (slot < 0 || slot >= static_cast<int>(std::size(AstronomyCache))) {
        ComputeYearAstronomy(year, scratch);
        return scratch;
    }
    CachedYear& cached = AstronomyCache[slot];
    std::call_once(cached.Once, [&] {
        auto data = std::make_unique<YearAstronomy>();
        ComputeYearAstronomy(year, *data);
        cached.Data = std::move(data);
    });
    return *cached.Data;
}

struct MoonPhase {
    int LunarDay;  // -1 when not found
    Real Time;
    int Kind;
    int Eclipse;
};

// The new moon is the last one 0..29 days back (the phases run in order, some 15 days
// apart); the full moon is the step after it. An eclipse counts when the date is the day
// of that new moon or that full moon.
MoonPhase PhaseOfDate(int year, int month, int day)
{
    YearAstronomy scratch;
    const MoonStep* steps = AstronomyOf(year, scratch).Steps;
    const int dayNumber = DateToDayNumber(year, month, day);
    int lunarDay = -1, newIndex = 0;
    for (int i = 0; i < StepCount; i += 2) {
        const int n = dayNumber - steps[i].Day;
        if (n < 0)
            break;
        if (n <= 29) {
            lunarDay = n + 1;
            newIndex = i;
        }
    }
    const MoonStep& full = steps[newIndex + 1];
    const int fullDay = full.Day - dayNumber + lunarDay;
    int eclipse = lunarDay == 1 ? steps[newIndex].Eclipse : EclipseNone;
    if (full.Day == dayNumber && full.Eclipse != EclipseNone)
        eclipse = full.Eclipse;
    const Real newTime = steps[newIndex].Time, fullTime = full.Time;
    if (lunarDay == 1)
        return {lunarDay, newTime, PhaseNewMoon, eclipse};
    if (lunarDay == fullDay)
        return {lunarDay, fullTime, PhaseFullMoon, eclipse};
    return {lunarDay, -1.0L, PhaseNone, eclipse};
}

}  // namespace

Real MoonPhaseOfDate(int year, int month, int day, Real& phaseTime, int& phaseKind, int& eclipseKind)
{
    if (!AstronomyYear(year)) {
        phaseTime = -1;
        phaseKind = PhaseNone;
        eclipseKind = EclipseNone;
        return -1;
    }
    const MoonPhase phase = PhaseOfDate(year, month, day);
    phaseTime = phase.Time;
    phaseKind = phase.Kind;
    eclipseKind = phase.Eclipse;
    return phase.LunarDay;
}

//--- Lunar calendar

int LeapMonthOfYear(int year)
{
    const int code = RawLeapCode(year);
    return code < 0 ? 0 : code;
}

namespace {

// The year before, skipping the missing year 0.
int PrevYear(int year) { return year == 1 ? -1 : year - 1; }

int NextCivilYear(int year) { return year == -1 ? 1 : year + 1; }

// Civil month in which the lunar month holding the date began (0: December before).
int StartMonth(int year, int month, int day, int lunarDay)
{
    int first = day - lunarDay + 1;
    while (first < 1 && month > 0) {
        --month;
        first += month > 0 ? DaysInMonth(year, month) : 31;
    }
    return month;
}

int CnMonthFromPhase(int year, int month, int day, const MoonPhase& phase)
{
    // The lunar day; the phase time of a new or full moon is a fraction of a day that
    // leaves its floor alone from year 1 on, but before it (negative day numbers) the
    // phase time is no fraction and would scramble the month of those two days.
    const int e = (phase.LunarDay % 100 + 100) % 100;  // floor(e - floor(e / 100) * 100)
    constexpr int firstDay = -310443;  // DateToDayNumber(-849, 1, 21)
    // The lunar year search probes into 2101 (the end of lunar 2100): it counts as a year
    // without a leap month, which holds for its first months.
    const bool beyond = year == CnMaxYear + 1;
    // Rounded half to even by the default rounding mode, without switching the x87 unit's
    // mode for a truncating conversion.
    int n = static_cast<int>(std::llrint((DateToDayNumber(year, month, day) - firstDay - e) / 29.530588L))
            - LeapMonthCountOfYear(beyond ? CnMaxYear : year);
    if (year <= 240) ++n;
    if (year <= 237) --n;
    if (year < 24) ++n;
    if (year < 9) --n;
    if (year <= -255) ++n;
    if (year <= -256) n += 2;
    if (year <= -722) ++n;
    n -= 3;
    // 12 * FracPart(n / 12) + 1 rounds to n mod 12 + 1 for n >= 0.
    int mo = n >= 0 ? n % 12 + 1 : static_cast<int>(RoundHalfEven(12 * FracPart(n / 12.0L) + 1));
    const int code = beyond ? 0 : RawLeapCode(year);
    const int prevCode = RawLeapCode(PrevYear(year));
    if (prevCode == mo && mo >= 10 && month == 1 && day < e)
        return -mo;
    // The rules below hold for a whole lunar month, so they ask where it began: in the
    // December before, January or February (a month begun there may run into March).
    const int startMonth = StartMonth(year, month, day, phase.LunarDay);
    const bool earlyMonth = startMonth <= 2;
    // The previous lunar year's leap 11th or 12th month, and the months 11 and 12 before
    // it, can reach into the year; its count already holds that leap month, so those
    // months come out one short and the leap month as its own number.
    if (prevCode >= 11 && earlyMonth) {
        if (mo == prevCode)
            return -mo;
        if (mo >= 10 && mo < prevCode)
            return mo + 1;
    }
    // Where the lunar year begins in the winter before (the calendars of the Zhou and other
    // early eras), a month begun late in the civil year can belong to the next lunar year:
    // its number lies far below that of the civil month it began in.
    const bool nextLunarYear = startMonth - mo >= 6;
    if (nextLunarYear) {
        const int nextCode = RawLeapCode(NextCivilYear(year));
        if (nextCode == mo - 1 && mo > 1)
            return -(mo - 1);
        return mo;
    }
    if (code == mo) {
        // Early in the year a month after 10, 11 or 12 is the one that follows it (the
        // year's leap month is still ahead); a leap month after month 1..9 is the leap
        // month itself: a leap first month can begin in February (1640).
        if (earlyMonth && code >= 10)
            return mo % 12 + 1;
        return -mo;
    }
    // The year's count holds its leap month: a month before it comes out one short, as do
    // the previous lunar year's last months early in the year.
    if (code > mo || (mo - startMonth >= 6 && code > 0))
        ++mo;
    return mo >= 1 ? (mo - 1) % 12 + 1 : static_cast<int>(RoundHalfEven(12 * FracPart((mo - 1) / 12.0L) + 1));
}

bool ValidDate(int year, int month, int day)
{
    return year != 0 && day >= 1 && day <= DaysInMonth(year, month) && GetCalendarKind(year, month, day) != 0;
}

// Lunar day, month and leap flag of a valid date in the calendar range.
void CnDayAndMonth(int year, int month, int day, bool& leap, int& cnDay, int& cnMonth)
{
    const MoonPhase phase = PhaseOfDate(year, month, day);
    const int mo = CnMonthFromPhase(year, month, day, phase);
    cnDay = phase.LunarDay;
    leap = mo < 0;
    cnMonth = mo < 0 ? -mo : mo;
}

}  // namespace

int CnMonthOfDate(int year, int month, int day)
{
    if (!AstronomyYear(year))
        return 0;
    return CnMonthFromPhase(year, month, day, PhaseOfDate(year, month, day));
}

bool SolarToCnDate(int year, int month, int day, bool& leap, int& cnDay, int& cnMonth)
{
    if (year < CnMinYear || year > CnMaxYear || !ValidDate(year, month, day))
        return false;
    CnDayAndMonth(year, month, day, leap, cnDay, cnMonth);
    return true;
}

namespace {

int NextYear(int year) { return year == -1 ? 1 : year + 1; }

int FloorDiv(int a, int b) { return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0); }

struct Civil {
    int Year, Month, Day;
};

// A continuous count of the civil days: the day number from year 1 on, and before it the
// Julian years counted back without a year 0 (the day numbers of those years skip and
// repeat days, so the lunar searches step through civil dates by this count instead).
int DateOrdinal(const Civil& c)
{
    if (c.Year >= 1)
        return DateToDayNumber(c.Year, c.Month, c.Day);
    return 365 * c.Year + FloorDiv(c.Year, 4) + DayOfYear(c.Year, c.Month, c.Day) - 2;
}

Civil OrdinalToDate(int n)
{
    const int astro = static_cast<int>(std::floor((n + 2) / 365.25)) + 1;
    Civil c{astro <= 0 ? astro - 1 : astro, 1, 1};
    while (DateOrdinal(c) > n)
        c.Year = PrevYear(c.Year);
    while (DateOrdinal({NextYear(c.Year), 1, 1}) <= n)
        c.Year = NextYear(c.Year);
    c.Month = 12;
    while (c.Month > 1 && DateOrdinal({c.Year, c.Month, 1}) > n)
        --c.Month;
    c.Day = n - DateOrdinal({c.Year, c.Month, 1}) + 1;
    if (c.Year == 1582 && c.Month == 10 && c.Day > 4)
        c.Day += 10;
    return c;
}

Civil AddDays(const Civil& c, int days) { return OrdinalToDate(DateOrdinal(c) + days); }

struct CnDayMonth {
    int Day, Month;
    bool Leap;
};

CnDayMonth CnDayMonthOf(const Civil& c)
{
    CnDayMonth r;
    CnDayAndMonth(c.Year, c.Month, c.Day, r.Leap, r.Day, r.Month);
    return r;
}

// The first day of the lunar month that holds the date, or of the next one; false when
// the moons give no month there.
bool MonthStart(Civil& c, bool next)
{
    for (int tries = 0; tries < 4; ++tries) {
        const int lunarDay = CnDayMonthOf(c).Day;
        if (lunarDay == 1 && (!next || tries > 0))
            return true;
        if (lunarDay < 1)
            return false;
        c = AddDays(c, next && lunarDay >= 15 ? 31 - lunarDay : 1 - lunarDay);
        if (next && lunarDay < 15)
            c = AddDays(c, 29);
    }
    return false;
}

struct LunarNewYear {
    std::once_flag Once;
    bool Found = false;
    Civil Date{};
};

LunarNewYear NewYearCache[CnMaxYear - CnMinYear + 2];  // one slot for 2101, the end of lunar 2100

// Lunar 1-01 of a year: the ordinary first month that begins from July of the civil year
// before to June of the year (most begin in January or February; the calendars of some
// eras begin the year in winter or spring). Searched once per year.
const LunarNewYear& LunarNewYearOf(int year)
{
    LunarNewYear& entry = NewYearCache[year - CnMinYear - (year > 0 ? 1 : 0)];
    std::call_once(entry.Once, [&] {
        const Civil first{year == CnMinYear ? CnMinYear : PrevYear(year), year == CnMinYear ? 1 : 7, 1};
        const int last = DateOrdinal({year, 6, 30});
        Civil c = first;
        if (!MonthStart(c, false))
            return;
        for (int months = 0; months < 16 && DateOrdinal(c) <= last; ++months) {
            const CnDayMonth cn = CnDayMonthOf(c);
            if (cn.Month == 1 && !cn.Leap && DateOrdinal(c) >= DateOrdinal(first)) {
                entry.Found = true;
                entry.Date = c;
                return;
            }
            if (!MonthStart(c, true))
                return;
        }
    });
    return entry;
}

// Lunar year of a valid date of the civil years -849 .. 2101.
int CnYearOf(const Civil& c)
{
    const int ordinal = DateOrdinal(c);
    if (c.Year < CnMaxYear + 1) {
        const LunarNewYear& next = LunarNewYearOf(NextYear(c.Year));
        if (next.Found && ordinal >= DateOrdinal(next.Date))
            return NextYear(c.Year);
    }
    const LunarNewYear& own = LunarNewYearOf(c.Year);
    return own.Found && ordinal < DateOrdinal(own.Date) ? PrevYear(c.Year) : c.Year;
}

}  // namespace

bool SolarToCnDate(int year, int month, int day, bool& leap, int& cnDay, int& cnMonth, int& cnYear)
{
    if (!SolarToCnDate(year, month, day, leap, cnDay, cnMonth))
        return false;
    cnYear = CnYearOf({year, month, day});
    return true;
}

// Walks the months from the lunar New Year, then the days of the month found; the answer
// is checked by converting it back, so a lunar date the calendar does not hold gives false.
bool CnDateToSolar(int cnYear, int cnMonth, int cnDay, bool leap, int& year, int& month, int& day)
{
    if (cnYear < CnMinYear || cnYear > CnMaxYear || cnYear == 0 || cnMonth < 1 || cnMonth > 12 || cnDay < 1
        || cnDay > 30)
        return false;
    if (leap && LeapMonthOfYear(cnYear) != cnMonth)
        return false;
    const LunarNewYear& newYear = LunarNewYearOf(cnYear);
    if (!newYear.Found)
        return false;
    // Jump to the middle of the month where the table puts it; walk from New Year when
    // the moons place it elsewhere.
    const int code = LeapMonthOfYear(cnYear);
    const int months = cnMonth - 1 + (code > 0 && (cnMonth > code || leap) ? 1 : 0);
    Civil c = AddDays(newYear.Date, static_cast<int>(months * 29.530588) + 14);
    const CnDayMonth guess = CnDayMonthOf(c);
    if (guess.Month != cnMonth || guess.Leap != leap || !MonthStart(c, false) || CnYearOf(c) != cnYear) {
        c = newYear.Date;
        for (int walked = 0; walked < 14; ++walked) {
            const CnDayMonth cn = CnDayMonthOf(c);
            if (cn.Month == cnMonth && cn.Leap == leap)
                break;
            if (!MonthStart(c, true) || CnYearOf(c) != cnYear)
                return false;
        }
    }
    // Day numbers before year 1 can skip or repeat a day, so the lunar day is matched.
    c = AddDays(c, cnDay - 1);
    for (int tries = 0; tries < 3; ++tries) {
        const CnDayMonth cn = CnDayMonthOf(c);
        if (cn.Day == cnDay && cn.Month == cnMonth && cn.Leap == leap && CnYearOf(c) == cnYear) {
            year = c.Year;
            month = c.Month;
            day = c.Day;
            return true;
        }
        if (cn.Month != cnMonth || cn.Leap != leap || cn.Day < 1)
            return false;
        c = AddDays(c, cnDay - cn.Day);
    }
    return false;
}

//--- Stem-branch indexes

static int Mod(int64_t value, int divisor)
{
    const int r = static_cast<int>(value % divisor);
    return r < 0 ? r + divisor : r;
}

int DayStemBranch(int year, int month, int day)
{
    if (year < -SafeYear || year > SafeYear || month < -1000 || month > 1000 || day < -1000000 || day > 1000000)
        return 0;
    const int doy = DayOfYear(year, month, day);
    const int p = year >= 1 ? doy + 365 * (year - 1) : doy + 365 * year;
    int q;
    if (year < 0) {
        q = -((3 - year) / 4);
    } else {
        int g = 0;
        if (GetCalendarKind(year, month, day) == 2)
            g = year <= 1700 ? 10 : 11 + (year - 1701) / 100 - (year - 1601) / 400;
        q = (year - 1) / 4 - g;
    }
    return Mod(p + q + 12, 60);
}

int YearCycleIndex(int year) { return Mod(int64_t{year} - (year <= 0 ? 3 : 4), 60); }

int YearAnimal(int year) { return Mod(int64_t{year} - (year <= 0 ? 3 : 4), 12); }

// SolarTermDay(year, n), n = 1..25, kept with the year's moons.
static Real CachedTermDay(int year, int n)
{
    YearAstronomy scratch;
    return AstronomyOf(year, scratch).Terms[n];
}

static int TermDayOfYear(int year, int n)
{
    YearAstronomy scratch;
    return AstronomyOf(year, scratch).TermDays[n];
}

int YearStemBranch(int year, int month, int day)
{
    if (!AstronomyYear(year))
        return -1;
    if (TermDayOfDate(year, month, day) < TermDayOfYear(year, 3))
        return YearCycleIndex(PrevYear(year));
    return YearCycleIndex(year);
}

int MonthStemBranch(int year, int month, int day)
{
    if (!AstronomyYear(year))
        return -1;
    const int b = TermDayOfDate(year, month, day);
    int stemBranchYear = year, index = 1;
    if (b < TermDayOfYear(year, 3)) {
        // Before Start of Spring: the 子 month until the year's own Minor Cold, then the 丑 month.
        stemBranchYear = PrevYear(year);
        index = b < TermDayOfYear(year, 1) ? 11 : 12;
    } else {
        while (index < 12 && b >= TermDayOfYear(year, 2 * index + 3))
            ++index;
    }
    const int yearStem = YearCycleIndex(stemBranchYear) % 10;
    const int firstStem = ((yearStem % 5) * 2 + 2) % 10;
    const int stem = (firstStem + (index - 1) % 10) % 10;
    return StemBranchIndex(stem, (index + 1) % 12);
}

int StemBranchIndex(int stem, int branch)
{
    if (stem < 0 || stem > 9 || branch < 0 || branch > 11)
        return -1;
    for (int i = stem; i < 60; i += 10)
        if (i % 12 == branch)
            return i;
    return -1;
}

bool SplitStemBranch(int index, int& stem, int& branch)
{
    if (index < 0 || index > 59) {
        stem = branch = -1;
        return false;
    }
    stem = index % 10;
    branch = index % 12;
    return true;
}
