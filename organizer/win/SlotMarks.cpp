#include "organizer/win/SlotMarks.h"

#include "app/core/dbhouse.h"

void MarkCurrentRowShown(TADOQuery& list, const std::string& table, bool shown)
{
    TADOQuery& q = *dbhouse->qup;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("update " + table + " set qyzt= :qyzt where iid= :iid ");
    q.Parameters.ParamByName("qyzt").Value = shown ? "1" : "0";
    q.Parameters.ParamByName("iid").Value = list.FieldByName("iid").AsInteger();
    q.ExecSQL();
}
