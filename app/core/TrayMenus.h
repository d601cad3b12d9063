#pragma once
// The data side of the clock's two menus and its tray icon: the summary of coming
// festivals and memos shown on a click on the icon, the shown flags of sz_sfxsb that the
// toggles write, the claiming of a free sticky-note or countdown slot, and the tip text
// cut to the notification area's field.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/MemoReminder.h"
#include "framework/rtl/DateUtils.h"

class Tdbhouse;

// One row of sz_jrb for the summary: the name and this year's solar date.
struct TFestivalDay {
    std::string Jrmc;
    TDateTime Realrq = 0;
};

// The summary at `now`: every festival 0 to 6 days ahead ("今天：" .. "六天后："), then
// every pending memo whose day is within its days of notice, labelled as the memo board
// labels it;
// each entry ends in LF CR. Memos whose ylsj or tqtsts does not read are passed over.
std::string TraySummary(const std::vector<TFestivalDay>& festivals, const std::vector<TPendingMemo>& memos,
                        TDateTime now);
// Reads sz_jrb (qrqcx, by realrq) and the pending memos (qbw1) and builds the summary.
std::string ReadTraySummary(Tdbhouse& db, TDateTime now);

// The columns of sz_sfxsb behind the five toggles.
constexpr const char* ClockShownFlag = "szxsf";
constexpr const char* CalendarShownFlag = "rlxsf";
constexpr const char* MemoListShownFlag = "bwlxsf";
constexpr const char* NotesShownFlag = "bqxsf";
constexpr const char* CountdownsShownFlag = "djsxsf";
// Writes "1" or "0" to one column of the one-row sz_sfxsb (qup).
void WriteShownFlag(Tdbhouse& db, const char* field, bool shown);

constexpr const char* NoFreeNoteText =
    "7个便签全部用完，请您到\"便签记录查询\",把不用的便签标记为不显示";
constexpr const char* NoFreeCountdownText =
    "5个倒计时钟全部用完，请您到\"倒计时钟记录查询\",把不用的倒计时钟标记为\"不启用\"";

// What claiming a slot did.
enum class TSlotClaim { Claimed, AllInUse, NoFreeKnownSlot };
struct TSlotClaimResult {
    TSlotClaim Result = TSlotClaim::NoFreeKnownSlot;
    int Slot = -1;   // index into the keys when claimed
};
// Claims the first row of `table` (sz_bqb or sz_djsb), in bz order, that is not in use
// and whose bz is one of `keys`: its qyzt becomes "1". Rows with other keys are passed
// over; with no row free at all nothing is written (qsum, qxzbq, qup).
TSlotClaimResult ClaimFreeSlot(Tdbhouse& db, const char* table, std::span<const char* const> keys);

// `hint` cut to at most `units` UTF-16 code units, at a character boundary.
std::string TrayTipText(std::string_view hint, size_t units);
