// The clock window's festival, quick-reminder and talking-clock timers. Festivals not yet
// confirmed that fall within the next two days raise a pop-up every 30 minutes; the
// quick reminder fires once at its moment with its sound and the alert; the talking
// clock chimes and speaks the full and half hours. Like every reminder timer they
// swallow their errors and run again at the next tick.
#include "app/win/Main.h"

#include "app/core/FestivalReminder.h"
#include "app/core/MsgPopup.h"
#include "app/core/QuickReminder.h"
#include "app/core/Startup.h"
#include "app/core/TalkingClock.h"
#include "app/core/dbhouse.h"
#include "app/core/dbware.h"
#include "app/win/MsgFrm.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Application.h"
#include "framework/win/Buttons.h"
#include "framework/win/Sound.h"
#include "organizer/win/kstsr.h"

namespace {

void PlayWords(const std::vector<int>& words)
{
    for (int w : words)
        if (w >= 0 && size_t(w) < SpeechWavPaths.size())
            SndPlaySound(SpeechWavPaths[size_t(w)], 0);
}

}  // namespace

void TFmMain::trqTimer(TObject*)
{
    trq->SetEnabled(false);
    try {
        if (dbhouse)
            RefreshFestivalDatesOnNewDay(*dbhouse, Date(), FFestivalDay);
    } catch (...) {
    }
    try {
        if (dbhouse)
            for (const TFestivalReminder& r : PlanFestivalPass(ReadUnconfirmedFestivals(*dbhouse), Date())) {
                for (int i = 0; i < ReminderPlayCount; ++i)
                    SndPlaySound(AlldayWavPath, 0);
                MsgPopupSide = MsgSideBottomRight;
                MsgPopupSeconds = 9999999;
                ShowMsgPopup(r.Text, 1, r.Iid);
            }
    } catch (...) {
    }
    trq->SetEnabled(true);
}

void TFmMain::tmsnTimer(TObject*)
{
    try {
        if (!dbhouse)
            return;
        FireQuickReminder(*dbhouse, Now(), [](const TQuickReminderRow& row) {
            if (FileExists(row.Sypath))
                SndPlaySound(row.Sypath, 0);
            TFormkstsr* alert = MadeOnFirstUse(Formkstsr);
            alert->Label1->SetCaption(QuickReminderAlertText(row.Kssj));
            if (!alert->Visible())
                alert->Show();
        });
    } catch (...) {
    }
}

//--- Talking clock

void TFmMain::SpeakFullHour12(const std::string& HourText, int Hour24)
{
    PlayWords(SpokenWords(HourText, Hour24, false));
}
void TFmMain::SpeakHalfHour12(const std::string& HourText, int Hour24)
{
    PlayWords(SpokenWords(HourText, Hour24, true));
}
void TFmMain::SpeakFullHour24(const std::string& HourText) { PlayWords(SpokenWords(HourText, -1, false)); }
void TFmMain::SpeakHalfHour24(const std::string& HourText) { PlayWords(SpokenWords(HourText, -1, true)); }

void TFmMain::tbsTimer(TObject*)
{
    const TChimeDue due = ChimeDueAt(Now(), ChimeFrequency, ChimeMode, FullHourAnnounced, HalfHourAnnounced);
    if (due.Kind == TChimeKind::None)
        return;
    const bool half = due.Kind == TChimeKind::HalfHour;
    (half ? HalfHourAnnounced : FullHourAnnounced) = true;
    SndPlaySound(CWavPath, 0);
    if (due.TwelveHour)
        half ? SpeakHalfHour12(due.HourText, due.Hour24) : SpeakFullHour12(due.HourText, due.Hour24);
    else
        half ? SpeakHalfHour24(due.HourText) : SpeakFullHour24(due.HourText);
    tqxbs->SetEnabled(true);
}

void TFmMain::tqxbsTimer(TObject*)
{
    tqxbs->SetEnabled(false);
    FullHourAnnounced = false;
    HalfHourAnnounced = false;
}

// Below the 131-pixel client, so the clock never shows it.
void TFmMain::CreateTalkingClockParts()
{
    BitBtn2 = new TBitBtn(this);
    BitBtn2->SetName("BitBtn2");
    BitBtn2->SetParent(this);
    BitBtn2->SetBounds(8, 144, 75, 25);
    BitBtn2->SetCaption("语音报时");
    BitBtn2->OnClick = [this](TObject* Sender) { BitBtn2Click(Sender); };
}

// The clock's "语音报时" button: the chime alone, in the half hour's minute.
void TFmMain::BitBtn2Click(TObject*)
{
    int h, m, s, ms;
    DecodeTime(Now(), h, m, s, ms);
    if (ChimeFrequency == "0" && m == 30 && FileExists(CWavPath))
        SndPlaySound(CWavPath, 0);
}
