#include "organizer/win/GridList.h"

#include "framework/db/ADOQuery.h"
#include "framework/win/DBGrids.h"
#include "framework/win/Dialogs.h"

namespace {

bool Confirmed(TADOQuery& list, const std::string& question) {
  return list.Active() && !list.IsEmpty() && AskYesNo(question);
}

void Reopen(TADOQuery& list) {
  list.Close();
  list.Open();
}

void Run(TADOQuery& q, const char* sql) {
  q.Close();
  q.SQL.Clear();
  q.SQL.Add(sql);
}

}  // namespace

void AddGridColumns(TDBGrid& grid, std::initializer_list<TGridColumnSpec> columns, bool centredTitles) {
  for (const auto& c : columns) {
    TColumn* column = grid.Columns().Add();
    column->SetFieldName(c.Field);
    column->Title().SetCaption(c.Title);
    if (centredTitles) column->Title().SetAlignment(taCenter);
    column->SetWidth(c.Width);
  }
}

void OpenGridList(TADOQuery& list, const char* sql) {
  Run(list, sql);
  list.Open();
}

bool DeleteCurrentRow(TADOQuery& list, TADOQuery& qup, const char* deleteSql, const std::string& question) {
  if (!Confirmed(list, question)) return false;
  Run(qup, deleteSql);
  qup.Parameters.ParamByName("iid").Value = list.FieldByName("iid").AsInteger();
  qup.ExecSQL();
  Reopen(list);
  return true;
}

bool DeleteAllRows(TADOQuery& list, TADOQuery& qup, const char* deleteSql, const std::string& question) {
  if (!Confirmed(list, question)) return false;
  Run(qup, deleteSql);
  qup.ExecSQL();
  Reopen(list);
  return true;
}
