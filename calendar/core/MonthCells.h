#pragma once
// The month view's cells, apart from drawing: for one selected date, the 42 cells of a
// six-week Sunday-first grid (1..37 days, 40..42 the western sign, the year's stem-branch
// and its animal), the six week-number texts, the lunar names of the selected day and the
// date line under the grid. Also the date arithmetic of the month and year steps, the
// selection gradient and the key-coloured picture blend of the back bitmap.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "calendar/core/ChnCalendarUse.h"
#include "framework/rtl/DateUtils.h"

using TCellColor = int32_t;   // 0x00BBGGRR, as the Win32 side's TColor

// One cell; k = column + 7 row - 7 for column 1..7 and row 1..6.
struct TcnDateInf {
    int Day = 0;
    bool Valid = false;
    std::string DayText, CnMonthText, CnDayText, ShowText;
    TCellColor DateColor = 0, CnColor = 0;
};

// The colours that decide a day cell's texts.
struct TMonthColors {
    TCellColor Date = 5197647;
    TCellColor CnDate = 32768;
    TCellColor Holiday = 33023;
    TCellColor LunarHolDay = 16733011;
    TCellColor CnHolDay = 33023;
};

constexpr int MonthCellCount = 42;
constexpr int FirstTitleCell = 40;   // 40 sign, 41 stem-branch year, 42 animal year
constexpr TCellColor CellRed = 255;

class TMonthCells {
public:
    // Refills every cell for t. False (nothing changes) when t equals the current value or
    // its year lies outside 1..2100.
    bool SetDateTime(TDateTime t, const TMonthColors& colors);
    // Refills the cells for the current date (after a colour change).
    void Refill(const TMonthColors& colors);

    TDateTime DateTime() const { return FDateTime; }
    const TcnDateInf& Cell(int k) const { return FCells.at(k); }   // 1..42
    const std::string& WeekText(int row) const { return FWeekTexts.at(row - 1); }   // 1..6
    int SelectedCell() const { return FSelectedCell; }
    const std::string& CnMonth() const { return FCnMonth; }
    const std::string& CnDay() const { return FCnDay; }
    const std::string& CnDate() const { return FCnDate; }
    const std::string& DateLine() const { return FDateLine; }

    // Grid place of cell k (1..42) and back; 0 for a place outside the day rows.
    static void CellPlace(int k, int& col, int& row);
    static int CellAt(int col, int row);

private:
    void Fill(const TMonthColors& colors);

    TDateTime FDateTime = 0;
    bool FFilled = false;
    std::array<TcnDateInf, MonthCellCount + 1> FCells{};   // [0] unused
    std::array<std::string, 6> FWeekTexts;
    int FSelectedCell = 0;
    std::string FCnMonth, FCnDay, FCnDate, FDateLine;
    TChnCal FCal;
};

// Month step: month position 0..13 of the up-down (0 and 13 cross into the year before and
// after), the day lowered until the date exists; false when the month lies outside 1..9999.
bool MonthStepDate(int year, int position, int day, TDateTime& result);
// Year step: the same month and day in `year`, the day lowered until the date exists;
// false when no such day exists (a year outside 1..9999 or a bad month).
bool YearStepDate(int year, int month, int day, TDateTime& result);

// Band i of n of a vertical gradient: each channel start + round(i (end - start) / n).
TCellColor GradientBand(TCellColor start, TCellColor end, int i, int n);
// Blends a picture onto the back pixels (both 0x..RRGGBB, the same count): pixels of the
// picture's first pixel colour are skipped; the others become
// ((100 - p) back + p picture) / 100 per channel, p = alphaBlend mod 100.
void BlendPicture(std::span<uint32_t> back, std::span<const uint32_t> picture, int alphaBlend);
