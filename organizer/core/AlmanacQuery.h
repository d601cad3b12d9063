#pragma once
// Rules of the almanac query window: which date it asks the almanac library for, and how
// the library's answer becomes the lines it shows.

#include <string>
#include <string_view>
#include <vector>

#include "framework/rtl/DateUtils.h"

// The answer split at every "/": the text after the last "/" is the last line, also when
// it is empty, and two "/" in a row give an empty line.
std::vector<std::string> SplitAlmanacAnswer(std::string_view answer);

// The date to query. Solar: the picked date. Lunar: the first date from `today` on of
// the month and day names ("正月", "初一"), not leap; a 30th the month lacks is its last
// day; a lunar date the helpers cannot find gives today. Raises EConvertError when a
// lunar name is empty or no lunar name at all.
TDateTime AlmanacQueryDate(bool solar, TDateTime picked, std::string_view lunarMonth, std::string_view lunarDay,
                           TDateTime today);
