#include "framework/win/ComCtrls.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "framework/db/ADOConnection.h"
#include "framework/db/ADOQuery.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Calendar.h"
#include "framework/win/DBGrids.h"
#include "framework/win/WinUtil.h"
#include "tests/framework/CtrlsTestUtil.h"

namespace {

class ComCtrlsTest : public TTestFormFixture {};

TEST_F(ComCtrlsTest, DateTimePickerRoundTripsDateAndTime) {
    auto* date = Put<TDateTimePicker>(form, 10, 10, 150, 21);
    auto* time = Put<TDateTimePicker>(form, 10, 40, 150, 21);
    time->SetKind(dtkTime);
    int changes = 0;
    date->OnChange = [&](TObject*) { ++changes; };
    date->SetDateTime(EncodeDateTime(2024, 3, 5, 8, 30, 0, 0));
    date->SetFormat("yyyy-MM-dd");
    EXPECT_EQ(HwndText(date->Handle()), "2024-03-05");
    SYSTEMTIME st{};
    ASSERT_EQ(SendMessageW(date->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), GDT_VALID);
    EXPECT_EQ(st.wYear, 2024);
    EXPECT_EQ(st.wMonth, 3);
    EXPECT_EQ(st.wDay, 5);
    EXPECT_EQ(st.wHour, 8);
    EXPECT_EQ(date->Date(), EncodeDate(2024, 3, 5));
    EXPECT_EQ(changes, 0);   // values from code fire nothing

    time->SetTime(EncodeTime(13, 45, 30, 0));
    time->SetFormat("HH:mm:ss");
    EXPECT_EQ(HwndText(time->Handle()), "13:45:30");
    time->SetDate(EncodeDate(2025, 1, 2));
    EXPECT_DOUBLE_EQ(time->Time(), EncodeTime(13, 45, 30, 0));
    EXPECT_THROW(date->SetDateTime(-800000), EConvertError);
    // Before 1899-12-30 the day and the time of day stay what was set.
    time->SetDate(EncodeDate(1850, 6, 1));
    EXPECT_EQ(time->Date(), EncodeDate(1850, 6, 1));
    EXPECT_DOUBLE_EQ(time->Time(), EncodeTime(13, 45, 30, 0));
    time->SetTime(EncodeTime(8, 0, 0, 0));
    EXPECT_DOUBLE_EQ(time->DateTime(), EncodeDateTime(1850, 6, 1, 8, 0, 0, 0));
    time->SetDate(EncodeDate(1899, 12, 29));
    EXPECT_DOUBLE_EQ(time->DateTime(), EncodeDateTime(1899, 12, 29, 8, 0, 0, 0));

    // The user steps the year: the value follows and OnChange fires once.
    form->Show();
    date->SetFocus();
    SendMessageW(date->Handle(), WM_KEYDOWN, VK_RIGHT, 0);   // selects the year field
    SendMessageW(date->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(YearOf(date->Date()), 2025);
    EXPECT_EQ(DayOf(date->Date()), 5);
}

TEST_F(ComCtrlsTest, UpDownStepsAndProgressBarClamps) {
    auto* updown = Put<TUpDown>(form, 10, 10, 17, 25);
    updown->SetMin(0);
    updown->SetMax(13);
    updown->SetPosition(12);
    std::vector<TUDBtnType> clicks;
    updown->OnClick = [&](TObject*, TUDBtnType b) { clicks.push_back(b); };
    updown->Step(btNext);
    updown->Step(btNext);
    EXPECT_EQ(updown->Position(), 13);
    EXPECT_EQ(SendMessageW(updown->Handle(), UDM_GETPOS32, 0, 0), 13);
    updown->SetWrap(true);
    updown->Step(btNext);
    EXPECT_EQ(updown->Position(), 0);
    EXPECT_EQ(clicks.size(), 3u);
    NMUPDOWN nm{};   // the window's own arrow notification goes through Step
    nm.hdr = {updown->Handle(), 0, UINT(UDN_DELTAPOS)};
    nm.iPos = 0;
    nm.iDelta = -1;
    SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(updown->Position(), 13);
    EXPECT_EQ(clicks.back(), btPrev);

    auto* bar = Put<TProgressBar>(form, 10, 50, 150, 17);
    bar->SetMax(100);
    bar->SetPosition(30);
    EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0), 30);
    bar->SetPosition(130);
    EXPECT_EQ(bar->Position(), 100);
    EXPECT_THROW(bar->SetMin(200), EInvalidOperation);
}

