// The memo board filled by the clock window's memo timer, under Wine on a private data
// file: its rows' commands through their menu items.
#include <gtest/gtest.h>

#include "DataModule.h"
#include "app/core/dbware.h"
#include "app/win/Main.h"
#include "framework/base/FakeTimerService.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Dialogs.h"
#include "framework/win/Sound.h"
#include "organizer/core/OrganizerLists.h"
#include "organizer/win/bqgl.h"
#include "organizer/win/bwxg.h"
#include "tests/organizer/WinShot.h"

namespace {

class MemoBoard : public testing::Test {
protected:
    void SetUp() override
    {
        oldTimers = &CurrentTimerService();
        SetTimerService(&timers);
        SetExeFolder(data.File.Folder());
        SetClockSource([] { return EncodeDateTime(2026, 5, 10, 14, 30, 20, 0); });
        data.Exec("delete from sz_bwlb");
        data.Exec("update sz_fzb set xz=300, yz=200 where bz='备忘录位置'");
        for (const char* nr : {"买菜", "交电费", "体检"})
            data.Exec(std::string("insert into sz_bwlb (yybz, ylsj, yinlsj, fzbz, tqtsts, gqzdsc, chts, xssj, nr, qrbz) "
                                  "values ('1', '2026-05-10', '2026-05-10', '0', '0天', '0天', '每0天', "
                                  "'2026年05月10日 周日', '") + nr + "', '0')");
        form = NewForm<TFmMain>(nullptr);
        Formbqgl = NewForm<TFormbqgl>(nullptr);
        Formbwxg = NewForm<TFormbwxg>(nullptr);
        form->MemoBoardForm = Formbqgl;
    }
    void TearDown() override
    {
        delete Formbwxg;
        Formbwxg = nullptr;
        delete Formbqgl;
        Formbqgl = nullptr;
        delete form;
        Application->ProcessMessages();
        SetClockSource(nullptr);
        SetExeFolder("");
        SetTimerService(oldTimers);
    }
    std::string Iid(const char* nr) { return data.Value(std::string("select iid from sz_bwlb where nr='") + nr + "'"); }
    void Choose(int row, TBoardCommand command)
    {
        for (int i = 0; i < Formbqgl->Row(row).Menu->Items()->Count(); ++i) {
            TMenuItem* item = Formbqgl->Row(row).Menu->Items()->Items(i);
            if (item->Caption() == BoardCommandCaption(command))
                return item->Click();
        }
        ADD_FAILURE() << "row " << row << " has no such item";
    }
    // The rows on screen: visible panels the board is tall enough to hold.
    std::string Shown()
    {
        std::string texts;
        for (int k = 1; k <= MemoBoardRows; ++k) {
            const auto& row = Formbqgl->Row(k);
            if (row.Panel->Visible() && row.Panel->Top() + row.Panel->Height() <= Formbqgl->ClientHeight())
                texts += (texts.empty() ? "" : ",") + row.Line2->Caption();
        }
        return texts;
    }

    FakeTimerService timers;
    TimerService* oldTimers = nullptr;
    DataModule data;
    TFmMain* form = nullptr;
    SoundRecorder sounds;
    MessageBoxRecorder boxes;
};

}  // namespace

TEST_F(MemoBoard, ShowsTheTimersRowsAndMarkingOneReadHidesIt)
{
    form->tbwlTimer(form);
    TFormbqgl& board = *Formbqgl;
    ASSERT_TRUE(board.Visible());
    EXPECT_EQ(board.Left() * 1000 + board.Top(), 300 * 1000 + 200);
    EXPECT_EQ(Shown(), "买菜,交电费,体检");
    EXPECT_EQ(board.Row(2).Iid->Text(), Iid("交电费"));
    SaveShot(board, "memo-board");

    Choose(1, TBoardCommand::MarkRead);
    EXPECT_EQ(data.Value("select qrbz from sz_bwlb where nr='买菜'"), "1");
    EXPECT_TRUE(board.Visible());
    EXPECT_EQ(board.Height(), 2 * 39);
    EXPECT_EQ(Shown(), "交电费,体检");

    // The next pass leaves the read memo out.
    form->tbwlTimer(form);
    EXPECT_EQ(board.Row(1).Line2->Caption(), "交电费");
    EXPECT_EQ(Shown(), "交电费,体检");
    EXPECT_TRUE(boxes.Calls.empty());
}

