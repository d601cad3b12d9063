#pragma once
// The countdown rules that need no window: the split of the time left into the days,
// hours and minutes the LEDs show, their two-digit texts, the absolute and relative
// targets of the settings dialog, which rows set a target, the slot keys and the
// manager's question.

#include <string>
#include <string_view>

#include "framework/rtl/DateUtils.h"

constexpr int kCountdownSlots = 5;

struct TTimeLeft {
    int Days = 0, Hours = 0, Minutes = 0;
    bool operator==(const TTimeLeft&) const = default;
};

// Days, hours and minutes from now to target; each part is 0 once the target has passed.
// Seconds are dropped. A target outside the years 1 to 9999 gives zeros. Computed in whole milliseconds so that an exact amount (36 hours)
// never loses a unit to rounding.
TTimeLeft SplitTimeLeft(TDateTime target, TDateTime now);
// A number as an LED shows it: at least two digits ("00", "07", "150").
std::string LedNumberText(int value);

// "倒计时N", the row key in sz_djsb, and "倒计时N位置", the position key in sz_fzb (slot 1..5).
std::string CountdownRowKey(int slot);
std::string CountdownPositionKey(int slot);

// The absolute target from the dialog's date and time pickers: the date's day and the
// time's hours, minutes and seconds.
TDateTime AbsoluteTarget(TDateTime date, TDateTime time);
// The relative target: amount days ("天") or hours ("小时") after now. Raises
// EConvertError for any other unit.
TDateTime RelativeTarget(TDateTime now, int amount, std::string_view unit);
// Whether the data file can hold a target: a moment from 0001-01-01 to the end of
// 9999-12-31. A relative amount that leaves this range is refused with RelativeTargetRangeText.
bool CountdownTargetStorable(TDateTime target);
constexpr const char* RelativeTargetRangeText = "相对时间超出范围，目标时间只能在1年到9999年之间！";
// The dialog's message when the slot's row is missing from sz_djsb: nothing was saved.
std::string CountdownRowMissingText(int slot);
// Whether a row's target is taken when the window loads it: absolute rows ("1") and
// relative rows in days or hours.
bool RowSetsTarget(std::string_view sjbz, std::string_view dw);

// The manager's confirmation: "您确定将：" + key + "为不显示吗？" (or "为显示吗？").
std::string CountdownMarkQuestion(std::string_view key, bool shown);
