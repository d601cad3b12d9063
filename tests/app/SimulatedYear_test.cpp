// Fourteen months of reminders (2027-12-01 to 2029-01-31: two year ends, 29 February 2028,
// the leap 五月 of 2028) on a simulated clock, on a private copy of the data file. The
// passes run through the functions the clock window's timers call, at the timers' own
// ticks (tbwl 5 s, tcsh 3 s, trq 30 min, tmsn 6 s), woken only where something can happen:
// a due moment, a midnight, a noon. Memos are written by the memo dialogs' rules, the
// festivals as the festival dialog stores them, the quick reminders as its dialog sets them.
// Every due reminder fires once, at or after its moment and within one timer period.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <set>

#include "DataModule.h"
#include "app/core/FestivalReminder.h"
#include "app/core/MemoRepeat.h"
#include "app/core/MemoReminder.h"
#include "app/core/QuickReminder.h"
#include "app/core/Startup.h"
#include "calendar/core/LunarCalendar.h"
#include "calendar/core/LunarDate.h"
#include "framework/rtl/SysUtils.h"
#include "organizer/core/MemoRules.h"
#include "organizer/core/OrganizerLists.h"

namespace {

using Secs = int64_t;
constexpr Secs Day = 86400;
constexpr Secs Never = std::numeric_limits<Secs>::max();

Secs ToSecs(TDateTime t) { return std::llround(double(t) * Day); }
TDateTime ToTime(Secs s)
{
    const Secs d = s / Day, r = s % Day;
    return TDateTime(double(d)) + EncodeTime(int(r / 3600), int(r / 60 % 60), int(r % 60), 0);
}
Secs At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return ToSecs(EncodeDate(y, mo, d)) + h * 3600 + mi * 60 + s; }
Secs DayOfSecs(Secs s) { return s / Day * Day; }
std::string Text(Secs s) { return FormatDateTime("yyyy-mm-dd hh:nn:ss", ToTime(s)); }

const Secs Start = At(2027, 12, 1, 9, 0, 0);
const Secs Restart = At(2028, 7, 1, 9, 0, 0);
const Secs End = At(2029, 1, 31, 23, 59, 59);

struct TTimerClock {
    Secs Period, Origin, Last;
    // The first tick at or after `t` and after the last one.
    Secs TickFrom(Secs t) const
    {
        t = std::max(t, Last + 1);
        return t <= Origin ? Origin : Origin + (t - Origin + Period - 1) / Period * Period;
    }
};

// A memo the dialogs write, and the moments (minute memos) or days (day memos) it is due.
struct TSeed {
    TMemoInput Input;
    std::vector<Secs> Due;
    int Iid = 0;
    int Notice = 0;
};

TMemoInput Input(bool solar, const char* notice, const char* keep, const char* repeat, const std::string& text)
{
    const auto counts = DayCountItems(), repeats = RepeatItems();
    TMemoInput in;
    in.Solar = solar;
    in.NoticeText = notice, in.KeepText = keep, in.RepeatText = repeat, in.Text = text;
    in.NoticeIndex = int(std::find(counts.begin(), counts.end(), notice) - counts.begin());
    in.KeepIndex = int(std::find(counts.begin(), counts.end(), keep) - counts.begin());
    in.RepeatIndex = int(std::find(repeats.begin(), repeats.end(), repeat) - repeats.begin());
    return in;
}

TSeed Solar(Secs due, bool minutes, const char* notice, const char* keep, const char* repeat, const std::string& text)
{
    TSeed s{Input(true, notice, keep, repeat, text), {}};
    s.Input.Date = EncodeDate(YearOf(ToTime(due)), MonthOf(ToTime(due)), DayOf(ToTime(due)));
    s.Input.MinutePrecision = minutes;
    s.Input.Time = TimeOf(ToTime(due));
    s.Notice = StrToInt(std::string(notice).substr(0, std::string(notice).size() - 3));
    // The occurrences by the calendar: a day the month lacks is its last day.
    const Secs time = due % Day;
    int y = YearOf(ToTime(due)), m = MonthOf(ToTime(due));
    const int d = DayOf(ToTime(due));
    const std::string r = repeat;
    const int every = r.ends_with("天") ? StrToInt(r.substr(3, r.size() - 6)) : 0;
    for (Secs at = due; at <= End + 400 * Day;) {
        s.Due.push_back(minutes ? at : DayOfSecs(at));
        if (r.ends_with("月") || r.ends_with("年")) {
            if (r.ends_with("年"))
                ++y;
            else if (++m > 12)
                m = 1, ++y;
            at = At(y, m, std::min(d, DaysInAMonth(y, m))) + time;
        } else if (every > 0) {
            at += every * Day;
        } else {
            break;
        }
    }
    return s;
}

