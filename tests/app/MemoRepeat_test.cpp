#include "app/core/MemoRepeat.h"

#include <gtest/gtest.h>

#include "DataModule.h"
#include "calendar/core/LunarCalendar.h"

namespace {

TRepeatRow Row(const char* ylsj, const char* chts, const char* yybz = "1", const char* xssj = "", const char* fzbz = "0")
{
    return {1, ylsj, fzbz, chts, yybz, xssj};
}

std::string MonthName(int month)
{
    static const char* const names[] = {"正月", "二月", "三月", "四月", "五月", "六月",
                                        "七月", "八月", "九月", "十月", "十一月", "十二月"};
    return names[month - 1];
}

}  // namespace

TEST(MemoRepeat, SolarMemosMoveOneStepOnceTheirDayHasPassed)
{
    struct Case {
        TRepeatRow row;
        TDateTime today;
        const char *ylsj, *yinlsj, *xssj;
    };
    const TDateTime may2 = EncodeDate(2024, 5, 2);
    const Case cases[] = {
        {Row("2024-05-01", "每3天"), may2, "2024-05-04", "2024-05-04", "2024年05月04日 周六"},
        {Row("2024-05-01 08:30", "每1天", "1", "", "1"), may2, "2024-05-02 08:30", "2024-05-02",
         "2024年05月02日 08:30 周四"},
        {Row("2024-5-1 08:30:00", "每30天"), may2, "2024-05-31", "2024-05-31", "2024年05月31日 周五"},
        {Row("2024-01-31", "每1月"), may2, "2024-02-29", "2024-02-29", "2024年02月29日 周四"},
        {Row("2024-12-15", "每1月"), EncodeDate(2025, 1, 1), "2025-01-15", "2025-01-15", "2025年01月15日 周三"},
        {Row("2024-02-29", "每1年"), EncodeDate(2024, 3, 1), "2025-02-28", "2025-02-28", "2025年02月28日 周五"},
    };
    for (const Case& c : cases) {
        auto move = NextRepeat(c.row, c.today, nullptr);
        ASSERT_TRUE(move) << c.row.Ylsj << " " << c.row.Chts;
        EXPECT_EQ(move->Ylsj, c.ylsj);
        EXPECT_EQ(move->Yinlsj, c.yinlsj);
        EXPECT_EQ(move->Xssj, c.xssj);
    }
}

TEST(MemoRepeat, MemosDueTodayOrNeverRepeatingStay)
{
    EXPECT_FALSE(NextRepeat(Row("2024-05-01", "每3天"), EncodeDate(2024, 5, 1) + 0.9, nullptr));
    EXPECT_FALSE(NextRepeat(Row("2000-01-01", "每0天"), EncodeDate(2024, 5, 1), nullptr));
    EXPECT_FALSE(NextRepeat(Row("2024-01-01", "每1天", "0", "正月 初一"), EncodeDate(2024, 5, 1), nullptr));
    EXPECT_THROW(NextRepeat(Row("not a date", "每1天"), EncodeDate(2024, 5, 1), nullptr), EConvertError);
    EXPECT_THROW(NextRepeat(Row("2024-01-01", "每天"), EncodeDate(2024, 5, 1), nullptr), EConvertError);
}

TEST(MemoRepeat, LunarMemosKeepTheirMonthAndDayAndWritePlainMonthNames)
{
    struct Case {
        const char *xssj, *chts;
        TDateTime today;
        const char *ylsj, *shown;
    };
    const Case cases[] = {
        {"正月 初一", "每1月", EncodeDate(2024, 2, 12), "2024-03-10", "二月 初一"},
        {"正月 初一", "每1年", EncodeDate(2024, 2, 12), "2025-01-29", "正月 初一"},
        {"十月 初一", "每1月", EncodeDate(2024, 11, 5), "2024-12-01", "十一月 初一"},
        {"十二月 初五", "每1月", EncodeDate(2024, 12, 31), "2025-02-02", "正月 初五"},
        {"腊月 初五", "每1月", EncodeDate(2024, 12, 31), "2025-02-02", "正月 初五"},
        {"闰二月 初一", "每1年", EncodeDate(2023, 4, 1), "2024-03-10", "二月 初一"},
        {"闰二 初一", "每1月", EncodeDate(2023, 4, 1), "2023-04-20", "三月 初一"},
    };
    for (const Case& c : cases) {
        auto move = NextRepeat(Row("2000-01-01", c.chts, "0", c.xssj), c.today, nullptr);
        ASSERT_TRUE(move) << c.xssj << " " << c.chts;
        EXPECT_EQ(move->Ylsj, c.ylsj) << c.xssj << " " << c.chts;
        EXPECT_EQ(move->Yinlsj, c.ylsj);
        EXPECT_EQ(move->Xssj, c.shown) << c.xssj << " " << c.chts;
    }
    EXPECT_FALSE(NextRepeat(Row("2000-01-01", "每1月", "0", "某月 初一"), EncodeDate(2024, 4, 1), nullptr));
}

