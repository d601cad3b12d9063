// The clock window's memo timer under Wine on a private data file, with the clock, sound
// and timer seams: due memos are marked, sounded and popped up, the memo board is filled,
// the note windows follow their rows, and the timer always runs again.
#include <gtest/gtest.h>

#include "DataModule.h"
#include "app/core/dbware.h"
#include "app/win/Main.h"
#include "app/win/MsgFrm.h"
#include "framework/base/FakeTimerService.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "framework/win/Application.h"
#include "framework/win/Dialogs.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/Sound.h"

namespace {

// A stand-in for the memo board with the named parts the timer fills.
TForm* MakeBoard()
{
    TForm* board = NewForm<TForm>(nullptr);
    board->SetBorderStyle(bsNone);
    for (int k = 1; k <= 12; ++k) {
        TPanel* panel = new TPanel(board);
        panel->SetName("Panel" + IntToStr(k));
        panel->SetParent(board);
        panel->SetVisible(false);
        for (int n : {2 * k - 1, 2 * k}) {
            TLabel* label = new TLabel(board);
            label->SetName("Label" + IntToStr(n));
            label->SetParent(panel);
        }
        TEdit* edit = new TEdit(board);
        edit->SetName("Edit" + IntToStr(110 + k));
        edit->SetParent(panel);
    }
    return board;
}

std::string Caption(TForm* board, const std::string& name)
{
    return dynamic_cast<TControl*>(board->FindComponent(name))->Caption();
}

class MemoTimer : public testing::Test {
protected:
    void SetUp() override
    {
        oldTimers = &CurrentTimerService();
        SetTimerService(&timers);
        SetExeFolder(data.File.Folder());
        SetClockSource([] { return EncodeDateTime(2026, 5, 10, 14, 30, 20, 0); });
        form = NewForm<TFmMain>(nullptr);
        AltsWavPath = data.File.Folder() + "alts.wav";
        ReminderPlayCount = 3;
    }
    void TearDown() override
    {
        FreeMsgPopups();
        delete form;
        for (TForm* f : others)
            delete f;
        Application->ProcessMessages();
        ReminderPlayCount = 2;
        SetClockSource(nullptr);
        SetExeFolder("");
        SetTimerService(oldTimers);
    }
    void AddMemo(const std::string& nr, const std::string& ylsj, const std::string& fzbz,
                 const std::string& tqtsts = "0天")
    {
        data.Exec("insert into sz_bwlb (ylsj, fzbz, tqtsts, xssj, nr, qrbz) values ('" + ylsj + "', '" + fzbz +
                  "', '" + tqtsts + "', '5月10日', '" + nr + "', '0')");
    }
    TForm* Other()
    {
        others.push_back(NewForm<TForm>(nullptr));
        others.back()->SetBorderStyle(bsNone);
        return others.back();
    }
    void Pass() { form->tbwlTimer(form); }

    FakeTimerService timers;
    TimerService* oldTimers = nullptr;
    DataModule data;
    TFmMain* form = nullptr;
    std::vector<TForm*> others;
    SoundRecorder sounds;
    MessageBoxRecorder boxes;
};

}  // namespace

TEST_F(MemoTimer, ADueMinuteMemoIsMarkedSoundedAndPoppedUpOnceEvenBehindTwentyPastRows)
{
    for (int i = 0; i < 20; ++i)
        AddMemo("旧" + IntToStr(i), "2026-04-" + IntToStr(10 + i) + " 08:00", "1");
    AddMemo("交电费", "2026-05-10 14:30", "1");
    AddMemo("晚上开会", "2026-05-10 19:00", "1");
    form->tbwl->SetEnabled(true);
    Pass();
    EXPECT_EQ(data.Value("select qrbz from sz_bwlb where nr='交电费'"), "1");
    EXPECT_EQ(data.Value("select qrbz from sz_bwlb where nr='晚上开会'"), "0");
    EXPECT_EQ(data.Value("select count(*) from sz_bwlb where qrbz='1'"), "1");
    EXPECT_EQ(sounds.Played, std::vector<std::string>(3, AltsWavPath));
    ASSERT_EQ(OpenMsgPopups().size(), 1u);
    EXPECT_EQ(OpenMsgPopups()[0]->Text(), "交电费");
    EXPECT_EQ(MsgPopupSeconds, 9999999);
    EXPECT_TRUE(form->tbwl->Enabled());

    Pass();
    EXPECT_EQ(sounds.Played.size(), 3u);
    EXPECT_EQ(OpenMsgPopups().size(), 1u);
    EXPECT_TRUE(boxes.Calls.empty());
}

