#include "almanac/core/Almanac.h"

#include "almanac/core/AlmanacTables.h"
#include "calendar/core/ChnCalendarUse.h"
#include "calendar/core/LunarCalendar.h"
#include "calendar/core/LunarCalendarNames.h"

namespace {

int Mod(int a, int n) { return ((a % n) + n) % n; }

// Solar term index (0 = 小寒 .. 23 = 冬至) to the names table, which starts at 立春.
std::string TermName(int index) { return std::string(SolarTermNames[Mod(index - 2, 24)]); }

// The calendar date of a term of `year`: under the Julian calendar 小寒 (and in the
// earliest centuries 大寒) falls in the December before, so the year goes with the date.
bool TermDate(int year, int index, int& termYear, int& month, int& day) {
    int hour, minute;
    if (!GetSolarTermDate(year, index, month, day, hour, minute))
        return false;
    const int usual = index / 2 + 1;   // 小寒 and 大寒 in January .. 大雪 and 冬至 in December
    termYear = month - usual > 6 ? year - 1 : usual - month > 6 ? year + 1 : year;
    return true;
}

bool ValidDate(int year, int month, int day) {
    return year >= 1 && year <= CnMaxYear && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month) && GetCalendarKind(year, month, day) != 0;
}

// The year of the stem-branch count: the civil year from Start of Spring on.
int PillarYear(int year, int month, int day) {
    int ty, tm, td;
    if (TermDate(year, 2, ty, tm, td) && CompareDate(year, month, day, ty, tm, td) < 0)
        return year == 1 ? -1 : year - 1;
    return year;
}

std::string Pillar(int index) { return NameAt(std::span<const std::string>(StemBranchNames), index); }

std::string LunarMonthName(int month, bool leap) {
    return std::string(leap ? "闰" : "") + std::string(CnMonthNames[Mod(month - 1, 12)]) + "月";
}

// The direction of the sha: 申子辰 south, 亥卯未 west, 寅午戌 north, 巳酉丑 east.
const char* ShaDirection(int branch) {
    static const char* const kByBranch[12] = {"南", "东", "北", "西", "南", "东", "北", "西", "南", "东", "北", "西"};
    return kByBranch[Mod(branch, 12)];
}

}  // namespace

int SolarMonthBranch(int year, int month, int day) {
    if (!ValidDate(year, month, day))
        return -1;
    // The twelve odd terms open the months: 小寒 (index 0) 丑, 立春 (2) 寅 .. 大雪 (22) 子.
    // The month is that of the latest of them on or before the date; next year's 小寒 may
    // already fall in this December.
    for (int y = year + 1; y >= year - 1; --y)
        for (int index = 22; index >= 0; index -= 2) {
            int ty, tm, td;
            if (TermDate(y, index, ty, tm, td) && CompareDate(year, month, day, ty, tm, td) >= 0)
                return (index / 2 + 1) % 12;
        }
    return 0;   // before 小寒: still the 子 month opened by last year's 大雪
}

