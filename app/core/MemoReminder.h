#pragma once
// The memo timer's work on the data file, apart from the windows: which sticky-note and
// countdown slots are in use, which pending memos go on the memo board's twelve panels
// and with which date line, and which minute-precise memos are due now. Every pending
// row is weighed, whatever its place; only the board is limited to its panels, and rows
// whose day has passed take panels after the current ones.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/rtl/DateUtils.h"

class Tdbhouse;

constexpr int MemoBoardPanels = 12;
constexpr int MemoBoardPanelHeight = 39;

// Row keys of the seven sticky notes (sz_bqb.bz) and the five countdowns (sz_djsb.bz).
extern const std::array<const char*, 7> NoteSlotKeys;
extern const std::array<const char*, 5> CountdownSlotKeys;

// One pending row of sz_bwlb.
struct TPendingMemo {
    int32_t Iid = 0;
    std::string Ylsj, Fzbz, Tqtsts, Xssj, Nr;
};

// What one panel of the memo board shows; a memo whose day has passed shows empty texts.
struct TBoardPanel {
    int32_t Iid = 0;
    std::string DateLine, Text;
};

struct TMemoPlan {
    std::vector<TBoardPanel> Panels;   // at most MemoBoardPanels, current memos first
    std::vector<TPendingMemo> Due;     // to be marked, sounded and popped up, in date order
    bool BoardWanted = false;          // some panel shows a memo of today or later
    int Skipped = 0;                   // rows whose ylsj does not read
};

// Days of advance notice from tqtsts ("3天" gives 3, "0天" none); false for other texts.
bool NoticeDays(std::string_view tqtsts, int& days);
// The board's date line for a memo `days` ahead: "今日 ", "明日 ", "后天 " or the
// number and "天后 ", then xssj.
std::string MemoDateLine(int days, const std::string& xssj);
// Weighs the pending rows at `now`. Rows are taken in the order of their due moment, so
// any written form of ylsj ("2024-9-17", "2024-09-17 08:00", "2024-09-17 08:00:00") sorts
// by date; a row whose ylsj does not read is passed over.
TMemoPlan PlanMemoPass(std::vector<TPendingMemo> rows, TDateTime now);

// Every row of sz_bwlb not yet reminded (qbw1), in due-text order.
std::vector<TPendingMemo> ReadPendingMemos(Tdbhouse& db);
// Those of them that PlanMemoPass at `now` can use: it plans the same from them as from
// every pending row. In due-text order.
std::vector<TPendingMemo> ReadPendingMemos(Tdbhouse& db, TDateTime now);
// Marks a memo as reminded (qgx).
void MarkMemoReminded(Tdbhouse& db, int32_t iid);

// Slot states of one kind of floating window: nothing when its shown flag (sz_sfxsb
// column `flagField`) is not "1", so its windows are left as they are; otherwise one
// entry per key, true when its row's qyzt is "1", empty when the key has no row.
using TSlotStates = std::optional<std::vector<std::optional<bool>>>;
TSlotStates ReadSlotsInUse(Tdbhouse& db, const char* flagField, const char* table,
                           std::span<const char* const> keys);
