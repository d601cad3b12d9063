#pragma once
// The rules the memo add and edit dialogs share: the check of their choices, the texts
// they write into a row of sz_bwlb, the statements that write it, and the way a stored
// row fills the dialog again. Dates are written zero-padded ("2024-09-17") so that text
// order is date order; rows read back may hold the unpadded forms older rows carry.
#include <string>
#include <vector>

#include "framework/rtl/DateUtils.h"

class TADOQuery;

enum class TMemoDialogMode { Add, Edit };

// What the dialog's controls hold.
struct TMemoInput {
  bool Solar = true;              // rb1 (else rb2: lunar)
  TDateTime Date = 0;             // dt1
  bool MinutePrecision = false;   // cb1
  TDateTime Time = 0;             // dt2
  std::string LunarMonth;         // ComboBox1 text
  std::string LunarDay;           // ComboBox2 text
  std::string Text;               // memo1
  int NoticeIndex = -1;           // ComboBox3: days of advance notice
  std::string NoticeText;
  int KeepIndex = -1;             // ComboBox4: days kept after expiry
  std::string KeepText;
  int RepeatIndex = -1;           // ComboBox5: repetition
  std::string RepeatText;
  std::string SoundPath;          // Edit1
};

// Items of the memo dialog's lists: the lunar days carry two empty items at the end.
std::vector<std::string> MemoLunarDayItems();

// The control a failed check points at.
enum class TMemoField { None, Notice, Keep, Repeat };
struct TMemoCheck {
  TMemoField Field = TMemoField::None;
  std::string Message;   // empty when the input passes
};
// The first failing check, in the order the dialogs run them.
TMemoCheck CheckMemoInput(const TMemoInput& input);

// One row of sz_bwlb as text, the way it is written and read.
struct TMemoRow {
  int Iid = 0;
  std::string yybz, ylsj, yinlsj, nr, tqtsts, gqzdsc, chts, yypath, xssj, fzbz, qrbz;
};

// The row the dialog writes. A lunar memo falls due on the first date from `today` on
// that carries its lunar month and day (a 30th the month lacks: the month's last day),
// or today when the calendar has none; a monthly one ("月") whose month has passed in this
// lunar year starts at its day's next occurrence, with that month's name in xssj. A lunar month or day that is no name raises
// EConvertError, and nothing is to be written.
TMemoRow MemoRowFromInput(const TMemoInput& input, TMemoDialogMode mode, TDateTime today);

// "从不" is stored as "0天" (notice, keep) and "每0天" (repeat).
std::string StoredDayCount(const std::string& text);
std::string StoredRepeat(const std::string& text);

// The statements of the dialogs on the query qbw: insert a new row, update the row Iid
// (false when no such row is left).
void InsertMemo(TADOQuery& qbw, const TMemoRow& row);
bool UpdateMemo(TADOQuery& qbw, const TMemoRow& row);
// The memo list's statement, as the edit dialog reloads it.
extern const char* const MemoListSQL;
// A due time as the memo list shows it: a date-and-time text in the program's date and
// time formats ("2025-09-29 8:32:00"); a text that reads as no date shows as it is.
std::string MemoListTimeText(const std::string& ylsj);
// The current record of a query over sz_bwlb.
TMemoRow ReadMemoRow(TADOQuery& query);
// The edit of a solar memo that leaves its date as `stored` had it keeps the stored
// yinlsj: it holds the day a monthly or yearly memo is meant for while an occurrence falls
// on a shorter month's last day.
void KeepIntendedDay(TMemoRow& row, const TMemoRow& stored);

// What a stored row puts into the edit dialog. Lunar rows leave dt1 and dt2 as they are.
struct TMemoLoad {
  bool Solar = true;
  bool MinutePrecision = false;
  bool SetDates = false;   // dt1 := Date, dt2 := Time
  TDateTime Date = 0;
  TDateTime Time = 0;
  int LunarMonthIndex = -1, LunarDayIndex = -1;
  std::string Text;
  int NoticeIndex = -1, KeepIndex = -1, RepeatIndex = -1;
  std::string SoundPath;
  std::string Iid;
};
// `now` gives dt2 of a solar memo without minute precision. A solar row whose ylsj is no
// date raises EConvertError.
TMemoLoad MemoLoadFromRow(const TMemoRow& row, TDateTime now);