bool ComputeAlmanacDay(int year, int month, int day, TAlmanacDay& out) {
    if (!ValidDate(year, month, day))
        return false;
    TAlmanacDay a;
    a.Year = year;
    a.Month = month;
    a.Day = day;
    if (!SolarToCnDate(year, month, day, a.Leap, a.CnDay, a.CnMonth, a.CnYear))
        return false;
    a.Weekday = Mod(DateToDayNumber(year, month, day) - DateToDayNumber(2000, 1, 1) + 6, 7);   // 2000-01-01 a Saturday

    a.YearPillar = YearCycleIndex(PillarYear(year, month, day));
    a.MonthBranch = SolarMonthBranch(year, month, day);
    // 甲己之年丙作首: the 寅 month's stem follows the year's stem.
    const int firstStem = (a.YearPillar % 10 % 5 * 2 + 2) % 10;
    a.MonthPillar = StemBranchIndex((firstStem + Mod(a.MonthBranch - 2, 12)) % 10, a.MonthBranch);
    a.DayPillar = DayStemBranch(year, month, day);
    const int dayStem = a.DayPillar % 10, dayBranch = a.DayPillar % 12;

    // The day whose branch is the month's is 建; the others follow in order.
    a.Officer = Mod(dayBranch - a.MonthBranch, 12);
    // 青龙 stands on 子 in 寅 and 申 months, two branches on for each month after.
    a.Guardian = Mod(dayBranch - Mod(a.MonthBranch - 2, 6) * 2, 12);
    // The clashing pillar: the opposite branch under the stem the day's stem overcomes.
    a.ClashPillar = StemBranchIndex((dayStem + 4) % 10, (dayBranch + 6) % 12);

    for (int y = year; y <= year + 1 && a.NextTerm < 0; ++y) {
        for (int index = 0; index < 24; ++index) {
            int ty, tm, td;
            if (!TermDate(y, index, ty, tm, td))
                continue;
            const int c = CompareDate(ty, tm, td, year, month, day);
            if (c == 0)
                a.TermToday = index;
            if (c > 0) {
                a.NextTerm = index;
                a.NextTermMonth = tm;
                a.NextTermDay = td;
                break;
            }
        }
    }
    out = a;
    return true;
}

std::vector<std::string> AlmanacLines(int year, int month, int day) {
    TAlmanacDay a;
    if (!ComputeAlmanacDay(year, month, day, a))
        return {"日期 " + std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day) +
                " 不在黄历的范围内（公元1年至2100年的有效日期）"};
    const int dayStem = a.DayPillar % 10, dayBranch = a.DayPillar % 12;
    const int cnYearPillar = YearCycleIndex(a.CnYear);
    std::vector<std::string> lines;
    lines.push_back("公历：" + std::to_string(year) + "年" + std::to_string(month) + "月" + std::to_string(day) + "日 " +
                    std::string(WeekdayNames[a.Weekday]));
    lines.push_back("农历：" + Pillar(cnYearPillar) + "年（" + std::string(AnimalNames[cnYearPillar % 12]) + "年）" +
                    LunarMonthName(a.CnMonth, a.Leap) + GetCnDayName(a.CnDay));
    lines.push_back("干支：" + Pillar(a.YearPillar) + "年 " + Pillar(a.MonthPillar) + "月 " + Pillar(a.DayPillar) + "日");
    std::string term = "节气：";
    if (a.TermToday >= 0)
        term += "今日" + TermName(a.TermToday) + "，";
    if (a.NextTerm >= 0)
        term += "下一节气 " + TermName(a.NextTerm) + "（" + std::to_string(a.NextTermMonth) + "月" +
                std::to_string(a.NextTermDay) + "日）";
    lines.push_back(term);
    lines.push_back("五行：" + std::string(NayinNames[a.DayPillar / 2]));
    lines.push_back("值神：" + std::string(GuardianNames[a.Guardian]) +
                    (GuardianAuspicious[a.Guardian] ? "（黄道日）" : "（黑道日）"));
    lines.push_back("建除十二神：" + std::string(OfficerNames[a.Officer]) + "日");
    lines.push_back("冲煞：冲" + std::string(AnimalNames[a.ClashPillar % 12]) + "（" + Pillar(a.ClashPillar) + "） 煞" +
                    ShaDirection(dayBranch));
    lines.push_back("彭祖百忌：" + std::string(PengzuStemTaboos[dayStem]) + " " +
                    std::string(PengzuBranchTaboos[dayBranch]));
    lines.push_back("吉神方位：喜神" + std::string(JoyGodDirections[dayStem]) + " 福神" +
                    std::string(FortuneGodDirections[dayStem]) + " 财神" + std::string(WealthGodDirections[dayStem]));
    lines.push_back("宜：" + std::string(OfficerFavours[a.Officer]));
    lines.push_back("忌：" + std::string(OfficerForbids[a.Officer]));
    return lines;
}

std::string AlmanacText(int year, int month, int day) {
    std::string text;
    for (const std::string& line : AlmanacLines(year, month, day)) {
        if (!text.empty())
            text += "/";
        text += line;
    }
    return text;
}
