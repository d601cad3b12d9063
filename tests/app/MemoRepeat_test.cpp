#include "app/core/MemoRepeat.h"

#include <gtest/gtest.h>

#include "DataModule.h"
#include "calendar/core/LunarCalendar.h"

namespace {

TRepeatRow Row(const char* ylsj, const char* chts, const char* yybz = "1", const char* xssj = "", const char* fzbz = "0",
               const char* yinlsj = "")
{
    return {1, ylsj, fzbz, chts, yybz, xssj, yinlsj};
}

// Lunar day of a solar date, and whether it is the last day of its lunar month.
int LunarDayOf(TDateTime date, bool* lastOfMonth = nullptr)
{
    bool leap;
    int cd, cm;
    EXPECT_TRUE(SolarToCnDate(YearOf(date), MonthOf(date), DayOf(date), leap, cd, cm));
    if (lastOfMonth) {
        int nd;
        EXPECT_TRUE(SolarToCnDate(YearOf(date + 1), MonthOf(date + 1), DayOf(date + 1), leap, nd, cm));
        *lastOfMonth = nd == 1;
    }
    return cd;
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
        {Row("2024-01-31", "每1月"), may2, "2024-02-29", "2024-01-31", "2024年02月29日 周四"},
        {Row("2024-02-29", "每1月", "1", "", "0", "2024-01-31"), may2, "2024-03-31", "2024-03-31", "2024年03月31日 周日"},
        {Row("2024-04-30", "每1月", "1", "", "0", "2024-03-31"), may2, "2024-05-31", "2024-05-31", "2024年05月31日 周五"},
        {Row("2024-04-30", "每1月", "1", "", "0", "2024-04-30"), may2, "2024-05-30", "2024-05-30", "2024年05月30日 周四"},
        {Row("2024-04-30", "每1月", "1", "", "0", "bad"), may2, "2024-05-30", "2024-05-30", "2024年05月30日 周四"},
        {Row("2024-12-15", "每1月"), EncodeDate(2025, 1, 1), "2025-01-15", "2025-01-15", "2025年01月15日 周三"},
        {Row("2024-02-29", "每1年"), EncodeDate(2024, 3, 1), "2025-02-28", "2024-02-29", "2025年02月28日 周五"},
        {Row("2027-02-28", "每1年", "1", "", "0", "2024-02-29"), EncodeDate(2027, 3, 1), "2028-02-29", "2028-02-29",
         "2028年02月29日 周二"},
        {Row("2027-02-28", "每1年", "1", "", "0", "2024-03-29"), EncodeDate(2027, 3, 1), "2028-02-28", "2028-02-28",
         "2028年02月28日 周一"},
    };
    for (const Case& c : cases) {
        auto move = NextRepeat(c.row, c.today, nullptr);
        ASSERT_TRUE(move) << c.row.Ylsj << " " << c.row.Chts;
        EXPECT_EQ(move->Ylsj, c.ylsj);
        EXPECT_EQ(move->Yinlsj, c.yinlsj);
        EXPECT_EQ(move->Xssj, c.xssj);
    }
}

