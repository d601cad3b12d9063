// Start-up's data steps on a private copy of the shipped data file: festival dates,
// window positions, the purge of reminded memos, the settings and the sound paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

#include "../db/DataFileCopy.h"
#include "app/core/Startup.h"
#include "app/core/dbhouse.h"
#include "app/core/dbware.h"
#include "calendar/core/LunarDate.h"
#include "framework/db/DatabaseError.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"

namespace {

struct Module {
    DataFileCopy File;
    TComponent Owner{nullptr};
    Tdbhouse* House = new Tdbhouse(&Owner);
    Module()
    {
        SetExeFolder(File.Folder());
        House->democnn->SetConnectionString(DataConnectionString(File.Folder()));
        House->democnn->Open();
    }
    ~Module() { SetExeFolder(""); }
    TADOQuery& Run(const std::string& sql)
    {
        TADOQuery& q = *House->qok;
        q.Close();
        q.SQL.Clear();
        q.SQL.Add(sql);
        return q;
    }
    void Exec(const std::string& sql) { Run(sql).ExecSQL(); }
    std::string Value(const std::string& sql, const char* column)
    {
        TADOQuery& q = Run(sql);
        q.Open();
        std::string value = q.IsEmpty() ? "<none>" : q.FieldByName(column).AsString();
        q.Close();
        return value;
    }
    int Count(const std::string& where) { return StrToInt(Value("select count(*) as n from sz_bwlb " + where, "n")); }
    void AddFestival(const std::string& name, const std::string& rqlx, const std::string& realyr)
    {
        Exec("insert into sz_jrb (jrmc, rqlx, realyr, realrq, qrbz) values ('" + name + "', '" + rqlx + "', '" +
             realyr + "', '2000-01-01', '0')");
    }
    std::string Realrq(const std::string& name)
    {
        return Value("select realrq from sz_jrb where jrmc='" + name + "'", "realrq");
    }
    void AddMemo(const std::string& nr, const std::string& ylsj, const std::string& gqzdsc, const std::string& qrbz)
    {
        Exec("insert into sz_bwlb (nr, ylsj, gqzdsc, qrbz) values ('" + nr + "', '" + ylsj + "', '" + gqzdsc +
             "', '" + qrbz + "')");
    }
};

std::string DateText(TDateTime date) { return FormatDateTime("yyyy-mm-dd", date); }

std::string Festival(std::string_view rqlx, std::string_view realyr, int year)
{
    TDateTime date;
    return FestivalDate(rqlx, realyr, year, date) ? DateText(date) : "none";
}

}  // namespace

TEST(FestivalDate, SolarDatesTakeTheYearAndFeb29BecomesFeb28InACommonYear)
{
    EXPECT_EQ(Festival("阳历", "05-01", 2026), "2026-05-01");
    EXPECT_EQ(Festival("阳历", "02-29", 2026), "2026-02-28");
    EXPECT_EQ(Festival("阳历", "02-29", 2028), "2028-02-29");
    EXPECT_EQ(Festival("阳历", "12-31", 2026), "2026-12-31");
    EXPECT_EQ(Festival("阳历", "04-31", 2026), "none");
    EXPECT_EQ(Festival("阳历", "13-01", 2026), "none");
    EXPECT_EQ(Festival("阳历", "", 2026), "none");
    EXPECT_EQ(Festival("阳历", "0501", 2026), "none");
}

TEST(FestivalDate, LunarDatesGiveThisYearsSolarDate)
{
    EXPECT_EQ(Festival("阴历", "01-01", 2026), "2026-02-17");   // Spring Festival
    EXPECT_EQ(Festival("阴历", "08-15", 2026), "2026-09-25");   // Mid-Autumn
    // The twelfth month of a lunar year lies mostly in the next solar year: this January's
    // 腊八 and this February's 除夕 belong to last lunar year.
    EXPECT_EQ(Festival("阴历", "12-08", 2026), "2026-01-26");
    EXPECT_EQ(Festival("阴历", "12-08", 2027), "2027-01-15");
    EXPECT_EQ(Festival("阴历", "12-29", 2026), "2026-02-16");
}

