#include "calendar/core/MonthCells.h"

#include <algorithm>
#include <cmath>

#include "framework/rtl/SysUtils.h"

bool TMonthCells::SetDateTime(TDateTime t, const TMonthColors& colors)
{
    static const TDateTime first = EncodeDate(1, 1, 1), beyond = EncodeDate(2101, 1, 1);
    if ((FFilled && t == FDateTime) || !(t >= first && t < beyond))
        return false;
    FDateTime = t;
    FFilled = true;
    Fill(colors);
    return true;
}

void TMonthCells::Refill(const TMonthColors& colors)
{
    if (FFilled)
        Fill(colors);
}

void TMonthCells::Fill(const TMonthColors& colors)
{
    int year, month, day;
    DecodeDate(FDateTime, year, month, day);
    FCal.SetDateTime(FDateTime);
    FCnMonth = FCal.FCnMonthName;
    FCnDay = FCal.FCnDayName;
    FCnDate = FCnMonth + FCnDay;

    for (int k = FirstTitleCell; k <= MonthCellCount; ++k) {
        FCells[k] = TcnDateInf();
        FCells[k].Valid = true;
    }
    FCells[41].ShowText = FCal.FYearStemBranch;
    FCells[42].ShowText = FCal.FAnimal + "年";
    FCells[40].ShowText = FCal.FConstellation;

    FDateLine = (year < 1949 ? FCal.FEraText : FormatDateTime("YYYY-MM-DD", FDateTime)) + " 农历" + FCnDate;

    for (auto& w : FWeekTexts)
        w.clear();
    for (int k = 1; k < FirstTitleCell; ++k) {
        int col, row;
        CellPlace(k, col, row);
        FCells[k] = TcnDateInf();
        FCells[k].DateColor = col == 1 || col == 7 ? CellRed : colors.Date;
    }

    const TDateTime first = EncodeDate(year, month, 1);
    const int firstCell = DayOfWeek(first);
    const int days = DaysInAMonth(year, month);
    // A row stands for the ISO week of its Monday; a row without one (only Tuesday..Saturday
    // at the top, only a Sunday at the bottom) holds days of a single week. Empty rows get none.
    for (int row = 1; row <= 6; ++row) {
        const int firstDay = std::max(1, 7 * row - 6 - firstCell + 1), lastDay = std::min(days, 7 * row - firstCell + 1);
        if (firstDay > lastDay)
            continue;
        const int monday = 7 * row - 5 - firstCell + 1;
        const int named = monday >= firstDay && monday <= lastDay ? monday : firstDay;
        FWeekTexts[row - 1] = IntToStr(WeekOfTheYear(first + (named - 1)));
    }
    FSelectedCell = 0;
    for (int d = 1; d <= days; ++d) {
        const TDateTime date = first + (d - 1);
        FCal.SetDateTime(date);
        TcnDateInf& c = FCells[firstCell + d - 1];
        c.Day = d;
        c.DayText = IntToStr(d);
        c.CnMonthText = FCal.FCnMonthName;
        c.CnDayText = FCal.FCnDayName;
        c.ShowText = c.CnDayText;
        c.CnColor = colors.CnDate;
        if (c.CnDayText == "初一") {
            c.ShowText = c.CnMonthText;
            c.CnColor = CellRed;
        }
        if (!FCal.FHoliday.empty()) {
            c.ShowText = FCal.FHoliday;
            c.CnColor = colors.Holiday;
        }
        if (!FCal.FSolarTerm.empty()) {
            c.ShowText = FCal.FSolarTerm;
            c.CnColor = colors.LunarHolDay;
        }
        if (!FCal.FCnHoliday.empty()) {
            c.ShowText = FCal.FCnHoliday;
            c.CnColor = colors.CnHolDay;
        }
        c.Valid = true;
        if (d == day) {
            FSelectedCell = firstCell + d - 1;
            FCells[40].ShowText = FCal.FConstellation;
        }
    }
    FCal.SetDateTime(FDateTime);
}

void TMonthCells::CellPlace(int k, int& col, int& row)
{
    if (k % 7 == 0) {
        row = k / 7;
        col = 7;
    } else {
        row = k / 7 + 1;
        col = k % 7;
    }
}

int TMonthCells::CellAt(int col, int row)
{
    if (col < 1 || col > 7 || row < 1 || row > 6)
        return 0;
    return col + 7 * row - 7;
}

bool MonthStepDate(int year, int position, int day, TDateTime& result)
{
    int month = position;
    if (position >= 13) {
        ++year;
        month = 1;
    } else if (position <= 0) {
        --year;
        month = 12;
    }
    for (int d = std::min(day, 31); d >= 1; --d)
        if (TryEncodeDate(year, month, d, result))
            return true;
    return false;
}

bool YearStepDate(int year, int month, int day, TDateTime& result)
{
    for (int d = std::min(day, 31); d >= 1; --d)
        if (TryEncodeDate(year, month, d, result))
            return true;
    return false;
}

TCellColor GradientBand(TCellColor start, TCellColor end, int i, int n)
{
    TCellColor result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int s = (start >> shift) & 0xFF, e = (end >> shift) & 0xFF;
        const int v = s + static_cast<int>(std::nearbyint(static_cast<double>(i) * (e - s) / n));
        result |= (v & 0xFF) << shift;
    }
    return result;
}

void BlendPicture(std::span<uint32_t> back, std::span<const uint32_t> picture, int alphaBlend)
{
    if (picture.empty() || back.size() != picture.size())
        return;
    const uint32_t key = picture[0] & 0xFFFFFF;
    const uint32_t p = static_cast<uint32_t>(alphaBlend % 100);
    for (size_t i = 0; i < back.size(); ++i) {
        const uint32_t src = picture[i] & 0xFFFFFF;
        if (src == key)
            continue;
        uint32_t out = back[i] & 0xFF000000u;
        for (int shift = 0; shift <= 16; shift += 8) {
            const uint32_t b = (back[i] >> shift) & 0xFF, q = (src >> shift) & 0xFF;
            out |= (((100 - p) * b + p * q) / 100) << shift;
        }
        back[i] = out;
    }
}
