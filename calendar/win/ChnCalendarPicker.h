#pragma once
// TChnCalendar: a month view of the Chinese calendar. A 9 x 7 grid (weekday header, six
// week rows, optional week numbers in column 0, a narrow margin in column 8) shows each
// day with its lunar text (lunar day, month name on the first, festival or solar term)
// over a back bitmap with a frame, the year and month as large faint numbers and an
// optional picture blended in. A title area holds the year and month with their up-downs,
// menus and "今天". Setting DateTime refills every cell; CnMonth and CnDay then give the
// lunar month and day names of that date.

#include <functional>
#include <memory>
#include <string>

#include "calendar/core/MonthCells.h"
#include "framework/win/Bitmap.h"
#include "framework/win/ComCtrls.h"
#include "framework/win/Grids.h"
#include "framework/win/Menus.h"
#include "framework/win/Picture.h"
#include "framework/win/StdCtrls.h"

// Before the default drawing of one half of a day cell: the handler may change Text, or
// draw itself and clear defaultDraw. aCanvas is the cell's scratch bitmap; R covers it.
using TDrawDateCellEvent = std::function<void(TObject* Sender, int Day, TCanvas& aCanvas, const TRect& R,
                                              bool Selected, std::string& Text, bool& defaultDraw)>;

class TChnCalendar : public TCustomControl {
public:
    explicit TChnCalendar(TComponent* AOwner);
    ~TChnCalendar() override;

    TDateTime DateTime() const { return FCells.DateTime(); }
    void SetDateTime(TDateTime value);
    const std::string& CnDate() const { return FCells.CnDate(); }
    const std::string& CnMonth() const { return FCells.CnMonth(); }
    const std::string& CnDay() const { return FCells.CnDay(); }
    const TMonthCells& Cells() const { return FCells; }

    bool ShowTitle() const { return FShowTitle; }
    void SetShowTitle(bool value);
    bool ShowWeekNum() const { return FShowWeekNum; }
    void SetShowWeekNum(bool value);
    bool ShowFrame() const { return FShowFrame; }
    void SetShowFrame(bool value) { FShowFrame = value; BackChanged(); }
    bool ShowBackYearMonth() const { return FShowBackYearMonth; }
    void SetShowBackYearMonth(bool value) { FShowBackYearMonth = value; BackChanged(); }
    bool ShowWeekNumLine() const { return FShowWeekNumLine; }
    void SetShowWeekNumLine(bool value) { FShowWeekNumLine = value; RefreshGrid(); }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value) { FHideSelection = value; }
    TFont& FontDate() { return FFontDate; }
    TFont& FontCnDate() { return FFontCnDate; }

    // Colours of the header and selection (the grid is redrawn) ...
    TColor ColorTitleWeekLine = 12961221, ColorTitleWeekEnd = 255, ColorTitleWeek = 5197647;
    TColor ColorSelectedStart = 5484032, ColorSelectedEnd = 6673664, ColorSelectedFrame = 4625152;
    TColor ColorWeekNum = 8421504;
    TColor ColorTitleConstellation = 0, ColorTitleAnimalsYear = 0;
    using TCustomControl::SetColor;   // the control's own Color
    void SetColor(TColor TChnCalendar::*which, TColor value) { this->*which = value; RefreshGrid(); }
    // ... of the day texts (the cells are refilled) ...
    const TMonthColors& DayColors() const { return FDayColors; }
    void SetDayColor(TCellColor TMonthColors::*which, TColor value);
    // ... of the back bitmap (redrawn) ...
    TColor ColorShowFrame = 8421504, ColorBackYear = 14543103, ColorBackMonth = 15461355;
    void SetBackColor(TColor TChnCalendar::*which, TColor value) { this->*which = value; BackChanged(); }
    // ... and of the title labels.
    TColor ColorTitleToday() const;
    void SetColorTitleToday(TColor value);
    TColor ColorTitleMonth() const;
    void SetColorTitleMonth(TColor value);
    TColor ColorTitleYear() const;
    void SetColorTitleYear(TColor value);
    TColor ColorTitleSelected() const;
    void SetColorTitleSelected(TColor value);

    TPicture& BackGround() { return FBackGround; }
    bool Center() const { return FCenter; }
    void SetCenter(bool value) { FCenter = value; BackChanged(); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value) { FStretch = value; BackChanged(); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value) { FTransparent = value; Invalidate(); }
    uint8_t AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(uint8_t value) { FAlphaBlend = value; BackChanged(); }
    // Redraws the back bitmap (after BackGround changed) and the grid.
    void BackChanged();

    // Month step (position 0..13 of the month up-down) and year step.
    void StepMonth(int position);
    void StepYear(int year);
    void GoToToday();

    TNotifyEvent OnChange, OnDateSelect, OnDateClick;
    TDrawDateCellEvent OnDrawDateCell, OnDrawCnDateCell;

    // Owned parts, as laid out.
    TDrawGrid* Grid() const { return FGrid; }
    TUpDown *UpDownMonth = nullptr, *UpDownYear = nullptr;
    TLabel *LabelToday = nullptr, *LabelYear = nullptr, *LabelYearUnit = nullptr, *LabelMonth = nullptr,
           *LabelMonthUnit = nullptr, *LabelDate = nullptr;
    TPopupMenu *MonthMenu = nullptr, *YearMenu = nullptr;
    TBitmap& BackBitmap() { return FBack; }
    // Grid paints begun since creation: a cell handler that gathers data once per paint
    // compares it with the count it gathered at.
    int PaintCount() const { return FPaintCount; }

protected:
    void CreateWnd() override;
    void Paint() override;
    void Resize() override;
    void MouseLeave() override;
    void FontChanged() override;

private:
    friend class TChnCalendarGrid;
    void BuildMenus();
    void Layout();
    void DrawBack();
    void DrawFrame(TCanvas& c, const TRect& r);
    void RefreshGrid();
    void RefreshBack();   // back bitmap redrawn, control and grid repainted
    void Refill();
    void DrawGridCell(int ACol, int ARow, const TRect& Rect, TGridDrawState State);
    void ComposeCell(TCanvas& canvas, int ACol, int ARow, const TRect& R, TGridDrawState State);
    bool GridSelectCell(int ACol, int ARow);
    void GridClick();
    void AfterDateSet();
    void PopupAtMouse(TPopupMenu* menu);

    TDrawGrid* FGrid = nullptr;
    TMonthCells FCells;
    TMonthColors FDayColors;
    TFont FFontDate, FFontCnDate;
    TPicture FBackGround;
    TBitmap FScratch, FBack, FPictureBitmap;
    bool FShowTitle = false, FShowWeekNum = false, FShowFrame = true, FShowBackYearMonth = true,
         FShowWeekNumLine = true, FHideSelection = false, FCenter = false, FStretch = false, FTransparent = false;
    uint8_t FAlphaBlend = 50;
    bool FUpdating = false, FMouseOver = false;
    int FPaintCount = 0;
};
