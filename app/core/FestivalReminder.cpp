#include "app/core/FestivalReminder.h"

#include "app/core/dbhouse.h"
#include "framework/rtl/SysUtils.h"

std::vector<TFestivalReminder> PlanFestivalPass(const std::vector<TFestivalRow>& rows, TDateTime today)
{
    static const char* const Prefixes[] = {"今天:", "明天:", "后天:"};
    std::vector<TFestivalReminder> due;
    for (const TFestivalRow& row : rows) {
        const double days = DateOf(row.Realrq) - DateOf(today);
        if (days < 0 || days > 2)
            continue;
        due.push_back({row.Iid, Prefixes[int(days)] + row.Jrmc + ";" + IntToStr(row.Iid)});
    }
    return due;
}

std::vector<TFestivalRow> ReadUnconfirmedFestivals(Tdbhouse& db)
{
    std::vector<TFestivalRow> rows;
    TADOQuery& q = *db.qjrts;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("select * from sz_jrb where qrbz= :qrbz order by iid ");
    q.Parameters.ParamByName("qrbz").Value = "0";
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) {
        try {
            rows.push_back({q.FieldByName("iid").AsInteger(), q.FieldByName("jrmc").AsString(),
                            q.FieldByName("realrq").AsDateTime()});
        } catch (const EConvertError&) {
        }
    }
    q.Close();
    return rows;
}
