// The quick reminder's due moments, the festival pass and the talking clock, natively.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "../db/DataFileCopy.h"
#include "app/core/FestivalReminder.h"
#include "app/core/QuickReminder.h"
#include "app/core/Startup.h"
#include "app/core/TalkingClock.h"
#include "app/core/dbhouse.h"
#include "app/core/dbware.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"

namespace {

TDateTime At(int d, int h, int m, int s = 0) { return EncodeDateTime(2026, 5, d, h, m, s, 0); }

std::string Relative(TDateTime now, int minutes) { return ReminderDueText(RelativeReminderDue(now, minutes)); }

}  // namespace

TEST(QuickReminder, DueMomentsKeepTheirDayAndFireNotBefore)
{
    EXPECT_EQ(Relative(At(10, 10, 30, 45), 1), "2026-05-10 10:31:00");   // from the start of the minute
    EXPECT_EQ(Relative(At(10, 10, 30), 1440), "2026-05-11 10:29:59");
    EXPECT_EQ(Relative(At(31, 23, 59, 59), 60), "2026-06-01 00:59:00");
    try {
        RelativeReminderDue(At(10, 10, 30), -5);
        ADD_FAILURE() << "a negative count was taken";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "提醒的分钟数不能小于0！");
    }
    // An absolute time not later than now is tomorrow's.
    for (auto [h, m, due] : {std::tuple{7, 5, "2026-05-11 07:05:00"}, {10, 31, "2026-05-10 10:31:00"},
                             {10, 30, "2026-05-11 10:30:00"}})
        EXPECT_EQ(ReminderDueText(AbsoluteReminderDue(At(10, 10, 30, 0), EncodeTime(h, m, 0, 0))), due);

    // Set at 23:50 for 15 minutes: the first 6-second tick that fires is 00:05:00.
    const std::string late = Relative(At(10, 23, 50), 15);
    EXPECT_EQ(late, "2026-05-11 00:05:00");
    std::string fired = "never";
    for (int i = 0; i < 400 && fired == "never"; ++i)
        if (const TDateTime now = At(10, 23, 50) + i * 6 / 86400.0; QuickReminderReached(late, now))
            fired = FormatDateTime("hh:nn:ss", now);
    EXPECT_EQ(fired, "00:05:00");
    // "1440" waits a whole day; an older row holding a time of day alone compares times of day.
    const std::string day = Relative(At(10, 10, 30), 1440);
    EXPECT_FALSE(QuickReminderReached(day, At(11, 10, 29, 58)));
    EXPECT_TRUE(QuickReminderReached(day, At(11, 10, 29, 59)));
    EXPECT_TRUE(QuickReminderReached("0:10:00", At(10, 23, 50)));
    EXPECT_FALSE(QuickReminderReached("", At(10, 14, 30)));
    EXPECT_THROW(QuickReminderReached("soon", At(10, 14, 30)), EConvertError);

    EXPECT_EQ(ClampReminderMinutes("2000"), "1440");
    EXPECT_EQ(ClampReminderMinutes("1440") + ClampReminderMinutes(""), "1440");
    EXPECT_THROW(ClampReminderMinutes("1a"), EConvertError);
}

