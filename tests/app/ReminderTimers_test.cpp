// The clock window's festival, quick-reminder and talking-clock timers under Wine on a
// private data file, driven by a fake timer service with the clock moving along with it,
// and the sound and message-box seams.
#include <gtest/gtest.h>

#include <utility>

#include "DataModule.h"
#include "app/core/QuickReminder.h"
#include "app/core/Startup.h"
#include "app/core/dbware.h"
#include "app/win/Main.h"
#include "app/win/MsgFrm.h"
#include "framework/base/FakeTimerService.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "framework/win/Application.h"
#include "framework/win/Dialogs.h"
#include "framework/win/Sound.h"
#include "organizer/win/kstsr.h"

namespace {

class ReminderTimers : public testing::Test {
protected:
    void SetUp() override
    {
        oldTimers = &CurrentTimerService();
        SetTimerService(&timers);
        SetExeFolder(data.File.Folder());
        LoadSoundPaths();
        StartAt(EncodeDateTime(2026, 5, 10, 14, 30, 0, 0));
        form = NewForm<TFmMain>(nullptr);
        // Only the timer under test runs.
        for (TTimer* t : {form->tmrDrawClock, form->Timer1, form->tszxsf, form->tmsn, form->twzc})
            t->SetEnabled(false);
        ReminderPlayCount = 3;
    }
    void TearDown() override
    {
        FreeMsgPopups();
        delete form;
        delete Formkstsr;
        Formkstsr = nullptr;
        Application->ProcessMessages();
        ReminderPlayCount = 2;
        ChimeMode = ChimeFrequency = "";
        SetClockSource(nullptr);
        SetExeFolder("");
        SetTimerService(oldTimers);
    }
    // The clock stands at `start` when the fake timers stand at their present time.
    void StartAt(TDateTime start)
    {
        const uint64_t base = timers.NowMs();
        SetClockSource([this, start, base] { return start + double(timers.NowMs() - base) / MSecsPerDay; });
    }
    std::vector<std::string> Played()
    {
        std::vector<std::string> names;
        for (const std::string& p : sounds.Played)
            names.push_back(ExtractFileName(p));
        sounds.Played.clear();
        return names;
    }

    FakeTimerService timers;
    TimerService* oldTimers = nullptr;
    DataModule data;
    TFmMain* form = nullptr;
    SoundRecorder sounds;
    MessageBoxRecorder boxes;
};

using Words = std::vector<std::string>;

}  // namespace

TEST_F(ReminderTimers, AFestivalTwoDaysAheadRaisesOnePopUpWithItsIidEvery30MinutesUntilConfirmed)
{
    data.Exec("insert into sz_jrb (jrmc, rqlx, realyr, realrq, qrbz) values ('结婚纪念日', '阳历', '05-12', "
              "'2026-05-12', '0'), ('太远', '阳历', '05-13', '2026-05-13', '0'), ('已过', '阳历', '05-09', "
              "'2026-05-09', '0')");
    const std::string iid = data.Value("select iid from sz_jrb where jrmc='结婚纪念日'");
    form->trq->SetEnabled(true);
    timers.Advance(1800000 - 1000);
    EXPECT_TRUE(OpenMsgPopups().empty());   // the first pass comes after 30 minutes
    timers.Advance(1000);
    ASSERT_EQ(OpenMsgPopups().size(), 1u);
    TMsgForm* popup = OpenMsgPopups()[0];
    EXPECT_EQ(popup->Text(), "后天:结婚纪念日;" + iid);
    EXPECT_EQ(popup->editiid->Text(), iid);
    EXPECT_TRUE(popup->cb1->Visible());
    EXPECT_EQ(Played(), Words(3, "allday.wav"));
    EXPECT_TRUE(form->trq->Enabled());

    popup->cb1->SetChecked(true);
    popup->cb1Click(nullptr);
    AlldayWavPath = "";   // no sound: nothing plays, never the system's default
    data.Exec("insert into sz_jrb (jrmc, rqlx, realyr, realrq, qrbz) values ('生日', '阳历', '05-10', '2026-05-10', '0')");
    timers.Advance(1800000);   // the confirmed festival comes no more; the old pop-up may still slide out
    EXPECT_TRUE(Played().empty());
    Words texts;
    bool oldOneSeen = false;
    for (TMsgForm* f : OpenMsgPopups())
        if (f->Text() != "后天:结婚纪念日;" + iid || std::exchange(oldOneSeen, true))
            texts.push_back(f->Text());
    EXPECT_EQ(texts, Words{"今天:生日;" + data.Value("select iid from sz_jrb where jrmc='生日'")});
    EXPECT_TRUE(boxes.Calls.empty());
}

