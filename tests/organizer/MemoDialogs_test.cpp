// The memo add and edit dialogs under Wine, driven through their controls against a
// private copy of the data file. With VORPEN_SHOT_DIR set, each dialog is also saved as a
// screen grab there.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/core/dbhouse.h"
#include "framework/win/Application.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Dialogs.h"
#include "organizer/win/bwlbj.h"
#include "organizer/win/bwxg.h"
#include "tests/db/DataFileCopy.h"
#include "tests/organizer/WinShot.h"

namespace {

class MemoDialogs : public testing::Test {
protected:
  void SetUp() override {
    Application->Initialize();
    SetClockSource([] { return EncodeDateTime(2024, 6, 1, 9, 41, 27, 0); });
    dbhouse = new Tdbhouse(nullptr);
    dbhouse->democnn->SetConnectionString(DataConnectionString(file.Folder()));
    dbhouse->democnn->Open();
    before = Rows().size();
  }
  void TearDown() override {
    delete Formbwlbj;
    delete Formbwxg;
    Formbwlbj = nullptr;
    Formbwxg = nullptr;
    delete dbhouse;
    dbhouse = nullptr;
    SetClockSource(nullptr);
  }

  std::vector<TMemoRow> Rows() {
    TADOQuery& q = *dbhouse->qbw1;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("select * from sz_bwlb order by iid ");
    q.Open();
    std::vector<TMemoRow> rows;
    for (q.First(); !q.Eof(); q.Next()) rows.push_back(ReadMemoRow(q));
    return rows;
  }

  static void Click(TWinControl* c) { SendMessageW(c->Handle(), BM_CLICK, 0, 0); }

  DataFileCopy file;
  MessageBoxRecorder boxes;
  size_t before = 0;
};

}  // namespace

TEST_F(MemoDialogs, AddsASolarMemoAndResetsForTheNext) {
  Formbwlbj = NewForm<TFormbwlbj>(nullptr);
  TFormbwlbj& f = *Formbwlbj;
  f.Show();
  EXPECT_EQ(f.dt1->DateTime(), EncodeDate(2024, 6, 1));
  EXPECT_EQ(FormatDateTime("hh:nn:ss", f.dt2->Time()), "09:41:00");
  EXPECT_TRUE(f.rb1->Checked());
  EXPECT_FALSE(f.ComboBox1->Enabled());
  SaveShot(f, "memo-add-solar");

  f.dt1->SetDateTime(EncodeDate(2024, 3, 5));
  f.dt2->SetTime(EncodeTime(8, 30, 0, 0));
  Click(f.cb1);
  f.memo1->SetText("交电费");
  f.ComboBox3->SetText("3天");
  f.ComboBox4->SetText("从不");
  f.ComboBox5->SetText("每1年");
  Click(f.BitBtn2);

  std::vector<TMemoRow> rows = Rows();
  ASSERT_EQ(rows.size(), before + 1);
  const TMemoRow& r = rows.back();
  EXPECT_EQ(r.yybz, "1");
  EXPECT_EQ(r.ylsj, "2024-03-05 08:30:00");
  EXPECT_EQ(r.yinlsj, "2024-03-05");
  EXPECT_EQ(r.xssj, "2024年03月05日 08:30 周二");
  EXPECT_EQ(r.fzbz, "1");
  EXPECT_EQ(r.tqtsts + r.gqzdsc + r.chts, "3天0天每1年");
  EXPECT_EQ(r.nr, "交电费");
  EXPECT_TRUE(boxes.Calls.empty());
  // Ready for the next memo: dates reset, lists cleared, the text and date kind kept.
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.dt1->DateTime(), EncodeDate(2024, 6, 1));
  for (TComboBox* c : {f.ComboBox1, f.ComboBox2, f.ComboBox3, f.ComboBox4, f.ComboBox5})
    EXPECT_EQ(c->ItemIndex(), -1);
  EXPECT_EQ(f.memo1->Text(), "交电费");
  EXPECT_TRUE(f.cb1->Checked());
}

TEST_F(MemoDialogs, AddsALunarMemoForTheMidAutumnOfThisYear) {
  Formbwlbj = NewForm<TFormbwlbj>(nullptr);
  TFormbwlbj& f = *Formbwlbj;
  f.Show();
  Click(f.rb2);
  EXPECT_TRUE(f.ComboBox1->Enabled() && f.ComboBox2->Enabled());
  EXPECT_FALSE(f.dt1->Enabled() || f.cb1->Enabled() || f.dt2->Enabled());
  f.ComboBox1->SetText("八月");
  f.ComboBox2->SetText("十五");
  f.ComboBox3->SetText("1天");
  f.ComboBox4->SetText("2天");
  f.ComboBox5->SetText("每1年");
  f.memo1->SetText("中秋");
  SaveShot(f, "memo-add-lunar");
  Click(f.BitBtn2);

  std::vector<TMemoRow> rows = Rows();
  ASSERT_EQ(rows.size(), before + 1);
  EXPECT_EQ(rows.back().yybz, "0");
  EXPECT_EQ(rows.back().ylsj, "2024-09-17");
  EXPECT_EQ(rows.back().yinlsj, "2024-09-17");
  EXPECT_EQ(rows.back().xssj, "八月 十五");
  EXPECT_TRUE(f.rb2->Checked());
  Click(f.rb1);
  EXPECT_TRUE(f.dt1->Enabled());
  EXPECT_FALSE(f.ComboBox2->Enabled());
}

