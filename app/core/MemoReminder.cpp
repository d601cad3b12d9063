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

namespace {

constexpr const char* PendingColumns = "select iid,ylsj,fzbz,tqtsts,xssj,nr from sz_bwlb ";

void ReadPendingRows(TADOQuery& q, std::vector<TPendingMemo>& rows)
{
    q.Open();
    const TField &iid = q.FieldByName("iid"), &ylsj = q.FieldByName("ylsj"), &fzbz = q.FieldByName("fzbz"),
                 &tqtsts = q.FieldByName("tqtsts"), &xssj = q.FieldByName("xssj"), &nr = q.FieldByName("nr");
    for (q.First(); !q.Eof(); q.Next())
        rows.push_back({iid.AsInteger(), ylsj.AsString(), fzbz.AsString(), tqtsts.AsString(), xssj.AsString(),
                        nr.AsString()});
    q.Close();
}

}  // namespace

std::vector<TPendingMemo> ReadPendingMemos(Tdbhouse& db)
{
    std::vector<TPendingMemo> rows;
    TADOQuery& q = Use(db.qbw1, std::string(PendingColumns) + "where qrbz= :qrbz order by ylsj, iid ");
    q.Parameters.ParamByName("qrbz").Value = "0";
    ReadPendingRows(q, rows);
    return rows;
}

namespace {

// The notices the memo editor writes; a row due further ahead than the longest of them
// is read only when its notice is some other text.
constexpr int EditorNoticeDays = 15;

std::string EditorNoticeList()
{
    std::string list;
    for (int d = 0; d <= EditorNoticeDays; ++d)
        list += (d ? ",'" : "'") + IntToStr(d) + "天'";
    return list;
}

}  // namespace

// Three reads, each through an index of the data file, instead of every pending row: the
// rows due from today on within the editor's longest notice, or further with a notice of
// another form; the twelve earliest past rows with a notice (all the board can take),
// where the due text starts with a padded date and so sorts by date; and the rows whose
// due text does not, through their own index. The caller weighs them as if it had read
// every row (rows read twice count once; rows that cannot matter change nothing).
std::vector<TPendingMemo> ReadPendingMemos(Tdbhouse& db, TDateTime now)
{
    std::vector<TPendingMemo> rows;
    const std::string today = FormatDateTime("yyyy-mm-dd", now);
    const std::string dated = std::string("ylsj glob '") + PaddedDateGlob + "' ";

    TADOQuery& current = Use(db.qbw1, std::string(PendingColumns) +
                                          "where qrbz= :qrbz and ylsj >= :today and (ylsj < :horizon or tqtsts not in (" +
                                          EditorNoticeList() + ")) order by ylsj ");
    current.Parameters.ParamByName("qrbz").Value = "0";
    current.Parameters.ParamByName("today").Value = today;
    current.Parameters.ParamByName("horizon").Value = FormatDateTime("yyyy-mm-dd", IncDay(now, EditorNoticeDays + 1));
    ReadPendingRows(current, rows);

    // Past rows in pages until twelve of them would take a panel.
    int taken = 0;
    for (int offset = 0;; offset += MemoBoardPanels) {
        TADOQuery& past = Use(db.qbw1, std::string(PendingColumns) + "where qrbz= :qrbz and ylsj < :today and " + dated +
                                           "and tqtsts like '%天' order by ylsj limit :n offset :k ");
        past.Parameters.ParamByName("qrbz").Value = "0";
        past.Parameters.ParamByName("today").Value = today;
        past.Parameters.ParamByName("n").Value = MemoBoardPanels;
        past.Parameters.ParamByName("k").Value = offset;
        const size_t first = rows.size();
        ReadPendingRows(past, rows);
        for (size_t i = first; i < rows.size(); ++i) {
            int days;
            TDateTime due;
            if (NoticeDays(rows[i].Tqtsts, days) && TryStrToDateTime(rows[i].Ylsj, due))
                ++taken;
        }
        if (taken >= MemoBoardPanels || rows.size() - first < size_t(MemoBoardPanels))
            break;
    }

    // "+qrbz": only the index of irregular rows serves this read.
    TADOQuery& irregular = Use(db.qbw1, std::string(PendingColumns) + "where ylsj not " + dated.substr(5) +
                                            "and +qrbz= :qrbz ");
    irregular.Parameters.ParamByName("qrbz").Value = "0";
    ReadPendingRows(irregular, rows);

    // The order the one query over every row gave: by due text, equal texts by key.
    std::sort(rows.begin(), rows.end(), [](const TPendingMemo& a, const TPendingMemo& b) {
        return a.Ylsj != b.Ylsj ? a.Ylsj < b.Ylsj : a.Iid < b.Iid;
    });
    rows.erase(std::unique(rows.begin(), rows.end(),
                           [](const TPendingMemo& a, const TPendingMemo& b) { return a.Iid == b.Iid; }),
               rows.end());
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
