// The memo dialogs' rules: checks, the texts of a written row, and how a stored row loads.
#include "organizer/core/MemoRules.h"

#include <gtest/gtest.h>

#include "app/core/MemoReminder.h"
#include "calendar/core/LunarDate.h"
#include "framework/rtl/SysUtils.h"
#include "organizer/core/OrganizerLists.h"

namespace {

TMemoInput Choices(int notice, int keep, int repeat, bool solar = true) {
  const auto days = DayCountItems(), repeats = RepeatItems();
  TMemoInput in;
  in.Solar = solar;
  in.NoticeIndex = notice, in.NoticeText = notice >= 0 ? days[notice] : "";
  in.KeepIndex = keep, in.KeepText = keep >= 0 ? days[keep] : "";
  in.RepeatIndex = repeat, in.RepeatText = repeat >= 0 ? repeats[repeat] : "";
  return in;
}

}  // namespace

TEST(MemoRules, FirstFailingCheckWins) {
  const char* lunarRepeat = "按阴历的话重复提醒请选择“年”或“月”";
  const std::pair<TMemoInput, const char*> cases[] = {
      {Choices(-1, -1, -1), "提前提示天数不能为空！"}, {Choices(0, -1, -1), "过期自动删除不能为空！"},
      {Choices(0, 0, -1), "重复提示不能为空！"},       {Choices(0, 0, 33), ""},
      {Choices(0, 0, 0, false), lunarRepeat},         {Choices(0, 0, 7, false), lunarRepeat},
      {Choices(0, 0, 33, false), lunarRepeat},        {Choices(0, 0, 31, false), ""},
      {Choices(0, 0, 32, false), ""}};
  for (const auto& [in, message] : cases) EXPECT_EQ(CheckMemoInput(in).Message, message);
}

TEST(MemoRules, SolarRowTexts) {
  TMemoInput in = Choices(3, 0, 32);
  in.Date = EncodeDate(2024, 3, 5);
  in.Time = EncodeTime(8, 30, 45, 0);
  in.MinutePrecision = true;
  const TMemoRow add = MemoRowFromInput(in, TMemoDialogMode::Add, 0);
  EXPECT_EQ(add.yybz + "|" + add.ylsj + "|" + add.yinlsj + "|" + add.fzbz + "|" + add.qrbz, "1|2024-03-05 08:30:00|2024-03-05|1|0");
  EXPECT_EQ(add.xssj, "2024年03月05日 08:30 周二");
  EXPECT_EQ(add.tqtsts + add.gqzdsc + add.chts, "3天0天每1年");
  EXPECT_EQ(MemoRowFromInput(in, TMemoDialogMode::Edit, 0).ylsj, "2024-03-05 08:30");
  in.MinutePrecision = false;
  in.RepeatText = "从不";
  const TMemoRow day = MemoRowFromInput(in, TMemoDialogMode::Add, 0);
  EXPECT_EQ(day.ylsj + "|" + day.yinlsj + "|" + day.fzbz + "|" + day.chts, "2024-03-05|2024-03-05|0|每0天");
  EXPECT_EQ(day.xssj, "2024年03月05日 周二");
}

// Every month and day of the lists converts, and the written date (zero-padded) is the
// first one from today on with that lunar month and day (a 30th the month lacks: its
// 29th), whatever the day of the year the memo is added on. Found here day by day.
TEST(MemoRules, LunarRowIsTheOccurrenceNotYetPast) {
  const auto months = LunarMonthItems(), days = LunarDayItems();
  struct Day { int month, day; bool leap, last; };
  for (TDateTime today : {EncodeDate(1950, 5, 20), EncodeDate(2026, 1, 5), EncodeDate(2026, 2, 17),
                          EncodeDate(2026, 12, 31), EncodeDate(2099, 1, 10)}) {
    std::vector<Day> lunar;
    for (TDateTime t = today; t < today + 400; t += 1) {
      Day x{};
      int next, month;
      ASSERT_TRUE(SolarToLunar(YearOf(t), MonthOf(t), DayOf(t), x.leap, x.day, x.month, month));
      ASSERT_TRUE(SolarToLunar(YearOf(t + 1), MonthOf(t + 1), DayOf(t + 1), x.last, next, month, month));
      x.last = next == 1;
      lunar.push_back(x);
    }
    for (int m = 0; m < 12; ++m)
      for (int d = 0; d < 30; ++d) {
        TMemoInput in = Choices(0, 0, 32, false);
        in.LunarMonth = months[m], in.LunarDay = days[d];
        const TMemoRow row = MemoRowFromInput(in, TMemoDialogMode::Add, today);
        ASSERT_EQ(row.ylsj, row.yinlsj);
        ASSERT_EQ(row.xssj, months[m] + " " + days[d]);
        size_t i = 0;
        while (i < lunar.size() && !(lunar[i].month == m + 1 && !lunar[i].leap &&
                                     (lunar[i].day == d + 1 || (d == 29 && lunar[i].last))))
          ++i;
        ASSERT_LT(i, lunar.size());
        EXPECT_EQ(row.ylsj, FormatDateTime("yyyy-mm-dd", today + double(i))) << row.xssj;
      }
  }
  TMemoInput in = Choices(0, 0, 32, false);
  in.LunarMonth = "腊月", in.LunarDay = "廿三";
  EXPECT_EQ(MemoRowFromInput(in, TMemoDialogMode::Add, EncodeDate(2026, 1, 5)).ylsj, "2026-02-10");
  in.LunarMonth = "八月", in.LunarDay = "十五";
  EXPECT_EQ(MemoRowFromInput(in, TMemoDialogMode::Add, EncodeDate(2024, 1, 1)).ylsj, "2024-09-17");
  EXPECT_EQ(MemoRowFromInput(in, TMemoDialogMode::Add, EncodeDate(2150, 1, 1)).ylsj, "2150-01-01");
  in.LunarDay = "";
  EXPECT_THROW(MemoRowFromInput(in, TMemoDialogMode::Add, 0), EConvertError);
}

