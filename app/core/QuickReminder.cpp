#include "app/core/QuickReminder.h"

#include <cstdint>

#include "app/core/dbhouse.h"
#include "framework/rtl/SysUtils.h"

namespace {

constexpr int64_t SecsPerDay = 86400;

TADOQuery& Use(TADOQuery& query, const char* sql)
{
    query.Close();
    query.SQL.Clear();
    query.SQL.Add(sql);
    return query;
}

int64_t SecondOfDay(TDateTime dt)
{
    int h, m, s, ms;
    DecodeTime(dt, h, m, s, ms);
    return h * 3600 + m * 60 + s;
}

int64_t Seconds(TDateTime dt) { return Trunc(DateOf(dt)) * SecsPerDay + SecondOfDay(dt); }

TDateTime FromSeconds(int64_t seconds)
{
    const int64_t rest = seconds % SecsPerDay;
    return TDateTime(seconds / SecsPerDay) + EncodeTime(int(rest / 3600), int(rest / 60 % 60), int(rest % 60), 0);
}

}  // namespace

std::string ClampReminderMinutes(const std::string& text)
{
    if (text.empty())
        return text;
    return StrToInt(text) > QuickReminderMaxMinutes ? IntToStr(QuickReminderMaxMinutes) : text;
}

TDateTime RelativeReminderDue(TDateTime now, int minutes)
{
    if (minutes < 0)
        throw EConvertError(NegativeMinutesText);
    const int64_t start = Seconds(now) / 60 * 60;
    const int64_t delta = minutes == QuickReminderMaxMinutes ? SecsPerDay - 1 : int64_t(minutes) * 60;
    return FromSeconds(start + delta);
}

TDateTime AbsoluteReminderDue(TDateTime now, TDateTime clock)
{
    int64_t due = Trunc(DateOf(now)) * SecsPerDay + SecondOfDay(clock) / 60 * 60;
    if (due <= Seconds(now))
        due += SecsPerDay;
    return FromSeconds(due);
}

std::string ReminderDueText(TDateTime due) { return FormatDateTime("yyyy-mm-dd hh:nn:ss", due); }

bool QuickReminderReached(const std::string& zdsj, TDateTime now)
{
    if (zdsj.empty())
        return false;
    const TDateTime due = StrToDateTime(zdsj);
    if (DateOf(due) == 0)
        return SecondOfDay(now) >= SecondOfDay(due);
    return Seconds(now) >= Seconds(due);
}

std::string QuickReminderAlertText(const std::string& kssj) { return "您在" + kssj + "时间设置的快速提醒已到"; }

TQuickReminderRow ReadQuickReminder(TADOQuery& query)
{
    TADOQuery& q = Use(query, "select * from sz_ksb where bz= :bz  ");
    q.Parameters.ParamByName("bz").Value = "1";
    q.Open();
    TQuickReminderRow row;
    if (!q.IsEmpty())
        row = {q.FieldByName("kssj").AsString(), q.FieldByName("zdsj").AsString(), q.FieldByName("sypath").AsString()};
    q.Close();
    return row;
}

bool WriteQuickReminder(Tdbhouse& db, const std::string& zdsj, const std::string& sypath, const std::string& kssj)
{
    TADOQuery& q =
        Use(*db.qsz, "update sz_ksb set zdsj= :zdsj,sypath= :sypath,bfzt= :bfzt,kssj= :kssj where bz= :bz ");
    q.Parameters.ParamByName("zdsj").Value = zdsj;
    q.Parameters.ParamByName("sypath").Value = sypath;
    q.Parameters.ParamByName("bfzt").Value = "0";
    q.Parameters.ParamByName("kssj").Value = kssj;
    q.Parameters.ParamByName("bz").Value = "1";
    return q.ExecSQL() > 0;
}

void ClearQuickReminder(Tdbhouse& db)
{
    TADOQuery& q = Use(*db.qup, "update sz_ksb set zdsj= :zdsj where bz= :bz ");
    q.Parameters.ParamByName("zdsj").Value = "";
    q.Parameters.ParamByName("bz").Value = "1";
    q.ExecSQL();
}

bool FireQuickReminder(Tdbhouse& db, TDateTime now, const std::function<void(const TQuickReminderRow&)>& alert)
{
    const TQuickReminderRow row = ReadQuickReminder(*db.qdc);
    if (!QuickReminderReached(row.Zdsj, now))
        return false;
    ClearQuickReminder(db);
    if (alert)
        alert(row);
    return true;
}
