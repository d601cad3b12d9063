#pragma once
// Start-up's work on the data file, apart from the clock window: the sound paths and
// other settings, the shown flags, this year's festival dates, the fourteen window
// positions, the purge of reminded memos, and the positions written back at close.
// Every walk skips a row it cannot use, so one bad row never stops the rest; a failing
// statement still raises, for the caller to guard the whole step.

#include <array>
#include <string>
#include <string_view>

#include "framework/rtl/DateUtils.h"

class Tdbhouse;
class TADOQuery;

// The flags of sz_sfxsb: "1" shown, anything else hidden.
struct TShownFlags {
    std::string Clock, Calendar, MemoBoard, Notes, Countdowns;   // szxsf rlxsf bwlxsf bqxsf djsxsf
};

// The 24 speech files and the four clock sounds under the executable folder.
void LoadSoundPaths();
// sz_qtcsb: chime frequency and kind, the reminder play count (held to 1..3, kept when
// not a number),
// and the memo and festival sounds (see SoundSettingPath). Raises when the row is missing.
void LoadOtherSettings(Tdbhouse& db);
// sz_sfxsb's one row; raises when it is missing.
TShownFlags LoadShownFlags(Tdbhouse& db);
// Whether the data file beside the program says the clock is hidden, read on a connection of
// its own before the clock first shows; anything unreadable says no.
bool ClockSavedHidden(const std::string& exeFolder);
// Brings realrq of every sz_jrb row to its date in `year` (FestivalDate, from `today`),
// writing only the rows whose stored text differs, all in one transaction; a row whose
// date moves gets qrbz "0" again. Returns the rows skipped.
int RefreshFestivalDates(Tdbhouse& db, int year, TDateTime today = 0);
// RefreshFestivalDates for the year of `today` when `today` is not `refreshedDay`, which
// then becomes today: the festival dates follow the calendar while the program runs
// across midnight and the year end. Returns whether it refreshed; raises as the refresh.
bool RefreshFestivalDatesOnNewDay(Tdbhouse& db, TDateTime today, TDateTime& refreshedDay);
// Which of the fourteen position keys (in PositionKeys order) start-up has read.
using TPositionsRead = std::array<bool, 14>;

// Reads the fourteen positions; a key without a row, or whose row fails to read, keeps
// its variable as it is and is reported unread.
TPositionsRead LoadWindowPositions(Tdbhouse& db);
// Deletes the reminded memos kept longer than their gqzdsc allows, in one transaction;
// returns the rows skipped because ylsj or gqzdsc does not read.
int PurgeRemindedMemos(Tdbhouse& db, TDateTime today);
// Writes back the positions of the keys that were read (so a row that could not be read
// never gets the variables' zeros); a key that fails is passed over.
void SaveWindowPositions(Tdbhouse& db, const TPositionsRead& read);

// A sound setting as the players use it: NULL (never written) gives `defaultPath`, the
// empty text means no sound, and a path without a drive or root is taken from the
// executable folder.
std::string SoundSettingPath(TADOQuery& query, const char* column, const std::string& defaultPath);

// Days ahead the festival reminders look (the tray summary's "六天后").
constexpr int FestivalLookAheadDays = 6;

// This year's solar date of a festival: rqlx "阳历" takes realyr "MM-DD" in `year`
// (02-29 of a common year becomes 02-28); any other rqlx takes it as a lunar month and
// day, in the lunar year `year` or, when only that one falls in the solar year `year`,
// the lunar year before; a day 30 that the month lacks becomes its last day. When both
// lunar years put the day into the solar year (January and December), the first one not
// before `today` counts (`today` 0: the lunar year `year`'s). A date already past whose
// next year's date lies at most FestivalLookAheadDays after `today` gives next year's:
// the reminders look that far ahead across the year end.
// False when realyr does not read or the date does not exist.
bool FestivalDate(std::string_view rqlx, std::string_view realyr, int year, TDateTime& date, TDateTime today = 0);
// Days a reminded memo is kept after its due day: "3天" gives 3, "0天" (never delete)
// gives 0. False for any other text.
bool KeepDays(std::string_view gqzdsc, int& days);
// Whether a reminded memo is due for deletion on `today`; false for "0天". Raises
// EConvertError when ylsj or gqzdsc does not read.
bool MemoExpired(std::string_view ylsj, std::string_view gqzdsc, TDateTime today);
