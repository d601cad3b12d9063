// The almanac window's rules: the date it asks for and the lines it shows.
#include <gtest/gtest.h>

#include "framework/rtl/SysUtils.h"
#include "organizer/core/AlmanacQuery.h"

TEST(AlmanacQuery, AnswerSplitsAtEverySlash) {
  using Lines = std::vector<std::string>;
  const std::pair<const char*, Lines> cases[] = {
    {"", {""}},
    {"公历：2026年2月17日", {"公历：2026年2月17日"}},
    {"a/b", {"a", "b"}},
    {"a//b", {"a", "", "b"}},
    {"a/", {"a", ""}},
    {"/a", {"", "a"}},
    {"//", {"", "", ""}},
  };
  for (const auto& [answer, lines] : cases) EXPECT_EQ(SplitAlmanacAnswer(answer), lines) << answer;
}

TEST(AlmanacQuery, SolarChoiceTakesThePickedDay) {
  EXPECT_EQ(AlmanacQueryDate(true, EncodeDateTime(2026, 3, 5, 14, 30, 0, 0), "", "", EncodeDate(2026, 1, 1)),
              EncodeDate(2026, 3, 5));
}

TEST(AlmanacQuery, LunarChoiceTakesTheOccurrenceNotYetPast) {
  struct { TDateTime today; const char *month, *day; TDateTime expected; } cases[] = {
    {EncodeDate(2024, 2, 10), "正月", "初一", EncodeDate(2024, 2, 10)},
    {EncodeDate(2024, 6, 1), "正月", "初一", EncodeDate(2025, 1, 29)},
    {EncodeDate(2026, 6, 1), "八月", "十五", EncodeDate(2026, 9, 25)},
    {EncodeDate(2026, 1, 5), "腊月", "廿三", EncodeDate(2026, 2, 10)},    // the lunar year before's, not yet past
    {EncodeDate(2026, 6, 1), "十二月", "初八", EncodeDate(2027, 1, 15)},  // reaches into the next solar year
    {EncodeDate(2025, 6, 1), "十二月", "三十", EncodeDate(2026, 2, 16)},  // 腊月 of 2025 has 29 days
  };
  for (const auto& c : cases)
    EXPECT_EQ(AlmanacQueryDate(false, 0, c.month, c.day, c.today), c.expected) << DateToStr(c.today) << c.month << c.day;
}

TEST(AlmanacQuery, LunarDateOutsideTheCalendarGivesToday) {
  const TDateTime today = EncodeDateTime(2150, 5, 5, 8, 0, 0, 0);
  EXPECT_EQ(AlmanacQueryDate(false, 0, "正月", "初一", today), EncodeDate(2150, 5, 5));
}

TEST(AlmanacQuery, EmptyLunarChoiceRaisesAConversionError) {
  const TDateTime today = EncodeDate(2026, 6, 1);
  EXPECT_THROW(AlmanacQueryDate(false, 0, "", "初一", today), EConvertError);
  EXPECT_THROW(AlmanacQueryDate(false, 0, "正月", "", today), EConvertError);
}
