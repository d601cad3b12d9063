#include "app/core/MemoRepeat.h"

#include <algorithm>
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

// The day of the month a solar monthly or yearly memo is meant for. An occurrence that
// was clamped to its month's last day (the 31st in April, 29 February in a common year)
// keeps the intended day in yinlsj, which then names a later day of a month (for a yearly
// memo, of the same month); `anchor` is the text that holds the intended day.
int IntendedDay(TDateTime due, const std::string& yinlsj, bool yearly, std::string& anchor)
{
    int y, m, d;
    DecodeDate(due, y, m, d);
    anchor = DateText(due);
    TDateTime held;
    if (d < DaysInAMonth(y, m) || !TryStrToDateTime(yinlsj, held))
        return d;
    const int day = DayOf(held);
    if (day <= d || (yearly && MonthOf(held) != m))
        return d;
    anchor = yinlsj;
    return day;
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

    // The next occurrence from today on: the memo's day in whichever month comes first
    // (a leap month too) for a monthly memo, in the memo's own month for a yearly one.
    TDateTime next;
    bool shortMonth = false;
    if (unit == "月") {
        if (!NextLunarDayDate(day, today, next, shortMonth))
            return std::nullopt;
    } else if (unit == "年") {
        if (!NextLunarDate(month, day, today, next, shortMonth))
            return std::nullopt;
    } else {
        return std::nullopt;   // lunar memos do not repeat by days
    }
    const std::string text = DateText(next);
    std::string shown = namer ? namer(next) : LunarDisplayText(next);
    // A 30th moved to a 29-day month keeps its day name for the occurrences after.
    if (shortMonth)
        shown = shown.substr(0, shown.find(' ')) + " " + dayName;
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
    std::string anchor;   // yinlsj: the date whose day a clamped occurrence stands for
    if (unit == "天") {
        next = due + n;
    } else if (unit == "月" || unit == "年") {
        const bool yearly = unit == "年";
        int y, m, d;
        DecodeDate(due, y, m, d);
        const int day = IntendedDay(due, row.Yinlsj, yearly, anchor);
        if (yearly)
            ++y;
        else if (++m > 12)
            m = 1, ++y;
        next = EncodeDate(y, m, std::min(day, DaysInAMonth(y, m)));
        if (DayOf(next) == day)
            anchor.clear();
    } else {
        return std::nullopt;
    }
    const std::string date = DateText(next);
    const bool minutes = row.Fzbz == "1";
    std::string shown = FormatDateTime("yyyy年mm月dd日", next) + " ";
    if (minutes)
        shown += time + " ";
    shown += WeekdayNames[DayOfWeek(next) - 1];
    return TRepeatMove{minutes ? date + " " + time : date, anchor.empty() ? date : anchor, shown};
}

namespace {

void ReadRepeatRows(TADOQuery& q, std::vector<TRepeatRow>& rows)
{
    q.Open();
    const TField &iid = q.FieldByName("iid"), &ylsj = q.FieldByName("ylsj"), &fzbz = q.FieldByName("fzbz"),
                 &chts = q.FieldByName("chts"), &yybz = q.FieldByName("yybz"), &xssj = q.FieldByName("xssj"),
                 &yinlsj = q.FieldByName("yinlsj");
    for (q.First(); !q.Eof(); q.Next())
        rows.push_back({iid.AsInteger(), ylsj.AsString(), fzbz.AsString(), chts.AsString(), yybz.AsString(),
                        xssj.AsString(), yinlsj.AsString()});
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
    const std::string columns = "select iid,ylsj,fzbz,chts,yybz,xssj,yinlsj from sz_bwlb ";
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
