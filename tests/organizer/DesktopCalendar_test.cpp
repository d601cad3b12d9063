// The desktop calendar and its month view on a private data file: the user's festivals in
// red under their days (read once per paint), today's cell selected, the selection rules,
// the window shown opaque, and the month view as the lunar-name converter. With
// VORPEN_SHOTS set, the shown window is also saved as a BMP into that folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../db/DataFileCopy.h"
#include "app/core/MemoRepeat.h"
#include "app/core/dbhouse.h"
#include "app/core/dbware.h"
#include "framework/win/Bitmap.h"
#include "organizer/win/Unit1.h"
#include "tests/framework/WinTestUtil.h"
#include "tests/organizer/RealDrag.h"
#include "tests/organizer/WinShot.h"

#include <uxtheme.h>

namespace {

const TDateTime kNow = EncodeDateTime(2026, 3, 10, 10, 0, 0, 0);

void SaveShot(HWND window, const char* name)
{
    if (const char* dir = std::getenv("VORPEN_SHOTS"))
        SaveShot(window, dir, name);
}

uint32_t Rgb(TColor c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

class DesktopCalendar : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        SetClockSource([] { return kNow; });
        dbhouse = new Tdbhouse(nullptr);
        dbhouse->democnn->SetConnectionString(DataConnectionString(file.Folder()));
        dbhouse->democnn->Open();
        Exec("delete from sz_jrb");
        Exec("insert into sz_jrb (jrmc, zdyf, realrq) values ('妈妈生日', '1', '2020-03-08'), "
             "('植树节', '0', '2026-03-12'), ('无日期', '1', NULL), ('三月三十', '1', '2026-03-30')");
        form = NewForm<TForm1>(nullptr);
    }
    void TearDown() override
    {
        delete form;
        delete dbhouse;
        dbhouse = nullptr;
        SetClockSource(nullptr);
    }
    void Exec(const std::string& sql)
    {
        TADOQuery& q = *dbhouse->qok;
        q.Close();
        q.SQL.Clear();
        q.SQL.Add(sql);
        q.ExecSQL();
    }
    // The month view's grid as painted.
    TBitmap& PaintGrid()
    {
        TDrawGrid* grid = form->ChnCalendar1->Grid();
        shot.SetSize(grid->Width(), grid->Height());
        SendMessageW(grid->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.Canvas().Handle()), PRF_CLIENT);
        GdiFlush();
        return shot;
    }
    TRect DayRect(int day)
    {
        const TMonthCells& cells = form->ChnCalendar1->Cells();
        for (int k = 1; k < FirstTitleCell; ++k)
            if (cells.Cell(k).Day == day) {
                int col, row;
                TMonthCells::CellPlace(k, col, row);
                return form->ChnCalendar1->Grid()->CellRect(col, row);
            }
        return TRect{};
    }
    // Pixels of exactly `rgb` in the lower half of a day's cell.
    int LowerPixels(int day, uint32_t rgb)
    {
        const TRect r = DayRect(day);
        int n = 0;
        for (int y = r.Top + r.Height() / 2; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += (shot.PixelARGB(x, y) & 0xFFFFFF) == rgb;
        return n;
    }

    DataFileCopy file;
    TForm1* form = nullptr;
    TBitmap shot;
};

}  // namespace

