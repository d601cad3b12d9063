#include "organizer/core/FestivalMarks.h"

#include <gtest/gtest.h>

#include "tests/app/DataModule.h"

TEST(FestivalMarks, OnlyTheUsersRowsWithADateMarkTheirMonthAndDayInAnyYear)
{
    DataModule db;
    db.Exec("delete from sz_jrb");
    db.Exec("insert into sz_jrb (jrmc, zdyf, realrq) values ('妈妈生日', '1', '2020-03-08'), ('无日期', '1', NULL), "
            "('别人的', '0', '2026-03-08'), ('结婚纪念日', '1', '2026-03-08 00:00:00'), ('元旦', '1', '2026-01-01')");
    const std::vector<TFestivalMark> marks = ReadFestivalMarks(*dbhouse);
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(MarksOnDay(marks, 3, 8), (std::vector<std::string>{"妈妈生日", "结婚纪念日"}));
    EXPECT_EQ(MarksOnDay(marks, 1, 1), (std::vector<std::string>{"元旦"}));
    EXPECT_TRUE(MarksOnDay(marks, 12, 30).empty());   // a missing date is not 1899-12-30
    EXPECT_TRUE(MarksOnDay(marks, 4, 8).empty());
}
