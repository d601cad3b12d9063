#include "organizer/core/OrganizerLists.h"

#include <gtest/gtest.h>

TEST(OrganizerLists, ItemsAsTheDialogsShowThem) {
  auto sm = SolarMonthItems(), sd = SolarDayItems(), lm = LunarMonthItems(), ld = LunarDayItems();
  ASSERT_EQ(sm.size(), 12u);
  ASSERT_EQ(sd.size(), 31u);
  ASSERT_EQ(lm.size(), 12u);
  ASSERT_EQ(ld.size(), 30u);
  EXPECT_EQ(sm.front() + sm.back(), "1月12月");
  EXPECT_EQ(sd.front() + sd.back(), "1日31日");
  EXPECT_EQ(lm.front() + lm[10] + lm.back(), "正月十一月十二月");
  EXPECT_EQ(ld.front() + ld[9] + ld[19] + ld[20] + ld.back(), "初一初十二十廿一三十");
}

TEST(OrganizerLists, WeekdayNamesSundayFirst) {
  EXPECT_EQ(WeekdayName(1), "周日");
  EXPECT_EQ(WeekdayName(7), "周六");
  EXPECT_EQ(WeekdayName(0), "");
  EXPECT_EQ(WeekdayName(8), "");
}
