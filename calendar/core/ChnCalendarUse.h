#pragma once
// Texts of a date for the month view: stem-branch, animal, western sign, solar term and
// lunar day names, the solar and lunar festivals, the reign-era text of a year (from the
// era table, compiled from EraTable.txt) and TChnCal, which holds every text of one date.
// Lookups outside their range give the empty text; dates outside the engine's years
// -849 .. 2100 give no lunar texts.

#include <span>
#include <string>
#include <string_view>

#include "framework/rtl/DateUtils.h"

std::string GetStemBranchName(int index);     // 0..59
std::string GetAnimalName(int index);         // 0..11
std::string GetSolarTermName(int index);      // 0..23, 0 = 立春
std::string GetConstellationName(int index);  // 0..11, 0 = 白羊
std::string GetCnDayName(int cnDay);          // 1..30: 初一 .. 三十

// Western sign index 0..11 of a month and day.
int ConstellationOfDate(int month, int day);
// TDateTime counts proleptic Gregorian days; the lunar texts of a day before 1582-10-15 are
// those of its Julian date. NaN and values outside the engine's years (or the framework's
// dates) give false or the empty text, never an exception.

// Lunar date of the date part of t; false outside the engine's years.
bool DateTimeToCnDate(TDateTime t, int& cnYear, int& cnMonth, int& cnDay, bool& leap);
// Name of the solar term falling on the day of t, else empty.
std::string GetSolarTermOfDay(TDateTime t);
// Solar festival on day `day` of the month of t, else empty.
std::string GetHoliday(int day, TDateTime t);
// Lunar festival of a lunar month and day; t is the solar date of that day, needed to tell
// New Year's Eve. The festivals belong to the ordinary months: a leap month has none but
// New Year's Eve on its last day.
std::string GetCnHoliday(int cnMonth, int cnDay, TDateTime t, bool leap = false);

// One row of the era table: the row holds from Start to the next row's start.
struct TEraRow {
    int Start;
    int Length;
    int Flag;
    const char* Dynasty;
    const char* EmperorTitle;
    const char* PersonalName;
    const char* EraName;
};
// All rows in order of start year; the last row is the sentinel that closes the one before.
std::span<const TEraRow> EraTable();
// "[dynasty]title name era" + year number ("元" in the first year) + "年" for the years
// -2069 .. 1948, astronomically numbered (0 = 1 BC); empty outside.
std::string GetEraText(int year);

// Field `field` (from 1) of s split at each delim, trimmed; with skipEmpty, empty fields are
// not counted. Empty when there is no such field.
std::string GetDelimitedField(std::string_view s, char delim, int field, bool skipEmpty);

// All texts of one date. Year, month and day texts are refreshed as the date moves; the
// lunar year and month texts are kept while the lunar year and month stay the same.
class TChnCal {
public:
    // Fills the texts for t; a date outside the engine's years leaves them unchanged.
    void SetDateTime(TDateTime t);

    int FCnYear = 0;
    int FCnMonth = 0;
    bool FIsLeap = false;
    TDateTime FDateTime = 0;
    std::string FSolarTerm;
    std::string FHoliday;
    std::string FCnMonthName;
    std::string FDayStemBranch;
    std::string FYearStemBranch;
    std::string FMonthStemBranch;
    std::string FCnHoliday;
    std::string FCnYearText;
    std::string FCnDayName;
    std::string FAnimal;
    std::string FConstellation;
    std::string FEraText;

private:
    bool FFilled = false;  // a first date has been set (lunar year 0 exists, so FCnYear cannot tell)
};