// A monthly lunar memo whose month has passed this lunar year starts at its day's next
// occurrence, named after that month; one whose month is still to come starts there.
TEST(MemoRules, MonthlyLunarRowOfAPastMonthStartsAtTheNextOccurrence) {
  const std::tuple<const char*, const char*, TDateTime, const char*> cases[] = {
      {"正月", "初一", EncodeDate(2028, 4, 10), "2028-04-25|四月 初一"},
      {"八月", "十五", EncodeDate(2028, 4, 10), "2028-10-03|八月 十五"},
      {"正月", "三十", EncodeDate(2028, 6, 1), "2028-06-22|五月 三十"},   // a 29-day 五月
  };
  for (auto [month, day, today, expected] : cases) {
    TMemoInput in = Choices(0, 0, 31, false);
    ASSERT_EQ(in.RepeatText, "每1月");
    in.LunarMonth = month, in.LunarDay = day;
    const TMemoRow row = MemoRowFromInput(in, TMemoDialogMode::Add, today);
    EXPECT_EQ(row.ylsj + "|" + row.xssj, expected);
  }
}

// A monthly memo meant for the 31st, on 28 February for now: an edit that leaves the date
// as shown keeps the day it is meant for; a new date or a lunar memo is written as chosen.
TEST(MemoRules, AnEditLeavingTheDateKeepsTheIntendedDay) {
  TMemoRow stored;
  stored.Iid = 7, stored.yybz = "1", stored.fzbz = "1", stored.ylsj = "2026-02-28 08:30", stored.yinlsj = "2026-01-31";
  stored.tqtsts = "0天", stored.gqzdsc = "0天", stored.chts = "每1月", stored.xssj = "2026年02月28日 08:30 周六";
  const TMemoLoad load = MemoLoadFromRow(stored, 0);
  TMemoInput in = Choices(load.NoticeIndex, load.KeepIndex, load.RepeatIndex);
  in.MinutePrecision = true, in.Date = load.Date, in.Time = load.Time, in.Text = "改过";
  const std::pair<TDateTime, const char*> cases[] = {{load.Date, "2026-01-31"}, {EncodeDate(2026, 2, 27), "2026-02-27"}};
  for (const auto& [date, yinlsj] : cases) {
    in.Date = date;
    TMemoRow row = MemoRowFromInput(in, TMemoDialogMode::Edit, 0);
    KeepIntendedDay(row, stored);
    EXPECT_EQ(row.yinlsj, yinlsj);
  }
  in.Solar = false, in.LunarMonth = "正月", in.LunarDay = "初一";
  TMemoRow row = MemoRowFromInput(in, TMemoDialogMode::Edit, EncodeDate(2026, 2, 20));
  KeepIntendedDay(row, stored);
  EXPECT_EQ(row.yinlsj, row.ylsj);
}

TEST(MemoRules, LoadsStoredRows) {
  const TDateTime now = EncodeDateTime(2024, 6, 1, 14, 25, 36, 500);
  TMemoRow row;
  row.Iid = 42, row.yybz = "1", row.fzbz = "1", row.ylsj = "2024-3-5 8:30:00";   // an older unpadded row
  row.tqtsts = "0天", row.gqzdsc = "15天", row.chts = "每1月";
  TMemoLoad load = MemoLoadFromRow(row, now);
  EXPECT_TRUE(load.Solar && load.MinutePrecision && load.SetDates);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn|", load.Date) + FormatDateTime("hh:nn:ss", load.Time), "2024-03-05 08:30|08:30:00");
  EXPECT_EQ(std::make_tuple(load.NoticeIndex, load.KeepIndex, load.RepeatIndex, load.Iid), std::make_tuple(0, 15, 31, "42"));
  row.fzbz = "0", row.ylsj = "2024-03-05", row.chts = "每0天";
  load = MemoLoadFromRow(row, now);
  EXPECT_FALSE(load.MinutePrecision);
  EXPECT_EQ(load.Date, EncodeDate(2024, 3, 5));
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", load.Time), "14:25:36.000");
  EXPECT_EQ(load.RepeatIndex, 0);

  row.yybz = "0", row.chts = "每2年";
  const std::tuple<const char*, int, int> lunar[] = {
      {"十二月  三十 ", 11, 29}, {"冬月 初一", -1, 0}, {"八月 ", 7, 30}, {"八月", 7, -1}, {" 八月 初一", -1, -1}};
  for (const auto& [xssj, month, day] : lunar) {
    row.xssj = xssj;
    load = MemoLoadFromRow(row, now);
    EXPECT_FALSE(load.Solar || load.MinutePrecision || load.SetDates);
    EXPECT_EQ(std::make_pair(load.LunarMonthIndex, load.LunarDayIndex), std::make_pair(month, day)) << xssj;
    EXPECT_EQ(load.RepeatIndex, -1);
  }
}

