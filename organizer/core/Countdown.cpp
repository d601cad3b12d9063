#include "organizer/core/Countdown.h"

#include <cmath>
#include <cstdint>

#include "framework/rtl/SysUtils.h"

TTimeLeft SplitTimeLeft(TDateTime target, TDateTime now)
{
    if (!CountdownTargetStorable(target))   // a number no calendar holds counts as no target
        return {};
    constexpr int64_t msPerMinute = 60000, msPerHour = 3600000, msPerDay = 86400000;
    const int64_t left = std::llround((target - now) * static_cast<double>(msPerDay));
    TTimeLeft t;
    t.Days = left > 0 ? static_cast<int>(left / msPerDay) : 0;
    const int64_t hours = (left / msPerHour) % 24;
    t.Hours = hours > 0 ? static_cast<int>(hours) : 0;
    const int64_t minutes = left / msPerMinute - int64_t(t.Days) * 1440 - int64_t(t.Hours) * 60;
    t.Minutes = minutes < 0 ? 0 : static_cast<int>(minutes % 60);
    return t;
}

std::string LedNumberText(int value)
{
    std::string s = std::to_string(value);
    return s.size() == 1 ? "0" + s : s;
}

std::string CountdownRowKey(int slot) { return "倒计时" + std::to_string(slot); }

std::string CountdownPositionKey(int slot) { return CountdownRowKey(slot) + "位置"; }

namespace {

// Moments are added on a straight line of days from 1899-12-30 00:00; a TDateTime before
// that day counts its days back while its fraction still adds the time of day (-1.25 is
// 1899-12-29 06:00), so the line and the TDateTime differ there.
double LineOf(TDateTime at) { return at >= 0 ? at : DateOf(at) + TimeOf(at); }

TDateTime FromLine(double line)
{
    const double day = std::floor(line);
    return day >= 0 ? line : 2 * day - line;
}

}  // namespace

TDateTime AbsoluteTarget(TDateTime date, TDateTime time)
{
    int h, m, s, ms;
    DecodeTime(time, h, m, s, ms);
    return FromLine(DateOf(date) + EncodeTime(h, m, s, 0));
}

TDateTime RelativeTarget(TDateTime now, int amount, std::string_view unit)
{
    if (unit == "天")
        return FromLine(LineOf(now) + amount);
    if (unit == "小时")
        return FromLine(LineOf(now) + amount / 24 + (amount % 24) / 24.0);
    throw EConvertError("'" + std::string(unit) + "' is not a countdown unit");
}

bool CountdownTargetStorable(TDateTime target)
{
    // The first day's last moment lies farthest from zero.
    static const TDateTime first = EncodeDateTime(1, 1, 1, 23, 59, 59, 999),
                           last = EncodeDateTime(9999, 12, 31, 23, 59, 59, 999);
    return target >= first && target <= last;
}

std::string CountdownRowMissingText(int slot)
{
    return "数据文件里没有" + CountdownRowKey(slot) + "这一行，设置没有保存。";
}

bool RowSetsTarget(std::string_view sjbz, std::string_view dw)
{
    return sjbz == "1" || dw == "天" || dw == "小时";
}

std::string CountdownMarkQuestion(std::string_view key, bool shown)
{
    return "您确定将：" + std::string(key) + (shown ? "为显示吗？" : "为不显示吗？");
}
