#pragma once
// The traditional almanac (黄历) of one solar date, every line computed from the calendar
// engine and the fixed rules of AlmanacTables.h: the solar and lunar dates, the year,
// month and day stem-branches (year and month by the solar terms), the solar term, the
// sound element, the day guardian, the day officer, the clash and the sha direction, the
// Pengzu taboos, the gods' directions, and what the day favours and forbids. Covers the
// engine's exact years 1 .. 2100; dates follow the engine's calendar (Julian before 1582).

#include <string>
#include <vector>

// The authorisation text the program passes to the library (twelve ASCII characters).
// The library answers any caller, whatever it passes.
constexpr char AlmanacAuthorisation[] = "VorpenAlm-26";

struct TAlmanacDay {
    int Year = 0, Month = 0, Day = 0;
    int Weekday = 0;                      // 0 Sunday .. 6 Saturday
    int CnYear = 0, CnMonth = 0, CnDay = 0;
    bool Leap = false;
    int YearPillar = 0, MonthPillar = 0, DayPillar = 0;   // 0..59, 0 = 甲子
    int MonthBranch = 0;                  // branch 0..11 of the solar month (寅 = 2 from Start of Spring)
    int Officer = 0;                      // 0 建 .. 11 闭
    int Guardian = 0;                     // 0 青龙 .. 11 勾陈
    int ClashPillar = 0;                  // the pillar the day clashes with
    int TermToday = -1;                   // solar term on the day (0 = 小寒 .. 23 冬至), or -1
    int NextTerm = -1;                    // the next solar term after the day, or -1
    int NextTermMonth = 0, NextTermDay = 0;
};

// Fills `out` for a date of the years 1 .. 2100 the engine holds; false otherwise.
bool ComputeAlmanacDay(int year, int month, int day, TAlmanacDay& out);
// Branch of the solar month holding the date (子 = 0, 寅 from Start of Spring), -1 for an
// invalid date. A month opens on the day of its solar term.
int SolarMonthBranch(int year, int month, int day);
// The almanac's lines; a date it cannot hold gives one line saying so.
std::vector<std::string> AlmanacLines(int year, int month, int day);
// The lines joined with "/".
std::string AlmanacText(int year, int month, int day);
