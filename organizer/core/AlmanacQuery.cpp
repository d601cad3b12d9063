#include "organizer/core/AlmanacQuery.h"

#include "calendar/core/LunarDate.h"
#include "framework/rtl/SysUtils.h"

std::vector<std::string> SplitAlmanacAnswer(std::string_view answer) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t slash; (slash = answer.find('/', start)) != std::string_view::npos; start = slash + 1)
    lines.emplace_back(answer.substr(start, slash - start));
  lines.emplace_back(answer.substr(start));
  return lines;
}

TDateTime AlmanacQueryDate(bool solar, TDateTime picked, std::string_view lunarMonth, std::string_view lunarDay,
                           TDateTime today) {
  if (solar)
    return DateOf(picked);
  const int month = StrToInt(LunarMonthToNumber(lunarMonth));
  const int day = StrToInt(LunarDayToNumber(lunarDay));
  TDateTime found;
  bool shortMonth;
  return NextLunarDate(month, day, today, found, shortMonth) ? found : DateOf(today);
}