// A lunar memo added on the start day; its days found by walking the calendar.
TSeed Lunar(const char* month, const char* day, const char* notice, const char* repeat, const std::string& text)
{
    TSeed s{Input(false, notice, "0天", repeat, text), {}};
    s.Input.LunarMonth = month, s.Input.LunarDay = day;
    s.Notice = StrToInt(std::string(notice).substr(0, std::string(notice).size() - 3));
    const int m = StrToInt(LunarMonthToNumber(month)), d = StrToInt(LunarDayToNumber(day));
    const bool monthly = std::string(repeat) == "每1月";
    for (Secs t = DayOfSecs(Start); t <= End + 400 * Day; t += Day) {
        bool leap, nextLeap;
        int cd, cm, nd, nm;
        const TDateTime date = ToTime(t);
        SolarToCnDate(YearOf(date), MonthOf(date), DayOf(date), leap, cd, cm);
        SolarToCnDate(YearOf(date + 1), MonthOf(date + 1), DayOf(date + 1), nextLeap, nd, nm);
        const bool dayMatches = cd == d || (d == 30 && cd == 29 && nd == 1);
        if (dayMatches && (monthly || (cm == m && !leap)))
            s.Due.push_back(t);
    }
    return s;
}

struct TFired {
    int Iid;
    Secs Due, At;
};

class SimulatedYear : public testing::Test {
protected:
    DataModule Db;
    std::vector<TSeed> Seeds;
    std::vector<TFired> MemoFires, QuickFires;
    std::vector<std::pair<Secs, std::string>> Festivals;   // day, pop-up text
    std::vector<std::pair<Secs, Secs>> QuickDue;            // set at, due
    TDateTime FestivalDay = 0;
    int BoardChecks = 0;

    void StartUp(Secs now)
    {
        FestivalDay = 0;
        RefreshFestivalDatesOnNewDay(*dbhouse, ToTime(now), FestivalDay);
        RepeatMemos(*dbhouse, DateOf(ToTime(now)), nullptr);
        PurgeRemindedMemos(*dbhouse, DateOf(ToTime(now)));
    }

    // The earliest pending minute memo due at or after `from`'s day.
    Secs NextMinuteDue(Secs from)
    {
        Secs next = Never;
        for (const TPendingMemo& m : ReadPendingMemos(*dbhouse)) {
            TDateTime due;
            if (m.Fzbz == "1" && TryStrToDateTime(m.Ylsj, due) && ToSecs(due) >= DayOfSecs(from))
                next = std::min(next, ToSecs(due));
        }
        return next;
    }

    void MemoPass(Secs now, bool noon)
    {
        const TMemoPlan plan = PlanMemoPass(ReadPendingMemos(*dbhouse, ToTime(now)), ToTime(now));
        for (const TPendingMemo& m : plan.Due) {
            MarkMemoReminded(*dbhouse, m.Iid);
            MemoFires.push_back({m.Iid, ToSecs(StrToDateTime(m.Ylsj)), now});
        }
        if (noon)
            CheckBoard(plan, now);
    }

    // At noon every day memo whose next day lies within its notice has its panel, with
    // the right count of days, and no memo shows before its notice.
    void CheckBoard(const TMemoPlan& plan, Secs now)
    {
        std::map<int, int> shown;
        for (const TBoardPanel& p : plan.Panels)
            if (!p.DateLine.empty())
                shown[p.Iid] = p.DateLine.starts_with("今日") ? 0 : p.DateLine.starts_with("明日") ? 1
                               : p.DateLine.starts_with("后天")  ? 2
                                                                 : StrToInt(p.DateLine.substr(0, p.DateLine.find("天后")));
        const Secs today = DayOfSecs(now);
        for (const TSeed& s : Seeds) {
            if (s.Input.MinutePrecision)
                continue;
            auto next = std::lower_bound(s.Due.begin(), s.Due.end(), today);
            const int days = next == s.Due.end() ? -1 : int((*next - today) / Day);
            const bool wanted = days >= 0 && days <= s.Notice;
            if (wanted && plan.Panels.size() < size_t(MemoBoardPanels)) {
                EXPECT_EQ(shown.count(s.Iid) ? shown[s.Iid] : -1, days) << s.Input.Text << " " << Text(now);
            } else if (!wanted) {
                EXPECT_EQ(shown.count(s.Iid), 0u) << s.Input.Text << " " << Text(now);
            }
            ++BoardChecks;
        }
    }

