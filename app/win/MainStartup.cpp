// The start-up and shut-down side of TFmMain: the table of the window's timers, the
// creation hook, the one-shot start-up timer that does every step needing the data file,
// and the close hook that writes the window positions back. The repeat handlers that
// another unit fills in are stubs here.
#include "app/win/Main.h"

#include <utility>

#include "app/core/Startup.h"
#include "app/core/dbhouse.h"
#include "app/win/SingleInstance.h"
#include "app/win/SystemDateFormats.h"
#include "app/win/TrayIcon.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Application.h"
#include "framework/win/Dialogs.h"
#include "framework/win/Menus.h"

namespace {

// Timers of the clock window besides tmrDrawClock (200 ms, from creation) and Timer1
// (1000 ms, once, started by start-up), which the clock layers make.
struct TTimerRow {
    TTimer* TFmMain::*Timer;
    const char* Name;
    uint32_t Interval;
    bool FromCreation;
    void (TFmMain::*Handler)(TObject*);
};

const TTimerRow TimerTable[] = {
    {&TFmMain::tszxsf, "tszxsf", 500, true, &TFmMain::tszxsfTimer},     // once: start-up
    {&TFmMain::tmsn, "tmsn", 6000, true, &TFmMain::tmsnTimer},          // quick reminder
    {&TFmMain::tbwl, "tbwl", 5000, false, &TFmMain::tbwlTimer},         // memos, windows shown; start-up
    {&TFmMain::trq, "trq", 1800000, false, &TFmMain::trqTimer},         // festivals; start-up
    {&TFmMain::tbs, "tbs", 1000, false, &TFmMain::tbsTimer},            // chimes; start-up
    {&TFmMain::tqxbs, "tqxbs", 130000, false, &TFmMain::tqxbsTimer},    // once per chime: re-arms it
    {&TFmMain::tcsh, "tcsh", 3000, false, &TFmMain::tcshTimer},         // repeating memos; last start-up step
    {&TFmMain::tjq, "tjq", 120500, false, &TFmMain::tjqTimer},          // never enabled
    {&TFmMain::twzc, "twzc", 1800000, true, &TFmMain::twzcTimer},       // once, does nothing else
};

// Runs one start-up step; its failure is dropped so that the later steps and the timers
// still run (a bad row has already been skipped inside the step).
template <class Step>
void Guarded(Step&& step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

void CheckTwins(TMenuItem* item, TMenuItem* twin, bool checked)
{
    for (TMenuItem* i : {item, twin})
        if (i)
            i->SetChecked(checked);
}

// Opens democnn on the data file beside the executable; on failure gives the reason.
bool OpenDataFile(std::string& reason)
{
    if (!dbhouse)
        return false;
    try {
        TADOConnection& cnn = *dbhouse->democnn;
        cnn.Close();
        cnn.SetConnectionString("");
        cnn.SetLoginPrompt(false);
        cnn.SetConnectionString(DataConnectionString(ExeFolder()));
        cnn.Open();
        return true;
    } catch (const std::exception& e) {
        reason = e.what();
        return false;
    }
}

}  // namespace

void TFmMain::CreateStartupParts()
{
    for (const TTimerRow& row : TimerTable) {
        TTimer* timer = new TTimer(this);
        timer->SetName(row.Name);
        timer->SetEnabled(row.FromCreation);
        timer->SetInterval(row.Interval);
        timer->OnTimer = [this, handler = row.Handler](TObject* Sender) { (this->*handler)(Sender); };
        this->*row.Timer = timer;
    }
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

void TFmMain::Terminate()
{
    if (OnTerminate)
        OnTerminate();
    else
        Application->Terminate();
}

// The program's own date texts need no setting here: the run-time library always reads
// and writes them with '-', "yyyy-mm-dd" and the two-digit-year window 70.
void TFmMain::FormCreate(TObject*)
{
    Guarded(SetSystemDateFormats);
    if (HWND running = FindRunningInstance()) {
        ShowWindow(running, SW_RESTORE);
        Terminate();
    }
    SetWindowLongPtrW(Application->Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    if (!TrayIconAfterFirstFrame)
        TrayNotifyIcon1->SetIconVisible(true);
    ResetClockDrawn();
    Application->SetShowHint(true);
}

void TFmMain::tszxsfTimer(TObject*)
{
    tszxsf->SetEnabled(false);
    if (!FSkinImagesLoaded)
        Guarded([this] { LoadSkinImages(); });
    if (std::function<void()> shown = std::exchange(OnClockShown, nullptr))
        shown();
    if (std::string reason; !OpenDataFile(reason)) {
        ShowMessage(reason.empty() ? "data error" : "data error\n\n" + reason);
        Terminate();
        return;
    }
    Tdbhouse& db = *dbhouse;
    Guarded(LoadSoundPaths);
    Guarded([&] { LoadOtherSettings(db); });
    Guarded([&] {
        TShownFlags flags = LoadShownFlags(db);
        const bool clock = flags.Clock == "1";
        CheckTwins(N2, N22, clock);
        if (clock && !Visible())
            Show();
        else if (!clock && Visible())
            SetVisible(false);
        CheckTwins(N5, N23, flags.Calendar == "1");
        CheckTwins(N13, N24, flags.MemoBoard == "1");
        CheckTwins(N6, N25, flags.Notes == "1");
        CheckTwins(N14, N26, flags.Countdowns == "1");
    });
    Guarded([&] { RefreshFestivalDatesOnNewDay(db, Date(), FFestivalDay); });
    Guarded([&] { FPositionsRead = LoadWindowPositions(db); });
    Guarded([this] { BitBtn1Click(this); });
    Guarded([&] { PurgeRemindedMemos(db, Date()); });
    for (TTimer* timer : {Timer1, tbwl, trq, tbs})
        timer->SetEnabled(true);
    tcsh->SetEnabled(true);
}

// Positions are written only where start-up has read them: closing earlier, or after a
// row failed to read, would put the variables' zeros over the stored places.
void TFmMain::FormClose(TObject*, TCloseAction&)
{
    if (dbhouse)
        SaveWindowPositions(*dbhouse, FPositionsRead);
}

//--- Other timers

void TFmMain::tjqTimer(TObject*) { tjq->SetEnabled(false); }
void TFmMain::twzcTimer(TObject*) { twzc->SetEnabled(false); }