TEST_F(MemoBoard, DeletesWithoutAskingAndRowOneClosesTheBoard)
{
    form->tbwlTimer(form);
    TFormbqgl& board = *Formbqgl;
    Choose(2, TBoardCommand::Delete);
    EXPECT_EQ(Shown(), "买菜,体检");
    EXPECT_EQ(Iid("交电费"), "<none>");
    Choose(2, TBoardCommand::Reveal);   // shows row 3 again from what it holds; no database work
    EXPECT_EQ(board.Height(), 3 * 39);
    EXPECT_EQ(data.Value("select count(*) from sz_bwlb"), "2");
    Choose(1, TBoardCommand::Delete);
    EXPECT_FALSE(board.Visible());
    EXPECT_EQ(Iid("买菜"), "<none>");
    EXPECT_TRUE(boxes.Calls.empty());
}

TEST_F(MemoBoard, EditOpensRowOnesMemoAndBackStoresThePosition)
{
    form->tbwlTimer(form);
    Choose(1, TBoardCommand::Edit);
    ASSERT_TRUE(Formbwxg->Visible());
    EXPECT_EQ(Formbwxg->memo1->Text(), "买菜");
    EXPECT_EQ(Formbwxg->editiid->Text(), Iid("买菜"));
    Formbwxg->Close();

    MemoBoardPosX = 345;   // where a drag would have left the board
    MemoBoardPosY = 123;
    Choose(12, TBoardCommand::Back);
    EXPECT_FALSE(Formbqgl->Visible());
    EXPECT_EQ(data.Value("select xz from sz_fzb where bz='备忘录位置'"), "345");
    EXPECT_EQ(data.Value("select yz from sz_fzb where bz='备忘录位置'"), "123");
}

// The memo timer may refill the rows while a row's menu is open: the command still acts on
// the memo the row held when the menu opened.
TEST_F(MemoBoard, ARowsMenuActsOnTheMemoItOpenedFor)
{
    form->tbwlTimer(form);
    TPopupMenu& menu = *Formbqgl->Row(2).Menu;
    if (menu.OnPopup)
        menu.OnPopup(&menu);   // opened on 交电费
    data.Exec("update sz_bwlb set qrbz='1' where nr='买菜'");
    form->tbwlTimer(form);   // the rows move up: row 2 now holds 体检
    ASSERT_EQ(Formbqgl->Row(2).Line2->Caption(), "体检");
    Choose(2, TBoardCommand::Delete);
    EXPECT_EQ(Iid("交电费"), "<none>");
    EXPECT_NE(Iid("体检"), "<none>");
}

// A minute memo due 0 to 15 days ahead: every date line the board builds shows whole, in
// the board's font or a smaller one.
TEST_F(MemoBoard, EveryDateLineFitsItsRow)
{
    data.Exec("delete from sz_bwlb");
    const TDateTime today = DateOf(Now());
    for (int days = 0; days <= 15; ++days) {
        const TDateTime due = today + days;
        data.Exec("insert into sz_bwlb (yybz, ylsj, yinlsj, fzbz, tqtsts, gqzdsc, chts, xssj, nr, qrbz) values ('1', '" +
                  FormatDateTime("yyyy-mm-dd", due) + " 23:58', '', '1', '15天', '0天', '每0天', '" +
                  FormatDateTime("yyyy年mm月dd日", due) + " 23:58 " + WeekdayName(DayOfWeek(due)) + "', '第" +
                  IntToStr(days) + "天', '0')");
    }
    int shown = 0;
    for (int pass = 0; pass < 2; ++pass) {   // twelve rows at a time
        form->tbwlTimer(form);
        for (int k = 1; k <= MemoBoardRows && Formbqgl->Row(k).Panel->Top() < Formbqgl->ClientHeight(); ++k) {
            TLabel& line = *Formbqgl->Row(k).Line1;
            TBitmap measure(1, 1);
            measure.Canvas().Font().Assign(line.Font());
            EXPECT_LE(measure.Canvas().TextWidth(line.Caption()), line.Width()) << line.Caption();
            EXPECT_LE(line.Font().Height(), -9) << line.Caption();
            EXPECT_LE(line.Left() + line.Width(), Formbqgl->ClientWidth());
            ++shown;
        }
        if (pass == 0) {
            EXPECT_EQ(Formbqgl->Row(12).Line1->Caption().substr(0, 8), "11天后");
            data.Exec("delete from sz_bwlb where nr in ('第0天','第1天','第2天','第3天','第4天','第5天','第6天','第7天',"
                      "'第8天','第9天','第10天')");
        }
    }
    EXPECT_EQ(shown, 12 + 5);
    EXPECT_EQ(Formbqgl->Row(2).Line1->Caption().substr(0, 8), "12天后");
    SaveShot(*Formbqgl, "memo-board-12-days");
}
