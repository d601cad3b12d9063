// Program entry: the single-instance mutex, the application object, the windows and the
// data module in their creation order, and the message loop.
#include <cwchar>

#include "app/core/Startup.h"
#include "app/core/dbhouse.h"
#include "app/win/Main.h"
#include "app/win/MsgFrm.h"
#include "app/win/SingleInstance.h"
#include "app/win/TrayIcon.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/DateUtils.h"
#include "framework/win/Application.h"
#include "framework/win/WinUtil.h"
#include "organizer/win/Unit1.h"
#include "organizer/win/bqcx.h"
#include "organizer/win/bqgl.h"
#include "organizer/win/bqr.h"
#include "organizer/win/djs.h"
#include "organizer/win/jrbj.h"

namespace {

// VORPEN_START_TIME="yyyy-mm-dd hh:nn:ss" (tests only) starts the program's clock at that
// moment; it then runs on with the real elapsed time. Unset or unreadable: the system clock.
void UseStartTimeFromEnvironment()
{
    wchar_t text[64] = {};
    const DWORD n = GetEnvironmentVariableW(L"VORPEN_START_TIME", text, 64);
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0;
    TDateTime day = 0, time = 0;
    if (n == 0 || n >= 64 || swscanf(text, L"%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &sec) != 6 ||
        !TryEncodeDate(y, mo, d, day) || !TryEncodeTime(h, mi, sec, 0, time))
        return;
    const TDateTime start = day + time;
    const ULONGLONG startTicks = GetTickCount64();
    SetClockSource([start, startTicks] { return start + double(GetTickCount64() - startTicks) / MSecsPerDay; });
}

// The organizer's windows, in the start-up order; each joins its place as it is built.
// All start hidden, so the program makes them once the clock is on the screen. The
// dialogs opened only from a menu, another window or a reminder are made when first
// opened.
void CreateOrganizerForms()
{
    Application->CreateForm(Formbqgl);
    Application->CreateForm(Formbqr1);
    Application->CreateForm(Formdjs1);
    Application->CreateForm(Formbqr7);
    Application->CreateForm(Formbqr2);
    Application->CreateForm(Formbqr3);
    Application->CreateForm(Formbqr4);
    Application->CreateForm(Formbqr5);
    Application->CreateForm(Formbqr6);
    Application->CreateForm(Formdjs5);
    Application->CreateForm(Formdjs2);
    Application->CreateForm(Formdjs3);
    Application->CreateForm(Formdjs4);
    FmMain->CountdownForms = {Formdjs1, Formdjs2, Formdjs3, Formdjs4, Formdjs5};
    FmMain->MemoBoardForm = Formbqgl;
    FmMain->OnFestivalEditor = [] { RunOwnedModal(FmMain, Formjrbj); };
    FmMain->NoteForms = {Formbqr1, Formbqr2, Formbqr3, Formbqr4, Formbqr5, Formbqr6, Formbqr7};
}

// Every window and the data module, owned by the application, in this order: the clock
// window (the main form), the desktop calendar, the data module, then the organizer
// windows, which the start-up timer makes after the clock's first frame and before
// anything reads the data file. The clock is on the screen, with its first frame, before
// its tray icon and the desktop calendar are made.
void CreateForms()
{
    TFmMain::TrayIconAfterFirstFrame = true;
    Application->CreateForm(FmMain);
    FmMain->ShowFirstFrame();
    if (Application->ShowMainForm && !Application->Terminated() && !ClockSavedHidden(ExeFolder()))
        FmMain->SetVisible(true);
    FmMain->TrayNotifyIcon1->SetIconVisible(true);
    Application->CreateForm(Form1);
    FmMain->Form1 = Form1;
    dbhouse = new Tdbhouse(Application);
    FmMain->OnClockShown = CreateOrganizerForms;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    bool alreadyRunning = false;
    UniqueHandle mutex = CreateInstanceMutex(alreadyRunning);
    if (alreadyRunning) {
        MessageBoxW(nullptr, Wide(AlreadyRunningText).c_str(), L"Title", MB_ICONINFORMATION);
        return 0;
    }
    UseStartTimeFromEnvironment();
    Application->Initialize();
    Application->SetTitle("vorpen");
    CreateForms();
    // No taskbar button for the clock.
    HWND clock = FmMain->Handle();
    SetWindowLongPtrW(clock, GWL_EXSTYLE, (GetWindowLongPtrW(clock, GWL_EXSTYLE) & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
    Application->Run();
    FreeMsgPopups();
    // The windows with note editors go now: the editor's font cache does not outlive main.
    FmMain->NoteForms = {};
    FreeNoteViewer();
    FreeNoteForms();
    return 0;
}