// Whatever the lunar date, the date found lies in the asked solar year whenever the lunar
// year before or the lunar year itself has that day in it.
TEST(FestivalDate, LunarDatesFallInTheAskedSolarYearWheneverOneDoes)
{
    for (int year = 1950; year <= 2090; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day : {1, 10, 20, 29}) {
                char realyr[8];
                std::snprintf(realyr, sizeof realyr, "%02d-%02d", month, day);
                TDateTime date;
                ASSERT_TRUE(FestivalDate("阴历", realyr, year, date)) << year << " " << realyr;
                int ld, lm, ly, sd, sm, sy;
                bool leap;
                int y, m, d;
                DecodeDate(date, y, m, d);
                ASSERT_TRUE(SolarToLunar(y, m, d, leap, ld, lm, ly));
                EXPECT_EQ(lm * 100 + ld, month * 100 + day) << year << " " << realyr;
                if (y == year)
                    continue;
                for (int lunarYear : {year - 1, year}) {
                    ASSERT_TRUE(LunarToSolar(lunarYear, month, day, false, sd, sm, sy));
                    EXPECT_NE(sy, year) << "lunar " << lunarYear << " " << realyr << " lies in " << year;
                }
            }
}

// Lunar 冬月二十 falls on 2026-01-08 and again on 2026-12-28: the one not yet past counts,
// so the January one is reminded after a start in the first days of the year.
TEST(FestivalDate, OfTwoInTheYearTheOneNotYetPastCounts)
{
    TDateTime date;
    const std::pair<TDateTime, const char*> cases[] = {{EncodeDate(2026, 1, 6), "2026-01-08"},
                                                       {EncodeDate(2026, 1, 8), "2026-01-08"},
                                                       {EncodeDate(2026, 1, 9), "2026-12-28"},
                                                       {0, "2026-12-28"}};   // no day given
    for (auto [today, expected] : cases) {
        ASSERT_TRUE(FestivalDate("阴历", "11-20", 2026, date, today));
        EXPECT_EQ(DateText(date), expected);
    }
}

// Late in December the reminders look ahead into January: a date already past gives next
// year's once that lies within the look-ahead, so "明天" and "六天后" see it.
TEST(FestivalDate, NextYearsDateComesIntoTheLookAhead)
{
    const std::tuple<const char*, const char*, TDateTime, const char*> cases[] = {
        {"阳历", "01-01", EncodeDate(2025, 12, 25), "2025-01-01"},   // seven days ahead: not yet
        {"阳历", "01-01", EncodeDate(2025, 12, 26), "2026-01-01"},
        {"阳历", "01-01", EncodeDate(2025, 12, 31), "2026-01-01"},
        {"阳历", "01-05", EncodeDate(2025, 12, 31), "2026-01-05"},
        {"阳历", "12-31", EncodeDate(2025, 12, 31), "2025-12-31"},   // today stays today
        {"阳历", "12-20", EncodeDate(2025, 12, 31), "2025-12-20"},
        {"阳历", "02-29", EncodeDate(2027, 12, 28), "2027-02-28"},
        {"阴历", "01-01", EncodeDate(2026, 2, 11), "2026-02-17"},
        {"阴历", "11-26", EncodeDate(2026, 12, 30), "2027-01-03"},   // 冬月廿六 of the lunar year 2026
        {"阴历", "11-20", EncodeDate(2026, 1, 9), "2026-12-28"},
    };
    for (auto [rqlx, realyr, today, expected] : cases) {
        TDateTime date;
        ASSERT_TRUE(FestivalDate(rqlx, realyr, YearOf(today), date, today));
        EXPECT_EQ(DateText(date), expected) << realyr << " " << DateText(today);
    }
}

// Run across the year end, the refresh on each new day moves 元旦 into the look-ahead as a
// new occurrence (remindable again); a confirmation of it then holds on New Year's Day.
TEST(StartupData, FestivalDatesFollowTheDaysWhileTheProgramRuns)
{
    Module m;
    m.Exec("delete from sz_jrb");
    m.AddFestival("元旦", "阳历", "01-01");
    m.Exec("update sz_jrb set qrbz='1'");
    TDateTime refreshed = 0;
    const TDateTime start = EncodeDateTime(2025, 12, 20, 23, 0, 0, 0);
    EXPECT_TRUE(RefreshFestivalDatesOnNewDay(*m.House, start, refreshed));
    EXPECT_EQ(m.Realrq("元旦").substr(0, 10), "2025-01-01");
    m.Exec("update sz_jrb set qrbz='1'");
    EXPECT_FALSE(RefreshFestivalDatesOnNewDay(*m.House, start + 0.04, refreshed));   // still the same day
    for (TDateTime day = start + 1; day < EncodeDate(2025, 12, 26); day += 1)
        RefreshFestivalDatesOnNewDay(*m.House, day, refreshed);
    EXPECT_EQ(m.Value("select qrbz from sz_jrb", "qrbz"), "1");
    EXPECT_TRUE(RefreshFestivalDatesOnNewDay(*m.House, EncodeDate(2025, 12, 26), refreshed));
    EXPECT_EQ(m.Realrq("元旦").substr(0, 10), "2026-01-01");
    EXPECT_EQ(m.Value("select qrbz from sz_jrb", "qrbz"), "0");
    m.Exec("update sz_jrb set qrbz='1'");   // "我知道了" on 12-30
    for (TDateTime day = EncodeDate(2025, 12, 27); day < EncodeDate(2026, 1, 3); day += 1)
        RefreshFestivalDatesOnNewDay(*m.House, day + 0.5, refreshed);
    EXPECT_EQ(m.Realrq("元旦").substr(0, 10), "2026-01-01");
    EXPECT_EQ(m.Value("select qrbz from sz_jrb", "qrbz"), "1");
}