    void FestivalPass(Secs now)
    {
        RefreshFestivalDatesOnNewDay(*dbhouse, ToTime(now), FestivalDay);
        for (const TFestivalReminder& r : PlanFestivalPass(ReadUnconfirmedFestivals(*dbhouse), DateOf(ToTime(now)))) {
            Festivals.push_back({DayOfSecs(now), r.Text});
            // "我知道了，下次不再提示" ticked, as the pop-up writes it.
            TADOQuery& q = Db.Sql("update sz_jrb set qrbz= :qrbz where iid= :iid ");
            q.Parameters.ParamByName("qrbz").Value = "1";
            q.Parameters.ParamByName("iid").Value = r.Iid;
            q.ExecSQL();
        }
    }

    void Run(const std::vector<std::pair<Secs, std::function<void(Secs)>>>& actions)
    {
        StartUp(Start);
        TTimerClock tbwl{5, Start + 5, Start}, tcsh{3, Start + 3, Start}, trq{1800, Start + 1800, Start},
            tmsn{6, Start + 6, Start};
        size_t action = 0;
        bool moved = false;
        for (;;) {
            const Secs midnightAfterMemo = DayOfSecs(tbwl.Last) + Day;
            const Secs noon = DayOfSecs(tbwl.Last) + Day / 2 > tbwl.Last ? DayOfSecs(tbwl.Last) + Day / 2
                                                                           : midnightAfterMemo + Day / 2;
            const Secs due = NextMinuteDue(tbwl.Last);
            const Secs wakeMemo = tbwl.TickFrom(std::min({due, noon, midnightAfterMemo}));
            const Secs wakeRepeat = tcsh.TickFrom(moved ? tcsh.Last : DayOfSecs(tcsh.Last) + Day);
            // The first pass of each day and one at noon.
            const Secs festNoon = DayOfSecs(trq.Last) + Day / 2;
            const Secs wakeFestival = trq.TickFrom(trq.Last < festNoon ? festNoon : DayOfSecs(trq.Last) + Day);
            const TQuickReminderRow quick = ReadQuickReminder(*dbhouse->qdc);
            const Secs wakeQuick = quick.Zdsj.empty() ? Never : tmsn.TickFrom(ToSecs(StrToDateTime(quick.Zdsj)));
            const Secs wakeAction = action < actions.size() ? actions[action].first : Never;
            const Secs now = std::min({wakeMemo, wakeRepeat, wakeFestival, wakeQuick, wakeAction});
            if (now > End)
                break;
            if (now == wakeAction) {
                actions[action++].second(now);
                if (now == Restart) {
                    StartUp(now);
                    tbwl = {5, now + 5, now}, tcsh = {3, now + 3, now}, trq = {1800, now + 1800, now}, tmsn = {6, now + 6, now};
                }
            } else if (now == wakeRepeat) {
                moved = RepeatMemos(*dbhouse, DateOf(ToTime(now)), nullptr) > 0;
                tcsh.Last = now;
            } else if (now == wakeQuick) {
                FireQuickReminder(*dbhouse, ToTime(now), [&](const TQuickReminderRow& row) {
                    QuickFires.push_back({0, ToSecs(StrToDateTime(row.Zdsj)), now});
                });
                tmsn.Last = now;
            } else if (now == wakeFestival) {
                FestivalPass(now);
                trq.Last = now;
            } else {
                MemoPass(now, now == tbwl.TickFrom(noon));
                tbwl.Last = now;
            }
        }
    }

    std::string Value(const std::string& sql) { return Db.Value(sql); }
};

