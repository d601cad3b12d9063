// The memo timers' narrow reads plan and move exactly what reading every row did, over a
// file of mixed rows (padded and unpadded due texts, texts that are no date, every kind of
// notice text) at days and times around them; the festival refresh writes only what changed.
#include <gtest/gtest.h>

#include <random>
#include <sqlite3.h>

#include "../db/DataFileCopy.h"
#include "app/core/MemoReminder.h"
#include "app/core/MemoRepeat.h"
#include "app/core/Startup.h"
#include "app/core/TrayMenus.h"
#include "app/core/dbhouse.h"
#include "framework/rtl/SysUtils.h"

namespace {

struct Module {
    DataFileCopy File;
    TComponent Owner{nullptr};
    Tdbhouse* House = new Tdbhouse(&Owner);
    Module() {
        House->democnn->SetConnectionString(DataConnectionString(File.Folder()));
        House->democnn->Open();
    }
    TADOQuery& Sql(const std::string& sql) {
        TADOQuery& q = *House->qok;
        q.Close();
        q.SQL.Clear();
        q.SQL.Add(sql);
        return q;
    }
};

const TDateTime Base = EncodeDate(2026, 5, 10);

// Due texts around Base in every written form, some that do not read.
std::string RandomDue(std::mt19937& rng) {
    const int offset = std::uniform_int_distribution<int>(-40, 40)(rng);
    int y, m, d;
    DecodeDate(Base + offset, y, m, d);
    const std::string padded = Format("%.4d-%.2d-%.2d", {int64_t(y), int64_t(m), int64_t(d)});
    switch (rng() % 8) {
    case 0: return Format("%d-%d-%d", {int64_t(y), int64_t(m), int64_t(d)});
    case 1: return padded + Format(" %.2d:%.2d:00", {int64_t(rng() % 24), int64_t(rng() % 60)});
    case 2: return padded + Format(" %d:%.2d", {int64_t(rng() % 24), int64_t(rng() % 60)});
    case 3: return rng() % 4 ? padded + " 14:30" : "不是日期";
    default: return padded;
    }
}

void FillMemos(Module& m, int count, unsigned seed) {
    std::mt19937 rng(seed);
    const char* notices[] = {"0天", "1天", "3天", "7天", "30天", "03天", "$A天", "0x3天", " 2天", "-1天", "3", "几天", "", "999999999999天"};
    const char* repeats[] = {"每0天", "每1天", "每3天", "每1月", "每1年", "每00天", "每天", ""};
    m.House->democnn->BeginTrans();
    for (int i = 0; i < count; ++i) {
        TADOQuery& q = m.Sql("insert into sz_bwlb(yybz,ylsj,yinlsj,nr,tqtsts,gqzdsc,chts,yypath,xssj,fzbz,qrbz) "
                             "values(:yybz,:ylsj,:ylsj,:nr,:tqtsts,'0天',:chts,'',:xssj,:fzbz,:qrbz)");
        const bool lunar = rng() % 6 == 0;
        q.Parameters.ParamByName("yybz").Value = lunar ? "0" : "1";
        q.Parameters.ParamByName("ylsj").Value = RandomDue(rng);
        q.Parameters.ParamByName("nr").Value = "备忘" + IntToStr(i);
        q.Parameters.ParamByName("tqtsts").Value = notices[rng() % std::size(notices)];
        q.Parameters.ParamByName("chts").Value = repeats[rng() % std::size(repeats)];
        q.Parameters.ParamByName("xssj").Value = lunar ? (rng() % 2 ? "三月 十五" : "十二月 三十") : "x" + IntToStr(i);
        q.Parameters.ParamByName("fzbz").Value = rng() % 2 ? "1" : "0";
        q.Parameters.ParamByName("qrbz").Value = rng() % 5 ? "0" : "1";
        q.ExecSQL();
    }
    m.House->democnn->CommitTrans();
}

std::string Describe(const TMemoPlan& plan) {
    std::string text = plan.BoardWanted ? "board;" : "no board;";
    for (const TBoardPanel& p : plan.Panels)
        text += IntToStr(p.Iid) + " " + p.DateLine + " " + p.Text + ";";
    text += " due:";
    for (const TPendingMemo& r : plan.Due)
        text += " " + IntToStr(r.Iid);
    return text;
}

std::vector<std::string> Table(Module& m) {
    std::vector<std::string> rows;
    TADOQuery& q = m.Sql("select iid,ylsj,yinlsj,xssj,qrbz from sz_bwlb order by iid ");
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) {
        std::string row;
        for (int c = 0; c < q.FieldCount(); ++c)
            row += q.Fields(c).AsString() + "|";
        rows.push_back(row);
    }
    q.Close();
    return rows;
}

}  // namespace

