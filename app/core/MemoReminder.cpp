#include "app/core/MemoReminder.h"

#include <algorithm>

#include "app/core/dbhouse.h"
#include "framework/rtl/SysUtils.h"

const std::array<const char*, 7> NoteSlotKeys = {"便签1位置", "便签2位置", "便签3位置", "便签4位置",
                                                 "便签5位置", "便签6位置", "便签7位置"};
const std::array<const char*, 5> CountdownSlotKeys = {"倒计时1", "倒计时2", "倒计时3", "倒计时4", "倒计时5"};

namespace {

constexpr std::string_view DayUnit = "天";

TADOQuery& Use(TADOQuery* query, const std::string& sql)
{
    query->Close();
    query->SQL.Clear();
    query->SQL.Add(sql);
    return *query;
}

int MinuteOfDay(TDateTime dt)
{
    int h, m, s, ms;
    DecodeTime(dt, h, m, s, ms);
    return h * 60 + m;
}

struct TWeighed {
    TPendingMemo Row;
    TDateTime Due;
};

}  // namespace

bool NoticeDays(std::string_view tqtsts, int& days)
{
    if (!tqtsts.ends_with(DayUnit))
        return false;
    int value;
    if (!TryStrToInt(tqtsts.substr(0, tqtsts.size() - DayUnit.size()), value) || value < 0)
        return false;
    days = value;
    return true;
}

std::string MemoDateLine(int days, const std::string& xssj)
{
    switch (days) {
    case 0: return "今日 " + xssj;
    case 1: return "明日 " + xssj;
    case 2: return "后天 " + xssj;
    default: return IntToStr(days) + "天后 " + xssj;
    }
}

TMemoPlan PlanMemoPass(std::vector<TPendingMemo> rows, TDateTime now)
{
    TMemoPlan plan;
    std::vector<TWeighed> weighed;
    for (TPendingMemo& row : rows) {
        TDateTime due;
        if (TryStrToDateTime(row.Ylsj, due))
            weighed.push_back({std::move(row), due});
        else
            ++plan.Skipped;
    }
    std::stable_sort(weighed.begin(), weighed.end(),
                     [](const TWeighed& a, const TWeighed& b) { return a.Due < b.Due; });

    const TDateTime today = DateOf(now);
    std::vector<TBoardPanel> past;
    for (TWeighed& w : weighed) {
        const TPendingMemo& row = w.Row;
        const int days = int(DateOf(w.Due) - today);
        const bool minutePrecise = row.Fzbz == "1";
        int notice;
        if (NoticeDays(row.Tqtsts, notice) && days <= notice) {
            if (days >= 0)
                plan.Panels.push_back({row.Iid, MemoDateLine(days, row.Xssj), row.Nr});
            else
                past.push_back({row.Iid, "", ""});
        }
        if (minutePrecise && days == 0 && MinuteOfDay(w.Due) <= MinuteOfDay(now))
            plan.Due.push_back(std::move(w.Row));
    }
    plan.BoardWanted = !plan.Panels.empty();
    for (TBoardPanel& p : past)
        plan.Panels.push_back(std::move(p));
    if (plan.Panels.size() > size_t(MemoBoardPanels))
        plan.Panels.resize(MemoBoardPanels);
    return plan;
}

std::vector<TPendingMemo> ReadPendingMemos(Tdbhouse& db)
{
    std::vector<TPendingMemo> rows;
    TADOQuery& q = Use(db.qbw1, "select * from sz_bwlb  where qrbz= :qrbz order by ylsj ");
    q.Parameters.ParamByName("qrbz").Value = "0";
    q.Open();
    for (q.First(); !q.Eof(); q.Next())
        rows.push_back({q.FieldByName("iid").AsInteger(), q.FieldByName("ylsj").AsString(),
                        q.FieldByName("fzbz").AsString(), q.FieldByName("tqtsts").AsString(),
                        q.FieldByName("xssj").AsString(), q.FieldByName("nr").AsString()});
    q.Close();
    return rows;
}

void MarkMemoReminded(Tdbhouse& db, int32_t iid)
{
    TADOQuery& q = Use(db.qgx, "update sz_bwlb set qrbz= :qrbz where iid= :iid ");
    q.Parameters.ParamByName("qrbz").Value = "1";
    q.Parameters.ParamByName("iid").Value = iid;
    q.ExecSQL();
}

TSlotStates ReadSlotsInUse(Tdbhouse& db, const char* flagField, const char* table,
                           std::span<const char* const> keys)
{
    TADOQuery& flag = Use(db.qy, std::string("select ") + flagField + " from sz_sfxsb ");
    flag.Open();
    const bool shown = !flag.IsEmpty() && flag.FieldByName(flagField).AsString() == "1";
    flag.Close();
    if (!shown)
        return std::nullopt;

    std::vector<std::optional<bool>> states(keys.size());
    TADOQuery& q = Use(db.qrbq, std::string("select * from ") + table + " ");
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) {
        const std::string key = q.FieldByName("bz").AsString();
        for (size_t i = 0; i < keys.size(); ++i)
            if (key == keys[i])
                states[i] = q.FieldByName("qyzt").AsString() == "1";
    }
    q.Close();
    return states;
}
