// The data side of the menus and the tray icon, natively on a private data file: the tray
// summary's labels, slot claiming and the tray tip.
#include <gtest/gtest.h>

#include "DataModule.h"
#include "app/core/TrayMenus.h"
#include "framework/rtl/Encoding.h"

namespace {

const TDateTime Now_ = EncodeDateTime(2026, 5, 10, 14, 30, 0, 0);

TPendingMemo Memo(const std::string& ylsj, const std::string& tqtsts, const std::string& nr)
{
    return {1, ylsj, "1", tqtsts, "", nr};
}

class DataFile : public testing::Test {
protected:
    std::string InUse(const char* table)
    {
        std::string s;
        TADOQuery& q = data.Sql(std::string("select qyzt from ") + table + " order by bz ");
        q.Open();
        for (q.First(); !q.Eof(); q.Next())
            s += q.Fields(0).AsString();
        q.Close();
        return s;
    }
    DataModule data;
    Tdbhouse*& db = dbhouse;
};

}  // namespace

TEST(TraySummary, FestivalsAreLabelledByTheirDayForAWeek)
{
    const char* const labels[] = {"今天：", "明天：", "后天：", "三天后：", "四天后：", "五天后：", "六天后："};
    for (int d = -2; d <= 9; ++d) {
        const std::string text = TraySummary({{"节", DateOf(Now_) + d}}, {}, Now_);
        EXPECT_EQ(text, d >= 0 && d <= 6 ? std::string(labels[d]) + "节\n\r" : "") << d;
    }
}

TEST(TraySummary, MemosAppearInsideTheirNoticeWindow)
{
    struct Case {
        const char *ylsj, *tqtsts, *expected;
    } cases[] = {
        {"2026-05-15 09:00", "7天", "5天后 会\n\r"},
        {"2026-05-15 09:00", "3天", ""},
        {"2026-05-15", "5天", "5天后 会\n\r"},
        {"2026-05-15 23:00", "4天", ""},
        {"2026-05-12 18:00", "2天", "后天 会\n\r"},   // by whole days, whatever the time
        {"2026-05-11 08:00", "1天", "明日 会\n\r"},
        {"2026-05-10 08:00", "0天", "今日 会\n\r"},
        {"2026-05-09 08:00", "9天", ""},         // past
        {"soon", "9天", ""},
        {"2026-05-11 08:00", "几天", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TraySummary({}, {Memo(c.ylsj, c.tqtsts, "会")}, Now_), c.expected) << c.ylsj << " " << c.tqtsts;
}

TEST_F(DataFile, TheSummaryReadsFestivalsAndPendingMemos)
{
    data.Exec("delete from sz_jrb");
    data.Exec("insert into sz_jrb (jrmc, jrlx, rqlx, jryf, jrrq, realrq, qrbz) values "
         "('母亲节', '1', '阳历', '5', '12', '2026-05-12', '1')");
    data.Exec("insert into sz_bwlb (ylsj, fzbz, tqtsts, xssj, nr, qrbz) values "
         "('2026-05-13 10:00', '1', '7天', '', '交房租', '0'), ('2026-05-13 10:00', '1', '7天', '', '已办', '1')");
    EXPECT_EQ(ReadTraySummary(*db, Now_), "后天：母亲节\n\r3天后 交房租\n\r");
    data.Exec("update sz_jrb set realrq='2026-06-30'");
    data.Exec("delete from sz_bwlb");
    EXPECT_EQ(ReadTraySummary(*db, Now_), "");
}

TEST_F(DataFile, ANoteClaimTakesTheFirstFreeSlot)
{
    data.Exec("update sz_bqb set qyzt='1' where bz in ('便签1位置', '便签3位置')");
    TSlotClaimResult r = ClaimFreeSlot(*db, "sz_bqb", NoteSlotKeys);
    EXPECT_EQ(r.Result, TSlotClaim::Claimed);
    EXPECT_EQ(r.Slot, 1);
    EXPECT_EQ(InUse("sz_bqb"), "1110000");

    data.Exec("update sz_bqb set qyzt='1'");
    r = ClaimFreeSlot(*db, "sz_bqb", NoteSlotKeys);
    EXPECT_EQ(r.Result, TSlotClaim::AllInUse);
    EXPECT_EQ(InUse("sz_bqb"), "1111111");

    // A free row under a key of no window is passed over and nothing changes.
    data.Exec("insert into sz_bqb (iid, bz, strpath, rq, qyzt, xsbz) values "
              "(8, '便签0位置', '', '2026-01-01', '0', '')");
    r = ClaimFreeSlot(*db, "sz_bqb", NoteSlotKeys);
    EXPECT_EQ(r.Result, TSlotClaim::NoFreeKnownSlot);
    EXPECT_EQ(InUse("sz_bqb"), "01111111");
}

TEST(TrayTip, LongHintsAreCutAtACharacterBoundary)
{
    std::string chinese;
    for (int i = 0; i < 100; ++i)
        chinese += "日历";
    EXPECT_EQ(Utf8Length(TrayTipText(chinese, 127)), 127u);
    EXPECT_TRUE(IsValidUtf8(TrayTipText(chinese, 127)));
    EXPECT_EQ(TrayTipText("桌面日历", 127), "桌面日历");
    // A character outside the basic plane takes two units and is never halved.
    const std::string wide = std::string(126, 'a') + "\xF0\x9F\x95\x90" + "b";
    EXPECT_EQ(TrayTipText(wide, 127), std::string(126, 'a'));
    EXPECT_EQ(TrayTipText(wide, 128), std::string(126, 'a') + "\xF0\x9F\x95\x90");
    EXPECT_EQ(TrayTipText("", 127), "");
}