TEST_F(SimulatedYear, EveryReminderFiresOnceOnTimeAndTheRowsEndAsTheyShould)
{
    // The program's own file and statements; only the waits for the disk are left out.
    sqlite3_exec(dbhouse->democnn->Handle(), "pragma synchronous=OFF", nullptr, nullptr, nullptr);
    Db.Exec("delete from sz_bwlb");
    // Festivals of both calendars, with and without a starting year, beside the shipped ones.
    Db.Exec("insert into sz_jrb (jrmc, jrlx, rqlx, jryf, jrrq, qsnf, realyr, realrq, qrbz) values "
            "('闰日生日', '生日', '阳历', '2月', '29日', '2000', '02-29', '2000-01-01', '0'),"
            "('除夕', '节日(第几个)', '阴历', '十二月', '三十', '', '12-30', '2000-01-01', '0'),"
            "('年末', '纪念日', '阳历', '12月', '31日', '1999', '12-31', '2000-01-01', '0'),"
            "('冬月生日', '生日', '阴历', '十一月', '廿六', '1990', '11-26', '2000-01-01', '0'),"
            "('腊八', '节日(第几个)', '阴历', '十二月', '初八', '', '12-08', '2000-01-01', '0'),"
            "('五月三十', '纪念日', '阴历', '五月', '三十', '2001', '05-30', '2000-01-01', '0')");

    const TDateTime added = ToTime(Start);
    Seeds = {
        Solar(At(2027, 12, 5, 14, 30), true, "0天", "3天", "从不", "一次分钟"),
        Solar(At(2027, 12, 2, 8, 30), true, "0天", "0天", "每1天", "每天早上"),
        Solar(At(2027, 12, 1, 23, 59), true, "1天", "0天", "每3天", "三天一次"),
        Solar(At(2028, 1, 31, 0, 0), true, "0天", "0天", "每1月", "月末零点"),
        Solar(At(2027, 12, 30, 12, 0), true, "0天", "0天", "每1月", "三十号"),
        Solar(At(2028, 1, 29, 7, 15), true, "0天", "0天", "每1月", "廿九号"),
        Solar(At(2028, 2, 29, 9, 0), true, "0天", "0天", "每1年", "闰日"),
        Solar(At(2027, 12, 31, 23, 59), true, "0天", "0天", "每1年", "除夕夜"),
        Solar(At(2028, 2, 29, 10, 0), true, "7天", "0天", "从不", "闰日一次"),
        Solar(At(2028, 3, 15), false, "3天", "1天", "从不", "一次整天"),
        Solar(At(2027, 12, 31), false, "1天", "0天", "每1月", "月末"),
        Solar(At(2028, 2, 29), false, "2天", "0天", "每1年", "闰日整天"),
        Lunar("正月", "初一", "0天", "每1月", "每月初一"),
        Lunar("五月", "三十", "1天", "每1月", "每月三十"),
        Lunar("三月", "廿九", "0天", "每1月", "每月廿九"),
        Lunar("腊月", "廿三", "3天", "每1年", "小年"),
        Lunar("正月", "三十", "0天", "每1年", "正月三十"),
    };
    for (TSeed& s : Seeds) {
        const TMemoRow row = MemoRowFromInput(s.Input, TMemoDialogMode::Add, added);
        InsertMemo(*dbhouse->qbw, row);
        s.Iid = StrToInt(Value("select max(iid) from sz_bwlb"));
        if (!s.Input.Solar) {   // the first day is the dialog's; the walk keeps the ones from it on
            const Secs first = ToSecs(StrToDate(row.ylsj));
            s.Due.erase(s.Due.begin(), std::lower_bound(s.Due.begin(), s.Due.end(), first));
            ASSERT_FALSE(s.Due.empty());
            ASSERT_EQ(s.Due.front(), first) << s.Input.Text;
        }
    }

    auto setQuick = [&](TDateTime due) {
        return [this, due](Secs now) {
            WriteQuickReminder(*dbhouse, ReminderDueText(due), "", FormatDateTime("hh:nn", ToTime(now)));
            QuickDue.push_back({now, ToSecs(due)});
        };
    };
    Run({
        {At(2027, 12, 31, 23, 50), setQuick(RelativeReminderDue(ToTime(At(2027, 12, 31, 23, 50)), 15))},
        {At(2028, 2, 28, 23, 59, 30), setQuick(RelativeReminderDue(ToTime(At(2028, 2, 28, 23, 59, 30)), 1))},
        {At(2028, 6, 1, 10, 30, 45), setQuick(AbsoluteReminderDue(ToTime(At(2028, 6, 1, 10, 30, 45)), EncodeTime(7, 5, 0, 0)))},
        {Restart, [](Secs) {}},
        {At(2028, 12, 31, 23, 0), setQuick(RelativeReminderDue(ToTime(At(2028, 12, 31, 23, 0)), 1440))},
    });

    // Minute memos: each occurrence once, within one 5-second tick of its moment.
    std::map<int, std::vector<TFired>> fired;
    for (const TFired& f : MemoFires)
        fired[f.Iid].push_back(f);
    int occurrences = 0;
    for (const TSeed& s : Seeds) {
        if (!s.Input.MinutePrecision) {
            EXPECT_EQ(fired.count(s.Iid), 0u) << s.Input.Text;
            continue;
        }
        std::vector<Secs> expected;
        for (Secs due : s.Due)
            if (due >= Start && due <= End)
                expected.push_back(due);
        const std::vector<TFired>& got = fired[s.Iid];
        ASSERT_EQ(got.size(), expected.size()) << s.Input.Text;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(Text(got[i].Due), Text(expected[i])) << s.Input.Text;
            EXPECT_GE(got[i].At, expected[i]) << s.Input.Text << " " << Text(expected[i]);
            EXPECT_LT(got[i].At, expected[i] + 5) << s.Input.Text << " " << Text(expected[i]);
        }
        occurrences += int(got.size());
    }
    EXPECT_GT(occurrences, 450);
    EXPECT_GT(BoardChecks, 3000);

    // Quick reminders: once each, within one 6-second tick, across midnight too.
    ASSERT_EQ(QuickFires.size(), QuickDue.size());
    for (size_t i = 0; i < QuickDue.size(); ++i) {
        EXPECT_EQ(QuickFires[i].Due, QuickDue[i].second);
        EXPECT_GE(QuickFires[i].At, QuickDue[i].second);
        EXPECT_LT(QuickFires[i].At, QuickDue[i].second + 6);
    }
    EXPECT_EQ(Text(QuickDue[0].second), "2028-01-01 00:05:00");
    EXPECT_EQ(Text(QuickDue[1].second), "2028-02-29 00:00:00");
    EXPECT_EQ(Text(QuickDue[2].second), "2028-06-02 07:05:00");
    EXPECT_EQ(Text(QuickDue[3].second), "2029-01-01 22:59:59");
    EXPECT_EQ(Value("select zdsj from sz_ksb where bz='1'"), "");

    // Festivals: every occurrence reminded once, first two days ahead (or on the start day),
    // confirmed at once and never again.
    std::vector<std::pair<Secs, std::string>> expected;
    TADOQuery& q = Db.Sql("select iid, jrmc, rqlx, realyr from sz_jrb order by iid ");
    q.Open();
    std::vector<std::tuple<int, std::string, std::string, std::string>> rows;
    for (q.First(); !q.Eof(); q.Next())
        rows.emplace_back(q.FieldByName("iid").AsInteger(), q.FieldByName("jrmc").AsString(),
                          q.FieldByName("rqlx").AsString(), q.FieldByName("realyr").AsString());
    q.Close();
    for (const auto& [iid, name, rqlx, realyr] : rows) {
        const int m = StrToInt(realyr.substr(0, 2)), d = StrToInt(realyr.substr(3, 2));
        std::set<Secs> days;
        for (int y = 2026; y <= 2029; ++y) {
            int sy, sm, sd;
            if (rqlx == "阳历")
                days.insert(At(y, m, std::min(d, DaysInAMonth(y, m))));
            else if (CnDateToSolar(y, m, d, false, sy, sm, sd) || (d == 30 && CnDateToSolar(y, m, 29, false, sy, sm, sd)))
                days.insert(At(sy, sm, sd));
        }
        for (Secs f : days) {
            const Secs first = std::max(f - 2 * Day, DayOfSecs(Start));
            if (f < DayOfSecs(Start) || first > DayOfSecs(End))
                continue;
            static const char* const prefixes[] = {"今天:", "明天:", "后天:"};
            expected.push_back({first, prefixes[(f - first) / Day] + name + ";" + IntToStr(iid)});
        }
    }
    std::sort(expected.begin(), expected.end());
    std::sort(Festivals.begin(), Festivals.end());
    ASSERT_EQ(Festivals.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Text(Festivals[i].first) + " " + Festivals[i].second, Text(expected[i].first) + " " + expected[i].second);

    // The rows at the end: the once-only minute memo reminded and purged at the restart
    // (kept 3 days), the other once-only ones reminded and kept, the repeating ones on
    // their next occurrence.
    EXPECT_EQ(Value("select count(*) from sz_bwlb where iid=" + IntToStr(Seeds[0].Iid)), "0");
    EXPECT_EQ(Value("select qrbz from sz_bwlb where iid=" + IntToStr(Seeds[8].Iid)), "1");
    EXPECT_EQ(Value("select qrbz from sz_bwlb where iid=" + IntToStr(Seeds[9].Iid)), "0");
    for (const TSeed& s : Seeds) {
        if (s.Input.RepeatText == "从不")
            continue;
        auto next = std::lower_bound(s.Due.begin(), s.Due.end(), DayOfSecs(End));
        ASSERT_NE(next, s.Due.end()) << s.Input.Text;
        EXPECT_EQ(Value("select substr(ylsj, 1, 10) from sz_bwlb where iid=" + IntToStr(s.Iid)),
                  FormatDateTime("yyyy-mm-dd", ToTime(*next)))
            << s.Input.Text;
    }
}

}  // namespace
