#include "app/core/MemoRepeat.h"

#include <array>

#include "app/core/dbhouse.h"
#include "calendar/core/ChnCalendarUse.h"
#include "calendar/core/LunarCalendar.h"
#include "calendar/core/LunarDate.h"
#include "framework/rtl/SysUtils.h"

namespace {

constexpr std::array<const char*, 12> MonthNames = {"正月", "二月", "三月", "四月", "五月", "六月",
                                                    "七月", "八月", "九月", "十月", "十一月", "十二月"};
constexpr std::array<const char*, 7> WeekdayNames = {"周日", "周一", "周二", "周三", "周四", "周五", "周六"};
constexpr std::string_view RepeatPrefix = "每";

std::string DateText(TDateTime date) { return FormatDateTime("yyyy-mm-dd", date); }

// Month number 1..12 of a lunar month name, 0 when it does not read.
int LunarMonthOf(std::string_view name)
{
    const std::string n = LunarMonthToNumber(name);
    return n.empty() ? 0 : StrToInt(n);
}

// The first date from `from` on that falls on lunar day `day` of the (not leap) lunar month
// `month`; a month without a 30th gives its 29th and sets `shortMonth`. False out of range.
bool NextLunarDate(int month, int day, TDateTime from, TDateTime& result, bool& shortMonth)
{
    int y, m, d;
    DecodeDate(from, y, m, d);
    bool leap;
    int cnDay, cnMonth, cnYear;
    if (!SolarToCnDate(y, m, d, leap, cnDay, cnMonth, cnYear))
        return false;
    for (int year = cnYear; year <= cnYear + 1; ++year) {
        for (int dd = day; dd >= (day == 30 ? 29 : day); --dd) {
            int sy, sm, sd;
            if (!CnDateToSolar(year, month, dd, false, sy, sm, sd))
                continue;
            TDateTime date;
            if (TryEncodeDate(sy, sm, sd, date) && date >= from) {
                result = date;
                shortMonth = dd != day;
                return true;
            }
            break;
        }
    }
    return false;
}

std::optional<TRepeatMove> NextLunar(const TRepeatRow& row, std::string_view unit, TDateTime today,
                                     const TLunarNamer& namer)
{
    const size_t blank = row.Xssj.find(' ');
    if (blank == std::string::npos)
        return std::nullopt;
    const int month = LunarMonthOf(Trim(row.Xssj.substr(0, blank)));
    const std::string dayName = Trim(row.Xssj.substr(blank + 1));
    const std::string dayNumber = LunarDayToNumber(dayName);
    if (month == 0 || dayNumber.empty())
        return std::nullopt;
    const int day = StrToInt(dayNumber);

    // The next occurrence from today on: of the following month (十二月 goes on to 正月),
    // or of the same month for a yearly memo.
    int target;
    if (unit == "月")
        target = month % 12 + 1;
    else if (unit == "年")
        target = month;
    else
        return std::nullopt;   // lunar memos do not repeat by days
    TDateTime next;
    bool shortMonth = false;
    if (!NextLunarDate(target, day, today, next, shortMonth))
        return std::nullopt;
    const std::string text = DateText(next);
    // A 30th moved to a 29-day month keeps its day name for the occurrences after.
    const std::string shown = shortMonth ? std::string(MonthNames[target - 1]) + " " + dayName
                                         : namer ? namer(next) : LunarDisplayText(next);
    return TRepeatMove{text, text, shown};
}

}  // namespace

std::string PlainLunarMonthName(std::string_view name)
{
    const int month = LunarMonthOf(name);
    return month == 0 ? std::string() : MonthNames[month - 1];
}

std::string LunarDisplayText(TDateTime date)
{
    TChnCal cal;
    cal.SetDateTime(date);
    return PlainLunarMonthName(cal.FCnMonthName) + " " + cal.FCnDayName;
}