TEST_F(DesktopCalendar, UsersFestivalsAreRedUnderTheirDaysAndReadOncePerPaint)
{
    form->Show();
    PumpUntil([] { return false; }, 300);
    ASSERT_EQ(form->ChnCalendar1->DateTime(), kNow);
    const int queries = form->MarkQueries();
    PaintGrid();
    EXPECT_EQ(form->MarkQueries(), queries + 1);
    EXPECT_GT(LowerPixels(8, Rgb(clRed)), 20);    // 妈妈生日, stored for another year
    EXPECT_GT(LowerPixels(30, Rgb(clRed)), 20);
    EXPECT_EQ(LowerPixels(12, Rgb(clRed)), 0);    // not the user's own
    EXPECT_EQ(LowerPixels(9, Rgb(clRed)), 0);
    EXPECT_GT(LowerPixels(9, Rgb(clMaroon)), 20); // the lunar day in the window's colour
    // Today is selected: framed, and filled with the gradient (green rising from 0xAE to 0xD5).
    const TRect today = DayRect(10);
    EXPECT_EQ(shot.PixelARGB(today.Left + 1, today.Top) & 0xFFFFFF, Rgb(form->ChnCalendar1->ColorSelectedFrame));
    for (int y : {today.Top + 1, today.Bottom - 2}) {
        const uint32_t green = (shot.PixelARGB(today.Left + 2, y) >> 8) & 0xFF;
        EXPECT_GE(green, 0xAEu);
        EXPECT_LE(green, 0xD5u);
    }
    EXPECT_GT((shot.PixelARGB(today.Left + 2, today.Bottom - 2) >> 8 & 0xFF),
              (shot.PixelARGB(today.Left + 2, today.Top + 1) >> 8 & 0xFF));
    SaveShot(form->Handle(), "desktop-calendar");
    // The month view's other options, each off and on again: frame, year and month behind,
    // week numbers, their line.
    TChnCalendar& view = *form->ChnCalendar1;
    const std::pair<TCheckBox*, bool (TChnCalendar::*)() const> options[] = {
        {form->CheckBox3, &TChnCalendar::ShowFrame}, {form->CheckBox4, &TChnCalendar::ShowBackYearMonth},
        {form->CheckBox5, &TChnCalendar::ShowWeekNum}, {form->CheckBox6, &TChnCalendar::ShowWeekNumLine}};
    for (const auto& [box, shown] : options) {
        box->SetChecked(false);
        EXPECT_FALSE((view.*shown)()) << box->Caption();
        box->SetChecked(true);
        EXPECT_TRUE((view.*shown)()) << box->Caption();
    }
    // The frame round the back: the visual style's edit box where styles are on (as in this
    // prefix), else a plain rectangle in its colour.
    TBitmap& back = view.BackBitmap();
    const bool themed = IsAppThemed() && IsThemeActive();
    for (const auto& [x, y] : {std::pair{0, 0}, {back.Width() - 1, back.Height() / 2}, {back.Width() / 2, back.Height() - 1}}) {
        const uint32_t rgb = back.PixelARGB(x, y) & 0xFFFFFF;
        if (themed) {
            EXPECT_NE(rgb, Rgb(view.ColorShowFrame)) << x << "," << y;
            EXPECT_NE(rgb, 0xFFFFFFu) << x << "," << y;
        } else {
            EXPECT_EQ(rgb, Rgb(view.ColorShowFrame)) << x << "," << y;
        }
    }
    EXPECT_EQ(view.Grid()->ColWidths(0), 18);   // week numbers shown
    SaveShot(form->Handle(), "desktop-calendar-options");
}

TEST_F(DesktopCalendar, StoredTransparentWindowIsShownOpaqueAndStaysLayered)
{
    EXPECT_EQ(form->AlphaBlendValue(), 0);
    form->Show();
    EXPECT_EQ(form->AlphaBlendValue(), 255);
    EXPECT_TRUE(form->AlphaBlend());
    EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(DesktopCalendar, OnlyValidDayCellsCanBeChosen)
{
    form->Show();
    TChnCalendar* cal = form->ChnCalendar1;
    int changes = 0;
    cal->OnChange = [&](TObject*) { ++changes; };
    TDrawGrid* grid = cal->Grid();
    EXPECT_FALSE(grid->FocusCell(3, 0));   // header
    EXPECT_FALSE(grid->FocusCell(0, 2));   // week numbers
    EXPECT_FALSE(grid->FocusCell(7, 6));   // after the 31st
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(DateOf(cal->DateTime()), EncodeDate(2026, 3, 10));
    EXPECT_TRUE(grid->FocusCell(3, 3));    // Tuesday of the third week: the 17th
    EXPECT_EQ(cal->DateTime(), EncodeDate(2026, 3, 17));
    EXPECT_EQ(changes, 1);
    cal->StepMonth(13);
    cal->SetDateTime(EncodeDate(2026, 1, 31));
    cal->StepMonth(cal->UpDownMonth->Position() - 1);
    EXPECT_EQ(cal->DateTime(), EncodeDate(2025, 12, 31));
    EXPECT_EQ(cal->LabelYear->Caption(), "2025");
    cal->SetDateTime(EncodeDate(2101, 1, 1));
    EXPECT_EQ(cal->DateTime(), EncodeDate(2025, 12, 31));
}

TEST_F(DesktopCalendar, MonthViewNamesTheLunarMonthAndDayOfADate)
{
    TChnCalendar* cal = form->ChnCalendar1;
    cal->SetDateTime(EncodeDate(2024, 12, 1));
    EXPECT_EQ(cal->CnDay(), "初一");
    EXPECT_EQ(PlainLunarMonthName(cal->CnMonth()), "十一月");
    EXPECT_EQ(cal->CnDate(), cal->CnMonth() + "初一");
    cal->SetDateTime(EncodeDate(2023, 3, 22));
    EXPECT_EQ(PlainLunarMonthName(cal->CnMonth()), "二月");
}

namespace {
const char* menuShot = nullptr;

// Saves the open menu (with VORPEN_SHOTS set) and closes it.
void CALLBACK ShootAndCloseMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (HWND menu = FindWindowW(L"#32768", nullptr); menu && menuShot) {
        RECT r;
        GetWindowRect(menu, &r);
        InflateRect(&r, 60, 30);
        if (const char* dir = std::getenv("VORPEN_SHOTS")) {
            SaveScreenArea(r, std::string(dir) + "/" + menuShot + ".bmp");
        }
    }
    EndMenu();
}
}  // namespace

