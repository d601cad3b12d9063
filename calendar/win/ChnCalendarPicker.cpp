#include "calendar/win/ChnCalendarPicker.h"

#include <algorithm>

#include <uxtheme.h>
#include <vssym32.h>

#include "framework/rtl/SysUtils.h"

namespace {

constexpr const char* ShortWeekdays[7] = {"日", "一", "二", "三", "四", "五", "六"};
constexpr int WeekNumWidth = 18, NoWeekNumWidth = 6, HeaderHeight = 18;

void SetFont(TFont& font, const char* name, int size, TColor color, TFontStyles style = {})
{
    font.SetName(name);
    font.SetCharset(GB2312_CHARSET);
    font.SetSize(size);
    font.SetColor(color);
    font.SetStyle(style);
}

// Gives the canvas the font's face and colour; the font handle is made anew only when the face
// differs, since each new handle costs more than the drawing of a cell.
void UseFont(TCanvas& canvas, const TFont& font, TColor color)
{
    TFont& f = canvas.Font();
    if (f.Name() != font.Name() || f.Height() != font.Height() || f.Style() != font.Style() ||
        f.Charset() != font.Charset() || f.Pitch() != font.Pitch())
        f.Assign(font);
    f.SetColor(color);
}

TLabel* MakeLabel(TChnCalendar* owner, const char* caption, int left, int top, const char* face, int size,
                  TColor color, TFontStyles style = {})
{
    auto* l = new TLabel(owner);
    l->SetParent(owner);
    l->SetTransparent(true);
    SetFont(l->Font(), face, size, color, style);
    l->SetCaption(caption);
    l->SetLeft(left);
    l->SetTop(top);
    return l;
}

TMenuItem* MakeItem(TComponent* owner, const std::string& name, const std::string& caption, intptr_t tag = 0)
{
    auto* item = new TMenuItem(owner);
    if (!owner->FindComponent(name))   // a year and a group may share a number
        item->SetName(name);
    item->SetCaption(caption);
    item->SetTag(tag);
    return item;
}

// The user's short date and time forms that the program's date texts follow; a locale that
// cannot be written keeps its forms.
void SetUserDateFormats()
{
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, "yyyy-MM-dd");
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, "H:mm:ss");
    DWORD_PTR result;
    SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, 0, SMTO_ABORTIFHUNG, 10, &result);
}

}  // namespace

// The inner grid: its cells are drawn, selected and clicked by the control.
class TChnCalendarGrid : public TDrawGrid {
public:
    TChnCalendarGrid(TChnCalendar* owner) : TDrawGrid(owner), FCalendar(owner) {}

protected:
    void Paint() override
    {
        ++FCalendar->FPaintCount;
        TDrawGrid::Paint();
    }
    void DrawCell(int ACol, int ARow, const TRect& Rect, TGridDrawState State) override
    {
        FCalendar->DrawGridCell(ACol, ARow, Rect, State);
    }
    bool SelectCell(int ACol, int ARow) override { return FCalendar->GridSelectCell(ACol, ARow); }
    void MouseLeave() override
    {
        FCalendar->FMouseOver = false;
        TDrawGrid::MouseLeave();
    }

private:
    TChnCalendar* FCalendar;
};