// While another program holds the data file the reminder cannot be cleared: no sound and
// no alert then, and once the file is free it fires exactly once.
TEST(QuickReminder, ClearsTheRowBeforeItAlertsSoItFiresOnce)
{
    DataFileCopy file;
    TComponent owner(nullptr);
    Tdbhouse* db = new Tdbhouse(&owner);
    db->democnn->SetConnectionString(DataConnectionString(file.Folder()));
    db->democnn->Open();
    sqlite3_busy_timeout(db->democnn->Handle(), 50);
    WriteQuickReminder(*db, "2026-05-10 14:30:00", "", "14:15");
    int alerts = 0;
    auto alert = [&](const TQuickReminderRow& row) {
        ++alerts;
        EXPECT_EQ(row.Kssj, "14:15");
    };
    EXPECT_FALSE(FireQuickReminder(*db, At(10, 14, 29, 59), alert));

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(file.FileName().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin; select count(*) from sz_ksb;", nullptr, nullptr, nullptr), SQLITE_OK);
    for (int tick = 0; tick < 3; ++tick)
        EXPECT_ANY_THROW(FireQuickReminder(*db, At(10, 14, 30, 6 * tick), alert));
    EXPECT_EQ(alerts, 0);
    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    for (int tick = 3; tick < 6; ++tick)
        FireQuickReminder(*db, At(10, 14, 30, 6 * tick), alert);
    EXPECT_EQ(alerts, 1);
    EXPECT_EQ(ReadQuickReminder(*db->qdc).Zdsj, "");
}

TEST(FestivalPass, RemindsTheNextThreeDaysAndAConfirmedFestivalAgainOnceItsDateMoves)
{
    const std::vector<TFestivalRow> rows = {{1, "过去", At(9, 0, 0)},   {2, "甲", At(10, 0, 0)}, {3, "乙", At(11, 0, 0)},
                                            {4, "丙", At(12, 18, 0)}, {5, "远", At(13, 0, 0)}, {6, "丁", At(10, 23, 0)}};
    std::string texts;
    for (const TFestivalReminder& r : PlanFestivalPass(rows, At(10, 9, 15)))
        texts += r.Text + "|" + IntToStr(r.Iid) + " ";
    EXPECT_EQ(texts, "今天:甲;2|2 明天:乙;3|3 后天:丙;4|4 今天:丁;6|6 ");

    DataFileCopy file;
    TComponent owner(nullptr);
    Tdbhouse* db = new Tdbhouse(&owner);
    db->democnn->SetConnectionString(DataConnectionString(file.Folder()));
    db->democnn->Open();
    auto exec = [&](const std::string& sql) {
        db->qok->Close();
        db->qok->SQL.SetText(sql);
        db->qok->ExecSQL();
    };
    auto unconfirmed = [&] {
        std::string names;
        for (const TFestivalRow& r : ReadUnconfirmedFestivals(*db))
            names += r.Jrmc + " ";
        return names;
    };
    exec("delete from sz_jrb");
    exec("insert into sz_jrb (iid, jrmc, rqlx, realyr, realrq, qrbz) values (1, '元旦', '阳历', '01-01', "
         "'2026-01-01', '1'), (2, '坏日', '阳历', '10-02', 'notadate', '0'), (3, '劳动', '阳历', '05-01', "
         "'2026-05-01', '0')");
    EXPECT_EQ(unconfirmed(), "劳动 ");   // a realrq that does not read keeps no later row back
    RefreshFestivalDates(*db, 2026);      // the same year keeps the confirmation
    EXPECT_EQ(unconfirmed(), "坏日 劳动 ");
    RefreshFestivalDates(*db, 2027);
    EXPECT_EQ(unconfirmed(), "元旦 坏日 劳动 ");
}

TEST(TalkingClock, WordsOfEveryHourText)
{
    static const char* const names[24] = {"0",  "1", "2", "3", "4",  "5",   "6",  "7",   "8",  "9",  "10", "11",
                                          "12", "d", "m", "T", "TA", "TAA", "Tp", "Tpp", "30", "20", "40", "50"};
    const std::tuple<const char*, int, bool, const char*> cases[] = {
        {"1", 13, false, "T Tp 1 d"},   {"1", 13, true, "T Tp 1 d 30 m"}, {"13", -1, true, "T 10 3 d 30 m"},
        {"0", 0, true, "T TAA 0 d 30 m"}, {"6", 6, false, "T TAA 6 d"},     {"12", 12, false, "T TA 10 2 d"},
        {"4", 16, false, "T Tp 4 d"},    {"5", 17, false, "T Tpp 5 d"},     {"20", -1, false, "T 20 d"},
        {"29", -1, false, "T 20 9 d"},   {"30", -1, false, "T"},            {"07", 7, true, "T TA"},
    };
    for (auto [hour, hour24, half, expected] : cases) {
        std::string words;
        for (int w : SpokenWords(hour, hour24, half))
            words += (words.empty() ? "" : " ") + std::string(names[w]);
        EXPECT_EQ(words, expected) << hour << " " << hour24;
    }
    // Every word the clock may say ships with the program.
    SetExeFolder(std::string(VORPEN_DIST_DIR) + PathDelim);
    LoadSoundPaths();
    SetExeFolder("");
    for (const std::string& path : SpeechWavPaths)
        EXPECT_EQ(ReadFileBytes(path).substr(8, 8), "WAVEfmt ") << path;
}

TEST(TalkingClock, AnnouncementsFollowFrequencyModeAndFlags)
{
    using K = TChimeKind;
    // hour, minute, frequency, mode, flags full/half set, what comes
    const std::tuple<int, int, const char*, const char*, bool, bool, K> cases[] = {
        {13, 0, "1", "0", false, false, K::FullHour},  {13, 0, "2", "1", false, false, K::FullHour},
        {13, 0, "0", "0", false, false, K::None},      {13, 30, "0", "1", false, false, K::HalfHour},
        {13, 30, "2", "0", false, false, K::HalfHour}, {13, 30, "1", "0", false, false, K::None},
        {13, 15, "2", "0", false, false, K::None},     {13, 0, "3", "0", false, false, K::None},
        {0, 0, "2", "0", false, false, K::None},       {0, 30, "2", "1", false, false, K::HalfHour},
        {13, 0, "2", "0", true, false, K::None},       {13, 30, "2", "0", true, false, K::HalfHour},
        {13, 30, "2", "0", false, true, K::None},      {13, 0, "2", "2", false, false, K::None},
    };
    for (auto [h, m, freq, mode, full, half, kind] : cases)
        EXPECT_EQ(ChimeDueAt(At(10, h, m, 20), freq, mode, full, half).Kind, kind) << h << ":" << m << " " << freq << mode;
    const TChimeDue twelve = ChimeDueAt(At(10, 13, 30), "2", "0", false, false);
    EXPECT_EQ(twelve.HourText + "/" + IntToStr(twelve.Hour24) + (twelve.TwelveHour ? " 12" : " 24"), "1/13 12");
    const TChimeDue full = ChimeDueAt(At(10, 13, 0), "1", "1", false, false);
    EXPECT_EQ(full.HourText + (full.TwelveHour ? " 12" : " 24"), "13 24");
}
