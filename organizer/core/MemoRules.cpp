#include "organizer/core/MemoRules.h"

#include <algorithm>

#include "calendar/core/LunarDate.h"
#include "framework/db/ADOQuery.h"
#include "framework/rtl/SysUtils.h"
#include "organizer/core/OrganizerLists.h"

namespace {

const char* const kNever = "从不";

std::string DateText(TDateTime dt) { return FormatDateTime("yyyy-mm-dd", dt); }
std::string TimeText(TDateTime dt) { return FormatDateTime("hh:nn", dt); }

// "2024年03月05日"
std::string ChineseDateText(TDateTime dt) {
  return FormatDateTime("yyyy", dt) + "年" + FormatDateTime("mm", dt) + "月" + FormatDateTime("dd", dt) + "日";
}

// The chosen lunar month and day's first solar date from today on (a 30th the month
// lacks is its last day), or today when the calendar has none. A monthly memo whose month
// has passed in this lunar year starts at its day's next occurrence in any month, and
// `month` becomes that month's name.
std::string LunarDueDate(const TMemoInput& input, TDateTime today, std::string& month) {
  const int m = StrToInt(LunarMonthToNumber(input.LunarMonth));
  const int day = StrToInt(LunarDayToNumber(input.LunarDay));
  month = input.LunarMonth;
  TDateTime due;
  bool shortMonth;
  if (!NextLunarDate(m, day, today, due, shortMonth)) return DateText(today);
  int y, mm, d, cnDay, cnMonth, thisYear, dueYear;
  bool leap;
  DecodeDate(today, y, mm, d);
  const bool known = SolarToLunar(y, mm, d, leap, cnDay, cnMonth, thisYear);
  DecodeDate(due, y, mm, d);
  if (known && SolarToLunar(y, mm, d, leap, cnDay, cnMonth, dueYear) && dueYear > thisYear &&
      input.RepeatText.find("月") != std::string::npos && NextLunarDayDate(day, today, due, shortMonth)) {
    DecodeDate(due, y, mm, d);
    if (SolarToLunar(y, mm, d, leap, cnDay, cnMonth, dueYear)) month = LunarMonthItems()[size_t(cnMonth - 1)];
  }
  return DateText(due);
}

int IndexOf(const std::vector<std::string>& items, const std::string& text) {
  auto it = std::find(items.begin(), items.end(), text);
  return it == items.end() ? -1 : int(it - items.begin());
}

void SetRowParams(TADOQuery& q, const TMemoRow& row) {
  const std::pair<const char*, const std::string*> params[] = {
      {"yybz", &row.yybz}, {"ylsj", &row.ylsj},     {"yinlsj", &row.yinlsj}, {"nr", &row.nr},
      {"tqtsts", &row.tqtsts}, {"gqzdsc", &row.gqzdsc}, {"chts", &row.chts},     {"yypath", &row.yypath},
      {"xssj", &row.xssj}, {"fzbz", &row.fzbz},     {"qrbz", &row.qrbz}};
  for (const auto& [name, value] : params) q.Parameters.ParamByName(name).Value = *value;
}

}  // namespace

std::vector<std::string> MemoLunarDayItems() {
  std::vector<std::string> items = LunarDayItems();
  items.insert(items.end(), {"", ""});
  return items;
}

TMemoCheck CheckMemoInput(const TMemoInput& input) {
  if (input.NoticeIndex < 0) return {TMemoField::Notice, "提前提示天数不能为空！"};
  if (input.KeepIndex < 0) return {TMemoField::Keep, "过期自动删除不能为空！"};
  if (input.RepeatIndex < 0) return {TMemoField::Repeat, "重复提示不能为空！"};
  if (!input.Solar && input.RepeatText.find("月") == std::string::npos &&
      input.RepeatText.find("年") == std::string::npos)
    return {TMemoField::Repeat, "按阴历的话重复提醒请选择“年”或“月”"};
  return {};
}

std::string StoredDayCount(const std::string& text) { return text == kNever ? "0天" : text; }
std::string StoredRepeat(const std::string& text) { return text == kNever ? "每0天" : text; }

TMemoRow MemoRowFromInput(const TMemoInput& input, TMemoDialogMode mode, TDateTime today) {
  TMemoRow row;
  if (input.Solar) {
    row.yybz = "1";
    row.yinlsj = DateText(input.Date);
    const std::string weekday = WeekdayName(DayOfWeek(input.Date));
    if (input.MinutePrecision) {
      row.ylsj = row.yinlsj + " " + TimeText(input.Time) + (mode == TMemoDialogMode::Add ? ":00" : "");
      row.xssj = ChineseDateText(input.Date) + " " + TimeText(input.Time) + " " + weekday;
      row.fzbz = "1";
    } else {
      row.ylsj = row.yinlsj;
      row.xssj = ChineseDateText(input.Date) + " " + weekday;
      row.fzbz = "0";
    }
  } else {
    row.yybz = "0";
    std::string month;
    row.ylsj = LunarDueDate(input, today, month);
    row.yinlsj = row.ylsj;
    row.xssj = month + " " + input.LunarDay;
    row.fzbz = "0";
  }
  row.nr = input.Text;
  row.tqtsts = StoredDayCount(input.NoticeText);
  row.gqzdsc = StoredDayCount(input.KeepText);
  row.chts = StoredRepeat(input.RepeatText);
  row.yypath = input.SoundPath;
  row.qrbz = "0";
  return row;
}