TChnCalendar::TChnCalendar(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(Left(), Top(), 313, 253);
    SetDoubleBuffered(true);
    SetFont(FFontDate, "黑体", 9, clBlack, {fsBold});
    SetFont(FFontCnDate, "宋体", 9, 15658734);
    FFontDate.OnChange = [this](TObject*) { RefreshGrid(); };
    FFontCnDate.OnChange = [this](TObject*) { RefreshGrid(); };
    FBackGround.OnChange = [this](TObject*) { BackChanged(); };

    FGrid = new TChnCalendarGrid(this);
    FGrid->SetParent(this);
    FGrid->SetName("Grid");
    FGrid->SetBounds(8, 40, 298, 186);
    FGrid->SetColCount(9);
    FGrid->SetRowCount(7);
    FGrid->SetFixedCols(0);
    FGrid->SetFixedRows(0);
    FGrid->SetOptions({});
    FGrid->SetGridLineWidth(0);
    FGrid->SetDefaultDrawing(false);
    FGrid->SetDoubleBuffered(true);
    FGrid->OnMouseMove = [this](TObject*, TShiftState, int, int) { FMouseOver = true; };
    FGrid->OnClick = [this](TObject*) { GridClick(); };

    UpDownMonth = new TUpDown(this);
    UpDownMonth->SetParent(this);
    UpDownMonth->SetBounds(60, 10, 16, 24);
    UpDownMonth->SetMin(0);
    UpDownMonth->SetMax(13);
    UpDownMonth->OnClick = [this](TObject*, TUDBtnType) { StepMonth(UpDownMonth->Position()); };
    UpDownYear = new TUpDown(this);
    UpDownYear->SetParent(this);
    UpDownYear->SetBounds(220, 10, 16, 24);
    UpDownYear->SetMin(1);
    UpDownYear->SetMax(2100);
    UpDownYear->OnClick = [this](TObject*, TUDBtnType) { StepYear(UpDownYear->Position()); };

    LabelToday = MakeLabel(this, "今天", 272, 18, "宋体", 12, clBlue, {fsUnderline});
    LabelToday->OnClick = [this](TObject*) { GoToToday(); };
    LabelYear = MakeLabel(this, "", 120, 0, "Arial Black", 22, clBlue);
    LabelYearUnit = MakeLabel(this, "年", 205, 18, "宋体", 9, clBlack);
    // The month number grows to the left, so that it ends where "月" begins.
    LabelMonth = MakeLabel(this, "", 34, 3, "Arial", 24, 12615808, {fsBold});
    LabelMonth->SetAutoSize(false);
    LabelMonth->SetBounds(5, 3, 40, 38);
    LabelMonth->SetAlignment(taRightJustify);
    LabelMonthUnit = MakeLabel(this, "月", 45, 20, "宋体", 9, clBlack);
    LabelDate = MakeLabel(this, "", 10, 236, "宋体", 9, 8421504);
    for (TLabel* l : {LabelYear, LabelYearUnit})
        l->OnClick = [this](TObject*) { PopupAtMouse(YearMenu); };
    for (TLabel* l : {LabelMonth, LabelMonthUnit})
        l->OnClick = [this](TObject*) { PopupAtMouse(MonthMenu); };
    FGrid->SetColWidths(0, NoWeekNumWidth);
    FGrid->SetRowHeights(0, HeaderHeight);
}

TChnCalendar::~TChnCalendar() = default;

void TChnCalendar::CreateWnd()
{
    TCustomControl::CreateWnd();
    if (!MonthMenu)
        BuildMenus();
    SetUserDateFormats();
    SetDateTime(Now());
    SetShowTitle(true);
}

