// The quick reminder's due moments, the festival pass and the talking clock's words,
// natively; the festival rows and the shipped words on a private copy of the data file.
#include <gtest/gtest.h>

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
std::string Absolute(TDateTime now, int h, int m)
{
    return ReminderDueText(AbsoluteReminderDue(now, EncodeTime(h, m, 0, 0)));
}

// The first 6-second tick from `from` at which the reminder counts as reached.
std::string FirstFiringTick(const std::string& zdsj, TDateTime from, int ticks)
{
    for (int i = 0; i < ticks; ++i) {
        const TDateTime now = from + i * 6 / 86400.0;
        if (QuickReminderReached(zdsj, now))
            return FormatDateTime("yyyy-mm-dd hh:nn:ss", now);
    }
    return "never";
}

// Words as their file names, in SpeechWavPaths order.
std::string Names(const std::vector<int>& words)
{
    static const char* const names[24] = {"0", "1", "2",  "3",  "4",  "5",  "6",   "7",  "8",  "9",  "10", "11",
                                          "12", "d", "m", "T", "TA", "TAA", "Tp", "Tpp", "30", "20", "40", "50"};
    std::string out;
    for (int w : words)
        out += (out.empty() ? "" : " ") + std::string(names[w]);
    return out;
}

struct Module {
    DataFileCopy File;
    TComponent Owner{nullptr};
    Tdbhouse* House = new Tdbhouse(&Owner);
    Module()
    {
        House->democnn->SetConnectionString(DataConnectionString(File.Folder()));
        House->democnn->Open();
    }
    void Exec(const std::string& sql)
    {
        TADOQuery& q = *House->qok;
        q.Close();
        q.SQL.Clear();
        q.SQL.Add(sql);
        q.ExecSQL();
    }
    std::vector<std::string> Unconfirmed()
    {
        std::vector<std::string> names;
        for (const TFestivalRow& r : ReadUnconfirmedFestivals(*House))
            names.push_back(r.Jrmc);
        return names;
    }
};

}  // namespace

//--- Quick reminder

TEST(QuickReminder, DueMomentsKeepTheirDay)
{
    EXPECT_EQ(Relative(At(10, 23, 50), 15), "2026-05-11 00:05:00");
    EXPECT_EQ(Relative(At(10, 10, 30, 45), 1), "2026-05-10 10:31:00");   // from the start of the minute
    EXPECT_EQ(Relative(At(10, 10, 30), 1440), "2026-05-11 10:29:59");
    EXPECT_EQ(Relative(At(10, 10, 30), 1439), "2026-05-11 10:29:00");
    EXPECT_EQ(Relative(At(10, 10, 30), 0), "2026-05-10 10:30:00");
    EXPECT_EQ(Relative(At(31, 23, 59, 59), 60), "2026-06-01 00:59:00");
    EXPECT_THROW(RelativeReminderDue(At(10, 10, 30), -5), EConvertError);
    // An absolute time not later than now is tomorrow's.
    EXPECT_EQ(Absolute(At(10, 10, 0), 7, 5), "2026-05-11 07:05:00");
    EXPECT_EQ(Absolute(At(10, 10, 30, 45), 10, 31), "2026-05-10 10:31:00");
    EXPECT_EQ(Absolute(At(10, 10, 30, 0), 10, 30), "2026-05-11 10:30:00");
    EXPECT_EQ(Absolute(At(10, 23, 50), 0, 10), "2026-05-11 00:10:00");
}

TEST(QuickReminder, FiresOnTheFirstTickAtItsMomentAndNotBefore)
{
    // Set at 23:50 for 15 minutes: not at once past midnight, but at 00:05.
    const std::string late = Relative(At(10, 23, 50), 15);
    EXPECT_EQ(FirstFiringTick(late, At(10, 23, 50), 400), "2026-05-11 00:05:00");
    // "1440" waits a whole day.
    const std::string day = Relative(At(10, 10, 30), 1440);
    EXPECT_FALSE(QuickReminderReached(day, At(10, 23, 59, 59)));
    EXPECT_FALSE(QuickReminderReached(day, At(11, 10, 29, 58)));
    EXPECT_TRUE(QuickReminderReached(day, At(11, 10, 29, 59)));
    // An older row holding a time of day alone compares with the time of day.
    EXPECT_EQ(FirstFiringTick("14:30:00", At(10, 14, 29, 57), 5), "2026-05-10 14:30:03");
    EXPECT_FALSE(QuickReminderReached("", At(10, 14, 30)));
    EXPECT_THROW(QuickReminderReached("soon", At(10, 14, 30)), EConvertError);
}

