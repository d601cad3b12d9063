// The memo dialogs' rules: checks, the texts of a written row, the statements that
// write it, and the way a stored row fills the edit dialog again.
#include "organizer/core/MemoRules.h"

#include <gtest/gtest.h>

#include "app/core/dbhouse.h"
#include "calendar/core/LunarDate.h"
#include "framework/rtl/SysUtils.h"
#include "organizer/core/OrganizerLists.h"
#include "tests/db/DataFileCopy.h"

namespace {

const TDateTime kToday = EncodeDate(2024, 6, 1);

TMemoInput Choices(int notice, int keep, int repeat) {
  TMemoInput in;
  const auto days = DayCountItems(), repeats = RepeatItems();
  in.NoticeIndex = notice;
  in.NoticeText = notice >= 0 ? days[notice] : "";
  in.KeepIndex = keep;
  in.KeepText = keep >= 0 ? days[keep] : "";
  in.RepeatIndex = repeat;
  in.RepeatText = repeat >= 0 ? repeats[repeat] : "";
  return in;
}

TMemoInput Lunar(const std::string& month, const std::string& day, int repeat = 32 /* 每1年 */) {
  TMemoInput in = Choices(3, 2, repeat);
  in.Solar = false;
  in.LunarMonth = month;
  in.LunarDay = day;
  return in;
}

}  // namespace

TEST(MemoRules, ListsOfTheDialog) {
  const auto days = DayCountItems(), repeats = RepeatItems(), lunarDays = MemoLunarDayItems();
  ASSERT_EQ(days.size(), 16u);
  EXPECT_EQ(days[0] + days[1] + days[15], "从不1天15天");
  ASSERT_EQ(repeats.size(), 34u);
  EXPECT_EQ(repeats[0] + repeats[1] + repeats[30] + repeats[31] + repeats[32], "从不每1天每30天每1月每1年");
  EXPECT_EQ(repeats[33], "");
  ASSERT_EQ(lunarDays.size(), 32u);
  EXPECT_EQ(lunarDays[29] + "|" + lunarDays[30] + "|" + lunarDays[31], "三十||");
}

TEST(MemoRules, FirstFailingCheckWins) {
  struct Case {
    TMemoInput In;
    TMemoField Field;
    const char* Message;
  };
  const Case cases[] = {
      {Choices(-1, -1, -1), TMemoField::Notice, "提前提示天数不能为空！"},
      {Choices(0, -1, -1), TMemoField::Keep, "过期自动删除不能为空！"},
      {Choices(0, 0, -1), TMemoField::Repeat, "重复提示不能为空！"},
      {Choices(0, 0, 0), TMemoField::None, ""},
      {Choices(0, 0, 33), TMemoField::None, ""},   // a solar memo may take the empty repeat item
      {Lunar("八月", "十五", 0), TMemoField::Repeat, "按阴历的话重复提醒请选择“年”或“月”"},
      {Lunar("八月", "十五", 7), TMemoField::Repeat, "按阴历的话重复提醒请选择“年”或“月”"},
      {Lunar("八月", "十五", 33), TMemoField::Repeat, "按阴历的话重复提醒请选择“年”或“月”"},
      {Lunar("八月", "十五", 31), TMemoField::None, ""},
      {Lunar("八月", "十五", 32), TMemoField::None, ""},
  };
  for (const Case& c : cases) {
    const TMemoCheck check = CheckMemoInput(c.In);
    EXPECT_EQ(check.Field, c.Field) << c.Message;
    EXPECT_EQ(check.Message, c.Message);
  }
}

