// The festival list with its add and edit dialogs and the memo list, under Wine on a
// private data file, driven through their controls with the message-box seam.
#include <gtest/gtest.h>

#include <functional>

#include "app/core/Startup.h"
#include "framework/base/Timer.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Dialogs.h"
#include "framework/win/Sound.h"
#include "framework/win/WinUtil.h"
#include "organizer/win/bwlbj.h"
#include "organizer/win/bwlcx.h"
#include "organizer/win/bwxg.h"
#include "organizer/win/jrbj.h"
#include "organizer/win/xgrq.h"
#include "organizer/win/xzrq.h"
#include "tests/app/DataModule.h"
#include "tests/organizer/WinShot.h"

namespace {

void Click(TWinControl* c) { SendMessageW(c->Handle(), BM_CLICK, 0, 0); }
void Click(TskSkinButton* b) { b->ButtonClick(); }

// Chooses an item as the user does, so that the list's change handler runs.
void Choose(TComboBox* c, const std::string& text) {
  c->SetText(text);
  ASSERT_EQ(c->Text(), text);
  SendMessageW(GetParent(c->Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c->Handle()), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(c->Handle()));
}

// Runs `step` from the message loop of a modal dialog about to start.
class WhileModal {
public:
  explicit WhileModal(std::function<void()> step) : timer(nullptr) {
    timer.SetInterval(50);
    timer.OnTimer = [this, step](TObject*) {
      timer.SetEnabled(false);
      step();
    };
    timer.SetEnabled(true);
  }

private:
  TTimer timer;
};

class GridLists : public testing::Test {
protected:
  void SetUp() override {
    EnsureApplication();
    SetClockSource([] { return EncodeDateTime(2026, 6, 1, 9, 0, 0, 0); });
    Formjrbj = NewForm<TFormjrbj>(nullptr);
    Formxzrq = NewForm<TFormxzrq>(nullptr);
    Formxgrq = NewForm<TFormxgrq>(nullptr);
    Formbwlcx = NewForm<TFormbwlcx>(nullptr);
    Formbwlbj = NewForm<TFormbwlbj>(nullptr);
    Formbwxg = NewForm<TFormbwxg>(nullptr);
  }
  void TearDown() override {
    Free(Formjrbj), Free(Formxzrq), Free(Formxgrq), Free(Formbwlcx), Free(Formbwlbj), Free(Formbwxg);
    SetClockSource(nullptr);
  }
  template <class T>
  static void Free(T*& form) {
    delete form;
    form = nullptr;
  }
  std::string Festivals() {
    return data.Value("select group_concat(jrmc, ',') from (select jrmc from sz_jrb order by iid)");
  }

  DataModule data;
  MessageBoxRecorder boxes;
  SoundRecorder sounds;
};

}  // namespace