TEST(MemoReads, PendingReadPlansWhatEveryRowPlanned) {
    Module m;
    FillMemos(m, 600, 1);
    // Past rows with no notice in front, so the past read must page on to fill the board.
    m.House->democnn->BeginTrans();
    for (int i = 0; i < 30; ++i)
        m.Sql("insert into sz_bwlb(ylsj,nr,tqtsts,chts,fzbz,qrbz) values('2020-01-0" + IntToStr(i % 9 + 1) +
              "','早','几天','每0天','0','0')")
            .ExecSQL();
    m.House->democnn->CommitTrans();
    for (int day = -45; day <= 45; day += 5)
        for (double time : {0.0, 14.5 / 24, 0.9999}) {
            const TDateTime now = Base + day + time;
            const std::vector<TPendingMemo> every = ReadPendingMemos(*m.House), narrow = ReadPendingMemos(*m.House, now);
            EXPECT_LT(narrow.size(), every.size());
            EXPECT_EQ(Describe(PlanMemoPass(narrow, now)), Describe(PlanMemoPass(every, now))) << DateTimeToStr(now);
            EXPECT_EQ(TraySummary({}, narrow, now), TraySummary({}, every, now)) << DateTimeToStr(now);
        }
}

TEST(MemoReads, RepeatPassMovesWhatEveryRowMoved) {
    Module m;
    FillMemos(m, 400, 2);
    const TLunarNamer namer = [](TDateTime d) { return "农" + DateToStr(d); };
    for (TDateTime today : {Base - 20, Base, Base + 1, Base + 30}) {
        // The moves the pass over every row makes, applied by hand to the expected table.
        std::map<int, TRepeatMove> expected;
        TADOQuery& q = m.Sql("select * from sz_bwlb ");
        q.Open();
        for (q.First(); !q.Eof(); q.Next()) {
            const TRepeatRow row{q.FieldByName("iid").AsInteger(), q.FieldByName("ylsj").AsString(),
                                 q.FieldByName("fzbz").AsString(), q.FieldByName("chts").AsString(),
                                 q.FieldByName("yybz").AsString(), q.FieldByName("xssj").AsString(),
                                 q.FieldByName("yinlsj").AsString()};
            try {
                if (auto move = NextRepeat(row, today, namer))
                    expected[row.Iid] = *move;
            } catch (const EConvertError&) {
            }
        }
        q.Close();
        std::vector<std::string> before = Table(m);
        for (std::string& row : before) {
            const int iid = StrToInt(row.substr(0, row.find('|')));
            if (auto it = expected.find(iid); it != expected.end())
                row = IntToStr(iid) + "|" + it->second.Ylsj + "|" + it->second.Yinlsj + "|" + it->second.Xssj + "|0|";
        }
        EXPECT_EQ(RepeatMemos(*m.House, today, namer), int(expected.size())) << DateToStr(today);
        EXPECT_EQ(Table(m), before) << DateToStr(today);
    }
}

TEST(MemoReads, FestivalRefreshWritesOnlyRowsWhoseStoredDateDiffers) {
    Module m;
    sqlite3* db = m.House->democnn->Handle();
    const int rows = StrToInt([&] {
        TADOQuery& q = m.Sql("select count(*) from sz_jrb ");
        q.Open();
        return q.Fields(0).AsString();
    }());
    int before = sqlite3_total_changes(db);
    EXPECT_EQ(RefreshFestivalDates(*m.House, 2026, Base), 0);
    EXPECT_EQ(sqlite3_total_changes(db) - before, rows);   // the shipped file holds last year's dates
    m.Sql("update sz_jrb set qrbz= '1' ").ExecSQL();
    // The same date in another written form is rewritten, still confirmed.
    m.Sql("update sz_jrb set realrq= '2026-1-1' where jrmc= '元旦' ").ExecSQL();
    before = sqlite3_total_changes(db);
    EXPECT_EQ(RefreshFestivalDates(*m.House, 2026, Base), 0);
    EXPECT_EQ(sqlite3_total_changes(db) - before, 1);
    before = sqlite3_total_changes(db);
    RefreshFestivalDates(*m.House, 2026, Base);
    EXPECT_EQ(sqlite3_total_changes(db) - before, 0);
    TADOQuery& q = m.Sql("select count(*) from sz_jrb where qrbz= '1' and realrq= '2026-01-01' ");
    q.Open();
    EXPECT_EQ(q.Fields(0).AsInteger(), 1);
}