// Left running across the year end, the festival timer takes the new day's dates: 元旦,
// confirmed last January, comes two days ahead.
TEST_F(ReminderTimers, AFestivalOfNextYearIsRemindedWithoutARestart)
{
    data.Exec("delete from sz_jrb");
    data.Exec("insert into sz_jrb (jrmc, rqlx, realyr, realrq, qrbz) values ('元旦', '阳历', '01-01', '2026-01-01', '1')");
    StartAt(EncodeDateTime(2026, 12, 20, 23, 0, 0, 0));
    form->trq->SetEnabled(true);
    timers.Advance(1800000);
    EXPECT_TRUE(OpenMsgPopups().empty());
    StartAt(EncodeDateTime(2026, 12, 30, 8, 0, 0, 0));
    timers.Advance(1800000);
    ASSERT_EQ(OpenMsgPopups().size(), 1u);
    EXPECT_EQ(OpenMsgPopups()[0]->Text(), "后天:元旦;" + data.Value("select iid from sz_jrb"));
}

TEST_F(ReminderTimers, AQuickReminderAcrossMidnightFiresOnceAtItsMomentAndResetsItsRow)
{
    StartAt(EncodeDateTime(2026, 5, 10, 23, 50, 0, 0));
    const std::string sound = data.File.PathOf("门铃.wav");
    WriteFileBytes(sound, "RIFF");
    WriteQuickReminder(*dbhouse, ReminderDueText(RelativeReminderDue(Now(), 15)), sound, "23:50");
    form->tmsn->SetEnabled(true);
    timers.Advance(15 * 60000 - 6000);
    EXPECT_TRUE(Played().empty());
    EXPECT_EQ(Formkstsr, nullptr);   // the alert is made when it is first shown

    timers.Advance(6000);   // 00:05:00
    EXPECT_EQ(Played(), Words{"门铃.wav"});
    EXPECT_EQ(data.Value("select zdsj from sz_ksb where bz='1'"), "");
    ASSERT_NE(Formkstsr, nullptr);
    EXPECT_TRUE(Formkstsr->Visible());
    EXPECT_EQ(Formkstsr->Label1->Caption(), "您在23:50时间设置的快速提醒已到");

    timers.Advance(60000);
    EXPECT_TRUE(Played().empty());
}

TEST_F(ReminderTimers, TheTalkingClockAnnouncesHalfAndFullHoursOnceInEitherMode)
{
    ChimeFrequency = "2";
    ChimeMode = "0";
    StartAt(EncodeDateTime(2026, 5, 10, 13, 29, 58, 0));
    form->tbs->SetEnabled(true);
    timers.Advance(1000);
    EXPECT_TRUE(Played().empty());
    timers.Advance(1000);   // 13:30:00
    EXPECT_EQ(Played(), (Words{"c.wav", "T.wav", "Tp.wav", "1.wav", "d.wav", "30.wav", "m.wav"}));
    EXPECT_TRUE(form->tqxbs->Enabled());
    timers.Advance(59000);
    EXPECT_TRUE(Played().empty());
    timers.Advance(130000);   // re-armed
    EXPECT_FALSE(form->tqxbs->Enabled());
    EXPECT_FALSE(form->HalfHourAnnounced);

    ChimeMode = "1";
    timers.Advance(28 * 60000);   // 14:00 in 24-hour speech
    EXPECT_EQ(Played(), (Words{"c.wav", "T.wav", "10.wav", "4.wav", "d.wav"}));
}
