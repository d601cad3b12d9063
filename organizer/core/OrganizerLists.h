#pragma once
// Item lists shared by the organizer's dialogs: solar months and days, lunar months and days,
// weekday names. Texts are UTF-8.
#include <string>
#include <vector>

std::vector<std::string> SolarMonthItems();   // "1月" .. "12月"
std::vector<std::string> SolarDayItems();     // "1日" .. "31日"
std::vector<std::string> LunarMonthItems();   // "正月" .. "十月", "十一月", "十二月"
std::vector<std::string> LunarDayItems();     // "初一" .. "三十"
std::vector<std::string> DayCountItems();    // "从不", "1天" .. "15天"
std::vector<std::string> RepeatItems();      // "从不", "每1天" .. "每30天", "每1月", "每1年", ""
std::string WeekdayName(int dayOfWeek);       // 1 = Sunday .. 7 = Saturday: "周日" .. "周六"; else empty