// Chained as the pass chains them (each move written back, yinlsj included), a monthly
// memo on the 29th to 31st and a yearly one on 29 February keep their day for good: a
// month that lacks it takes its last day, the next month has it again.
TEST(MemoRepeat, SolarMonthAndYearRepeatsKeepTheirDay)
{
    for (int day = 28; day <= 31; ++day)
        for (const char* chts : {"每1月", "每1年"}) {
            const bool yearly = std::string(chts) == "每1年";
            const int month = yearly ? 2 : 1;
            if (yearly && day != 29)
                continue;
            TRepeatRow row = Row(FormatDateTime("yyyy-mm-dd", EncodeDate(2024, month, day)).c_str(), chts);
            row.Yinlsj = row.Ylsj;
            int y = 2024, m = month;
            for (int step = 0; step < (yearly ? 12 : 60); ++step) {
                const TDateTime due = StrToDate(row.Ylsj);
                auto move = NextRepeat(row, due + 1 + step % 3, nullptr);   // seen a day or three late
                ASSERT_TRUE(move);
                if (yearly)
                    ++y;
                else if (++m > 12)
                    m = 1, ++y;
                const TDateTime expected = EncodeDate(y, m, std::min(day, DaysInAMonth(y, m)));
                ASSERT_EQ(move->Ylsj, FormatDateTime("yyyy-mm-dd", expected)) << day << " " << chts << " " << step;
                row.Ylsj = move->Ylsj;
                row.Yinlsj = move->Yinlsj;
            }
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
        {"十二月 初五", "每1月", EncodeDate(2024, 12, 31), "2025-01-04", "十二月 初五"},
        {"腊月 初五", "每1月", EncodeDate(2025, 1, 5), "2025-02-02", "正月 初五"},
        {"正月 初一", "每1月", EncodeDate(2026, 4, 10), "2026-04-17", "三月 初一"},
        {"四月 初一", "每1月", EncodeDate(2028, 6, 1), "2028-06-23", "五月 初一"},   // 闰五月
        {"五月 三十", "每1月", EncodeDate(2028, 6, 1), "2028-06-22", "五月 三十"},   // a 29-day 五月
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

// A yearly lunar memo, the day after its occurrence, moves to the same lunar month and
// day of the next lunar year: never before today, never a year too far, keeping its
// lunar day (a 30th falls on the 29th of a short month and keeps its name).
TEST(MemoRepeat, YearlyLunarMemosMoveToTheirNextOccurrenceOverTheYears)
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
                const std::string xssj = MonthName(month) + " " + days[di];
                auto move = NextRepeat(Row(FormatDateTime("yyyy-mm-dd", today - 1).c_str(), "每1年", "0", xssj.c_str()),
                                       today, nullptr);
                ASSERT_TRUE(move) << xssj << " " << year;
                const TDateTime next = StrToDate(move->Ylsj);
                EXPECT_GE(next, today + 340) << xssj << " " << year;
                EXPECT_LT(next, today + 390) << xssj << " " << year;
                EXPECT_EQ(move->Xssj, xssj) << year;
                bool leap;
                int cd, cm;
                ASSERT_TRUE(SolarToCnDate(YearOf(next), MonthOf(next), DayOf(next), leap, cd, cm));
                EXPECT_EQ(cm, month);
                EXPECT_FALSE(leap);
                EXPECT_TRUE(cd == day || (day == 30 && cd == 29)) << xssj << " " << year;
            }
}

// A monthly lunar memo seen on any day moves to the first day from then on that carries
// its lunar day, in whatever month (a leap month too); a 30th takes the last day of a
// 29-day month and keeps its name. Found here by walking the days one by one.
TEST(MemoRepeat, MonthlyLunarMemosTakeTheFirstOccurrenceFromToday)
{
    const std::pair<int, const char*> days[] = {{1, "初一"}, {15, "十五"}, {29, "廿九"}, {30, "三十"}};
    for (TDateTime today = EncodeDate(2025, 12, 1); today <= EncodeDate(2029, 1, 31); today += 1)
        for (const auto& [day, name] : days) {
            TDateTime expected = today;
            for (bool last = false;; expected += 1) {
                const int cd = LunarDayOf(expected, &last);
                if (cd == day || (day == 30 && last))
                    break;
            }
            const std::string xssj = std::string("正月 ") + name;
            auto move = NextRepeat(Row("2025-01-01", "每1月", "0", xssj.c_str()), today, nullptr);
            ASSERT_TRUE(move) << name << " " << DateToStr(today);
            ASSERT_EQ(move->Ylsj, FormatDateTime("yyyy-mm-dd", expected)) << name << " " << DateToStr(today);
            EXPECT_TRUE(move->Xssj.ends_with(std::string(" ") + name)) << move->Xssj;
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