// A right click on the year number or "年" opens the year menu, on the month number or
// "月" the month menu; the menus give their items automatic hot keys.
TEST_F(DesktopCalendar, RightClicksOnTheYearAndMonthOpenTheirMenus)
{
    form->Show();
    TChnCalendar& view = *form->ChnCalendar1;
    std::vector<std::string> opened;
    view.YearMenu->OnPopup = [&](TObject*) {
        opened.push_back("year");
        SetTimer(nullptr, 0, 400, ShootAndCloseMenu);
    };
    view.MonthMenu->OnPopup = [&](TObject*) {
        opened.push_back("month");
        SetTimer(nullptr, 0, 400, ShootAndCloseMenu);
    };
    const std::pair<TLabel*, const char*> labels[] = {
        {view.LabelYear, "month-view-year-menu"}, {view.LabelYearUnit, "month-view-year-unit-menu"},
        {view.LabelMonth, "month-view-month-menu"}, {view.LabelMonthUnit, "month-view-month-unit-menu"}};
    for (const auto& [label, shot] : labels) {
        menuShot = shot;
        const TPoint at = view.ClientToScreen({label->Left() + label->Width() / 2, label->Top() + label->Height() / 2});
        SendMessageW(view.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view.Handle()), MAKELPARAM(at.X, at.Y));
    }
    menuShot = nullptr;
    EXPECT_EQ(opened, (std::vector<std::string>{"year", "year", "month", "month"}));
    // A right click on the grid opens nothing while the title shows.
    const TPoint grid = view.ClientToScreen({view.Grid()->Left() + 40, view.Grid()->Top() + 60});
    SendMessageW(view.Grid()->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view.Grid()->Handle()),
                 MAKELPARAM(grid.X, grid.Y));
    EXPECT_EQ(opened.size(), 4u);

    EXPECT_TRUE(view.YearMenu->AutoHotkeys() == maAutomatic && view.MonthMenu->AutoHotkeys() == maAutomatic);
    const TMenuItem* decades = view.YearMenu->Items();
    EXPECT_EQ(decades->Items(4)->ShownCaption(), "&1900");
    EXPECT_EQ(decades->Items(5)->ShownCaption(), "1&910");
    EXPECT_EQ(decades->Items(4)->Caption(), "1900");
}

// The drag handle lies on the window beside the month view, not over it, and a press on it
// with real mouse input drags the window; the week numbers stand beside February 2026's
// four rows only.
TEST_F(DesktopCalendar, TheDragHandleIsOnTheWindowBesideTheMonthAndDragsIt)
{
    form->Show();
    form->CheckBox5->SetChecked(false);   // "显示星期数"
    form->CheckBox5->SetChecked(true);
    form->ChnCalendar1->SetDateTime(EncodeDate(2026, 2, 9));
    SaveShot(form->Handle(), "desktop-calendar-february-2026");

    const TRect handle = form->BitBtn2->BoundsRect(), month = form->ChnCalendar1->BoundsRect();
    EXPECT_TRUE(handle.Left >= 0 && handle.Top >= 0 && handle.Right <= form->ClientWidth() &&
                handle.Bottom <= form->ClientHeight())
        << handle.Left << "," << handle.Top << " in " << form->ClientWidth() << "x" << form->ClientHeight();
    EXPECT_TRUE(handle.Left >= month.Right || handle.Right <= month.Left || handle.Top >= month.Bottom ||
                handle.Bottom <= month.Top);
    EXPECT_TRUE(IsWindowVisible(form->BitBtn2->Handle()));

    form->SetBounds(200, 150, form->Width(), form->Height());
    PumpUntil([] { return false; }, 200);
    const TPoint start = form->BitBtn2->ClientToScreen({form->BitBtn2->Width() / 2, form->BitBtn2->Height() / 2});
    ASSERT_EQ(WindowFromPoint(POINT{start.X, start.Y}), form->BitBtn2->Handle());
    MouseAt(start.X, start.Y);
    PumpUntil([] { return false; }, 200);
    // The move loop starts at the first move with the button down (+20, +10).
    RealDrag drag(form->Handle(), {start.X, start.Y}, 20, 10, 5);
    const bool moved = PumpUntil([this] { return form->Left() == 280 && form->Top() == 190; }, 15000);
    EXPECT_EQ(drag.Finish(), "");
    EXPECT_TRUE(moved) << form->Left() << "," << form->Top();
    EXPECT_EQ(CalendarPosX, 280);
    EXPECT_EQ(CalendarPosY, 190);
}
