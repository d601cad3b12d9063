// The festival dialogs' rules: checks, the texts of a written row, and the statements
// against a private copy of the data file (the row's date of the year is written at once).
#include "organizer/core/FestivalRules.h"

#include <gtest/gtest.h>

#include "app/core/Startup.h"
#include "framework/rtl/SysUtils.h"
#include "tests/app/DataModule.h"

TEST(FestivalRules, FirstFailingCheckWins) {
  const std::pair<TFestivalInput, const char*> cases[] = {
      {{"", "", "", "", "", "", ""}, "节日名称不能为空！"},
      {{"春节", "", "阴历", "正月", "初一", "", ""}, "节日类型不能为空！"},
      {{"春节", "节日(第几个)", "阴历", "", "初一", "", ""}, "节日日期不能为空！"},
      {{"春节", "节日(第几个)", "阴历", "正月", "", "", ""}, "节日日期不能为空！"},
      {{"春节", "节日(第几个)", "", "正月", "初一", "", ""}, ""},   // the calendar is not checked
      {{"纪念日", "纪念日(周年)", "阳历", "2月", "30日", "", ""}, "节日日期不存在！"},
      {{"纪念日", "纪念日(周年)", "阳历", "4月", "31日", "", ""}, "节日日期不存在！"},
      {{"纪念日", "纪念日(周年)", "阳历", "2月", "29日", "", ""}, ""},   // comes round in leap years
      {{"纪念日", "纪念日(周年)", "阴历", "二月", "三十", "", ""}, ""}}; // long lunar months have it
  for (const auto& [in, message] : cases) EXPECT_EQ(CheckFestivalInput(in).Message, message);
  EXPECT_EQ(CheckFestivalInput(cases[3].first).Field, TFestivalField::Day);
}

TEST(FestivalRules, RowTextsOfBothCalendars) {
  struct {
    const char *Calendar, *Month, *Day, *Realyr, *Shown;
  } const cases[] = {{"阳历", "5月", "1日", "05-01", "5月1日"},     {"阳历", "12月", "31日", "12-31", "12月31日"},
                     {"阴历", "正月", "十五", "01-15", "正月十五"}, {"阴历", "八月", "二十", "08-20", "八月二十"},
                     {"", "十二月", "三十", "12-30", "十二月三十"}};   // any other calendar is lunar
  for (const auto& c : cases) {
    const TFestivalRow row = FestivalRowFromInput({"名", "生日(周岁)", c.Calendar, c.Month, c.Day, "", "a.wav"});
    EXPECT_EQ(row.realyr + "|" + row.jrhyfrq, std::string(c.Realyr) + "|" + c.Shown);
    EXPECT_EQ(row.jryf + row.jrrq + "|" + row.qsnf + "|" + row.zdyf + "|" + row.rqlx, std::string(c.Month) + c.Day + "||1|" + c.Calendar);
  }
}

TEST(FestivalRules, DatePartsOfTheOtherCalendarAreRefused) {
  const std::pair<const char*, const char*> bad[] = {{"正月", "初一"}, {"13月", "1日"}, {"1月", "32日"}, {"月", "1日"}};
  for (const auto& [month, day] : bad)
    EXPECT_THROW(FestivalRowFromInput({"名", "生日(周岁)", "阳历", month, day, "", ""}), EConvertError) << month << day;
  EXPECT_THROW(FestivalRowFromInput({"名", "生日(周岁)", "阴历", "5月", "1日", "", ""}), EConvertError);
}

TEST(FestivalRules, WrittenRowsCarryThisYearsDate) {
  DataModule data;
  TFestivalRow row = FestivalRowFromInput({"奶奶生日", "生日(周岁)", "阴历", "八月", "二十", "", ""});
  InsertFestival(*dbhouse->qins, row, 2026);
  TDateTime expected = 0;
  ASSERT_TRUE(FestivalDate("阴历", "08-20", 2026, expected));
  const std::string where = " from sz_jrb where jrmc='奶奶生日'";
  EXPECT_EQ(data.Value("select realrq" + where), FormatDateTime("yyyy-mm-dd", expected));
  EXPECT_EQ(data.Value("select qrbz" + where) + "|" + data.Value("select qsnf" + where) + "|" +
                data.Value("select realyr" + where),
            "0||08-20");

  row.Iid = StrToInt(data.Value("select iid" + where));
  row.rqlx = "阳历", row.jryf = "2月", row.jrrq = "29日", row.realyr = "02-29";
  UpdateFestival(*dbhouse->qins, row, 2026);   // a common year takes 02-28, as at start-up
  EXPECT_EQ(data.Value("select realrq" + where), "2026-02-28");
  row.realyr = "02-30";
  UpdateFestival(*dbhouse->qins, row, 2026);
  EXPECT_EQ(data.Value("select realrq is null" + where), "1");
}

// A confirmed festival changed to another date is reminded again, as start-up does for a
// date that moves; saved on its own date it stays confirmed, also through the next start.
TEST(FestivalRules, AConfirmedFestivalMovedByTheEditorIsRemindedAgain) {
  DataModule data;
  data.Exec("delete from sz_jrb");
  TFestivalRow row = FestivalRowFromInput({"生日", "生日(周岁)", "阳历", "6月", "3日", "", ""});
  InsertFestival(*dbhouse->qins, row, 2026);
  row.Iid = StrToInt(data.Value("select iid from sz_jrb"));
  data.Exec("update sz_jrb set qrbz='1'");
  UpdateFestival(*dbhouse->qins, row, 2026);
  EXPECT_EQ(data.Value("select qrbz from sz_jrb"), "1");
  row.jrrq = "20日", row.realyr = "06-20";
  UpdateFestival(*dbhouse->qins, row, 2026);
  EXPECT_EQ(data.Value("select realrq||'|'||qrbz from sz_jrb"), "2026-06-20|0");
  data.Exec("update sz_jrb set qrbz='1'");
  RefreshFestivalDates(*dbhouse, 2026);
  EXPECT_EQ(data.Value("select qrbz from sz_jrb"), "1");
}