TEST_F(ComCtrlsTest, CalendarStepsAndCells) {
    auto* cal = Put<TCalendar>(form, 10, 10, 325, 183);
    int changes = 0;
    cal->OnChange = [&](TObject*) { ++changes; };
    cal->SetCalendarDate(EncodeDate(2024, 2, 29));
    EXPECT_EQ(changes, 1);
    cal->NextYear();
    EXPECT_EQ(cal->CalendarDate(), EncodeDate(2025, 2, 28));
    cal->SetCalendarDate(EncodeDate(2024, 3, 31));
    cal->PrevMonth();
    EXPECT_EQ(cal->CalendarDate(), EncodeDate(2024, 2, 29));
    cal->NextMonth();
    cal->NextMonth();
    EXPECT_EQ(cal->CalendarDate(), EncodeDate(2024, 4, 29));
    // June 2024 starts on a Saturday: with Sunday first, day 1 is the last cell of week 1.
    cal->SetCalendarDate(EncodeDate(2024, 6, 15));
    EXPECT_EQ(cal->DayOfCell(6, 1), 1);
    EXPECT_EQ(cal->DayOfCell(0, 1), 0);
    EXPECT_EQ(cal->DayOfCell(0, 6), 30);
    EXPECT_EQ(cal->Col(), 6);   // the 15th is a Saturday in week 3
    EXPECT_EQ(cal->Row(), 3);
    cal->SetStartOfWeek(1);
    EXPECT_EQ(cal->DayOfCell(5, 1), 1);
    cal->SetStartOfWeek(0);
    EXPECT_FALSE(cal->FocusCell(0, 1));   // an empty cell cannot be chosen
    const int before = changes;
    EXPECT_TRUE(cal->FocusCell(2, 2));    // the user chooses Tuesday the 4th
    EXPECT_EQ(cal->Day(), 4);
    EXPECT_EQ(changes, before + 1);
    int dbl = 0;
    cal->OnDblClick = [&](TObject*) { ++dbl; };
    TRect r = cal->CellRect(3, 2);
    form->Show();
    SendMessageW(cal->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.Left + 3, r.Top + 3));
    SendMessageW(cal->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(r.Left + 3, r.Top + 3));
    SendMessageW(cal->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(r.Left + 3, r.Top + 3));
    EXPECT_EQ(cal->Day(), 5);
    EXPECT_EQ(dbl, 1);
    SendMessageW(cal->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(cal->Day(), 12);
    EXPECT_THROW(cal->SetMonth(13), EConvertError);
}

TEST_F(ComCtrlsTest, DrawGridDrawsCellsAndVetoesSelection) {
    auto* grid = Put<TDrawGrid>(form, 10, 10, 300, 150);
    grid->SetColCount(9);
    grid->SetRowCount(7);
    grid->SetFixedCols(0);
    grid->SetFixedRows(0);
    grid->SetDefaultColWidth(30);
    grid->SetDefaultRowHeight(20);
    grid->SetColWidths(0, 6);
    EXPECT_EQ(grid->CellRect(1, 0).Left, 7);   // 6 plus one line
    int c, r;
    grid->MouseToCell(8, 25, c, r);
    EXPECT_EQ(c, 1);
    EXPECT_EQ(r, 1);
    grid->MouseToCell(1000, 5, c, r);
    EXPECT_EQ(c, -1);
    grid->OnSelectCell = [](TObject*, int col, int, bool& can) { can = col != 0 && col != 8; };
    EXPECT_FALSE(grid->FocusCell(0, 2));
    EXPECT_TRUE(grid->FocusCell(3, 2));
    EXPECT_EQ(grid->Col(), 3);
    std::vector<std::pair<int, int>> drawn;
    bool selectedSeen = false;
    grid->OnDrawCell = [&](TObject*, int col, int row, const TRect&, TGridDrawState state) {
        drawn.push_back({col, row});
        if (state.Contains(gdSelected)) selectedSeen = col == 3 && row == 2;
    };
    TBitmap target(320, 200);
    grid->PaintTo(target.Canvas().Handle(), 0, 0);
    EXPECT_EQ(drawn.size(), 63u);
    EXPECT_TRUE(selectedSeen);
}

