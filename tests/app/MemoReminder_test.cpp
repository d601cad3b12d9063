// Which pending memos fill the memo board and which fire.
#include "app/core/MemoReminder.h"

#include <gtest/gtest.h>

#include "framework/rtl/SysUtils.h"

namespace {

const TDateTime kNow = EncodeDateTime(2026, 5, 10, 14, 30, 0, 0);

TPendingMemo Memo(int iid, const std::string& ylsj, const std::string& fzbz = "1", const std::string& tqtsts = "0天")
{
    return {iid, ylsj, fzbz, tqtsts, "x" + IntToStr(iid), "memo " + IntToStr(iid)};
}

std::vector<int> DueIids(const TMemoPlan& plan)
{
    std::vector<int> iids;
    for (const TPendingMemo& r : plan.Due)
        iids.push_back(r.Iid);
    return iids;
}

std::vector<int> PanelIids(const TMemoPlan& plan)
{
    std::vector<int> iids;
    for (const TBoardPanel& p : plan.Panels)
        iids.push_back(p.Iid);
    return iids;
}

}  // namespace

TEST(MemoPlan, MinutePreciseMemoFiresFromItsMinuteOnTodayOnly)
{
    struct Case {
        const char* ylsj;
        const char* fzbz;
        bool fires;
    };
    const Case cases[] = {
        {"2026-05-10 14:30:00", "1", true},  {"2026-05-10 14:30", "1", true},  {"2026-05-10 14:29:00", "1", true},
        {"2026-05-10 14:31:00", "1", false}, {"2026-05-10 00:00:00", "1", true}, {"2026-05-10", "0", false},
        {"2026-05-10 08:00", "0", false},     {"2026-05-09 14:00", "1", false},  {"2026-05-11 08:00", "1", false},
    };
    for (const Case& c : cases) {
        TMemoPlan plan = PlanMemoPass({Memo(1, c.ylsj, c.fzbz)}, kNow);
        EXPECT_EQ(plan.Due.size(), c.fires ? 1u : 0u) << c.ylsj << " " << c.fzbz;
    }
    // A second into the minute is the minute itself; the memo's seconds do not count.
    EXPECT_EQ(PlanMemoPass({Memo(1, "2026-05-10 14:30:59")}, kNow).Due.size(), 1u);
}

TEST(MemoPlan, DateLineFollowsTheDaysAheadWithinTheNotice)
{
    struct Case {
        const char* ylsj;
        const char* tqtsts;
        const char* line;   // nullptr: no panel
    };
    const Case cases[] = {
        {"2026-05-10 16:00", "0天", "今日 x1"}, {"2026-05-11", "1天", "明日 x1"},  {"2026-05-12", "2天", "后天 x1"},
        {"2026-05-15", "7天", "5天后 x1"},     {"2026-05-15", "5天", "5天后 x1"}, {"2026-05-15", "3天", nullptr},
        {"2026-05-11", "0天", nullptr},        {"2026-05-15", "七天", nullptr},   {"2026-05-15", "-1天", nullptr},
    };
    for (const Case& c : cases) {
        TMemoPlan plan = PlanMemoPass({Memo(1, c.ylsj, "0", c.tqtsts)}, kNow);
        if (!c.line) {
            EXPECT_TRUE(plan.Panels.empty()) << c.ylsj << " " << c.tqtsts;
            EXPECT_FALSE(plan.BoardWanted);
            continue;
        }
        ASSERT_EQ(plan.Panels.size(), 1u) << c.ylsj << " " << c.tqtsts;
        EXPECT_EQ(plan.Panels[0].DateLine, c.line);
        EXPECT_EQ(plan.Panels[0].Text, "memo 1");
        EXPECT_TRUE(plan.BoardWanted);
    }
}

TEST(MemoPlan, PastMemoNeverFiresAndTakesAnEmptyPanelAfterTheCurrentOnes)
{
    TMemoPlan plan = PlanMemoPass({Memo(1, "2026-05-09 14:00"), Memo(2, "2026-05-10 18:00")}, kNow);
    EXPECT_TRUE(plan.Due.empty());
    EXPECT_EQ(PanelIids(plan), (std::vector<int>{2, 1}));
    EXPECT_EQ(plan.Panels[1].DateLine, "");
    EXPECT_EQ(plan.Panels[1].Text, "");
    EXPECT_TRUE(plan.BoardWanted);   // the last panel being a past memo does not close the board

    plan = PlanMemoPass({Memo(1, "2026-05-09 14:00")}, kNow);
    EXPECT_EQ(plan.Panels.size(), 1u);
    EXPECT_FALSE(plan.BoardWanted);
}

TEST(MemoPlan, RowsBeyondTwelveStillFireAndPastRowsGiveWayOnTheBoard)
{
    std::vector<TPendingMemo> rows;
    for (int i = 1; i <= 20; ++i)
        rows.push_back(Memo(i, "2026-04-" + IntToStr(10 + i % 10) + " 09:00"));
    rows.push_back(Memo(100, "2026-05-10 14:00"));
    TMemoPlan plan = PlanMemoPass(rows, kNow);
    EXPECT_EQ(DueIids(plan), (std::vector<int>{100}));
    ASSERT_EQ(plan.Panels.size(), 12u);
    EXPECT_EQ(plan.Panels[0].Iid, 100);
    EXPECT_EQ(plan.Panels[0].DateLine, "今日 x100");

    rows.clear();
    for (int i = 1; i <= 14; ++i)
        rows.push_back(Memo(i, "2026-05-10 0" + IntToStr(i % 10) + ":00", "1", "3天"));
    plan = PlanMemoPass(rows, kNow);
    EXPECT_EQ(plan.Panels.size(), 12u);
    EXPECT_EQ(plan.Due.size(), 14u);
}

TEST(MemoPlan, EveryWrittenFormOfTheDateSortsByDateAndAnUnreadableOneIsPassedOver)
{
    TMemoPlan plan = PlanMemoPass({Memo(1, "2026-5-12", "0", "5天"), Memo(2, "2026-05-11 08:00:00", "0", "5天"),
                                   Memo(3, "tomorrow", "1", "5天"), Memo(4, "2026-10-01", "0", "200天"),
                                   Memo(5, "2026-05-11 07:00", "0", "5天")},
                                  kNow);
    EXPECT_EQ(PanelIids(plan), (std::vector<int>{5, 2, 1, 4}));
    EXPECT_EQ(plan.Skipped, 1);
}
