// The memo add and edit dialogs under Wine, driven through their controls against a
// private copy of the data file.
#include <gtest/gtest.h>

#include "app/core/dbhouse.h"
#include "framework/win/Dialogs.h"
#include "organizer/win/bwlbj.h"
#include "organizer/win/bwxg.h"
#include "tests/db/DataFileCopy.h"
#include "tests/organizer/WinShot.h"

namespace {

class MemoDialogs : public testing::Test {
protected:
  void SetUp() override {
    EnsureApplication();
    SetClockSource([] { return EncodeDateTime(2024, 6, 1, 9, 41, 27, 0); });
    dbhouse = new Tdbhouse(nullptr);
    dbhouse->democnn->SetConnectionString(DataConnectionString(file.Folder()));
    dbhouse->democnn->Open();
    Formbwlbj = NewForm<TFormbwlbj>(nullptr);
    Formbwxg = NewForm<TFormbwxg>(nullptr);
  }
  void TearDown() override {
    delete Formbwlbj;
    Formbwlbj = nullptr;
    delete Formbwxg;
    Formbwxg = nullptr;
    delete dbhouse;
    dbhouse = nullptr;
    SetClockSource(nullptr);
  }
  TMemoRow LastRow() {
    TADOQuery& q = *dbhouse->qbw1;
    q.Close();
    q.SQL.SetText("select * from sz_bwlb order by iid ");
    q.Open();
    count = q.RecordCount();
    q.Last();
    return ReadMemoRow(q);
  }
  static void Click(TWinControl* c) { SendMessageW(c->Handle(), BM_CLICK, 0, 0); }

  DataFileCopy file;
  MessageBoxRecorder boxes;
  int count = 0;
};

}  // namespace

TEST_F(MemoDialogs, AddsASolarMemoAndResetsForTheNext) {
  TFormbwlbj& f = *Formbwlbj;
  f.Show();
  SaveShot(f, "memo-add-solar");
  EXPECT_EQ(f.dt1->DateTime(), EncodeDate(2024, 6, 1));
  EXPECT_EQ(FormatDateTime("hh:nn:ss", f.dt2->Time()), "09:41:00");
  f.dt1->SetDateTime(EncodeDate(2024, 3, 5));
  f.dt2->SetTime(EncodeTime(8, 30, 0, 0));
  Click(f.cb1);
  f.memo1->SetText("交电费");
  f.ComboBox3->SetText("3天");
  f.ComboBox4->SetText("从不");
  f.ComboBox5->SetText("每1年");
  LastRow();
  const int before = count;
  Click(f.BitBtn2);
  const TMemoRow r = LastRow();
  EXPECT_EQ(count, before + 1);
  EXPECT_EQ(r.yybz + "|" + r.ylsj + "|" + r.yinlsj + "|" + r.fzbz, "1|2024-03-05 08:30:00|2024-03-05|1");
  EXPECT_EQ(r.xssj + "|" + r.nr + "|" + r.tqtsts + r.gqzdsc + r.chts, "2024年03月05日 08:30 周二|交电费|3天0天每1年");
  // Ready for the next memo: dates reset and lists cleared; the text and the choices above stay.
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.dt1->DateTime(), EncodeDate(2024, 6, 1));
  for (TComboBox* c : {f.ComboBox1, f.ComboBox2, f.ComboBox3, f.ComboBox4, f.ComboBox5}) EXPECT_EQ(c->ItemIndex(), -1);
  EXPECT_EQ(f.memo1->Text(), "交电费");
  EXPECT_TRUE(f.cb1->Checked());
  EXPECT_TRUE(boxes.Calls.empty());
}

