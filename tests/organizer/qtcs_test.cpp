// The other-settings dialog under Wine: what it shows, its checks, what it writes to the
// data file and to the current user's autostart value.
#include <gtest/gtest.h>

#include "app/core/dbhouse.h"
#include "app/core/dbware.h"
#include "framework/win/Dialogs.h"
#include "framework/win/WinUtil.h"
#include "organizer/win/qtcs.h"
#include "tests/db/DataFileCopy.h"
#include "tests/organizer/WinShot.h"

namespace {

// The autostart value as the system reads it; "" when absent.
std::wstring RunValue() {
  wchar_t data[1024] = {};
  DWORD size = sizeof(data);
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"vorpen", RRF_RT_REG_SZ,
                   nullptr, data, &size) != ERROR_SUCCESS)
    return L"";
  return data;
}

class SettingsDialog : public testing::Test {
protected:
  void SetUp() override {
    EnsureApplication();
    SetAutostart(false);
    dbhouse = new Tdbhouse(nullptr);
    dbhouse->democnn->SetConnectionString(DataConnectionString(file.Folder()));
    dbhouse->democnn->Open();
    Formqtcs = NewForm<TFormqtcs>(nullptr);
  }
  void TearDown() override {
    delete Formqtcs;
    Formqtcs = nullptr;
    delete dbhouse;
    dbhouse = nullptr;
    SetAutostart(false);
  }
  std::string Row() {
    TADOQuery& q = *dbhouse->qsz;
    q.Close();
    q.SQL.SetText("select * from sz_qtcsb ");
    q.Open();
    std::string row;
    for (const char* f : {"kjqy", "bspl", "bsfs", "bwlqzypath", "jrqzypath", "bwjrbfcs"})
      row += q.FieldByName(f).AsString() + "|";
    return row;
  }
  static void Click(TWinControl* c) { SendMessageW(c->Handle(), BM_CLICK, 0, 0); }
  static void Click(TskSkinButton* b) { b->ButtonClick(); }

  DataFileCopy file;
  MessageBoxRecorder boxes;
};

}  // namespace

TEST_F(SettingsDialog, ShowsTheRowAndTheRegistryDecidesAutostart) {
  TFormqtcs& f = *Formqtcs;
  f.Show();
  SaveShot(f, "settings");
  EXPECT_FALSE(f.cb1->Checked());
  EXPECT_TRUE(f.cb2->Checked());
  EXPECT_FALSE(f.cb3->Checked() || f.cb3->Visible());
  EXPECT_TRUE(f.rb2->Checked());
  EXPECT_TRUE(f.cb4->Checked());
  EXPECT_EQ(f.Edit2->Text(), "Sounds\\Clock\\alts.wav");
  EXPECT_TRUE(f.cb5->Checked());
  EXPECT_EQ(f.ComboBox1->Text(), "2");
  f.Close();
  SetAutostart(true);
  f.Show();
  EXPECT_TRUE(f.cb1->Checked());
}

TEST_F(SettingsDialog, MissingFieldsStopTheSaveBeforeAnythingIsWritten) {
  TFormqtcs& f = *Formqtcs;
  f.Show();
  const std::string before = Row();
  Click(f.cb2);   // a chime change that must not be saved on its own
  const struct { TWinControl* focus; const char* message; void (*setUp)(TFormqtcs&); } cases[] = {
      {f.Edit2, "备忘备播放音乐不能为空！", [](TFormqtcs& d) { d.Edit2->SetText(""); }},
      {f.Edit3, "节日播放音乐不能为空！", [](TFormqtcs& d) { d.Edit2->SetText("a.wav"); d.Edit3->SetText(""); }},
      {f.ComboBox1, "播放次数不能为空！", [](TFormqtcs& d) { d.Edit3->SetText("b.wav"); d.ComboBox1->SetText(""); }},
  };
  for (const auto& c : cases) {
    boxes.Calls.clear();
    c.setUp(f);
    Click(f.skSkinButton6);
    ASSERT_EQ(boxes.Calls.size(), 1u);
    EXPECT_EQ(boxes.Calls[0].Text, c.message);
    EXPECT_EQ(Row(), before);
    EXPECT_TRUE(f.Visible());
    EXPECT_TRUE(c.focus->Focused() || IsChild(c.focus->Handle(), GetFocus())) << c.message;
  }
  EXPECT_EQ(ChimeFrequency, "");   // the running settings are untouched too
}

TEST_F(SettingsDialog, SaveWritesTheRowTheRunningSettingsAndTheQuotedAutostartPath) {
  TFormqtcs& f = *Formqtcs;
  f.Show();
  Click(f.cb1);
  Click(f.cb2);
  Click(f.rb3);
  Click(f.cb4);
  f.ComboBox1->SetText("3");
  Click(f.skSkinButton6);
  ASSERT_EQ(boxes.Calls.size(), 1u);
  EXPECT_EQ(boxes.Calls[0].Text, "参数保存成功！");
  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(Row(), "0|3|2||Sounds\\Clock\\allday.wav|3|");
  EXPECT_EQ(ChimeFrequency + ChimeMode, "32");
  EXPECT_EQ(ReminderPlayCount, 3);
  EXPECT_EQ(AltsWavPath, "");
  EXPECT_EQ(RunValue(), L"\"" + Wide(ExecutablePath()) + L"\"");
  EXPECT_EQ(RunValue().front(), L'"');

  f.Show();
  EXPECT_TRUE(f.cb1->Checked());
  EXPECT_TRUE(f.rb3->Checked());
  EXPECT_FALSE(f.cb4->Checked());
  Click(f.cb1);
  Click(f.cb2);
  Click(f.skSkinButton6);
  EXPECT_EQ(RunValue(), L"");
  EXPECT_EQ(Row(), "0|1|2||Sounds\\Clock\\allday.wav|3|");
}

TEST_F(SettingsDialog, PlayCountBoxTakesOnlyDigitsAndBackspace) {
  TFormqtcs& f = *Formqtcs;
  f.Show();
  HWND edit = FindWindowExW(f.ComboBox1->Handle(), nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  f.ComboBox1->SetText("");
  for (wchar_t k : {L'a', L'5', L'-', L'x', L'7'}) SendMessageW(edit, WM_CHAR, k, 0);
  EXPECT_EQ(f.ComboBox1->Text(), "57");
  SendMessageW(edit, WM_CHAR, L'\b', 0);
  EXPECT_EQ(f.ComboBox1->Text(), "5");
}

// A play count the reminders would not use is refused in the dialog: nothing is written.
TEST_F(SettingsDialog, PlayCountOutsideOneToThreeIsRefusedAndNothingIsWritten) {
  TFormqtcs& f = *Formqtcs;
  f.Show();
  const std::string before = Row();
  for (const char* count : {"0", "4", "5"}) {
    f.ComboBox1->SetText(count);
    Click(f.skSkinButton6);
    EXPECT_TRUE(f.Visible()) << count;
  }
  ASSERT_EQ(boxes.Calls.size(), 3u);
  for (const auto& call : boxes.Calls) EXPECT_EQ(call.Text, "播放次数只能是1、2或3！");
  EXPECT_EQ(Row(), before);
}