std::optional<TRepeatMove> NextRepeat(const TRepeatRow& row, TDateTime today, const TLunarNamer& namer)
{
    const TDateTime due = DateOf(StrToDateTime(row.Ylsj));
    const std::string time = FormatDateTime("hh:nn", StrToDateTime(row.Ylsj));
    std::string_view chts = row.Chts;
    if (!chts.starts_with(RepeatPrefix) || chts.size() < RepeatPrefix.size() + 4)
        throw EConvertError("'" + row.Chts + "' is not a repeat");
    const std::string_view unit = chts.substr(chts.size() - 3);
    const int n = StrToInt(chts.substr(RepeatPrefix.size(), chts.size() - RepeatPrefix.size() - 3));
    if (n == 0 || due - DateOf(today) > -1)
        return std::nullopt;
    if (row.Yybz != "1")
        return NextLunar(row, unit, DateOf(today), namer);

    TDateTime next;
    if (unit == "天")
        next = due + n;
    else if (unit == "月")
        next = IncMonth(due, 1);
    else if (unit == "年")
        next = IncYear(due, 1);
    else
        return std::nullopt;
    const std::string date = DateText(next);
    const bool minutes = row.Fzbz == "1";
    std::string shown = FormatDateTime("yyyy年mm月dd日", next) + " ";
    if (minutes)
        shown += time + " ";
    shown += WeekdayNames[DayOfWeek(next) - 1];
    return TRepeatMove{minutes ? date + " " + time : date, date, shown};
}

namespace {

void ReadRepeatRows(TADOQuery& q, std::vector<TRepeatRow>& rows)
{
    q.Open();
    const TField &iid = q.FieldByName("iid"), &ylsj = q.FieldByName("ylsj"), &fzbz = q.FieldByName("fzbz"),
                 &chts = q.FieldByName("chts"), &yybz = q.FieldByName("yybz"), &xssj = q.FieldByName("xssj");
    for (q.First(); !q.Eof(); q.Next())
        rows.push_back({iid.AsInteger(), ylsj.AsString(), fzbz.AsString(), chts.AsString(), yybz.AsString(),
                        xssj.AsString()});
    q.Close();
}

}  // namespace

// Only rows that can move are read: repeating ones ("每0天" never moves) due before today,
// by range where the due text starts with a padded date, the others through the index of
// irregular due texts. The moves of one pass are written as one transaction.
int RepeatMemos(Tdbhouse& db, TDateTime today, const TLunarNamer& namer)
{
    std::vector<TRepeatRow> rows;
    TADOQuery& q = *db.qbw1;
    const std::string columns = "select iid,ylsj,fzbz,chts,yybz,xssj from sz_bwlb ";
    q.Close();
    q.SQL.Clear();
    q.SQL.Add(columns + "where chts <> '每0天' and ylsj < :today and ylsj glob '" + PaddedDateGlob + "' order by ylsj ");
    q.Parameters.ParamByName("today").Value = FormatDateTime("yyyy-mm-dd", today);
    ReadRepeatRows(q, rows);
    q.SQL.Clear();
    q.SQL.Add(columns + "where ylsj not glob '" + PaddedDateGlob + "' and +chts <> '每0天' ");
    ReadRepeatRows(q, rows);

    std::vector<std::pair<const TRepeatRow*, TRepeatMove>> moves;
    for (const TRepeatRow& row : rows) {
        try {
            if (std::optional<TRepeatMove> move = NextRepeat(row, today, namer))
                moves.emplace_back(&row, std::move(*move));
        } catch (const EConvertError&) {
            // this row waits; the others still move
        }
    }
    if (moves.empty())
        return 0;
    TTransactionScope transaction(*db.democnn);
    for (const auto& [row, move] : moves) {
        TADOQuery& u = *db.qgx;
        u.Close();
        u.SQL.Clear();
        u.SQL.Add(row->Yybz == "1" ? "update sz_bwlb set ylsj= :ylsj ,yinlsj= :yinlsj,qrbz= :qrbz,xssj= :xssj where iid= :iid "
                                   : "update sz_bwlb set ylsj= :ylsj,yinlsj= :yinlsj,qrbz= :qrbz,xssj= :xssj  where iid= :iid ");
        u.Parameters.ParamByName("ylsj").Value = move.Ylsj;
        u.Parameters.ParamByName("yinlsj").Value = move.Yinlsj;
        u.Parameters.ParamByName("qrbz").Value = "0";
        u.Parameters.ParamByName("xssj").Value = move.Xssj;
        u.Parameters.ParamByName("iid").Value = row->Iid;
        u.ExecSQL();
    }
    transaction.Commit();
    return int(moves.size());
}