TEST_F(MemoDialogs, RefusesIncompleteChoicesWithTheirMessages) {
  Formbwlbj = NewForm<TFormbwlbj>(nullptr);
  TFormbwlbj& f = *Formbwlbj;
  f.Show();
  Click(f.BitBtn2);                  // nothing chosen: only the first message
  f.ComboBox3->SetText("从不");
  Click(f.BitBtn2);
  f.ComboBox4->SetText("从不");
  Click(f.BitBtn2);
  f.ComboBox5->SetText("每7天");
  Click(f.rb2);
  f.ComboBox1->SetText("八月");
  f.ComboBox2->SetText("十五");
  Click(f.BitBtn2);
  ASSERT_EQ(boxes.Calls.size(), 4u);
  EXPECT_EQ(boxes.Calls[0].Text, "提前提示天数不能为空！");
  EXPECT_EQ(boxes.Calls[1].Text, "过期自动删除不能为空！");
  EXPECT_EQ(boxes.Calls[2].Text, "重复提示不能为空！");
  EXPECT_EQ(boxes.Calls[3].Text, "按阴历的话重复提醒请选择“年”或“月”");
  EXPECT_TRUE(f.ComboBox5->Focused());
  EXPECT_EQ(Rows().size(), before);
  EXPECT_EQ(f.ComboBox1->Text(), "八月");   // the dialog stays as it was

  f.BitBtn4->Click();   // "重填"
  EXPECT_EQ(f.ComboBox1->ItemIndex(), -1);
  EXPECT_EQ(f.ComboBox5->ItemIndex(), -1);
}

TEST_F(MemoDialogs, EditChangesTheNoticeDaysAndRemindsAgain) {
  TMemoInput in;
  in.Date = EncodeDate(2024, 3, 5);
  in.Time = EncodeTime(8, 30, 0, 0);
  in.MinutePrecision = true;
  in.Text = "体检";
  in.NoticeIndex = 3, in.NoticeText = "3天";
  in.KeepIndex = 0, in.KeepText = "从不";
  in.RepeatIndex = 0, in.RepeatText = "从不";
  in.SoundPath = "C:\\声音\\a.wav";
  TMemoRow stored = MemoRowFromInput(in, TMemoDialogMode::Add, Date());
  stored.qrbz = "1";
  InsertMemo(*dbhouse->qbw, stored);
  stored = Rows().back();

  Formbwxg = NewForm<TFormbwxg>(nullptr);
  TFormbwxg& f = *Formbwxg;
  f.LoadMemo(stored);
  EXPECT_TRUE(f.cb1->Checked());
  EXPECT_EQ(f.dt1->Date(), EncodeDate(2024, 3, 5));
  EXPECT_EQ(FormatDateTime("hh:nn", f.dt2->Time()), "08:30");
  EXPECT_EQ(f.ComboBox3->Text() + f.ComboBox4->Text() + f.ComboBox5->Text(), "3天从不从不");
  EXPECT_EQ(f.editiid->Text(), std::to_string(stored.Iid));
  f.Show();
  SaveShot(f, "memo-edit-solar");
  f.ComboBox3->SetText("7天");
  Click(f.BitBtn2);

  std::vector<TMemoRow> rows = Rows();
  ASSERT_EQ(rows.size(), before + 1);
  const TMemoRow& r = rows.back();
  EXPECT_EQ(r.Iid, stored.Iid);
  EXPECT_EQ(r.tqtsts, "7天");
  EXPECT_EQ(r.ylsj, "2024-03-05 08:30");
  EXPECT_EQ(r.gqzdsc + r.chts, "0天每0天");
  EXPECT_EQ(r.yypath, "C:\\声音\\a.wav");
  EXPECT_EQ(r.qrbz, "0");
  EXPECT_FALSE(f.Visible());
  EXPECT_TRUE(dbhouse->qbwcx->Active());
  ASSERT_EQ(dbhouse->qbwcx->SQL.Count(), 1);
  EXPECT_EQ(dbhouse->qbwcx->SQL[0], MemoListSQL);
}

TEST_F(MemoDialogs, EditLoadsALunarMemo) {
  TMemoRow row;
  row.Iid = 7;
  row.yybz = "0";
  row.xssj = "十二月 廿三";
  row.tqtsts = "1天";
  row.gqzdsc = "2天";
  row.chts = "每1月";
  Formbwxg = NewForm<TFormbwxg>(nullptr);
  TFormbwxg& f = *Formbwxg;
  f.LoadMemo(row);
  EXPECT_TRUE(f.rb2->Checked());
  EXPECT_FALSE(f.cb1->Checked() || f.dt1->Enabled());
  EXPECT_EQ(f.ComboBox1->Text() + f.ComboBox2->Text(), "十二月廿三");
  EXPECT_EQ(f.ComboBox5->Text(), "每1月");
  f.Show();
  SaveShot(f, "memo-edit-lunar");
}
