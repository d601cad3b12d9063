#include "ReferenceCalendar.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "calendar/core/LunarCalendar.h"

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Deg = Pi / 180;

double Sin(double degrees) { return std::sin(degrees * Deg); }

double Normalise(double degrees)
{
    const double r = std::fmod(degrees, 360.0);
    return r < 0 ? r + 360 : r;
}

// Periodic terms A cos(B + C tau) of the Earth's heliocentric longitude and radius vector
// (amplitudes in 1e-8 radians and astronomical units; tau in Julian millennia from J2000).
struct Term {
    double A, B, C;
};

constexpr Term L0[] = {
    {175347046, 0, 0}, {3341656, 4.6692568, 6283.0758500}, {34894, 4.62610, 12566.15170},
    {3497, 2.7441, 5753.3849}, {3418, 2.8289, 3.5231}, {3136, 3.6277, 77713.7715},
    {2676, 4.4181, 7860.4194}, {2343, 6.1352, 3930.2097}, {1324, 0.7425, 11506.7698},
    {1273, 2.0371, 529.6910}, {1199, 1.1096, 1577.3435}, {990, 5.233, 5884.927},
    {902, 2.045, 26.298}, {857, 3.508, 398.149}, {780, 1.179, 5223.694}, {753, 2.533, 5507.553},
    {505, 4.583, 18849.228}, {492, 4.205, 775.523}, {357, 2.920, 0.067}, {317, 5.849, 11790.629},
    {284, 1.899, 796.298}, {271, 0.315, 10977.079}, {243, 0.345, 5486.778}, {206, 4.806, 2544.314},
    {205, 1.869, 5573.143}, {202, 2.458, 6069.777}, {156, 0.833, 213.299}, {132, 3.411, 2942.463},
    {126, 1.083, 20.775}, {115, 0.645, 0.980}, {103, 0.636, 4694.003}, {102, 0.976, 15720.839},
    {102, 4.267, 7.114}, {99, 6.21, 2146.17}, {98, 0.68, 155.42}, {86, 5.98, 161000.69},
    {85, 1.30, 6275.96}, {85, 3.67, 71430.70}, {80, 1.81, 17260.15}, {79, 3.04, 12036.46},
    {75, 1.76, 5088.63}, {74, 3.50, 3154.69}, {74, 4.68, 801.82}, {70, 0.83, 9437.76},
    {62, 3.98, 8827.39}, {61, 1.82, 7084.90}, {57, 2.78, 6286.60}, {56, 4.39, 14143.50},
    {56, 3.47, 6279.55}, {52, 0.19, 12139.55}, {52, 1.33, 1748.02}, {51, 0.28, 5856.48},
    {49, 0.49, 1194.45}, {41, 5.37, 8429.24}, {41, 2.40, 19651.05}, {39, 6.17, 10447.39},
    {37, 6.04, 10213.29}, {37, 2.57, 1059.38}, {36, 1.71, 2352.87}, {36, 1.78, 6812.77},
    {33, 0.59, 17789.85}, {30, 0.44, 83996.85}, {30, 2.74, 1349.87}, {25, 3.16, 4690.48}};
constexpr Term L1[] = {
    {628331966747, 0, 0}, {206059, 2.678235, 6283.075850}, {4303, 2.6351, 12566.1517},
    {425, 1.590, 3.523}, {119, 5.796, 26.298}, {109, 2.966, 1577.344}, {93, 2.59, 18849.23},
    {72, 1.14, 529.69}, {68, 1.87, 398.15}, {67, 4.41, 5507.55}, {59, 2.89, 5223.69},
    {56, 2.17, 155.42}, {45, 0.40, 796.30}, {36, 0.47, 775.52}, {29, 2.65, 7.11}, {21, 5.34, 0.98},
    {19, 1.85, 5486.78}, {19, 4.97, 213.30}, {17, 2.99, 6275.96}, {16, 0.03, 2544.31},
    {16, 1.43, 2146.17}, {15, 1.21, 10977.08}, {12, 2.83, 1748.02}, {12, 3.26, 5088.63},
    {12, 5.27, 1194.45}, {12, 2.08, 4694.00}, {11, 0.77, 553.57}, {10, 1.30, 6286.60},
    {10, 4.24, 1349.87}, {9, 2.70, 242.73}, {9, 5.64, 951.72}, {8, 5.30, 2352.87},
    {6, 2.65, 9437.76}, {6, 4.67, 4690.48}};
constexpr Term L2[] = {
    {52919, 0, 0}, {8720, 1.0721, 6283.0758}, {309, 0.867, 12566.152}, {27, 0.05, 3.52},
    {16, 5.19, 26.30}, {16, 3.68, 155.42}, {10, 0.76, 18849.23}, {9, 2.06, 77713.77},
    {7, 0.83, 775.52}, {5, 4.66, 1577.34}, {4, 1.03, 7.11}, {4, 3.44, 5573.14}, {3, 5.14, 796.30},
    {3, 6.05, 5507.55}, {3, 1.19, 242.73}, {3, 6.12, 529.69}, {3, 0.31, 398.15}, {3, 2.28, 553.57},
    {2, 4.38, 5223.69}, {2, 3.75, 0.98}};