TEST(FestivalDate, LunarDay30TakesTheLastDayOfAShortMonth)
{
    EXPECT_EQ(Festival("阴历", "12-30", 2026), "2026-02-16");   // New Year's Eve of a 29-day twelfth month
    EXPECT_EQ(Festival("阴历", "05-30", 2026), "2026-07-13");
    EXPECT_EQ(Festival("阴历", "02-30", 2026), "2026-04-16");
    // A 30-day second month: its day 30 has no solar twin "February 30" to start from.
    EXPECT_EQ(Festival("阴历", "02-30", 2027), "2027-04-06");
    // 2023 has a leap second month: day 30 stays in the ordinary one.
    EXPECT_EQ(Festival("阴历", "02-30", 2023), "2023-03-21");
    EXPECT_EQ(Festival("阴历", "02-31", 2026), "none");
    EXPECT_EQ(Festival("阴历", "00-10", 2026), "none");
    EXPECT_EQ(Festival("阴历", "xx-yy", 2026), "none");
}

TEST(KeepDays, ReadsTheNumberBeforeTheDayUnit)
{
    int days = -1;
    EXPECT_TRUE(KeepDays("3天", days));
    EXPECT_EQ(days, 3);
    EXPECT_TRUE(KeepDays("15天", days));
    EXPECT_EQ(days, 15);
    EXPECT_TRUE(KeepDays("0天", days));
    EXPECT_EQ(days, 0);
    for (const char* bad : {"", "天", "3", "三天", "x天", "-1天", "3 days"})
        EXPECT_FALSE(KeepDays(bad, days)) << bad;
}

TEST(MemoExpired, OlderThanTheKeepPeriodButNeverForZeroDays)
{
    TDateTime today = EncodeDateTime(2026, 5, 10, 23, 59, 0, 0);
    EXPECT_TRUE(MemoExpired("2026-05-06 08:30:00", "3天", today));   // four days ago
    EXPECT_FALSE(MemoExpired("2026-05-07 23:59:00", "3天", today));  // three days ago
    EXPECT_TRUE(MemoExpired("2026-5-6", "3天", today));              // a lunar memo's date form
    EXPECT_FALSE(MemoExpired("2025-01-01", "0天", today));           // "从不"
    EXPECT_FALSE(MemoExpired("2026-06-01", "1天", today));           // not due yet
    EXPECT_THROW(MemoExpired("someday", "3天", today), EConvertError);
    EXPECT_THROW(MemoExpired("2026-05-01", "3", today), EConvertError);
}

TEST(StartupData, FestivalRowsGetThisYearsDatesAndABadRowIsSkipped)
{
    Module m;
    m.AddFestival("坏行", "阳历", "ab-cd");
    m.AddFestival("闰日", "阳历", "02-29");
    m.AddFestival("除夕", "阴历", "12-30");
    EXPECT_EQ(RefreshFestivalDates(*m.House, 2026), 1);
    EXPECT_EQ(m.Realrq("元旦"), "2026-01-01");
    EXPECT_EQ(m.Realrq("春节"), "2026-02-17");
    EXPECT_EQ(m.Realrq("国庆节"), "2026-10-01");
    EXPECT_EQ(m.Realrq("闰日"), "2026-02-28");
    EXPECT_EQ(m.Realrq("除夕"), "2026-02-16");
    EXPECT_EQ(m.Realrq("坏行"), "2000-01-01");
}