TEST(MemoRules, SolarRowTexts) {
  TMemoInput in = Choices(3, 5, 32);
  in.Date = EncodeDate(2024, 3, 5);
  in.Time = EncodeTime(8, 30, 45, 0);
  in.Text = "交电费";
  in.SoundPath = "C:\\声音\\a.wav";

  in.MinutePrecision = true;
  TMemoRow add = MemoRowFromInput(in, TMemoDialogMode::Add, kToday);
  EXPECT_EQ(add.yybz, "1");
  EXPECT_EQ(add.ylsj, "2024-03-05 08:30:00");
  EXPECT_EQ(add.yinlsj, "2024-03-05");
  EXPECT_EQ(add.xssj, "2024年03月05日 08:30 周二");
  EXPECT_EQ(add.fzbz, "1");
  EXPECT_EQ(add.chts, "每1年");
  EXPECT_EQ(add.tqtsts, "3天");
  EXPECT_EQ(add.gqzdsc, "5天");
  EXPECT_EQ(add.nr, "交电费");
  EXPECT_EQ(add.yypath, "C:\\声音\\a.wav");
  EXPECT_EQ(add.qrbz, "0");
  EXPECT_EQ(MemoRowFromInput(in, TMemoDialogMode::Edit, kToday).ylsj, "2024-03-05 08:30");

  in.MinutePrecision = false;
  for (TMemoDialogMode mode : {TMemoDialogMode::Add, TMemoDialogMode::Edit}) {
    TMemoRow row = MemoRowFromInput(in, mode, kToday);
    EXPECT_EQ(row.ylsj, "2024-03-05");
    EXPECT_EQ(row.yinlsj, row.ylsj);
    EXPECT_EQ(row.xssj, "2024年03月05日 周二");
    EXPECT_EQ(row.fzbz, "0");
  }
}

TEST(MemoRules, NeverIsStoredAsZeroAndLoadsAsNever) {
  TMemoInput in = Choices(0, 0, 0);
  in.Date = kToday;
  TMemoRow row = MemoRowFromInput(in, TMemoDialogMode::Add, kToday);
  EXPECT_EQ(row.tqtsts, "0天");
  EXPECT_EQ(row.gqzdsc, "0天");
  EXPECT_EQ(row.chts, "每0天");
  TMemoLoad load = MemoLoadFromRow(row, kToday);
  EXPECT_EQ(load.NoticeIndex, 0);
  EXPECT_EQ(load.KeepIndex, 0);
  EXPECT_EQ(load.RepeatIndex, 0);
}

TEST(MemoRules, LunarRowIsThisYearsSolarDateZeroPadded) {
  TMemoRow row = MemoRowFromInput(Lunar("八月", "十五"), TMemoDialogMode::Add, kToday);
  EXPECT_EQ(row.yybz, "0");
  EXPECT_EQ(row.ylsj, "2024-09-17");
  EXPECT_EQ(row.yinlsj, "2024-09-17");
  EXPECT_EQ(row.xssj, "八月 十五");
  EXPECT_EQ(row.fzbz, "0");
  EXPECT_EQ(row.chts, "每1年");
}

// Every month name of the list and every day of it converts, and the written date is that
// lunar day of this lunar year.
TEST(MemoRules, EveryLunarMonthAndDayConverts) {
  const auto months = LunarMonthItems(), days = LunarDayItems();
  for (int year : {1950, 2024, 2025, 2099}) {
    const TDateTime today = EncodeDate(year, 5, 20);
    for (int m = 0; m < 12; ++m)
      for (int d = 0; d < 30; ++d) {
        const std::string ylsj = MemoRowFromInput(Lunar(months[m], days[d]), TMemoDialogMode::Add, today).ylsj;
        ASSERT_EQ(ylsj.size(), 10u) << ylsj;
        int sd = 0, sm = 0, sy = 0;
        if (!LunarToSolar(year, m + 1, d + 1, false, sd, sm, sy)) {
          EXPECT_EQ(ylsj, FormatDateTime("yyyy-mm-dd", today)) << months[m] << days[d];
          continue;
        }
        const TDateTime due = StrToDate(ylsj);
        bool leap = true;
        int ld = 0, lm = 0, ly = 0;
        ASSERT_TRUE(SolarToLunar(YearOf(due), MonthOf(due), DayOf(due), leap, ld, lm, ly));
        EXPECT_EQ(lm * 100 + ld, (m + 1) * 100 + d + 1) << year << months[m] << days[d];
        EXPECT_FALSE(leap);
        EXPECT_EQ(ly, year);
      }
  }
}

TEST(MemoRules, LunarMemoWithoutMonthOrDayRaises) {
  EXPECT_THROW(MemoRowFromInput(Lunar("", "十五"), TMemoDialogMode::Add, kToday), EConvertError);
  EXPECT_THROW(MemoRowFromInput(Lunar("八月", ""), TMemoDialogMode::Edit, kToday), EConvertError);
}