constexpr Term L3[] = {{289, 5.844, 6283.076}, {35, 0, 0}, {17, 5.49, 12566.15}, {3, 5.20, 155.42},
                       {1, 4.72, 3.52}, {1, 5.30, 18849.23}, {1, 5.97, 242.73}};
constexpr Term L4[] = {{114, 3.142, 0}, {8, 4.13, 6283.08}, {1, 3.84, 12566.15}};
constexpr Term L5[] = {{1, 3.14, 0}};
constexpr Term R0[] = {
    {100013989, 0, 0}, {1670700, 3.0984635, 6283.0758500}, {13956, 3.05525, 12566.15170},
    {3084, 5.1985, 77713.7715}, {1628, 1.1739, 5753.3849}, {1576, 2.8469, 7860.4194},
    {925, 5.453, 11506.770}, {542, 4.564, 3930.210}, {472, 3.661, 5884.927}, {346, 0.964, 5507.553},
    {329, 5.900, 5223.694}, {307, 0.299, 5573.143}, {243, 4.273, 11790.629}, {212, 5.847, 1577.344},
    {186, 5.022, 10977.079}, {175, 3.012, 18849.228}, {110, 5.055, 5486.778}, {98, 0.89, 6069.78},
    {86, 5.69, 15720.84}, {86, 1.27, 161000.69}, {65, 0.27, 17260.15}, {63, 0.92, 529.69},
    {57, 2.01, 83996.85}, {56, 5.24, 71430.70}, {49, 3.25, 2544.31}, {47, 2.58, 775.52},
    {45, 5.54, 9437.76}, {43, 6.01, 6275.96}, {39, 5.36, 4694.00}, {38, 2.39, 8827.39},
    {37, 0.83, 19651.05}, {37, 4.90, 12139.55}, {36, 1.67, 12036.46}, {35, 1.84, 2942.46},
    {33, 0.24, 7084.90}, {32, 0.18, 5088.63}, {32, 1.78, 398.15}, {28, 1.21, 6286.60},
    {28, 1.90, 6279.55}, {26, 4.59, 10447.39}};
constexpr Term R1[] = {{103019, 1.107490, 6283.075850}, {1721, 1.0644, 12566.1517}, {702, 3.142, 0},
                       {32, 1.02, 18849.23}, {31, 2.84, 5507.55}, {25, 1.32, 5223.69},
                       {18, 1.42, 1577.34}, {10, 5.91, 10977.08}, {9, 1.42, 6275.96}, {9, 0.27, 5486.78}};
constexpr Term R2[] = {{4359, 5.7846, 6283.0758}, {124, 5.579, 12566.152}, {12, 3.14, 0},
                       {9, 3.63, 77713.77}, {6, 1.87, 5573.14}, {3, 5.47, 18849.23}};
constexpr Term R3[] = {{145, 4.273, 6283.076}, {7, 3.92, 12566.15}};
constexpr Term R4[] = {{4, 2.56, 6283.08}};

template <size_t N>
double Series(const Term (&terms)[N], double tau)
{
    double sum = 0;
    for (const Term& t : terms)
        sum += t.A * std::cos(t.B + t.C * tau);
    return sum;
}

// Nutation in longitude, arcseconds: the largest terms of the 1980 series.
double NutationInLongitude(double t)
{
    const double d = 297.85036 + 445267.111480 * t - 0.0019142 * t * t + t * t * t / 189474;
    const double m = 357.52772 + 35999.050340 * t - 0.0001603 * t * t - t * t * t / 300000;
    const double m1 = 134.96298 + 477198.867398 * t + 0.0086972 * t * t + t * t * t / 56250;
    const double f = 93.27191 + 483202.017538 * t - 0.0036825 * t * t + t * t * t / 327270;
    const double o = 125.04452 - 1934.136261 * t + 0.0020708 * t * t + t * t * t / 450000;
    struct Row {
        int D, M, M1, F, O;
        double S0, S1;  // 0.0001 arcsecond, and its rate per century
    };
    static constexpr Row rows[] = {
        {0, 0, 0, 0, 1, -171996, -174.2}, {-2, 0, 0, 2, 2, -13187, -1.6}, {0, 0, 0, 2, 2, -2274, -0.2},
        {0, 0, 0, 0, 2, 2062, 0.2}, {0, 1, 0, 0, 0, 1426, -3.4}, {0, 0, 1, 0, 0, 712, 0.1},
        {-2, 1, 0, 2, 2, -517, 1.2}, {0, 0, 0, 2, 1, -386, -0.4}, {0, 0, 1, 2, 2, -301, 0},
        {-2, -1, 0, 2, 2, 217, -0.5}, {-2, 0, 1, 0, 0, -158, 0}, {-2, 0, 0, 2, 1, 129, 0.1},
        {0, 0, -1, 2, 2, 123, 0}, {2, 0, 0, 0, 0, 63, 0}, {0, 0, 1, 0, 1, 63, 0.1},
        {2, 0, -1, 2, 2, -59, 0}, {0, 0, -1, 0, 1, -58, -0.1}, {0, 0, 1, 2, 1, -51, 0}};
    double sum = 0;
    for (const Row& r : rows)
        sum += (r.S0 + r.S1 * t) * Sin(r.D * d + r.M * m + r.M1 * m1 + r.F * f + r.O * o);
    return sum / 10000;
}

