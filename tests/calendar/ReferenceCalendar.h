#pragma once
// An independent reference for the calendar tests: new moons by the full periodic series of
// the mean lunation (with the planetary arguments), the Sun's apparent longitude by the
// truncated planetary theory of the Earth with nutation and aberration, Delta T by
// polynomial fits, and the lunar calendar built from them by the rules of the modern
// Chinese calendar (months begin on the day of the new moon in Beijing time, a year of 13
// months from one 冬至 month to the next makes its first month without a major term the
// leap month).

#include <vector>

// Julian ephemeris day of new moon number k (k = 0 near 2000-01-06).
double ReferenceNewMoon(int k);
// Apparent geocentric longitude of the Sun in degrees 0..360 at a Julian ephemeris day.
double ReferenceSunLongitude(double jde);
// Terrestrial minus universal time in seconds for a decimal year.
double ReferenceDeltaT(double year);
// Julian ephemeris day at which the Sun's apparent longitude reaches `degrees`, near jde.
double ReferenceSunReaches(double degrees, double jde);

// Day number of the calendar engine (1582-10-15 is 577736) of a Julian ephemeris day in
// the time zone zoneMinutes east of Greenwich (Beijing time: 480).
int ReferenceBeijingDay(double jde, double zoneMinutes = 480);
// Minute of the day (0..1439) of a Julian ephemeris day in that zone.
int ReferenceBeijingMinute(double jde, double zoneMinutes = 480);
// The calendars of 1912 .. 1928 began their months by the mean time of Beijing's meridian
// (116°25' east); the solar terms of all years and the months of the others go by 120°.
constexpr double BeijingMeanTime = 465 + 40.0 / 60;
double ReferenceMonthZone(double jde);

struct ReferenceTerm {
    int Year, Index;  // Index as GetSolarTermDate: 0 小寒 .. 23 冬至
    double Jde;
    int Day;  // engine day number in Beijing time
};
// The 24 terms of every civil year first .. last.
std::vector<ReferenceTerm> ReferenceSolarTerms(int first, int last);

struct ReferenceMonth {
    int FirstDay;  // engine day number of the new moon's day
    double NewMoonJde;
    int Year, Month;  // lunar year and month
    bool Leap;
};
// The lunar months that begin from the 冬至 month before civil year `first` up to the end
// of lunar year `last`.
std::vector<ReferenceMonth> ReferenceLunarMonths(int first, int last);