void TChnCalendar::BuildMenus()
{
    MonthMenu = new TPopupMenu(this);
    MonthMenu->SetAutoHotkeys(maAutomatic);
    TMenuItem* today = MakeItem(this, "MenuMonth_ToDay", "今日");
    today->SetDefault(true);
    today->OnClick = [this](TObject*) { GoToToday(); };
    MonthMenu->Items()->Add(today);
    MonthMenu->Items()->Add(MakeItem(this, "MenuMonth_ToDay_", "-"));
    for (int m = 1; m <= 12; ++m) {
        TMenuItem* item = MakeItem(this, "MenuMonth_" + IntToStr(m - 1), LongMonthNames[m - 1], m);
        item->OnClick = [this, m](TObject*) {
            UpDownMonth->SetPosition(m);
            StepMonth(m);
        };
        MonthMenu->Items()->Add(item);
    }

    YearMenu = new TPopupMenu(this);
    YearMenu->SetAutoHotkeys(maAutomatic);
    auto yearItem = [this](int year) {
        TMenuItem* item = MakeItem(this, "MenuYear_" + IntToStr(year), IntToStr(year), year);
        item->OnClick = [this, year](TObject*) {
            UpDownYear->SetPosition(year);
            StepYear(year);
        };
        return item;
    };
    today = MakeItem(this, "MenuYear_ToDay", "今日");
    today->SetDefault(true);
    today->OnClick = [this](TObject*) { GoToToday(); };
    YearMenu->Items()->Add(today);
    YearMenu->Items()->Add(MakeItem(this, "MenuYear_ToDay_1", "-"));
    TMenuItem* history = MakeItem(this, "MenuYear_History", "历史日期");
    YearMenu->Items()->Add(history);
    for (int g = 0; g <= 18; ++g) {
        TMenuItem* group = MakeItem(this, "MenuYear_History_" + IntToStr(100 * g + 10), IntToStr(100 * g));
        for (int year = 100 * g + 10; year <= 100 * g + 100; year += 10) {
            TMenuItem* item = yearItem(year);
            if (!FindComponent("MenuYear_History_" + IntToStr(year)))
                item->SetName("MenuYear_History_" + IntToStr(year));
            group->Add(item);
        }
        history->Add(group);
    }
    YearMenu->Items()->Add(MakeItem(this, "MenuYear_ToDay_2", "-"));
    for (int decade = 1900; decade <= 2090; decade += 10) {
        TMenuItem* group = MakeItem(this, "MenuYear_" + IntToStr(decade), IntToStr(decade));
        for (int year = decade; year < decade + 10; ++year)
            group->Add(yearItem(year));
        YearMenu->Items()->Add(group);
    }
    // A right click on the year or the month (number or unit) opens its menu, as a left click does.
    LabelYear->SetPopupMenu(YearMenu);
    LabelYearUnit->SetPopupMenu(YearMenu);
    LabelMonth->SetPopupMenu(MonthMenu);
    LabelMonthUnit->SetPopupMenu(MonthMenu);
}

void TChnCalendar::SetDateTime(TDateTime value)
{
    if (!FCells.SetDateTime(value, FDayColors))
        return;
    AfterDateSet();
}

void TChnCalendar::Refill()
{
    if (FCells.SelectedCell() == 0)
        return;
    FCells.Refill(FDayColors);
    AfterDateSet();
}

void TChnCalendar::AfterDateSet()
{
    const TDateTime t = FCells.DateTime();
    UpDownYear->SetPosition(YearOf(t));
    UpDownMonth->SetPosition(MonthOf(t));
    LabelYear->SetCaption(IntToStr(YearOf(t)));
    LabelMonth->SetCaption(IntToStr(MonthOf(t)));
    LabelDate->SetCaption(FCells.DateLine());
    int col, row;
    TMonthCells::CellPlace(FCells.SelectedCell(), col, row);
    FUpdating = true;
    FGrid->FocusCell(col, row);
    FUpdating = false;
    RefreshBack();
    if (OnChange)
        OnChange(this);
}

void TChnCalendar::SetDayColor(TCellColor TMonthColors::*which, TColor value)
{
    FDayColors.*which = value;
    Refill();
}

TColor TChnCalendar::ColorTitleToday() const { return LabelToday->Font().Color(); }
void TChnCalendar::SetColorTitleToday(TColor value) { LabelToday->Font().SetColor(value); LabelToday->Invalidate(); }
TColor TChnCalendar::ColorTitleMonth() const { return LabelMonth->Font().Color(); }
void TChnCalendar::SetColorTitleMonth(TColor value) { LabelMonth->Font().SetColor(value); LabelMonth->Invalidate(); }
TColor TChnCalendar::ColorTitleYear() const { return LabelYear->Font().Color(); }
void TChnCalendar::SetColorTitleYear(TColor value) { LabelYear->Font().SetColor(value); LabelYear->Invalidate(); }
TColor TChnCalendar::ColorTitleSelected() const { return LabelDate->Font().Color(); }
void TChnCalendar::SetColorTitleSelected(TColor value) { LabelDate->Font().SetColor(value); LabelDate->Invalidate(); }

void TChnCalendar::SetShowTitle(bool value)
{
    FShowTitle = value;
    Layout();
}

void TChnCalendar::SetShowWeekNum(bool value)
{
    if (value == FShowWeekNum)
        return;
    FShowWeekNum = value;
    FGrid->SetColWidths(0, value ? WeekNumWidth : NoWeekNumWidth);
    Layout();
}