double JdeOfDayNumber(int dayNumber) { return dayNumber + 1721425 - 0.5; }

}  // namespace

double ReferenceNewMoon(int k)
{
    const double t = k / 1236.85;
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    const double jde = 2451550.09766 + 29.530588861 * k + 0.00015437 * t2 - 0.000000150 * t3 + 0.00000000073 * t4;
    const double e = 1 - 0.002516 * t - 0.0000074 * t2;
    const double m = 2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t3;
    const double m1 = 201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4;
    const double f = 160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4;
    const double o = 124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t3;
    double c = -0.40720 * Sin(m1) + 0.17241 * e * Sin(m) + 0.01608 * Sin(2 * m1) + 0.01039 * Sin(2 * f)
               + 0.00739 * e * Sin(m1 - m) - 0.00514 * e * Sin(m1 + m) + 0.00208 * e * e * Sin(2 * m)
               - 0.00111 * Sin(m1 - 2 * f) - 0.00057 * Sin(m1 + 2 * f) + 0.00056 * e * Sin(2 * m1 + m)
               - 0.00042 * Sin(3 * m1) + 0.00042 * e * Sin(m + 2 * f) + 0.00038 * e * Sin(m - 2 * f)
               - 0.00024 * e * Sin(2 * m1 - m) - 0.00017 * Sin(o) - 0.00007 * Sin(m1 + 2 * m)
               + 0.00004 * Sin(2 * m1 - 2 * f) + 0.00004 * Sin(3 * m) + 0.00003 * Sin(m1 + m - 2 * f)
               + 0.00003 * Sin(2 * m1 + 2 * f) - 0.00003 * Sin(m1 + m + 2 * f) + 0.00003 * Sin(m1 - m + 2 * f)
               - 0.00002 * Sin(m1 - m - 2 * f) - 0.00002 * Sin(3 * m1 + m) + 0.00002 * Sin(4 * m1);
    // Planetary arguments.
    struct Arg {
        double Amplitude, Start, Rate;
    };
    static constexpr Arg args[] = {
        {0.000325, 299.77, 0.107408}, {0.000165, 251.88, 0.016321}, {0.000164, 251.83, 26.651886},
        {0.000126, 349.42, 36.412478}, {0.000110, 84.66, 18.206239}, {0.000062, 141.74, 53.303771},
        {0.000060, 207.14, 2.453732}, {0.000056, 154.84, 7.306860}, {0.000047, 34.52, 27.261239},
        {0.000042, 207.19, 0.121824}, {0.000040, 291.34, 1.844379}, {0.000037, 161.72, 24.198154},
        {0.000035, 239.56, 25.513099}, {0.000023, 331.55, 3.592518}};
    for (const Arg& a : args)
        c += a.Amplitude * Sin(a.Start + a.Rate * k - (&a == args ? 0.009173 * t2 : 0));
    return jde + c;
}

double ReferenceSunLongitude(double jde)
{
    const double tau = (jde - 2451545.0) / 365250;
    const double l = (Series(L0, tau) + tau * (Series(L1, tau) + tau * (Series(L2, tau)
                     + tau * (Series(L3, tau) + tau * (Series(L4, tau) + tau * Series(L5, tau)))))) / 1e8;
    const double r = (Series(R0, tau) + tau * (Series(R1, tau) + tau * (Series(R2, tau)
                     + tau * (Series(R3, tau) + tau * Series(R4, tau))))) / 1e8;
    const double t = tau * 10;
    // Geocentric, to the FK5 frame, then nutation and aberration.
    const double theta = l / Deg + 180;
    const double fk5 = -0.09033 / 3600;
    return Normalise(theta + fk5 + (NutationInLongitude(t) - 20.4898 / r) / 3600);
}

