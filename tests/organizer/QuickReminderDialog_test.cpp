// The quick reminder dialog and its alert under Wine, driven through their controls
// against a private copy of the data file.
#include <gtest/gtest.h>

#include "app/core/dbhouse.h"
#include "app/core/dbware.h"
#include "framework/win/Dialogs.h"
#include "app/core/QuickReminder.h"
#include "organizer/win/ksts.h"
#include "organizer/win/kstsr.h"
#include "tests/db/DataFileCopy.h"
#include "tests/organizer/WinShot.h"

namespace {

class QuickReminderDialog : public testing::Test {
protected:
  void SetUp() override {
    EnsureApplication();
    At(EncodeDateTime(2026, 5, 10, 23, 50, 12, 0));
    dbhouse = new Tdbhouse(nullptr);
    dbhouse->democnn->SetConnectionString(DataConnectionString(file.Folder()));
    dbhouse->democnn->Open();
    DoorbellWavPath = file.PathOf("doorbell.wav");
    Formksts = NewForm<TFormksts>(nullptr);
    Formkstsr = NewForm<TFormkstsr>(nullptr);
  }
  void TearDown() override {
    delete Formkstsr;
    Formkstsr = nullptr;
    delete Formksts;
    Formksts = nullptr;
    delete dbhouse;
    dbhouse = nullptr;
    DoorbellWavPath.clear();
    SetClockSource(nullptr);
  }
  void At(TDateTime now) {
    SetClockSource([now] { return now; });
  }
  std::string Row(const char* column) {
    TADOQuery& q = *dbhouse->qok;
    q.Close();
    q.SQL.SetText(std::string("select ") + column + " from sz_ksb where bz='1'");
    q.Open();
    std::string v = q.Fields(0).AsString();
    q.Close();
    return v;
  }
  static void Click(TWinControl* c) { SendMessageW(c->Handle(), BM_CLICK, 0, 0); }

  DataFileCopy file;
  MessageBoxRecorder boxes;
};

}  // namespace

TEST_F(QuickReminderDialog, SetsARelativeReminderThatKeepsItsDayAndCancelsItAfterAsking) {
  TFormksts& f = *Formksts;
  f.Show();
  SaveShot(f, "quick-reminder");
  EXPECT_FALSE(f.BitBtn5->Visible());   // nothing pending
  EXPECT_EQ(f.Edit1->Text(), DoorbellWavPath);
  EXPECT_EQ(f.ComboBox1->Items().Count(), 20);
  EXPECT_EQ(FormatDateTime("hh:nn", f.dt1->Time()), "23:50");
  f.ComboBox1->SetText("15");
  f.Edit1->SetText("");
  Click(f.BitBtn2);
  EXPECT_EQ(Row("zdsj") + "|" + Row("kssj") + "|" + Row("bfzt") + "|" + Row("sypath"), "2026-05-11 00:05:00|23:50|0|");
  EXPECT_FALSE(f.Visible());

  f.Show();   // pending now; the empty sound shows the doorbell
  SaveShot(f, "quick-reminder-pending");
  EXPECT_TRUE(f.BitBtn5->Visible());
  EXPECT_EQ(f.Edit1->Text(), DoorbellWavPath);
  boxes.Answer = IDNO;
  Click(f.BitBtn5);
  EXPECT_NE(Row("zdsj"), "");
  boxes.Answer = IDYES;
  Click(f.BitBtn5);
  EXPECT_EQ(Row("zdsj"), "");
  EXPECT_FALSE(f.BitBtn5->Visible());
  EXPECT_TRUE(f.Visible());
  ASSERT_EQ(boxes.Calls.size(), 2u);
  EXPECT_EQ(boxes.Calls[0].Text + boxes.Calls[0].Caption, "您确定要取消本次任务吗？询问");
  EXPECT_EQ(boxes.Calls[0].Flags, UINT(MB_YESNO | MB_ICONQUESTION));
}

TEST_F(QuickReminderDialog, AbsoluteTimesAreTheNextToComeAndMinutesStopAt1440) {
  TFormksts& f = *Formksts;
  At(EncodeDateTime(2026, 5, 10, 10, 30, 45, 0));
  f.Show();
  Click(f.rb2);
  f.dt1->SetTime(EncodeTime(7, 5, 33, 0));
  Click(f.BitBtn2);
  EXPECT_EQ(Row("zdsj"), "2026-05-11 07:05:00");
  f.Show();
  Click(f.rb1);
  f.ComboBox1->SetText("2000");
  f.ComboBox1Change(nullptr);
  EXPECT_EQ(f.ComboBox1->Text(), "1440");
  Click(f.BitBtn2);
  EXPECT_EQ(Row("zdsj"), "2026-05-11 10:29:59");
  f.Show();
  f.ComboBox1->SetText("一刻");
  EXPECT_THROW(f.BitBtn2Click(nullptr), EConvertError);
  EXPECT_EQ(Row("zdsj"), "2026-05-11 10:29:59");
  f.ComboBox1->SetText("-5");   // said in Chinese, nothing written, the dialog stays
  Click(f.BitBtn2);
  EXPECT_EQ(Row("zdsj"), "2026-05-11 10:29:59");
  EXPECT_TRUE(f.Visible());
  ASSERT_EQ(boxes.Calls.size(), 1u);
  EXPECT_EQ(boxes.Calls[0].Text, "提醒的分钟数不能小于0！");
}

// The fixed row deleted from the data file: setting a reminder says that nothing was set
// and the dialog stays with what was chosen; the row is not made again.
TEST_F(QuickReminderDialog, ASetWithoutTheRowSaysNothingWasSetAndTheDialogStays) {
  TFormksts& f = *Formksts;
  TADOQuery& q = *dbhouse->qok;
  q.Close();
  q.SQL.SetText("delete from sz_ksb");
  q.ExecSQL();
  f.Show();
  f.ComboBox1->SetText("15");
  Click(f.BitBtn2);
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.ComboBox1->Text(), "15");
  ASSERT_EQ(boxes.Calls.size(), 1u);
  EXPECT_EQ(boxes.Calls[0].Text, "数据文件里没有快速提醒这一行，提醒没有设置。");
  q.Close();
  q.SQL.SetText("select count(*) from sz_ksb");
  q.Open();
  EXPECT_EQ(q.Fields(0).AsString(), "0");
  q.Close();
  EXPECT_FALSE(WriteQuickReminder(*dbhouse, "2026-05-11 00:05:00", "", "23:50"));
}

TEST_F(QuickReminderDialog, TheAlertGoesBackToTheDialogOrCloses) {
  TFormkstsr& a = *Formkstsr;
  a.Label1->SetCaption("您在23:50时间设置的快速提醒已到");
  a.Show();
  SaveShot(a, "quick-reminder-alert");
  EXPECT_EQ(a.ClientWidth() * 1000 + a.ClientHeight(), 314118);
  Click(a.BitBtn1);
  EXPECT_FALSE(a.Visible());
  EXPECT_TRUE(Formksts->Visible());
  a.Show();
  Click(a.BitBtn2);
  EXPECT_FALSE(a.Visible());
}