TEST_F(MemoDialogs, ChecksThenAddsALunarMemo) {
  TFormbwlbj& f = *Formbwlbj;
  f.Show();
  Click(f.rb2);
  EXPECT_FALSE(f.dt1->Enabled() || f.cb1->Enabled() || f.dt2->Enabled());
  f.ComboBox1->SetText("八月");
  f.ComboBox2->SetText("十五");
  Click(f.BitBtn2);   // nothing chosen below: only the first message
  f.ComboBox3->SetText("1天");
  Click(f.BitBtn2);
  f.ComboBox4->SetText("2天");
  Click(f.BitBtn2);
  f.ComboBox5->SetText("每7天");
  Click(f.BitBtn2);
  const char* expected[] = {"提前提示天数不能为空！", "过期自动删除不能为空！", "重复提示不能为空！",
                            "按阴历的话重复提醒请选择“年”或“月”"};
  ASSERT_EQ(boxes.Calls.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(boxes.Calls[i].Text, expected[i]);
  EXPECT_TRUE(f.ComboBox5->Focused());
  const int before = (LastRow(), count);
  f.ComboBox5->SetText("每1年");
  SaveShot(f, "memo-add-lunar");
  Click(f.BitBtn2);
  const TMemoRow r = LastRow();
  EXPECT_EQ(count, before + 1);
  EXPECT_EQ(r.yybz + "|" + r.ylsj + "|" + r.yinlsj + "|" + r.xssj, "0|2024-09-17|2024-09-17|八月 十五");
  Click(f.rb1);
  EXPECT_TRUE(f.dt1->Enabled() && !f.ComboBox1->Enabled());
}

// A monthly memo meant for the 31st, due on 28 February for now: editing its text keeps
// the day it is meant for.
TEST_F(MemoDialogs, EditingAShortMonthsOccurrenceKeepsTheIntendedDay) {
  InsertMemo(*dbhouse->qbw, {0, "1", "2026-02-28 08:30", "2026-01-31", "月末", "0天", "0天", "每1月", "",
                             "2026年02月28日 08:30 周六", "1", "0"});
  Formbwxg->LoadMemo(LastRow());
  Formbwxg->memo1->SetText("月末结账");
  Click(Formbwxg->BitBtn2);
  const TMemoRow r = LastRow();
  EXPECT_EQ(r.nr + "|" + r.ylsj + "|" + r.yinlsj, "月末结账|2026-02-28 08:30|2026-01-31");
}

TEST_F(MemoDialogs, EditChangesTheNoticeDaysAndRemindsAgain) {
  TMemoRow stored{0, "1", "2024-03-05 08:30:00", "2024-03-05", "体检", "3天", "0天", "每0天", "a.wav",
                  "2024年03月05日 08:30 周二", "1", "1"};
  InsertMemo(*dbhouse->qbw, stored);
  stored = LastRow();
  TFormbwxg& f = *Formbwxg;
  f.LoadMemo(stored);
  EXPECT_EQ(f.ComboBox3->Text() + f.ComboBox4->Text() + f.ComboBox5->Text(), "3天从不从不");
  f.Show();
  SaveShot(f, "memo-edit-solar");
  f.ComboBox3->SetText("7天");
  Click(f.BitBtn2);
  const TMemoRow r = LastRow();
  EXPECT_EQ(r.Iid, stored.Iid);
  EXPECT_EQ(r.ylsj + "|" + r.tqtsts + r.gqzdsc + r.chts + "|" + r.yypath + "|" + r.qrbz, "2024-03-05 08:30|7天0天每0天|a.wav|0");
  EXPECT_FALSE(f.Visible());
  EXPECT_TRUE(dbhouse->qbwcx->Active());
  EXPECT_EQ(dbhouse->qbwcx->SQL.Count() == 1 ? dbhouse->qbwcx->SQL[0] : "", MemoListSQL);

  // A due day before the picker's first day (1752-09-14) loads as now, as an unreadable one
  // does, not as the day of the memo loaded before.
  TMemoRow early = stored;
  early.ylsj = "1700-05-01 10:00";
  f.LoadMemo(early);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", f.dt1->Date() + f.dt2->Time()), "2024-06-01 09:41");
  f.LoadMemo(stored);

  stored.yybz = "0", stored.xssj = "十二月 廿三", stored.chts = "每1月";
  f.LoadMemo(stored);
  EXPECT_TRUE(f.rb2->Checked() && !f.cb1->Checked());
  EXPECT_EQ(f.ComboBox1->Text() + f.ComboBox2->Text() + f.ComboBox5->Text(), "十二月廿三每1月");
  f.Show();
  SaveShot(f, "memo-edit-lunar");
}

// An edit saved after its memo was deleted meanwhile changes nothing, says so and keeps
// the dialog open with the user's text.
TEST_F(MemoDialogs, AnEditOfADeletedMemoSaysSoAndStaysOpen) {
  TMemoRow stored{0, "1", "2024-03-05 08:30:00", "2024-03-05", "体检", "3天", "0天", "每0天", "",
                  "2024年03月05日 08:30 周二", "1", "1"};
  InsertMemo(*dbhouse->qbw, stored);
  stored = LastRow();
  const int before = count;
  TFormbwxg& f = *Formbwxg;
  f.LoadMemo(stored);
  f.Show();
  TADOQuery& q = *dbhouse->qok;
  q.Close();
  q.SQL.SetText("delete from sz_bwlb where iid=" + std::to_string(stored.Iid));
  q.ExecSQL();
  f.memo1->SetText("体检改期");
  Click(f.BitBtn2);
  ASSERT_EQ(boxes.Calls.size(), 1u);
  EXPECT_NE(boxes.Calls[0].Text.find("已被删除"), std::string::npos);
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.memo1->Text(), "体检改期");
  LastRow();
  EXPECT_EQ(count, before - 1);
}
