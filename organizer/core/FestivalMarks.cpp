#include "organizer/core/FestivalMarks.h"

#include "app/core/dbhouse.h"

std::vector<TFestivalMark> ReadFestivalMarks(Tdbhouse& db)
{
    std::vector<TFestivalMark> marks;
    TADOQuery& q = *db.qzdy;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("select * from sz_jrb where zdyf= :zdyf   ");
    q.Parameters.ParamByName("zdyf").Value = "1";
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) {
        const TField& realrq = q.FieldByName("realrq");
        if (realrq.IsNull())
            continue;
        TDateTime date;
        try {
            date = realrq.AsDateTime();
        } catch (const EConvertError&) {
            continue;   // a date that does not read marks nothing
        }
        marks.push_back({MonthOf(date), DayOf(date), q.FieldByName("jrmc").AsString()});
    }
    q.Close();
    return marks;
}

std::vector<std::string> MarksOnDay(const std::vector<TFestivalMark>& marks, int month, int day)
{
    std::vector<std::string> names;
    for (const TFestivalMark& m : marks)
        if (m.Month == month && m.Day == day)
            names.push_back(m.Name);
    return names;
}