TEST_F(GridLists, AddsALunarBirthdayWithThisYearsDate) {
  data.Exec("delete from sz_jrb");
  Formjrbj->Show();
  TFormxzrq& f = *Formxzrq;
  WhileModal add([&] {
    EXPECT_TRUE(f.Edit1->Focused());
    Click(f.skSkinButton4);   // empty: the name first
    f.Edit1->SetText("外婆生日");
    Click(f.skSkinButton4);
    Choose(f.ComboBox1, "生日(周岁)");
    Choose(f.ComboBox2, "阴历");
    EXPECT_EQ(f.ComboBox3->Items().Count(), 12);
    EXPECT_EQ(f.ComboBox4->Items()[19], "二十");
    Click(f.skSkinButton4);
    Choose(f.ComboBox3, "八月");
    Click(f.skSkinButton4);
    Choose(f.ComboBox4, "二十");
    Choose(f.ComboBox5, "1950");
    Click(f.skSkinButton3);   // "填为空": no starting year
    Click(f.skSkinButton2);   // no sound file to try
    const std::string wav = data.File.PathOf("生日.wav");
    WriteFileBytes(wav, "RIFF");
    f.Edit2->SetText(wav);
    Click(f.skSkinButton2);
    f.Edit2->SetText("");
    SaveShot(f, "festival-add");
    Click(f.skSkinButton4);
    // Ready for the next entry, the year list filled once.
    EXPECT_EQ(f.Edit1->Text() + f.ComboBox1->Text() + f.ComboBox2->Text() + f.ComboBox3->Text(), "");
    EXPECT_EQ(f.ComboBox3->Items().Count(), 0);   // until the next calendar choice
    EXPECT_EQ(f.ComboBox5->Items().Count(), 101);
    EXPECT_EQ(Formjrbj->DBGrid1->RowCount(), 1);
    Click(f.skSkinButton5);
  });
  Click(Formjrbj->skSkinButton1);
  ASSERT_EQ(boxes.Calls.size(), 5u);
  const char* messages[] = {"节日名称不能为空！", "节日类型不能为空！", "节日日期不能为空！", "节日日期不能为空！",
                            "没有找到语音文件"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(boxes.Calls[i].Text, messages[i]);
  ASSERT_EQ(sounds.Played.size(), 1u);
  EXPECT_NE(sounds.Played[0].find("生日.wav"), std::string::npos);
  TDateTime expected = 0;
  ASSERT_TRUE(FestivalDate("阴历", "08-20", 2026, expected));
  const std::string row = "select jrlx||'|'||rqlx||'|'||jrhyfrq||'|'||realyr||'|'||qsnf||'|'||qrbz||'|'||zdyf from sz_jrb";
  EXPECT_EQ(data.Value(row), "生日(周岁)|阴历|八月二十|08-20||0|1");
  EXPECT_EQ(data.Value("select realrq from sz_jrb"), FormatDateTime("yyyy-mm-dd", expected));
}

TEST_F(GridLists, EditsALunarFestivalUnchanged) {
  data.Exec("delete from sz_jrb");
  data.Exec("insert into sz_jrb (jrmc, jrlx, rqlx, jryf, jrrq, qsnf, yypath, jrhyfrq, realyr, zdyf, qrbz, realrq) "
            "values ('元宵', '节日(第几个)', '阴历', '正月', '十五', '', '', '正月十五', '01-15', '1', '1', '2026-03-03')");
  const std::string before = data.Value("select jrmc||jrlx||rqlx||jryf||jrrq||qsnf||jrhyfrq||realyr||qrbz from sz_jrb");
  Formjrbj->Show();
  SaveShot(*Formjrbj, "festival-list");
  TFormxgrq& f = *Formxgrq;
  WhileModal edit([&] {
    EXPECT_EQ(f.ComboBox3->Text() + f.ComboBox4->Text() + "|" + f.ComboBox2->Text(), "正月十五|阴历");
    EXPECT_EQ(f.ComboBox3->Items()[0], "正月");   // the lunar lists, once
    EXPECT_EQ(f.ComboBox4->Items().Count(), 30);
    EXPECT_EQ(f.ComboBox5->Items().Count(), 101);
    SaveShot(f, "festival-edit");
    Click(f.skSkinButton4);
  });
  Click(Formjrbj->skSkinButton2);
  EXPECT_FALSE(f.Visible());
  ASSERT_EQ(boxes.Calls.size(), 1u);
  EXPECT_EQ(boxes.Calls[0].Text, "修改成功！");
  EXPECT_EQ(data.Value("select jrmc||jrlx||rqlx||jryf||jrrq||qsnf||jrhyfrq||realyr||qrbz from sz_jrb"), before);
  EXPECT_EQ(data.Value("select realrq from sz_jrb"), "2026-03-03");
}

TEST_F(GridLists, FestivalsDeleteOnlyWhenConfirmed) {
  data.Exec("delete from sz_jrb");
  Formjrbj->Show();
  Click(Formjrbj->skSkinButton2);   // empty: nothing asked, nothing opened
  Click(Formjrbj->skSkinButton3);
  Click(Formjrbj->skSkinButton4);
  EXPECT_TRUE(boxes.Calls.empty());
  for (const char* name : {"甲", "乙", "丙"})
    data.Exec(std::string("insert into sz_jrb (jrmc, rqlx, realyr) values ('") + name + "', '阳历', '05-01')");
  Formjrbj->Close();
  Formjrbj->Show();
  boxes.Answer = IDNO;
  Click(Formjrbj->skSkinButton3);
  Click(Formjrbj->skSkinButton4);
  EXPECT_EQ(Festivals(), "甲,乙,丙");
  boxes.Answer = IDYES;
  Click(Formjrbj->skSkinButton3);
  EXPECT_EQ(Festivals(), "乙,丙");
  EXPECT_EQ(Formjrbj->DBGrid1->RowCount(), 2);
  Click(Formjrbj->skSkinButton4);
  EXPECT_EQ(data.Value("select count(*) from sz_jrb"), "0");
  ASSERT_EQ(boxes.Calls.size(), 4u);
  EXPECT_EQ(boxes.Calls[0].Text + boxes.Calls[1].Text, "您确定要删除此条记录吗？您确定要清空所有节日记录吗？");
  EXPECT_EQ(boxes.Calls[0].Caption, "询问");
}

TEST_F(GridLists, MemoListEditsAndDeletes) {
  data.Exec("delete from sz_bwlb");
  data.Exec("insert into sz_bwlb (yybz, ylsj, yinlsj, nr, tqtsts, gqzdsc, chts, xssj, fzbz, qrbz) values "
            "('0', '2026-9-25', '2026-9-25', '中秋', '1天', '0天', '每1年', '八月 十五', '0', '1')");
  data.Exec("insert into sz_bwlb (yybz, ylsj, nr, tqtsts, gqzdsc, chts, xssj, fzbz, qrbz) values "
            "('1', NULL, '无日期', '0天', '0天', '每0天', '', '0', '0')");
  TFormbwlcx& list = *Formbwlcx;
  list.Show();
  EXPECT_EQ(list.DBGrid1->RowCount(), 2);
  EXPECT_EQ(list.DBGrid1->Cells(0, 1), "");   // a NULL date shows empty
  WhileModal edit([&] {
    EXPECT_TRUE(Formbwxg->rb2->Checked());
    EXPECT_EQ(Formbwxg->ComboBox1->Text() + Formbwxg->ComboBox2->Text(), "八月十五");
    Click(Formbwxg->BitBtn2);
  });
  Click(list.skSkinButton1);
  EXPECT_EQ(data.Value("select qrbz from sz_bwlb where nr='中秋'"), "0");
  Click(list.skSkinButton2);
  EXPECT_EQ(data.Value("select nr from sz_bwlb"), "无日期");
  Click(list.skSkinButton4);
  EXPECT_EQ(data.Value("select count(*) from sz_bwlb"), "0");
  EXPECT_EQ(list.DBGrid1->RowCount(), 0);
  Click(list.skSkinButton4);   // empty: not asked again
  ASSERT_EQ(boxes.Calls.size(), 2u);
  EXPECT_EQ(boxes.Calls[0].Text + boxes.Calls[1].Text, "您确定要删除此条记录吗？您确定要清除空所有备忘数据吗？");
}

// A reminder time shows in the program's date and time formats, and it and the memo date
// fit their columns uncut, in the grid's own font and inside the list view's padding of
// 5 px on either side of a label: the time as the add dialog stores it and the widest the
// hours give.
TEST_F(GridLists, MemoListShowsADateAndTimeWhole) {
  data.Exec("delete from sz_bwlb");
  data.Exec("insert into sz_bwlb (yybz, ylsj, yinlsj, nr, tqtsts, gqzdsc, chts, xssj, fzbz, qrbz) values "
            "('1', '2025-09-29 08:32:00', '2025-09-29', '体检', '1天', '0天', '每0天', '2025年09月29日 08:32 周一', '1', '1'), "
            "('1', '2028-12-28 23:58:58', '2028-12-28', '年终', '0天', '0天', '每0天', '2028年12月28日 23:58 周四', '1', '1')");
  TFormbwlcx& list = *Formbwlcx;
  list.Show();
  SaveShot(list, "memo-list");
  ASSERT_EQ(list.DBGrid1->Cells(0, 0), "2025-09-29 8:32:00");
  ASSERT_EQ(list.DBGrid1->Cells(0, 1), "2028-12-28 23:58:58");
  const HWND grid = list.DBGrid1->Handle();
  for (int column : {0, 1})
    for (int row = 0; row < 2; ++row) {
      RECT cell{LVIR_LABEL, column, 0, 0};
      SendMessageW(grid, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
      const std::wstring shown = Wide(list.DBGrid1->Cells(column, row));
      const int text = int(SendMessageW(grid, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(shown.c_str())));
      ASSERT_GT(text, 0);
      EXPECT_LE(text + 2 * 5, cell.right - cell.left)
          << list.DBGrid1->Cells(column, row) << ": text " << text << ", label " << cell.right - cell.left;
    }
  // Every column shows beside a vertical scroll bar without a horizontal one.
  int total = 0;
  for (int i = 0; i < list.DBGrid1->Columns().Count(); ++i)
    if (list.DBGrid1->Columns().Items(i)->Visible()) total += list.DBGrid1->Columns().Items(i)->Width();
  RECT client{};
  GetClientRect(grid, &client);
  EXPECT_LE(total, client.right - GetSystemMetrics(SM_CXVSCROLL));
}