TEST(QuickReminder, MinutesAboveADayBecome1440)
{
    EXPECT_EQ(ClampReminderMinutes("2000"), "1440");
    EXPECT_EQ(ClampReminderMinutes("1441"), "1440");
    EXPECT_EQ(ClampReminderMinutes("1440"), "1440");
    EXPECT_EQ(ClampReminderMinutes("15"), "15");
    EXPECT_EQ(ClampReminderMinutes(""), "");
    EXPECT_THROW(ClampReminderMinutes("1a"), EConvertError);
    EXPECT_EQ(QuickReminderAlertText("10:30"), "您在10:30时间设置的快速提醒已到");
}

TEST(QuickReminder, RowIsWrittenReadAndCleared)
{
    Module m;
    EXPECT_EQ(ReadQuickReminder(*m.House->qcx).Zdsj, "");
    WriteQuickReminder(*m.House, "2026-05-11 00:05:00", "", "23:50");
    TQuickReminderRow row = ReadQuickReminder(*m.House->qdc);
    EXPECT_EQ(row.Zdsj, "2026-05-11 00:05:00");
    EXPECT_EQ(row.Kssj, "23:50");
    EXPECT_EQ(row.Sypath, "");
    ClearQuickReminder(*m.House);
    EXPECT_EQ(ReadQuickReminder(*m.House->qdc).Zdsj, "");
}

//--- Festivals

TEST(FestivalPass, RemindsTodayTomorrowAndTheDayAfterInRowOrder)
{
    const TDateTime today = At(10, 9, 15);
    const std::vector<TFestivalRow> rows = {
        {1, "过去", At(9, 0, 0)}, {2, "今天甲", At(10, 0, 0)}, {3, "明天", At(11, 0, 0)},
        {4, "后天", At(12, 18, 0)}, {5, "大后天", At(13, 0, 0)}, {6, "今天乙", At(10, 23, 0)},
    };
    std::vector<std::string> texts;
    for (const TFestivalReminder& r : PlanFestivalPass(rows, today))
        texts.push_back(r.Text + "|" + IntToStr(r.Iid));
    EXPECT_EQ(texts, (std::vector<std::string>{"今天:今天甲;2|2", "明天:明天;3|3", "后天:后天;4|4", "今天:今天乙;6|6"}));
}

TEST(FestivalPass, ConfirmedRowsAreLeftOutUntilTheirDateMoves)
{
    Module m;
    m.Exec("delete from sz_jrb");
    m.Exec("insert into sz_jrb (iid, jrmc, rqlx, realyr, realrq, qrbz) values "
           "(1, '元旦', '阳历', '01-01', '2026-01-01', '1'), (2, '国庆', '阳历', '10-01', '2026-10-01', '0'), "
           "(3, '坏日', '阳历', '10-02', 'notadate', '0'), (4, '劳动', '阳历', '05-01', '2026-05-01', '0')");
    // A realrq that does not read keeps none of the rows after it from their reminders.
    EXPECT_EQ(m.Unconfirmed(), (std::vector<std::string>{"国庆", "劳动"}));
    // Start-up in the same year keeps the confirmation.
    RefreshFestivalDates(*m.House, 2026);
    EXPECT_EQ(m.Unconfirmed(), (std::vector<std::string>{"国庆", "坏日", "劳动"}));
    m.Exec("update sz_jrb set qrbz='1' where iid in (2, 4)");
    RefreshFestivalDates(*m.House, 2026);
    EXPECT_EQ(m.Unconfirmed(), (std::vector<std::string>{"坏日"}));
    // Next year's start-up moves every date: each is reminded again.
    RefreshFestivalDates(*m.House, 2027);
    EXPECT_EQ(m.Unconfirmed(), (std::vector<std::string>{"元旦", "国庆", "坏日", "劳动"}));
    const std::vector<TFestivalReminder> due =
        PlanFestivalPass(ReadUnconfirmedFestivals(*m.House), EncodeDate(2026, 12, 31));
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].Text, "明天:元旦;1");
}

//--- Talking clock

