#include "organizer/core/OrganizerLists.h"

#include <array>
#include <string_view>

#include "calendar/core/ChnCalendarUse.h"

std::vector<std::string> SolarMonthItems() {
  std::vector<std::string> items;
  for (int m = 1; m <= 12; ++m) items.push_back(std::to_string(m) + "月");
  return items;
}

std::vector<std::string> SolarDayItems() {
  std::vector<std::string> items;
  for (int d = 1; d <= 31; ++d) items.push_back(std::to_string(d) + "日");
  return items;
}

std::vector<std::string> LunarMonthItems() {
  static constexpr std::array<std::string_view, 12> names{
      "正月", "二月", "三月", "四月", "五月", "六月",
      "七月", "八月", "九月", "十月", "十一月", "十二月"};
  return {names.begin(), names.end()};
}

std::vector<std::string> LunarDayItems() {
  std::vector<std::string> items;
  for (int d = 1; d <= 30; ++d) items.push_back(GetCnDayName(d));
  return items;
}

std::vector<std::string> DayCountItems() {
  std::vector<std::string> items{"从不"};
  for (int d = 1; d <= 15; ++d) items.push_back(std::to_string(d) + "天");
  return items;
}

std::vector<std::string> RepeatItems() {
  std::vector<std::string> items{"从不"};
  for (int d = 1; d <= 30; ++d) items.push_back("每" + std::to_string(d) + "天");
  items.insert(items.end(), {"每1月", "每1年", ""});
  return items;
}

std::string WeekdayName(int dayOfWeek) {
  static constexpr std::array<std::string_view, 7> names{"周日", "周一", "周二", "周三",
                                                         "周四", "周五", "周六"};
  if (dayOfWeek < 1 || dayOfWeek > 7) return {};
  return std::string(names[dayOfWeek - 1]);
}