// A small data file made for the test, removed afterwards.
class GridData {
public:
    GridData() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        FFile = Narrow(temp) + "vorpen 网格 " + std::to_string(GetCurrentProcessId()) + ".db";
        sqlite3* db = nullptr;
        sqlite3_open_v2(FFile.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        sqlite3_exec(db,
                     "create table sz_jrb(iid integer primary key, jrmc text, jrlx text, yypath text);"
                     "insert into sz_jrb values(3, '春节', '节日(第几个)', 'a.wav');"
                     "insert into sz_jrb values(1, '元宵', '节日(第几个)', '');"
                     "insert into sz_jrb values(2, '生日', '生日(周岁)', 'b.wav');",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    ~GridData() { DeleteFileW(Wide(FFile).c_str()); }
    const std::string& File() const { return FFile; }

private:
    std::string FFile;
};

TEST_F(ComCtrlsTest, DBGridShowsRowsFollowsTheRecordAndReturnsToTheFirstRowOnReopen) {
    GridData data;
    TADOConnection connection(nullptr);
    connection.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + data.File());
    connection.Open();
    TADOQuery query(nullptr);
    query.SetConnection(&connection);
    query.SQL.Add("select * from sz_jrb order by iid ");
    TDataSource source(nullptr);
    source.SetDataSet(&query);

    auto* grid = Put<TDBGrid>(form, 0, 0, 400, 200);
    struct Spec {
        const char* field;
        const char* title;
        int width;
        bool visible;
    };
    for (Spec s : {Spec{"jrmc", "名称", 120, true}, Spec{"jrlx", "节日类型", 100, true}, Spec{"yypath", "音乐路径", 80, false}}) {
        TColumn* c = grid->Columns().Add();
        c->SetFieldName(s.field);
        c->Title().SetCaption(s.title);
        c->Title().SetAlignment(taCenter);
        c->SetWidth(s.width);
        c->SetVisible(s.visible);
    }
    grid->SetDataSource(&source);
    form->Show();
    query.Open();

    ASSERT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->Cells(0, 0), "元宵");
    EXPECT_EQ(grid->Cells(0, 1), "生日");
    EXPECT_EQ(grid->Cells(1, 2), "节日(第几个)");
    EXPECT_EQ(grid->SelectedRow(), 0);
    EXPECT_EQ(query.RecNo(), 1);
    HWND header = reinterpret_cast<HWND>(SendMessageW(grid->Handle(), LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);   // the hidden column is not shown
    EXPECT_EQ(grid->Columns().Items(0)->Width(), 120);
    EXPECT_TRUE(GetWindowLongPtrW(grid->Handle(), GWL_STYLE) & LVS_SINGLESEL);
    EXPECT_TRUE(SendMessageW(grid->Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);

    // A click on the third row makes it the query's current record.
    RECT item{};
    item.left = LVIR_BOUNDS;
    SendMessageW(grid->Handle(), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 150, (item.top + item.bottom) / 2);
    PostMessageW(grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(grid->Handle(), WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(PumpUntil([&] { return query.RecNo() == 3; }));
    EXPECT_EQ(query.FieldByName("jrmc").AsString(), "春节");
    EXPECT_EQ(query.FieldByName("yypath").AsString(), "a.wav");

    // Moving the record moves the selection.
    query.Prior();
    EXPECT_EQ(grid->SelectedRow(), 1);

    // Close and Open refill the grid from the first row, without walking the query through
    // its records (the list view asks for the rows it shows).
    query.Close();
    EXPECT_EQ(grid->RowCount(), 0);
    int moves = 0;
    source.OnDataChange = [&](TObject*) { ++moves; };
    query.Open();
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->SelectedRow(), 0);
    EXPECT_EQ(query.RecNo(), 1);
    // The list view's own text of a row, as it paints it.
    wchar_t text[64] = {};
    LVITEMW asked{};
    asked.iSubItem = 1;
    asked.pszText = text;
    asked.cchTextMax = 64;
    SendMessageW(grid->Handle(), LVM_GETITEMTEXTW, 2, reinterpret_cast<LPARAM>(&asked));
    EXPECT_EQ(std::wstring(text), L"节日(第几个)");
    asked.cchTextMax = 3;   // cut to the buffer
    SendMessageW(grid->Handle(), LVM_GETITEMTEXTW, 2, reinterpret_cast<LPARAM>(&asked));
    EXPECT_EQ(std::wstring(text), L"节日");
    query.Close();
}

}  // namespace
