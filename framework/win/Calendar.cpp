#include "framework/win/Calendar.h"

#include <algorithm>

#include "framework/rtl/SysUtils.h"

TCalendar::TCalendar(TComponent* AOwner) : TDrawGrid(AOwner), FDate(Date()) {
    SetColCount(7);
    SetRowCount(7);
    SetFixedCols(0);
    SetFixedRows(1);
    SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine});
    UpdateSelection();
}

void TCalendar::SetCalendarDate(TDateTime value) {
    value = DateOf(value);
    if (value == FDate) return;
    FDate = value;
    UpdateSelection();
    Change();
}

void TCalendar::SetDate(int year, int month, int day) {
    if (month < 1 || month > 12) throw EConvertError("Invalid month " + std::to_string(month));
    if (year < 1 || year > 9999) throw EConvertError("Invalid year " + std::to_string(year));
    SetCalendarDate(EncodeDate(year, month, std::clamp(day, 1, DaysInAMonth(year, month))));
}

void TCalendar::SetStartOfWeek(int value) {
    if (value < 0 || value > 6) throw EConvertError("Invalid start of week " + std::to_string(value));
    FStartOfWeek = value;
    UpdateSelection();
}

int TCalendar::FirstColumn() const {
    return (DayOfWeek(EncodeDate(Year(), Month(), 1)) - 1 - FStartOfWeek + 7) % 7;
}

int TCalendar::DayOfCell(int ACol, int ARow) const {
    if (ARow < 1 || ACol < 0 || ACol > 6) return 0;
    const int day = (ARow - 1) * 7 + ACol - FirstColumn() + 1;
    return day >= 1 && day <= DaysInAMonth(Year(), Month()) ? day : 0;
}

void TCalendar::UpdateSelection() {
    const int index = FirstColumn() + Day() - 1;
    FUpdating = true;
    FocusCell(index % 7, index / 7 + 1);
    FUpdating = false;
    Invalidate();
}

bool TCalendar::SelectCell(int ACol, int ARow) {
    if (FUpdating) return true;
    const int day = DayOfCell(ACol, ARow);
    if (day == 0 || !TDrawGrid::SelectCell(ACol, ARow)) return false;
    SetDay(day);
    return true;
}

void TCalendar::DrawCell(int ACol, int ARow, const TRect& Rect, TGridDrawState State) {
    std::string text;
    if (ARow == 0) text = ShortDayNames[(FStartOfWeek + ACol) % 7];
    else if (int day = DayOfCell(ACol, ARow)) text = IntToStr(day);
    TRect r = Rect;
    Canvas().Brush().SetStyle(bsClear);
    Canvas().DrawText(text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    TDrawGrid::DrawCell(ACol, ARow, Rect, State);
}

// The cells share the client area evenly; the last column and row take the rest.
void TCalendar::Resize() {
    const TRect client = ClientRect();
    const int w = std::max((client.Width() - 6 * GridLineWidth()) / 7, 1);
    const int h = std::max((client.Height() - 6 * GridLineWidth()) / 7, 1);
    for (int i = 0; i < 7; ++i) {
        SetColWidths(i, i < 6 ? w : std::max(client.Width() - 6 * (w + GridLineWidth()), 1));
        SetRowHeights(i, i < 6 ? h : std::max(client.Height() - 6 * (h + GridLineWidth()), 1));
    }
    TDrawGrid::Resize();
}

void TCalendar::Change() {
    if (TNotifyEvent h = OnChange) h(this);
}
