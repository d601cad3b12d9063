#include "organizer/core/FestivalRules.h"

#include "app/core/Startup.h"
#include "calendar/core/LunarDate.h"
#include "framework/db/ADOQuery.h"
#include "framework/rtl/SysUtils.h"
#include "organizer/core/OrganizerLists.h"

const char* const FestivalListSQL = "select * from sz_jrb order by iid ";

std::vector<std::string> FestivalKindItems() { return {"节日(第几个)", "生日(周岁)", "纪念日(周年)", ""}; }

std::vector<std::string> FestivalCalendarItems() { return {"阳历", "阴历"}; }

std::vector<std::string> StartYearItems() {
  std::vector<std::string> items;
  for (int y = 1930; y <= 2030; ++y) items.push_back(std::to_string(y));
  return items;
}

bool IsSolarCalendar(const std::string& rqlx) { return rqlx == "阳历"; }

std::vector<std::string> FestivalMonthItems(bool solar) { return solar ? SolarMonthItems() : LunarMonthItems(); }

std::vector<std::string> FestivalDayItems(bool solar) { return solar ? SolarDayItems() : LunarDayItems(); }

TFestivalCheck CheckFestivalInput(const TFestivalInput& in) {
  if (in.Name.empty()) return {TFestivalField::Name, "节日名称不能为空！"};
  if (in.Kind.empty()) return {TFestivalField::Kind, "节日类型不能为空！"};
  if (in.Month.empty()) return {TFestivalField::Month, "节日日期不能为空！"};
  if (in.Day.empty()) return {TFestivalField::Day, "节日日期不能为空！"};
  // A solar day no year has (2月30日, 4月31日) would never come round.
  int month = 0, day = 0;
  if (IsSolarCalendar(in.Calendar) && in.Month.ends_with("月") && in.Day.ends_with("日") &&
      TryStrToInt(in.Month.substr(0, in.Month.size() - 3), month) && TryStrToInt(in.Day.substr(0, in.Day.size() - 3), day) &&
      month >= 1 && month <= 12 && day > DaysInAMonth(2000, month))
    return {TFestivalField::Day, "节日日期不存在！"};
  return {};
}

namespace {

// "5月" -> "05": the text without its unit character, zero-padded to two digits.
std::string SolarNumber(const std::string& text, std::string_view unit, int last) {
  int n = 0;
  const bool hasUnit = text.size() > unit.size() && text.ends_with(unit);
  if (!hasUnit || !TryStrToInt(text.substr(0, text.size() - unit.size()), n) || n < 1 || n > last)
    throw EConvertError("'" + text + "' is not a valid date part");
  return n < 10 ? "0" + std::to_string(n) : std::to_string(n);
}

std::string Checked(std::string number, const std::string& text) {
  if (number.empty()) throw EConvertError("'" + text + "' is not a valid lunar date part");
  return number;
}

}  // namespace

std::string FestivalMonthNumber(const std::string& month, bool solar) {
  return solar ? SolarNumber(month, "月", 12) : Checked(LunarMonthToNumber(month), month);
}

std::string FestivalDayNumber(const std::string& day, bool solar) {
  return solar ? SolarNumber(day, "日", 31) : Checked(LunarDayToNumber(day), day);
}

TFestivalRow FestivalRowFromInput(const TFestivalInput& in) {
  const bool solar = IsSolarCalendar(in.Calendar);
  TFestivalRow row;
  row.jrmc = in.Name;
  row.jrlx = in.Kind;
  row.rqlx = in.Calendar;
  row.jryf = in.Month;
  row.jrrq = in.Day;
  row.qsnf = in.StartYear;
  row.yypath = in.SoundPath;
  row.jrhyfrq = in.Month + in.Day;
  row.realyr = FestivalMonthNumber(in.Month, solar) + "-" + FestivalDayNumber(in.Day, solar);
  row.zdyf = "1";
  return row;
}

TFestivalRow ReadFestivalRow(TADOQuery& q) {
  TFestivalRow row;
  row.Iid = q.FieldByName("iid").AsInteger();
  std::pair<const char*, std::string*> fields[] = {
      {"jrmc", &row.jrmc}, {"jrlx", &row.jrlx},     {"rqlx", &row.rqlx},       {"jryf", &row.jryf},
      {"jrrq", &row.jrrq}, {"qsnf", &row.qsnf},     {"yypath", &row.yypath},   {"jrhyfrq", &row.jrhyfrq},
      {"realyr", &row.realyr}, {"zdyf", &row.zdyf}};
  for (auto& [name, value] : fields) *value = q.FieldByName(name).AsString();
  return row;
}

namespace {

void SetRowParameters(TADOQuery& q, const TFestivalRow& row, int year, TDateTime today) {
  std::pair<const char*, const std::string*> texts[] = {
      {"jrmc", &row.jrmc}, {"jrlx", &row.jrlx},   {"rqlx", &row.rqlx},       {"jryf", &row.jryf},
      {"jrrq", &row.jrrq}, {"qsnf", &row.qsnf},   {"yypath", &row.yypath},   {"jrhyfrq", &row.jrhyfrq},
      {"realyr", &row.realyr}, {"zdyf", &row.zdyf}};
  for (auto& [name, value] : texts) q.Parameters.ParamByName(name).Value = *value;
  TDateTime date = 0;
  q.Parameters.ParamByName("realrq").Value =
      FestivalDate(row.rqlx, row.realyr, year, date, today) ? TDbValue(date) : TDbValue::Null();
}

}  // namespace

void InsertFestival(TADOQuery& q, const TFestivalRow& row, int year, TDateTime today) {
  q.Close();
  q.SQL.Clear();
  q.SQL.Add("insert into sz_jrb(jrmc,jrlx,rqlx,jryf,jrrq,qsnf,yypath,jrhyfrq,realyr,zdyf,qrbz,realrq )");
  q.SQL.Add("values(:jrmc,:jrlx,:rqlx,:jryf,:jrrq,:qsnf,:yypath,:jrhyfrq,:realyr,:zdyf,:qrbz,:realrq)");
  SetRowParameters(q, row, year, today);
  q.Parameters.ParamByName("qrbz").Value = "0";
  q.ExecSQL();
}

void UpdateFestival(TADOQuery& q, const TFestivalRow& row, int year, TDateTime today) {
  // A festival moved to another date is reminded again, though confirmed for the old one.
  q.Close();
  q.SQL.Clear();
  q.SQL.Add("select realrq from sz_jrb where iid= :iid ");
  q.Parameters.ParamByName("iid").Value = row.Iid;
  q.Open();
  TDateTime date = 0, old = 0;
  const bool moved = FestivalDate(row.rqlx, row.realyr, year, date, today) &&
                     (q.IsEmpty() || !TryStrToDateTime(q.FieldByName("realrq").AsString(), old) || DateOf(old) != date);
  q.Close();
  q.SQL.Clear();
  q.SQL.Add(
      "update sz_jrb set jrmc= :jrmc,jrlx= :jrlx,rqlx= :rqlx,jryf= :jryf,jrrq= :jrrq,qsnf= :qsnf,yypath= :yypath,"
      "jrhyfrq= :jrhyfrq,realyr= :realyr,zdyf= :zdyf,realrq= :realrq" +
      std::string(moved ? ",qrbz= '0'" : "") + " where iid= :iid ");
  SetRowParameters(q, row, year, today);
  q.Parameters.ParamByName("iid").Value = row.Iid;
  q.ExecSQL();
}