const char* const MemoListSQL = "select * from sz_bwlb order by iid ";

std::string MemoListTimeText(const std::string& ylsj) {
  TDateTime due;
  return TryStrToDateTime(ylsj, due) ? DateTimeToStr(due) : ylsj;
}

void InsertMemo(TADOQuery& qbw, const TMemoRow& row) {
  qbw.Close();
  qbw.SQL.Clear();
  qbw.SQL.Add("insert into sz_bwlb(yybz,ylsj,yinlsj,nr,tqtsts,gqzdsc,chts,yypath,xssj,fzbz,qrbz)");
  qbw.SQL.Add(" values(:yybz,:ylsj,:yinlsj,:nr,:tqtsts,:gqzdsc,:chts,:yypath,:xssj,:fzbz,:qrbz)");
  SetRowParams(qbw, row);
  qbw.ExecSQL();
}

bool UpdateMemo(TADOQuery& qbw, const TMemoRow& row) {
  qbw.Close();
  qbw.SQL.Clear();
  qbw.SQL.Add(
      "update sz_bwlb set yybz= :yybz,ylsj= :ylsj,yinlsj= :yinlsj,nr= :nr,tqtsts= :tqtsts,gqzdsc= :gqzdsc,"
      "chts= :chts,yypath= :yypath,xssj= :xssj,fzbz= :fzbz,qrbz= :qrbz where iid= :iid ");
  SetRowParams(qbw, row);
  qbw.Parameters.ParamByName("iid").Value = row.Iid;
  return qbw.ExecSQL() > 0;
}

TMemoRow ReadMemoRow(TADOQuery& q) {
  TMemoRow row;
  row.Iid = q.FieldByName("iid").AsInteger();
  std::pair<const char*, std::string*> fields[] = {
      {"yybz", &row.yybz},     {"ylsj", &row.ylsj}, {"yinlsj", &row.yinlsj}, {"nr", &row.nr},
      {"tqtsts", &row.tqtsts}, {"gqzdsc", &row.gqzdsc}, {"chts", &row.chts}, {"yypath", &row.yypath},
      {"xssj", &row.xssj},     {"fzbz", &row.fzbz}, {"qrbz", &row.qrbz}};
  for (auto& [name, value] : fields) *value = q.FieldByName(name).AsString();
  return row;
}

void KeepIntendedDay(TMemoRow& row, const TMemoRow& stored) {
  TDateTime due;
  if (row.yybz == "1" && stored.yybz == "1" && !stored.yinlsj.empty() && TryStrToDateTime(stored.ylsj, due) &&
      DateText(due) == row.yinlsj)
    row.yinlsj = stored.yinlsj;
}

TMemoLoad MemoLoadFromRow(const TMemoRow& row, TDateTime now) {
  TMemoLoad load;
  if (row.yybz != "1") {
    load.Solar = false;
    const size_t blank = row.xssj.find(' ');
    const std::string month = Trim(row.xssj.substr(0, blank));
    load.LunarMonthIndex = IndexOf(LunarMonthItems(), month);
    if (blank != std::string::npos) load.LunarDayIndex = IndexOf(MemoLunarDayItems(), Trim(row.xssj.substr(blank + 1)));
  } else {
    load.SetDates = true;
    // A due time that is missing or no date loads as now, so that the user can repair it.
    TDateTime due;
    if (!TryStrToDateTime(row.ylsj, due)) due = now;
    if (row.fzbz == "1") {
      load.MinutePrecision = true;
      load.Date = due;
      load.Time = StrToTime(TimeText(due));
    } else {
      load.Date = DateOf(due);
      load.Time = StrToTime(FormatDateTime("hh:nn:ss", now));
    }
  }
  load.Text = row.nr;
  load.NoticeIndex = row.tqtsts == "0天" ? 0 : IndexOf(DayCountItems(), row.tqtsts);
  load.KeepIndex = row.gqzdsc == "0天" ? 0 : IndexOf(DayCountItems(), row.gqzdsc);
  load.RepeatIndex = row.chts == "每0天" ? 0 : IndexOf(RepeatItems(), row.chts);
  load.SoundPath = row.yypath;
  load.Iid = IntToStr(row.Iid);
  return load;
}
