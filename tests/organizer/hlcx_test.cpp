// The almanac window under Wine with the shipped library, a missing one and a damaged one.
#include <gtest/gtest.h>

#include <filesystem>

#include "almanac/core/Almanac.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Dialogs.h"
#include "organizer/core/AlmanacQuery.h"
#include "organizer/win/hlcx.h"
#include "tests/db/DataFileCopy.h"
#include "tests/organizer/WinShot.h"

namespace {

class AlmanacWindow : public testing::Test {
protected:
  void SetUp() override {
    EnsureApplication();
    SetClockSource([] { return EncodeDateTime(2026, 2, 17, 9, 30, 0, 0); });
    SetExeFolder(std::string(VORPEN_DIST_DIR) + "\\");
    form = NewForm<TFormhlcx>(nullptr);
  }
  void TearDown() override {
    delete form;
    SetExeFolder("");
    SetClockSource(nullptr);
  }
  std::vector<std::string> Shown() {
    std::vector<std::string> lines;
    for (const std::string& l : form->Memo1->Lines().List()) lines.push_back(l);
    return lines;
  }
  static void Click(TWinControl* c) { SendMessageW(c->Handle(), BM_CLICK, 0, 0); }

  TFormhlcx* form = nullptr;
  MessageBoxRecorder boxes;
};

}  // namespace

TEST_F(AlmanacWindow, ShowsTodaysAlmanacAndRefillsTheLunarLists) {
  EXPECT_FALSE(form->Library());   // nothing loaded before the window needs it
  form->Show();
  SaveShot(*form, "almanac-today");
  EXPECT_EQ(form->dt1->Date(), EncodeDate(2026, 2, 17));
  EXPECT_TRUE(form->Library()->Loaded());
  EXPECT_EQ(Shown(), SplitAlmanacAnswer(AlmanacText(2026, 2, 17)));
  EXPECT_EQ(Shown()[1], "农历：丙午年（马年）正月初一");
  form->Close();
  form->Show();
  EXPECT_EQ(form->ComboBox3->Items().Count(), 12);
  EXPECT_EQ(form->ComboBox4->Items().Count(), 30);
  EXPECT_TRUE(boxes.Calls.empty());
}

TEST_F(AlmanacWindow, QueriesAPickedSolarDayAndALunarDayOfThisYear) {
  form->Show();
  form->dt1->SetDate(EncodeDate(1949, 10, 1));
  Click(form->BitBtn1);
  EXPECT_EQ(Shown(), AlmanacLines(1949, 10, 1));

  Click(form->rb2);
  EXPECT_FALSE(form->dt1->Enabled());
  EXPECT_TRUE(form->ComboBox3->Enabled() && form->ComboBox4->Enabled());
  form->ComboBox3->SetText("八月");
  form->ComboBox4->SetText("十五");
  Click(form->BitBtn1);
  SaveShot(*form, "almanac-lunar");
  EXPECT_EQ(Shown(), AlmanacLines(2026, 9, 25));   // 中秋 of this year

  Click(form->rb1);
  EXPECT_TRUE(form->dt1->Enabled());
  EXPECT_FALSE(form->ComboBox3->Enabled() || form->ComboBox4->Enabled());
  EXPECT_TRUE(boxes.Calls.empty());
}

TEST_F(AlmanacWindow, EmptyLunarChoiceKeepsTheAnswerAndAsksForIt) {
  form->Show();
  const std::vector<std::string> before = Shown();
  Click(form->rb2);
  form->ComboBox3->SetText("正月");
  Click(form->BitBtn1);
  EXPECT_EQ(Shown(), before);
  ASSERT_EQ(boxes.Calls.size(), 1u);
  EXPECT_EQ(boxes.Calls[0].Text, LunarChoiceMissingText);
}

TEST_F(AlmanacWindow, MissingOrDamagedLibraryIsSaidInTheWindowOnly) {
  DataFileCopy folder;   // a folder of its own, without the library
  SetExeFolder(folder.Folder());
  form->Show();
  EXPECT_EQ(form->Memo1->Text().find("找不到黄历库 Almanac.dll"), 0u);
  EXPECT_FALSE(form->Library()->Loaded());

  WriteFileBytes(folder.PathOf("Almanac.dll"), "MZ not a library");
  Click(form->BitBtn1);
  EXPECT_EQ(form->Memo1->Text().find("黄历库 Almanac.dll 无法加载"), 0u);

  // Once the library is back, the next query loads it.
  std::filesystem::copy_file(Utf8Path(std::string(VORPEN_DIST_DIR) + "/Almanac.dll"), Utf8Path(folder.PathOf("Almanac.dll")),
                             std::filesystem::copy_options::overwrite_existing);
  Click(form->BitBtn1);
  EXPECT_EQ(Shown(), AlmanacLines(2026, 2, 17));
  EXPECT_TRUE(boxes.Calls.empty());
  EXPECT_TRUE(form->Visible());
}
