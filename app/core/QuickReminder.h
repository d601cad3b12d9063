#pragma once
// The quick reminder's one row of sz_ksb (key bz "1") apart from its windows: the due
// moment the dialog stores and the six-second timer compares with now, the alert's text
// and the row's reads and writes. The due moment is a full date and time, so a reminder
// that crosses midnight keeps its day.

#include <functional>
#include <string>

#include "framework/rtl/DateUtils.h"

class Tdbhouse;
class TADOQuery;

constexpr int QuickReminderMaxMinutes = 1440;
// The check of a negative minutes text.
constexpr const char* NegativeMinutesText = "提醒的分钟数不能小于0！";

// The row's texts: kssj (when it was set, "HH:MM"), zdsj (due moment; empty: nothing
// pending) and sypath (sound file; empty: no sound).
struct TQuickReminderRow {
    std::string Kssj, Zdsj, Sypath;
};

// The minutes box after a change: a number above 1440 becomes "1440", an empty text stays.
// Raises EConvertError for a text that is not a whole number.
std::string ClampReminderMinutes(const std::string& text);
// In `minutes` from the start of the current minute; 1440 is one second short of a whole
// day. Raises EConvertError (NegativeMinutesText) for a negative count.
TDateTime RelativeReminderDue(TDateTime now, int minutes);
// The next time the hour and minute of `clock` come round: today, or tomorrow when that
// is not later than now. Seconds are always 0.
TDateTime AbsoluteReminderDue(TDateTime now, TDateTime clock);
// zdsj as stored: "yyyy-mm-dd hh:nn:ss".
std::string ReminderDueText(TDateTime due);
// Whether a pending zdsj has come at `now` (to the second). A time of day alone, as an
// older row may hold, is compared with the time of day only. Empty: false. Raises
// EConvertError for a text that does not read.
bool QuickReminderReached(const std::string& zdsj, TDateTime now);
// The alert's message for a reminder set at `kssj`.
std::string QuickReminderAlertText(const std::string& kssj);

// The row (through `query`); empty texts when it is missing.
TQuickReminderRow ReadQuickReminder(TADOQuery& query);
// Sets the pending reminder (qsz): zdsj, sypath, bfzt "0" and kssj. False when the row is
// missing: the fixed row is not made again, and nothing is written.
bool WriteQuickReminder(Tdbhouse& db, const std::string& zdsj, const std::string& sypath, const std::string& kssj);
// The dialog's message when the row is missing.
constexpr const char* QuickReminderRowMissingText = "数据文件里没有快速提醒这一行，提醒没有设置。";
// Nothing pending any more (qup): zdsj becomes empty.
void ClearQuickReminder(Tdbhouse& db);
// The six-second timer's pass (qdc, qup): when the pending reminder has come at `now`,
// it is cleared first and only then `alert` runs with the row (sound and alert window),
// so it fires once. A data file that cannot be written raises before any alert, and the
// reminder waits for a later tick. Returns whether it fired.
bool FireQuickReminder(Tdbhouse& db, TDateTime now, const std::function<void(const TQuickReminderRow&)>& alert);