TEST_F(MemoTimer, ADayMemoOnlyFillsTheBoardWhichShowsWhileAPanelIsCurrent)
{
    TForm* board = MakeBoard();
    others.push_back(board);
    form->MemoBoardForm = board;
    AddMemo("买菜", "2026-05-10", "0");
    AddMemo("过期", "2026-05-08", "0");
    AddMemo("体检", "2026-05-15 09:00", "1", "7天");
    AddMemo("太远", "2026-05-30", "0", "3天");
    Pass();
    EXPECT_EQ(data.Value("select count(*) from sz_bwlb where qrbz='1'"), "0");
    EXPECT_TRUE(sounds.Played.empty());
    EXPECT_TRUE(OpenMsgPopups().empty());
    EXPECT_EQ(Caption(board, "Label1"), "今日 5月10日");
    EXPECT_EQ(Caption(board, "Label2"), "买菜");
    EXPECT_EQ(Caption(board, "Label3"), "5天后 5月10日");
    EXPECT_EQ(Caption(board, "Label4"), "体检");
    EXPECT_EQ(Caption(board, "Label5"), "");   // the past memo comes last, without texts
    EXPECT_EQ(dynamic_cast<TEdit*>(board->FindComponent("Edit113"))->Text(),
              data.Value("select iid from sz_bwlb where nr='过期'"));
    EXPECT_TRUE(dynamic_cast<TControl*>(board->FindComponent("Panel3"))->Visible());
    EXPECT_FALSE(dynamic_cast<TControl*>(board->FindComponent("Panel4"))->Visible());
    EXPECT_EQ(board->Height(), 3 * 39);
    EXPECT_TRUE(board->Visible());

    data.Exec("delete from sz_bwlb where nr in ('买菜', '体检')");
    Pass();
    EXPECT_FALSE(board->Visible());
}

TEST_F(MemoTimer, NoteWindowsFollowTheirRowsWhileNotesAreShownAndHiddenOnesAreNotClosedAgain)
{
    int closes[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        form->NoteForms[i] = Other();
        form->NoteForms[i]->OnClose = [&closes, i](TObject*, TCloseAction&) { ++closes[i]; };
    }
    form->NoteForms[1]->Show();
    data.Exec("update sz_bqb set qyzt='1' where bz='便签1位置'");
    Pass();   // bqxsf "0": left as they are
    EXPECT_FALSE(form->NoteForms[0]->Visible());
    EXPECT_TRUE(form->NoteForms[1]->Visible());

    data.Exec("update sz_sfxsb set bqxsf='1'");
    Pass();
    Pass();
    EXPECT_TRUE(form->NoteForms[0]->Visible());
    EXPECT_FALSE(form->NoteForms[1]->Visible());
    EXPECT_FALSE(form->NoteForms[2]->Visible());
    EXPECT_EQ(closes[1], 1);
    EXPECT_EQ(closes[2], 0);
}

TEST_F(MemoTimer, AFailingDataFileLeavesTheTimerRunningAndSaysNothing)
{
    AddMemo("交电费", "2026-05-10 14:30", "1");
    data.Exec("drop table sz_sfxsb");
    data.Exec("alter table sz_bwlb rename to sz_bwlb_gone");
    form->tbwl->SetEnabled(true);
    Pass();
    EXPECT_TRUE(form->tbwl->Enabled());
    EXPECT_TRUE(sounds.Played.empty());
    EXPECT_TRUE(OpenMsgPopups().empty());
    EXPECT_TRUE(boxes.Calls.empty());
}