TEST(StartupData, PositionsLoadAndAMissingRowKeepsTheWindowsPosition)
{
    Module m;
    m.Exec("delete from sz_fzb where bz='便签3位置'");
    Note3PosX = 777;
    Note3PosY = 888;
    TPositionsRead read = LoadWindowPositions(*m.House);
    EXPECT_EQ(std::count(read.begin(), read.end(), true), 13);
    EXPECT_FALSE(read[4]);
    EXPECT_EQ(CalendarPosX, 232);
    EXPECT_EQ(CalendarPosY, 28);
    EXPECT_EQ(MemoBoardPosX, 30);
    EXPECT_EQ(Note3PosX, 777);
    EXPECT_EQ(Note3PosY, 888);
    EXPECT_EQ(Note4PosX, 644);
    EXPECT_EQ(Countdown5PosY, 437);
}

// A row that fails to read (here a damaged value; a data file held by another program
// fails the same way) keeps its variable, and close leaves that row as it is while the
// other keys are read and written back.
TEST(StartupData, ARowThatFailedToReadIsNotWrittenBackAtClose)
{
    Module m;
    m.Exec("update sz_fzb set xz='abc' where bz='倒计时2位置'");
    Countdown2PosX = Countdown2PosY = 0;
    TPositionsRead read = LoadWindowPositions(*m.House);
    EXPECT_FALSE(read[10]);
    EXPECT_EQ(Countdown2PosX, 0);
    EXPECT_EQ(Countdown1PosY, 161);
    EXPECT_EQ(Countdown3PosY, 299);
    Countdown1PosX = 11;
    Countdown3PosX = 33;
    SaveWindowPositions(*m.House, read);
    auto where = [](const char* key) { return std::string(" from sz_fzb where bz='") + key + "'"; };
    EXPECT_EQ(m.Value("select xz" + where("倒计时2位置"), "xz"), "abc");
    EXPECT_EQ(m.Value("select yz" + where("倒计时2位置"), "yz"), "230");
    EXPECT_EQ(m.Value("select xz" + where("倒计时1位置"), "xz"), "11");
    EXPECT_EQ(m.Value("select xz" + where("倒计时3位置"), "xz"), "33");
}

TEST(StartupData, PurgeDeletesExpiredRemindedMemosAndKeepsTheRest)
{
    Module m;
    m.AddMemo("four days", "2026-05-06 09:00:00", "3天", "1");
    m.AddMemo("three days", "2026-05-07", "3天", "1");
    m.AddMemo("never", "2025-01-01", "0天", "1");
    m.AddMemo("not reminded", "2025-01-01", "1天", "0");
    m.AddMemo("bad keep", "2025-01-01", "三天", "1");
    m.AddMemo("bad date", "soon", "1天", "1");
    m.AddMemo("old", "2025-01-01", "15天", "1");
    EXPECT_EQ(PurgeRemindedMemos(*m.House, EncodeDate(2026, 5, 10)), 2);
    EXPECT_EQ(m.Count("where nr='four days'"), 0);
    EXPECT_EQ(m.Count("where nr='old'"), 0);
    EXPECT_EQ(m.Count(""), 5);
    EXPECT_EQ(m.Count("where nr='three days'"), 1);
    EXPECT_EQ(m.Count("where nr='never'"), 1);
}

// Each pass writes its rows as one transaction: one commit, however many rows change.
TEST(StartupData, FestivalDatesAndThePurgeCommitOnceForAllTheirRows)
{
    Module m;
    m.AddFestival("甲", "阳历", "03-01");
    m.AddFestival("乙", "阳历", "04-01");
    m.AddMemo("old", "2025-01-01", "15天", "1");
    m.AddMemo("older", "2024-01-01", "15天", "1");
    int commits = 0;
    sqlite3_commit_hook(
        m.House->democnn->Handle(), [](void* n) { return ++*static_cast<int*>(n), 0; }, &commits);
    RefreshFestivalDates(*m.House, 2026);
    EXPECT_EQ(m.Realrq("甲"), "2026-03-01");
    EXPECT_EQ(m.Realrq("乙"), "2026-04-01");
    EXPECT_EQ(commits, 1);
    commits = 0;
    EXPECT_EQ(PurgeRemindedMemos(*m.House, EncodeDate(2026, 5, 10)), 0);
    EXPECT_EQ(m.Count("where nr like 'old%'"), 0);
    EXPECT_EQ(commits, 1);
    sqlite3_commit_hook(m.House->democnn->Handle(), nullptr, nullptr);
}