TEST(TalkingClock, WordsOfEveryHourText)
{
    struct Case {
        const char* hour;
        int hour24;
        bool half;
        const char* words;
    };
    const Case cases[] = {
        {"1", 13, false, "T Tp 1 d"},       {"1", 13, true, "T Tp 1 d 30 m"},  {"13", -1, false, "T 10 3 d"},
        {"13", -1, true, "T 10 3 d 30 m"},  {"0", 0, true, "T TAA 0 d 30 m"},  {"6", 6, false, "T TAA 6 d"},
        {"7", 7, false, "T TA 7 d"},        {"12", 12, false, "T TA 10 2 d"},  {"4", 16, false, "T Tp 4 d"},
        {"5", 17, false, "T Tpp 5 d"},      {"11", 23, true, "T Tpp 10 1 d 30 m"}, {"10", -1, false, "T 10 d"},
        {"20", -1, false, "T 20 d"},        {"23", -1, false, "T 20 3 d"},     {"29", -1, false, "T 20 9 d"},
        {"30", -1, false, "T"},             {"", 5, false, "T TAA"},           {"x", -1, true, "T"},
        {"07", -1, false, "T"},             {"123", -1, false, "T"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Names(SpokenWords(c.hour, c.hour24, c.half)), c.words) << c.hour << " " << c.hour24;
}

TEST(TalkingClock, AnnouncementsFollowFrequencyModeAndFlags)
{
    auto kind = [](int h, int m, const char* freq, const char* mode, bool fullDone = false, bool halfDone = false) {
        return ChimeDueAt(EncodeDateTime(2026, 5, 10, h, m, 20, 0), freq, mode, fullDone, halfDone).Kind;
    };
    using K = TChimeKind;
    for (const char* mode : {"0", "1"}) {
        EXPECT_EQ(kind(13, 0, "1", mode), K::FullHour);
        EXPECT_EQ(kind(13, 0, "2", mode), K::FullHour);
        EXPECT_EQ(kind(13, 0, "0", mode), K::None);
        EXPECT_EQ(kind(13, 30, "0", mode), K::HalfHour);
        EXPECT_EQ(kind(13, 30, "2", mode), K::HalfHour);
        EXPECT_EQ(kind(13, 30, "1", mode), K::None);
        EXPECT_EQ(kind(13, 15, "2", mode), K::None);
        EXPECT_EQ(kind(13, 0, "3", mode), K::None);
        EXPECT_EQ(kind(0, 0, "2", mode), K::None);       // midnight is not announced
        EXPECT_EQ(kind(0, 30, "2", mode), K::HalfHour);
        EXPECT_EQ(kind(13, 0, "2", mode, true), K::None);
        EXPECT_EQ(kind(13, 30, "2", mode, true, true), K::None);
        EXPECT_EQ(kind(13, 30, "2", mode, true, false), K::HalfHour);
    }
    EXPECT_EQ(kind(13, 0, "2", "2"), K::None);   // "不语音报时"
    EXPECT_EQ(kind(13, 0, "2", ""), K::None);

    TChimeDue twelve = ChimeDueAt(EncodeDateTime(2026, 5, 10, 13, 30, 0, 0), "2", "0", false, false);
    EXPECT_TRUE(twelve.TwelveHour);
    EXPECT_EQ(twelve.HourText, "1");
    EXPECT_EQ(twelve.Hour24, 13);
    EXPECT_EQ(ChimeDueAt(EncodeDateTime(2026, 5, 10, 12, 0, 0, 0), "1", "0", false, false).HourText, "12");
    TChimeDue full = ChimeDueAt(EncodeDateTime(2026, 5, 10, 13, 0, 0, 0), "1", "1", false, false);
    EXPECT_FALSE(full.TwelveHour);
    EXPECT_EQ(full.HourText, "13");
}

TEST(TalkingClock, EveryWordShipsAsSpeech)
{
    SetExeFolder(std::string(VORPEN_DIST_DIR) + PathDelim);
    LoadSoundPaths();
    SetExeFolder("");
    for (const std::string& path : SpeechWavPaths) {
        ASSERT_TRUE(FileExists(path)) << path;
        const std::string bytes = ReadFileBytes(path);
        ASSERT_GT(bytes.size(), 44u + 22050u / 10 * 2) << path;   // a tenth of a second of 16-bit sound
        EXPECT_EQ(bytes.substr(0, 4), "RIFF") << path;
        EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ") << path;
        EXPECT_EQ(bytes[20], 1) << path;   // PCM
    }
}
