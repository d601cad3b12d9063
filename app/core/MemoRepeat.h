#pragma once
// Repeating memos: once the due day of a memo that repeats ("每N天", "每1月", "每1年";
// "每0天" never) lies at least one day in the past, it moves to its next date and becomes
// remindable again. Solar memos move by date arithmetic; lunar memos keep their lunar day
// (read from xssj, "正月 初一") and move to its first occurrence from today on: in any month,
// a leap month too, when monthly; in their own month when yearly.
// A solar memo repeating by month or year keeps its day: an occurrence its month lacks
// falls on the month's last day, and yinlsj keeps the date of the intended day meanwhile.
// Dates are written "yyyy-mm-dd" and lunar month names as "正月" .. "十二月", the forms the
// memo dialogs write and read back.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "framework/rtl/DateUtils.h"

class Tdbhouse;

// The fields of one sz_bwlb row the pass reads.
struct TRepeatRow {
    int32_t Iid = 0;
    std::string Ylsj, Fzbz, Chts, Yybz, Xssj;
    std::string Yinlsj;   // a solar memo's intended day, when its due day was clamped
};

// What the pass writes to a row that moves (qrbz becomes "0").
struct TRepeatMove {
    std::string Ylsj, Yinlsj, Xssj;
};

// Lunar display text of a solar date: month name, a blank, day name.
using TLunarNamer = std::function<std::string(TDateTime)>;

// "正月" .. "十二月" for a lunar month name the helpers read ("冬月", "腊月" and leap names
// such as "闰四" give their ordinary month's name); empty for any other text.
std::string PlainLunarMonthName(std::string_view name);
// The lunar display text of a date from the calendar engine, with plain month names.
std::string LunarDisplayText(TDateTime date);

// The move of one row on day `today`, or nothing when the row stays (no repeat, due today
// or later, a repeat or lunar name that gives no date). Raises EConvertError when ylsj is
// no date or chts holds no number.
std::optional<TRepeatMove> NextRepeat(const TRepeatRow& row, TDateTime today, const TLunarNamer& namer);

// One pass over the memos of sz_bwlb that can move: each due repeating memo moves one step,
// all moves in one transaction. A row
// that does not read is passed over; database errors are raised. Returns the rows moved.
int RepeatMemos(Tdbhouse& db, TDateTime today, const TLunarNamer& namer);
