#include "calendar/core/LunarCalendarNames.h"

const std::array<std::string_view, 10> StemNames = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
const std::array<std::string_view, 12> BranchNames = {"子", "丑", "寅", "卯", "辰", "巳",
                                                      "午", "未", "申", "酉", "戌", "亥"};
const std::array<std::string_view, 12> AnimalNames = {"鼠", "牛", "虎", "兔", "龙", "蛇",
                                                      "马", "羊", "猴", "鸡", "狗", "猪"};
const std::array<std::string_view, 12> ConstellationNames = {"白羊", "金牛", "双子", "巨蟹", "狮子", "处女",
                                                             "天秤", "天蝎", "射手", "摩羯", "宝瓶", "双鱼"};
const std::array<std::string_view, 24> SolarTermNames = {
    "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至", "小暑", "大暑",
    "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至", "小寒", "大寒"};
const std::array<std::string_view, 10> NumeralNames = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
const std::array<std::string_view, 6> DayPrefixNames = {"初", "十", "廿", "卅", "二", "三"};
const std::array<std::string_view, 12> CnMonthNames = {"正", "二", "三", "四", "五", "六",
                                                       "七", "八", "九", "十", "冬", "腊"};

// Built once at start-up from the stems and branches.
const std::array<std::string, 60> StemBranchNames = [] {
    std::array<std::string, 60> names;
    for (int i = 0; i < 60; ++i)
        names[i] = std::string(StemNames[i % 10]) + std::string(BranchNames[i % 12]);
    return names;
}();

std::string NameAt(std::span<const std::string_view> table, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= table.size())
        return {};
    return std::string(table[index]);
}

std::string NameAt(std::span<const std::string> table, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= table.size())
        return {};
    return table[index];
}