void TChnCalendar::StepMonth(int position)
{
    TDateTime t;
    if (MonthStepDate(YearOf(DateTime()), position, DayOf(DateTime()), t))
        SetDateTime(t);
    else
        UpDownMonth->SetPosition(MonthOf(DateTime()));   // no month before year 1
}

void TChnCalendar::StepYear(int year)
{
    TDateTime t;
    SetDateTime(YearStepDate(year, MonthOf(DateTime()), DayOf(DateTime()), t) ? t : Now());
}

void TChnCalendar::GoToToday() { SetDateTime(Now()); }

void TChnCalendar::PopupAtMouse(TPopupMenu* menu)
{
    POINT p;
    GetCursorPos(&p);
    if (menu)
        menu->Popup(p.x, p.y);
}

void TChnCalendar::Resize()
{
    TCustomControl::Resize();
    if (!Loading())
        Layout();
}

// Title: grid below the title area; otherwise the grid fills the control and the year menu
// becomes its pop-up. The day rows and columns share the space; row 6 and column 8 take
// what is left.
void TChnCalendar::Layout()
{
    if (!FGrid)
        return;
    UpDownMonth->SetVisible(FShowTitle);
    UpDownYear->SetVisible(FShowTitle);
    for (TLabel* l : {LabelToday, LabelYear, LabelYearUnit, LabelMonth, LabelMonthUnit, LabelDate})
        l->SetVisible(FShowTitle);
    if (FShowTitle) {
        FGrid->SetBounds(8, 40, Width() - 15, Height() - 67);
        FGrid->SetPopupMenu(nullptr);
        LabelDate->SetTop(Height() - 17);
    } else {
        FGrid->SetBounds(2, 2, Width() - 4, Height() - 4);
        FGrid->SetPopupMenu(YearMenu);
    }
    const int h = std::max(FGrid->ClientHeight() - FGrid->RowHeights(0), 0);
    const int w = std::max(FGrid->ClientWidth() - FGrid->ColWidths(0), 0);
    for (int r = 1; r <= 5; ++r)
        FGrid->SetRowHeights(r, std::max(h / 6 - 1, 1));
    FGrid->SetRowHeights(6, std::max(h - 5 * std::max(h / 6 - 1, 1), 1));
    for (int c = 1; c <= 7; ++c)
        FGrid->SetColWidths(c, std::max(w / 7 - 1, 1));
    FGrid->SetColWidths(8, std::max(w - 7 * std::max(w / 7 - 1, 1), 1));
    FScratch.SetSize(1, 1);
    FBack.SetSize(std::max(Width(), 1), std::max(Height(), 1));
    FPictureBitmap.SetSize(std::max(Width(), 1), std::max(Height(), 1));
    RefreshBack();
}

void TChnCalendar::BackChanged() { RefreshBack(); }

// The frame of the visual style's edit box where styles are on, else a plain rectangle.
void TChnCalendar::DrawFrame(TCanvas& c, const TRect& r)
{
    if (IsAppThemed() && IsThemeActive())
        if (HTHEME theme = OpenThemeData(HandleAllocated() ? Handle() : nullptr, L"EDIT")) {
            RECT box{r.Left, r.Top, r.Right, r.Bottom};
            DrawThemeBackground(theme, c.Handle(), EP_EDITTEXT, ETS_NORMAL, &box, nullptr);
            CloseThemeData(theme);
            return;
        }
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(ColorShowFrame);
    c.FrameRect(r);
}