TEST(MemoRules, LoadsStoredRows) {
  const TDateTime now = EncodeDateTime(2024, 6, 1, 14, 25, 36, 500);
  TMemoRow solar;
  solar.Iid = 42;
  solar.yybz = "1";
  solar.ylsj = "2024-3-5 8:30:00";   // an older unpadded row
  solar.fzbz = "1";
  solar.nr = "开会";
  solar.tqtsts = "2天";
  solar.gqzdsc = "15天";
  solar.chts = "每1月";
  solar.yypath = "a.wav";
  TMemoLoad load = MemoLoadFromRow(solar, now);
  EXPECT_TRUE(load.Solar && load.MinutePrecision && load.SetDates);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", load.Date), "2024-03-05 08:30:00");
  EXPECT_EQ(FormatDateTime("hh:nn:ss", load.Time), "08:30:00");
  EXPECT_EQ(load.Text, "开会");
  EXPECT_EQ(load.NoticeIndex, 2);
  EXPECT_EQ(load.KeepIndex, 15);
  EXPECT_EQ(load.RepeatIndex, 31);
  EXPECT_EQ(load.SoundPath, "a.wav");
  EXPECT_EQ(load.Iid, "42");

  solar.fzbz = "0";
  solar.ylsj = "2024-03-05";
  load = MemoLoadFromRow(solar, now);
  EXPECT_FALSE(load.MinutePrecision);
  EXPECT_EQ(load.Date, EncodeDate(2024, 3, 5));
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", load.Time), "14:25:36.000");

  TMemoRow lunar;
  lunar.yybz = "0";
  lunar.chts = "每2年";   // no such item
  struct Case {
    const char* Xssj;
    int Month, Day;
  };
  const Case cases[] = {{"八月 十五", 7, 14}, {"十二月  三十 ", 11, 29}, {"冬月 初一", -1, 0},
                        {"八月 ", 7, 30},     {"八月", 7, -1},            {"", -1, -1}};
  for (const Case& c : cases) {
    lunar.xssj = c.Xssj;
    load = MemoLoadFromRow(lunar, now);
    EXPECT_FALSE(load.Solar || load.MinutePrecision || load.SetDates);
    EXPECT_EQ(load.LunarMonthIndex, c.Month) << c.Xssj;
    EXPECT_EQ(load.LunarDayIndex, c.Day) << c.Xssj;
    EXPECT_EQ(load.RepeatIndex, -1);
  }
}

TEST(MemoRules, InsertAndUpdateWriteTheRow) {
  DataFileCopy file;
  TComponent owner(nullptr);
  auto* house = new Tdbhouse(&owner);
  house->democnn->SetConnectionString(DataConnectionString(file.Folder()));
  house->democnn->Open();
  TADOQuery& q = *house->qbw1;
  auto count = [&] {
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("select * from sz_bwlb order by iid ");
    q.Open();
    return q.RecordCount();
  };
  const int before = count();

  TMemoInput in = Choices(1, 2, 32);
  in.Date = EncodeDate(2024, 3, 5);
  in.Time = EncodeTime(8, 30, 0, 0);
  in.MinutePrecision = true;
  in.Text = "生日 'quoted' :iid";
  TMemoRow row = MemoRowFromInput(in, TMemoDialogMode::Add, kToday);
  InsertMemo(*house->qbw, row);
  ASSERT_EQ(count(), before + 1);
  q.Last();
  TMemoRow stored = ReadMemoRow(q);
  EXPECT_GT(stored.Iid, 0);
  EXPECT_EQ(stored.ylsj, "2024-03-05 08:30:00");
  EXPECT_EQ(stored.xssj, "2024年03月05日 08:30 周二");
  EXPECT_EQ(stored.nr, in.Text);
  EXPECT_EQ(stored.qrbz, "0");

  TMemoRow edited = MemoRowFromInput(Lunar("正月", "初一"), TMemoDialogMode::Edit, kToday);
  edited.Iid = stored.Iid;
  UpdateMemo(*house->qbw, edited);
  ASSERT_EQ(count(), before + 1);
  q.Last();
  stored = ReadMemoRow(q);
  EXPECT_EQ(stored.yybz, "0");
  EXPECT_EQ(stored.ylsj, "2024-02-10");
  EXPECT_EQ(stored.xssj, "正月 初一");
  EXPECT_EQ(stored.tqtsts, "3天");
}
