#include "organizer/core/Countdown.h"

#include <cmath>
#include <cstdint>

#include "framework/rtl/SysUtils.h"

TTimeLeft SplitTimeLeft(TDateTime target, TDateTime now)
{
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

TDateTime AbsoluteTarget(TDateTime date, TDateTime time)
{
    int h, m, s, ms;
    DecodeTime(time, h, m, s, ms);
    return DateOf(date) + EncodeTime(h, m, s, 0);
}

TDateTime RelativeTarget(TDateTime now, int amount, std::string_view unit)
{
    if (unit == "天")
        return now + amount;
    if (unit == "小时")
        return now + amount / 24 + (amount % 24) / 24.0;
    throw EConvertError("'" + std::string(unit) + "' is not a countdown unit");
}

bool CountdownTargetStorable(TDateTime target)
{
    static const TDateTime first = EncodeDate(1, 1, 1),
                           last = EncodeDate(9999, 12, 31) + EncodeTime(23, 59, 59, 999);
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
