#pragma once
// What the organizer's grid lists (memos, festivals) share: reopening the list's query and
// deleting its current row or all its rows after the "询问" question. Nothing is asked
// and nothing happens when the query is closed or holds no rows, or when the answer is No.
#include <initializer_list>
#include <string>

class TADOQuery;
class TDBGrid;

struct TGridColumnSpec {
  const char* Field;
  const char* Title;
  int Width;
};
// Adds the columns in order; `centredTitles` centres their titles.
void AddGridColumns(TDBGrid& grid, std::initializer_list<TGridColumnSpec> columns, bool centredTitles);

// Close, the statement, Open.
void OpenGridList(TADOQuery& list, const char* sql);
// Deletes the current row of `list` by its iid with `deleteSql` (one :iid parameter) on
// `qup`, then reopens `list` from its first row. True when the row was deleted.
bool DeleteCurrentRow(TADOQuery& list, TADOQuery& qup, const char* deleteSql, const std::string& question);
// Runs `deleteSql` on `qup`, then reopens `list`. True when the rows were deleted.
bool DeleteAllRows(TADOQuery& list, TADOQuery& qup, const char* deleteSql, const std::string& question);
