#pragma once
// The rules the festival add and edit dialogs share: their item lists, the check of their
// fields, the texts they write into a row of sz_jrb and the statements that write it. A
// written row gets its date of the current year (realrq) at once, by the same rule the
// start-up uses for every row, so that it is marked and reminded without a restart.
#include <string>
#include <vector>

#include "framework/rtl/DateUtils.h"

class TADOQuery;

enum class TFestivalDialogMode { Add, Edit };

// What the dialog's controls hold, as text.
struct TFestivalInput {
  std::string Name;        // Edit1: jrmc
  std::string Kind;        // ComboBox1: jrlx
  std::string Calendar;    // ComboBox2: rqlx, "阳历" or anything else for lunar
  std::string Month;       // ComboBox3: jryf
  std::string Day;         // ComboBox4: jrrq
  std::string StartYear;   // ComboBox5: qsnf, may be empty
  std::string SoundPath;   // Edit2: yypath
};

std::vector<std::string> FestivalKindItems();       // "节日(第几个)", "生日(周岁)", "纪念日(周年)", ""
std::vector<std::string> FestivalCalendarItems();   // "阳历", "阴历"
std::vector<std::string> StartYearItems();          // "1930" .. "2030"
bool IsSolarCalendar(const std::string& rqlx);
// The month and day lists that go with a calendar choice.
std::vector<std::string> FestivalMonthItems(bool solar);
std::vector<std::string> FestivalDayItems(bool solar);

// The control a failed check points at.
enum class TFestivalField { None, Name, Kind, Month, Day };
struct TFestivalCheck {
  TFestivalField Field = TFestivalField::None;
  std::string Message;   // empty when the input passes
};
// The first failing check, in the order the dialogs run them.
TFestivalCheck CheckFestivalInput(const TFestivalInput& input);

// Two-digit numbers of a month and day text: solar "5月" -> "05", "1日" -> "01"; lunar by
// their names ("正月" -> "01", "二十" -> "20"). A text that gives no number raises
// EConvertError.
std::string FestivalMonthNumber(const std::string& month, bool solar);
std::string FestivalDayNumber(const std::string& day, bool solar);

// One row of sz_jrb as the dialogs write it.
struct TFestivalRow {
  int Iid = 0;
  std::string jrmc, jrlx, rqlx, jryf, jrrq, qsnf, yypath, jrhyfrq, realyr, zdyf;
};
// The row the save button writes; raises EConvertError as the number helpers do.
TFestivalRow FestivalRowFromInput(const TFestivalInput& input);
// The current record of a query over sz_jrb.
TFestivalRow ReadFestivalRow(TADOQuery& query);

// The statements of the dialogs: insert a new row (qrbz "0"), update the row Iid (qrbz
// "0" again when its date moves). Both write realrq, the row's date in `year`, or NULL
// when it has none.
// `today` chooses between two dates in one year as start-up does (FestivalDate).
void InsertFestival(TADOQuery& qins, const TFestivalRow& row, int year, TDateTime today = 0);
void UpdateFestival(TADOQuery& qins, const TFestivalRow& row, int year, TDateTime today = 0);
// The festival list's statement.
extern const char* const FestivalListSQL;