// Every lunar memo, the day after its occurrence, moves to the next occurrence of its month
// step: never before today, never a year too far, keeping its lunar day (a 30th falls on
// the 29th of a short month and keeps its name).
TEST(MemoRepeat, LunarMemosMoveToTheirNextOccurrenceOverTheYears)
{
    const char* const days[] = {"初一", "十五", "廿九", "三十"};
    for (int year = 2010; year <= 2030; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int di = 0; di < 4; ++di) {
                const int day = di == 3 ? 30 : di == 2 ? 29 : di == 1 ? 15 : 1;
                int sy, sm, sd;
                if (!CnDateToSolar(year, month, day, false, sy, sm, sd))
                    continue;
                const TDateTime today = EncodeDate(sy, sm, sd) + 1;
                for (const char* chts : {"每1月", "每1年"}) {
                    const bool monthly = std::string(chts) == "每1月";
                    const int target = monthly ? month % 12 + 1 : month;
                    const std::string xssj = MonthName(month) + " " + days[di];
                    auto move = NextRepeat(Row(FormatDateTime("yyyy-mm-dd", today - 1).c_str(), chts, "0", xssj.c_str()),
                                           today, nullptr);
                    ASSERT_TRUE(move) << xssj << " " << chts << " " << year;
                    const TDateTime next = StrToDate(move->Ylsj);
                    EXPECT_GE(next, today) << xssj << " " << chts << " " << year;
                    EXPECT_LT(next, today + (monthly ? 60 : 390)) << xssj << " " << chts << " " << year;
                    EXPECT_EQ(move->Xssj, MonthName(target) + " " + days[di]) << chts << " " << year;
                    bool leap;
                    int cd, cm;
                    ASSERT_TRUE(SolarToCnDate(YearOf(next), MonthOf(next), DayOf(next), leap, cd, cm));
                    EXPECT_EQ(cm, target);
                    EXPECT_FALSE(leap);
                    EXPECT_TRUE(cd == day || (day == 30 && cd == 29)) << xssj << " " << chts << " " << year;
                }
            }
}

TEST(MemoRepeat, PassMovesEveryDueRowAndPassesOverOneThatDoesNotRead)
{
    DataModule db;
    db.Exec("delete from sz_bwlb");
    auto insert = [&](const char* ylsj, const char* chts, const char* yybz, const char* xssj) {
        db.Exec(std::string("insert into sz_bwlb (yybz,ylsj,yinlsj,nr,tqtsts,gqzdsc,chts,yypath,xssj,fzbz,qrbz) values ('") +
                yybz + "','" + ylsj + "','" + ylsj + "','x','0天','0天','" + chts + "','','" + xssj + "','0','1')");
    };
    insert("0000-bad", "每1天", "1", "");
    insert("2024-05-01", "每3天", "1", "");
    insert("2024-02-01", "每1月", "0", "十月 初一");
    insert("2024-05-01", "每0天", "1", "");
    EXPECT_EQ(RepeatMemos(*dbhouse, EncodeDate(2024, 11, 5), nullptr), 2);
    EXPECT_EQ(db.Value("select ylsj||'|'||yinlsj||'|'||qrbz||'|'||xssj from sz_bwlb where chts='每3天'"),
              "2024-05-04|2024-05-04|0|2024年05月04日 周六");
    EXPECT_EQ(db.Value("select ylsj||'|'||qrbz||'|'||xssj from sz_bwlb where chts='每1月'"), "2024-12-01|0|十一月 初一");
    EXPECT_EQ(db.Value("select qrbz from sz_bwlb where chts='每0天'"), "1");
}
