#include "app/core/TrayMenus.h"

#include "app/core/dbhouse.h"
#include "framework/rtl/Encoding.h"
#include "framework/rtl/SysUtils.h"

namespace {

TADOQuery& Use(TADOQuery* query, const std::string& sql)
{
    query->Close();
    query->SQL.Clear();
    query->SQL.Add(sql);
    return *query;
}

constexpr const char* EntryEnd = "\n\r";

}  // namespace

std::string TraySummary(const std::vector<TFestivalDay>& festivals, const std::vector<TPendingMemo>& memos,
                        TDateTime now)
{
    static const char* const FestivalLabels[] = {"今天：", "明天：", "后天：", "三天后：",
                                                 "四天后：", "五天后：", "六天后："};
    const TDateTime today = DateOf(now);
    std::string text;
    for (const TFestivalDay& f : festivals) {
        const double d = DateOf(f.Realrq) - today;
        if (d >= 0 && d <= 6)
            text += FestivalLabels[int(d)] + f.Jrmc + EntryEnd;
    }
    for (const TPendingMemo& m : memos) {
        int notice;
        TDateTime due;
        if (!NoticeDays(m.Tqtsts, notice) || !TryStrToDateTime(m.Ylsj, due))
            continue;
        // Whole days, as the memo board weighs them: a memo with a time of day is inside
        // its notice on the first day of it, not only from that day's time on.
        const double d = DateOf(due) - today;
        if (d >= 0 && d <= notice)
            text += MemoDateLine(int(d), m.Nr) + EntryEnd;
    }
    return text;
}

std::string ReadTraySummary(Tdbhouse& db, TDateTime now)
{
    std::vector<TFestivalDay> festivals;
    TADOQuery& q = Use(db.qrqcx, "select * from sz_jrb order by realrq ");
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) {
        try {
            festivals.push_back({q.FieldByName("jrmc").AsString(), q.FieldByName("realrq").AsDateTime()});
        } catch (const EConvertError&) {
        }
    }
    q.Close();
    return TraySummary(festivals, ReadPendingMemos(db, now), now);
}

void WriteShownFlag(Tdbhouse& db, const char* field, bool shown)
{
    const std::string name = field;
    TADOQuery& q = Use(db.qup, "update sz_sfxsb set " + name + "= :" + name + " ");
    q.Parameters.ParamByName(name).Value = shown ? "1" : "0";
    q.ExecSQL();
}

TSlotClaimResult ClaimFreeSlot(Tdbhouse& db, const char* table, std::span<const char* const> keys)
{
    const std::string t = table;
    TADOQuery& sum = Use(db.qsum, "select count(*) as expr1001 from " + t + " where qyzt= :qyzt ");
    sum.Parameters.ParamByName("qyzt").Value = "0";
    sum.Open();
    const int free = sum.FieldByName("expr1001").AsInteger();
    sum.Close();
    if (free == 0)
        return {TSlotClaim::AllInUse, -1};

    TSlotClaimResult result;
    TADOQuery& rows = Use(db.qxzbq, "select * from " + t + " order by bz ");
    rows.Open();
    for (rows.First(); !rows.Eof() && result.Slot < 0; rows.Next()) {
        if (rows.FieldByName("qyzt").AsString() != "0")
            continue;
        const std::string bz = rows.FieldByName("bz").AsString();
        for (size_t i = 0; i < keys.size(); ++i)
            if (bz == keys[i]) {
                result = {TSlotClaim::Claimed, int(i)};
                break;
            }
    }
    rows.Close();
    if (result.Slot >= 0) {
        TADOQuery& up = Use(db.qup, "update " + t + " set qyzt= :qyzt where bz= :bz ");
        up.Parameters.ParamByName("qyzt").Value = "1";
        up.Parameters.ParamByName("bz").Value = std::string(keys[size_t(result.Slot)]);
        up.ExecSQL();
    }
    return result;
}

std::string TrayTipText(std::string_view hint, size_t units)
{
    const std::u16string wide = Utf8ToUtf16(hint);
    if (wide.size() <= units)
        return std::string(hint);
    size_t n = units;
    if (n > 0 && wide[n - 1] >= 0xD800 && wide[n - 1] <= 0xDBFF)
        --n;   // never half of a surrogate pair
    return Utf16ToUtf8(std::u16string_view(wide).substr(0, n));
}