TEST(StartupData, SettingsAndSoundChoicesAreRead)
{
    Module m;
    LoadSoundPaths();
    const std::string clock = m.File.Folder() + "Sounds" + PathDelim + "Clock" + PathDelim;
    EXPECT_EQ(CWavPath, clock + "c.wav");
    EXPECT_EQ(DoorbellWavPath, clock + "doorbell.wav");
    EXPECT_EQ(SpeechWavPaths[0], m.File.Folder() + "Sounds" + PathDelim + "speech" + PathDelim + "0.wav");
    EXPECT_EQ(SpeechWavPaths[23], m.File.Folder() + "Sounds" + PathDelim + "speech" + PathDelim + "50.wav");

    ReminderPlayCount = 2;
    m.Exec("update sz_qtcsb set bspl='0', bsfs='2', bwjrbfcs='3', bwlqzypath='C:\\music\\a.wav', "
           "jrqzypath='Sounds\\Clock\\allday.wav'");
    LoadOtherSettings(*m.House);
    EXPECT_EQ(ChimeFrequency, "0");
    EXPECT_EQ(ChimeMode, "2");
    EXPECT_EQ(ReminderPlayCount, 3);
    EXPECT_EQ(AltsWavPath, "C:\\music\\a.wav");
    EXPECT_EQ(AlldayWavPath, m.File.Folder() + "Sounds\\Clock\\allday.wav");

    // Never written: the shipped file; empty: no sound; a play count that is no number is kept.
    LoadSoundPaths();
    m.Exec("update sz_qtcsb set bwlqzypath=NULL, jrqzypath='', bwjrbfcs='x'");
    LoadOtherSettings(*m.House);
    EXPECT_EQ(AltsWavPath, clock + "alts.wav");
    EXPECT_EQ(AlldayWavPath, "");
    EXPECT_EQ(ReminderPlayCount, 3);
}

TEST(StartupData, ThePlayCountIsHeldToOneToThree)
{
    Module m;
    const std::pair<const char*, int> cases[] = {{"1", 1}, {"3", 3}, {"0", 1}, {"-2", 1}, {"4", 3}, {"99999", 3}};
    for (auto [stored, count] : cases) {
        m.Exec(std::string("update sz_qtcsb set bwjrbfcs='") + stored + "'");
        ReminderPlayCount = 2;
        LoadOtherSettings(*m.House);
        EXPECT_EQ(ReminderPlayCount, count) << stored;
    }
    ReminderPlayCount = 2;
}

TEST(StartupData, AMissingSettingsRowFailsTheStepInsteadOfReadingEmptyTexts)
{
    Module m;
    m.Exec("delete from sz_sfxsb");
    m.Exec("delete from sz_qtcsb");
    EXPECT_THROW(LoadShownFlags(*m.House), EDatabaseError);   // would hide the clock with every flag ""
    ChimeMode = "1";
    ReminderPlayCount = 3;
    EXPECT_THROW(LoadOtherSettings(*m.House), EDatabaseError);
    EXPECT_EQ(ChimeMode, "1");
    EXPECT_EQ(ReminderPlayCount, 3);
    EXPECT_FALSE(m.House->qxsf->Active());
    EXPECT_FALSE(m.House->qcx->Active());
    ReminderPlayCount = 2;
}

TEST(StartupData, TheDefaultClockSoundsShipWithTheProgram)
{
    SetExeFolder(std::string(VORPEN_DIST_DIR) + PathDelim);
    LoadSoundPaths();
    for (const std::string* path : {&CWavPath, &AltsWavPath, &AlldayWavPath, &DoorbellWavPath}) {
        ASSERT_TRUE(FileExists(*path)) << *path;
        std::string head = ReadFileBytes(*path).substr(0, 12);
        EXPECT_EQ(head.substr(0, 4), "RIFF") << *path;
        EXPECT_EQ(head.substr(8, 4), "WAVE") << *path;
    }
    // The shipped settings name those files, relative to the program folder.
    Module m;
    TADOQuery& q = m.Run("select * from sz_qtcsb ");
    q.Open();
    for (const char* column : {"bsqzypath", "bwlqzypath", "jrqzypath"}) {
        std::string path = q.FieldByName(column).AsString();
        for (char& c : path)
            if (c == '\\')
                c = PathDelim;
        EXPECT_TRUE(FileExists(std::string(VORPEN_DIST_DIR) + PathDelim + path)) << column;
    }
}

TEST(StartupData, TheClocksHiddenFlagIsReadBeforeStartUpAndAnyFailureSaysShown)
{
    Module m;
    EXPECT_FALSE(ClockSavedHidden(m.File.Folder()));
    m.Exec("update sz_sfxsb set szxsf='0'");
    EXPECT_TRUE(ClockSavedHidden(m.File.Folder()));
    m.Exec("delete from sz_sfxsb");
    EXPECT_FALSE(ClockSavedHidden(m.File.Folder()));
    EXPECT_FALSE(ClockSavedHidden(m.File.Folder() + "no such folder/"));
}