double ReferenceDeltaT(double y)
{
    if (y < 1920) {
        const double t = y - 1900;
        return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t - 0.000197 * t * t * t * t;
    }
    if (y < 1941) {
        const double t = y - 1920;
        return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
    }
    if (y < 1961) {
        const double t = y - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    if (y < 1986) {
        const double t = y - 1975;
        return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
    }
    if (y < 2005) {
        const double t = y - 2000;
        return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t + 0.000651814 * t * t * t * t
               + 0.00002373599 * t * t * t * t * t;
    }
    if (y < 2050) {
        const double t = y - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    const double u = (y - 1820) / 100;
    return -20 + 32 * u * u - 0.5628 * (2150 - y);
}

double ReferenceSunReaches(double degrees, double jde)
{
    for (int i = 0; i < 20; ++i) {
        double delta = Normalise(degrees - ReferenceSunLongitude(jde) + 180) - 180;
        jde += delta * 365.2422 / 360;
        if (std::fabs(delta) < 1e-9)
            break;
    }
    return jde;
}

static double BeijingJd(double jde, double zoneMinutes)
{
    const double year = 2000 + (jde - 2451545.0) / 365.2425;
    return jde - ReferenceDeltaT(year) / 86400 + zoneMinutes / 1440;
}

int ReferenceBeijingDay(double jde, double zoneMinutes)
{
    return static_cast<int>(std::floor(BeijingJd(jde, zoneMinutes) + 0.5)) - 1721425;
}

int ReferenceBeijingMinute(double jde, double zoneMinutes)
{
    const double local = BeijingJd(jde, zoneMinutes) + 0.5;
    return static_cast<int>(std::floor((local - std::floor(local)) * 1440));
}

double ReferenceMonthZone(double jde)
{
    const int day = ReferenceBeijingDay(jde);
    return day >= DateToDayNumber(1912, 1, 1) && day < DateToDayNumber(1929, 1, 1) ? BeijingMeanTime : 480;
}

std::vector<ReferenceTerm> ReferenceSolarTerms(int first, int last)
{
    std::vector<ReferenceTerm> terms;
    for (int year = first; year <= last; ++year) {
        const double jan1 = JdeOfDayNumber(DateToDayNumber(year, 1, 1));
        for (int index = 0; index < 24; ++index) {
            const double jde = ReferenceSunReaches(285.0 + 15 * index, jan1 + 5 + 15.2184 * index);
            terms.push_back({year, index, jde, ReferenceBeijingDay(jde)});
        }
    }
    return terms;
}

std::vector<ReferenceMonth> ReferenceLunarMonths(int first, int last)
{
    const std::vector<ReferenceTerm> terms = ReferenceSolarTerms(first - 1, last + 1);
    std::vector<int> majorDays, solsticeDays;  // major terms: the odd indexes (大寒 .. 冬至)
    for (const ReferenceTerm& t : terms) {
        if (t.Index % 2 == 1)
            majorDays.push_back(t.Day);
        if (t.Index == 23)
            solsticeDays.push_back(t.Day);
    }
    // New moons from before the first 冬至 to after the last.
    std::vector<std::pair<int, double>> starts;
    int k = static_cast<int>(std::floor((first - 1 - 2000) * 12.3685)) - 2;
    while (true) {
        const double jde = ReferenceNewMoon(k++);
        const double zone = ReferenceMonthZone(jde);
        int day = ReferenceBeijingDay(jde, zone);
        // Closer to midnight than this computation can tell (its error and that of the Delta T
        // forecast are several seconds): 2057-09-28 23:59:57. The published calendar begins
        // that month on the next day.
        if (ReferenceBeijingDay(jde + 10.0 / 86400, zone) != day)
            ++day;
        starts.push_back({day, jde});
        if (day > solsticeDays.back() + 70)
            break;
    }
    auto monthOf = [&](int day) {  // index of the month holding the day
        return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), std::make_pair(day, 1e300)) - starts.begin()) - 1;
    };
    auto hasMajorTerm = [&](size_t i) {
        const auto it = std::lower_bound(majorDays.begin(), majorDays.end(), starts[i].first);
        return it != majorDays.end() && *it < starts[i + 1].first;
    };
    std::vector<ReferenceMonth> months;
    // Each sui runs from the month of one 冬至 (month 11) to the month before the next.
    for (size_t s = 0; s + 1 < solsticeDays.size(); ++s) {
        const int from = monthOf(solsticeDays[s]), to = monthOf(solsticeDays[s + 1]);
        const bool leapSui = to - from == 13;
        bool leapSeen = false;
        int number = 10, year = first - 1 + static_cast<int>(s);
        for (int i = from; i < to; ++i) {
            const bool leap = leapSui && !leapSeen && i > from && !hasMajorTerm(i);
            if (leap) {
                leapSeen = true;
            } else {
                number = number % 12 + 1;
                if (number == 1)
                    ++year;
            }
            months.push_back({starts[i].first, starts[i].second, year, number, leap});
        }
    }
    return months;
}