// A solar row whose due time is NULL (read as "") or no date opens on today, to be repaired.
TEST(MemoRules, ASolarRowWithoutAReadableDueTimeLoadsToday) {
  const TDateTime now = EncodeDateTime(2024, 6, 1, 14, 25, 36, 0);
  TMemoRow row;
  row.yybz = "1";
  for (const char* ylsj : {"", "明天", "2024-13-40 08:00:00", "2024-06"})
    for (const char* fzbz : {"0", "1"}) {
      row.ylsj = ylsj, row.fzbz = fzbz;
      TMemoLoad load;
      ASSERT_NO_THROW(load = MemoLoadFromRow(row, now)) << ylsj;
      EXPECT_TRUE(load.Solar && load.SetDates);
      EXPECT_EQ(DateOf(load.Date), EncodeDate(2024, 6, 1)) << ylsj << " " << fzbz;
      // to the minute when the memo is minute-precise, else the time of day as it is
      EXPECT_EQ(FormatDateTime("hh:nn:ss", load.Time), *fzbz == '1' ? "14:25:00" : "14:25:36") << ylsj << " " << fzbz;
    }
}

// The rows the dialogs write are read by the memo timer as meant: a minute-precise memo
// fires from its minute on its day, the others fill the board within their notice.
TEST(MemoRules, WrittenRowsRemindAsWritten) {
  const TDateTime now = EncodeDateTime(2026, 9, 20, 8, 30, 20, 0);
  TMemoInput solar = Choices(3, 0, 32);
  solar.Date = EncodeDate(2026, 9, 20), solar.Time = EncodeTime(8, 30, 0, 0), solar.MinutePrecision = true;
  TMemoInput later = solar;
  later.Time = EncodeTime(8, 31, 0, 0);
  TMemoInput day = solar;
  day.Date = EncodeDate(2026, 9, 22), day.MinutePrecision = false;
  TMemoInput lunar = Choices(7, 0, 32, false);
  lunar.LunarMonth = "八月", lunar.LunarDay = "十五";
  const std::tuple<TMemoInput, TMemoDialogMode, bool, const char*> cases[] = {
      {solar, TMemoDialogMode::Add, true, "今日 2026年09月20日 08:30 周日"},
      {solar, TMemoDialogMode::Edit, true, "今日 2026年09月20日 08:30 周日"},
      {later, TMemoDialogMode::Add, false, "今日 2026年09月20日 08:31 周日"},
      {day, TMemoDialogMode::Add, false, "后天 2026年09月22日 周二"},
      {lunar, TMemoDialogMode::Add, false, "5天后 八月 十五"}};
  for (const auto& [in, mode, fires, line] : cases) {
    const TMemoRow row = MemoRowFromInput(in, mode, DateOf(now));
    const TMemoPlan plan = PlanMemoPass({{7, row.ylsj, row.fzbz, row.tqtsts, row.xssj, row.nr}}, now);
    EXPECT_EQ(plan.Due.size(), fires ? 1u : 0u) << row.ylsj;
    ASSERT_EQ(plan.Panels.size(), 1u) << row.ylsj;
    EXPECT_EQ(plan.Panels[0].DateLine, line);
  }
}

// The memo list shows a due time in the program's formats: the hour without its zero, the
// seconds always, a midnight as the date alone; what is no date shows as stored.
TEST(MemoRules, TheListShowsDueTimesInTheProgramsFormats) {
  const std::pair<const char*, const char*> cases[] = {
      {"2025-09-29 08:32:00", "2025-09-29 8:32:00"}, {"2025-09-29 08:30", "2025-09-29 8:30:00"},
      {"2025-09-29 23:59:59", "2025-09-29 23:59:59"}, {"2025-09-29 00:00:00", "2025-09-29"},
      {"2025-10-06", "2025-10-06"}, {"", ""}, {"不是日期", "不是日期"}};
  for (const auto& [stored, shown] : cases) EXPECT_EQ(MemoListTimeText(stored), shown) << stored;
}