void TChnCalendar::DrawBack()
{
    if (FBack.Empty() || !FGrid)
        return;
    TCanvas& c = FBack.Canvas();
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(clWhite);
    c.FillRect(Rect(0, 0, FBack.Width(), FBack.Height()));
    if (FShowFrame)
        DrawFrame(c, Rect(0, 0, FBack.Width(), FBack.Height()));
    if (FShowBackYearMonth && FCells.SelectedCell() != 0) {
        const TRect g = Rect(FGrid->Left(), FGrid->Top() + 6, FGrid->Left() + FGrid->Width(),
                             FGrid->Top() + FGrid->Height() + 6);
        const int mid = (g.Top + g.Bottom) / 2;
        c.Brush().SetStyle(bsClear);
        TRect upper = Rect(g.Left, g.Top, g.Right, mid), lower = Rect(g.Left, mid, g.Right, g.Bottom);
        SetFont(c.Font(), "Arial Black", 48, ColorBackYear);
        c.DrawText(IntToStr(YearOf(DateTime())), upper, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SetFont(c.Font(), "Arial Black", 90, ColorBackMonth);
        c.DrawText(IntToStr(MonthOf(DateTime())), lower, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        c.Brush().SetStyle(bsSolid);
    }
    if (FBackGround.Empty()) {
        FPictureBitmap.SetSize(0, 0);
        return;
    }
    const int w = FBack.Width(), h = FBack.Height();
    FPictureBitmap.SetSize(w, h);
    TCanvas& p = FPictureBitmap.Canvas();
    p.Brush().SetColor(clWhite);
    p.FillRect(Rect(0, 0, w, h));
    const int pw = FBackGround.Width(), ph = FBackGround.Height();
    TRect dest = Rect(0, 0, pw, ph);
    if (FStretch && pw > 0 && ph > 0) {
        const double scale = std::min(static_cast<double>(w) / pw, static_cast<double>(h) / ph);
        dest = Rect(0, 0, static_cast<int>(pw * scale), static_cast<int>(ph * scale));
    }
    if (FCenter)
        dest = Rect((w - dest.Width()) / 2, (h - dest.Height()) / 2, (w + dest.Width()) / 2, (h + dest.Height()) / 2);
    FBackGround.Draw(p.Handle(), dest, FStretch);
    GdiFlush();
    for (int y = 0; y < h; ++y)
        BlendPicture(std::span<uint32_t>(FBack.ScanLine(y), w), std::span<const uint32_t>(FPictureBitmap.ScanLine(y), w),
                     FAlphaBlend);
}

void TChnCalendar::RefreshGrid()
{
    if (FGrid)
        FGrid->Invalidate();
}

void TChnCalendar::RefreshBack()
{
    DrawBack();
    Invalidate();
    RefreshGrid();
}

void TChnCalendar::FontChanged()
{
    TCustomControl::FontChanged();
    Invalidate();
}

void TChnCalendar::MouseLeave()
{
    FMouseOver = false;
    TCustomControl::MouseLeave();
}

void TChnCalendar::Paint()
{
    if (!FBack.Empty())
        Canvas().Draw(0, 0, FBack);
}

// Each cell is composed in the scratch bitmap, starting from the back bitmap under it, and
// copied to the grid also when drawing fails.
void TChnCalendar::DrawGridCell(int ACol, int ARow, const TRect& Rect, TGridDrawState State)
{
    const int w = Rect.Width(), h = Rect.Height();
    if (w <= 0 || h <= 0 || FBack.Empty())
        return;
    if (FScratch.Width() != w || FScratch.Height() != h)
        FScratch.SetSize(w, h);
    TCanvas& c = FScratch.Canvas();
    const TRect local = ::Rect(0, 0, w, h);
    c.CopyRect(local, FBack.Canvas(),
               ::Rect(FGrid->Left() + Rect.Left, FGrid->Top() + Rect.Top, FGrid->Left() + Rect.Right,
                      FGrid->Top() + Rect.Bottom));
    struct TCopyBack {
        TChnCalendar* Self;
        const TRect& To;
        const TRect& From;
        ~TCopyBack() { Self->FGrid->Canvas().CopyRect(To, Self->FScratch.Canvas(), From); }
    } copyBack{this, Rect, local};
    ComposeCell(c, ACol, ARow, local, State);
}

void TChnCalendar::ComposeCell(TCanvas& c, int ACol, int ARow, const TRect& R, TGridDrawState State)
{
    c.Brush().SetStyle(bsClear);
    auto line = [&c](TColor color, int x1, int y1, int x2, int y2) {
        c.Pen().SetColor(color);
        c.MoveTo(x1, y1);
        c.LineTo(x2, y2);
    };
    if (ARow == 0) {
        TRect text = R;
        text.Right -= 2;
        SetFont(c.Font(), "宋体", 9, ACol == 1 || ACol == 7 ? ColorTitleWeekEnd : ColorTitleWeek);
        std::string caption;
        if (ACol == 0) {
            c.Font().SetColor(ColorWeekNum);
            if (FShowWeekNum)
                caption = "W";
        } else if (ACol <= 7) {
            caption = R.Width() > 36 ? LongDayNames[ACol - 1] : ShortWeekdays[ACol - 1];
        }
        c.DrawText(caption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        line(ColorTitleWeekLine, R.Left, R.Bottom - 4, R.Right, R.Bottom - 4);
        if (ACol == 0 && FShowWeekNum && FShowWeekNumLine)
            line(ColorTitleWeekLine, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
        return;
    }
    if (ACol == 0) {
        if (!FShowWeekNum)
            return;
        TRect text = R;
        SetFont(c.Font(), "宋体", 9, ColorWeekNum);
        c.DrawText(FCells.WeekText(ARow), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (FShowWeekNumLine)
            line(ColorTitleWeekLine, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
        return;
    }
    if (ACol > 7)
        return;

    const int k = TMonthCells::CellAt(ACol, ARow);
    const TcnDateInf& cell = FCells.Cell(k);
    const bool selected = State.Contains(gdSelected) && (!FHideSelection || State.Contains(gdFocused));
    if (selected) {
        constexpr int bands = 256;
        c.Brush().SetStyle(bsSolid);
        for (int i = 0; i < bands; ++i) {
            const int top = R.Top + i * R.Height() / bands, bottom = R.Top + (i + 1) * R.Height() / bands;
            if (bottom <= top)
                continue;   // a band thinner than a pixel row
            c.Brush().SetColor(GradientBand(ColorSelectedStart, ColorSelectedEnd, i, bands));
            c.FillRect(::Rect(R.Left, top, R.Right, bottom));
        }
        c.Brush().SetStyle(bsClear);
    }
    if (!cell.Valid)
        return;
    if (k >= FirstTitleCell) {
        SetFont(c.Font(), "宋体", 9, k == 40 ? ColorTitleConstellation : ColorTitleAnimalsYear);
        TRect text = ::Rect(R.Left, R.Top + 8, R.Right, R.Bottom);
        const UINT align = k == 40 ? DT_CENTER : k == 41 ? DT_RIGHT : DT_LEFT;
        c.DrawText(cell.ShowText, text, align | DT_SINGLELINE | DT_NOPREFIX);
        return;
    }
    const int mid = R.Top + R.Height() / 2;
    std::string text = cell.DayText;
    bool defaultDraw = true;
    if (OnDrawDateCell)
        OnDrawDateCell(this, cell.Day, c, R, selected, text, defaultDraw);
    if (defaultDraw) {
        UseFont(c, FFontDate, cell.DateColor);
        c.Brush().SetStyle(bsClear);
        TRect upper = ::Rect(R.Left + 2, R.Top, R.Right - 2, mid);
        c.DrawText(text, upper, DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    }
    text = cell.ShowText;
    defaultDraw = true;
    if (OnDrawCnDateCell)
        OnDrawCnDateCell(this, cell.Day, c, R, selected, text, defaultDraw);
    if (!defaultDraw)
        return;
    UseFont(c, FFontCnDate, cell.CnColor);
    c.Brush().SetStyle(bsClear);
    TRect lower = ::Rect(R.Left + 2, mid, R.Right - 2, R.Bottom);
    c.DrawText(text, lower, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    if (selected) {
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(ColorSelectedFrame);
        c.FrameRect(R);
    }
}

bool TChnCalendar::GridSelectCell(int ACol, int ARow)
{
    if (FUpdating)
        return true;
    const int k = TMonthCells::CellAt(ACol, ARow);
    if (k == 0 || k >= FirstTitleCell || !FCells.Cell(k).Valid)
        return false;
    const TDateTime t = DateTime();
    SetDateTime(EncodeDate(YearOf(t), MonthOf(t), FCells.Cell(k).Day));
    if (FMouseOver && OnDateClick)
        OnDateClick(this);
    return true;
}

void TChnCalendar::GridClick()
{
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(FGrid->Handle(), &p);
    int c, r;
    FGrid->MouseToCell(p.x, p.y, c, r);
    if (c >= 0 && c == FGrid->Col() && r == FGrid->Row() && OnDateSelect)
        OnDateSelect(this);
}
