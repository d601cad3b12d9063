#pragma once
// TCalendar: a month grid (a TDrawGrid of seven columns, a row of day names and six week
// rows) showing CalendarDate's month with its day selected. Year, Month and Day can be
// set one by one (the day is cut to the month's end, so 29 February moves to the 28th of
// a common year); the four steps go a month or a year back or forth. Choosing a day cell
// (mouse or arrow keys) sets the day. OnChange follows every change of the date.

#include "framework/rtl/DateUtils.h"
#include "framework/win/Grids.h"

class TCalendar : public TDrawGrid {
public:
    explicit TCalendar(TComponent* AOwner);

    TDateTime CalendarDate() const { return FDate; }
    void SetCalendarDate(TDateTime value);
    int Year() const { return YearOf(FDate); }
    void SetYear(int value) { SetDate(value, Month(), Day()); }
    int Month() const { return MonthOf(FDate); }
    void SetMonth(int value) { SetDate(Year(), value, Day()); }
    int Day() const { return DayOf(FDate); }
    void SetDay(int value) { SetDate(Year(), Month(), value); }
    // First column's weekday: 0 Sunday .. 6 Saturday.
    int StartOfWeek() const { return FStartOfWeek; }
    void SetStartOfWeek(int value);

    void PrevMonth() { SetCalendarDate(IncMonth(FDate, -1)); }
    void NextMonth() { SetCalendarDate(IncMonth(FDate, 1)); }
    void PrevYear() { SetYear(Year() - 1); }
    void NextYear() { SetYear(Year() + 1); }

    // The day shown in a cell, 0 for a day-name cell or an empty one.
    int DayOfCell(int ACol, int ARow) const;

    TNotifyEvent OnChange;

protected:
    void DrawCell(int ACol, int ARow, const TRect& Rect, TGridDrawState State) override;
    bool SelectCell(int ACol, int ARow) override;
    void Resize() override;
    virtual void Change();

private:
    void SetDate(int year, int month, int day);   // raises EConvertError for a bad year or month
    void UpdateSelection();
    int FirstColumn() const;

    TDateTime FDate;
    int FStartOfWeek = 0;
    bool FUpdating = false;
};
