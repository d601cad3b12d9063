// Program entry: the single-instance mutex, the application object, the windows and the
// data module in their creation order, and the message loop.
#include "app/core/dbhouse.h"
#include "app/win/Main.h"
#include "app/win/MsgFrm.h"
#include "app/win/SingleInstance.h"
#include "framework/win/Application.h"
#include "framework/win/WinUtil.h"
#include "organizer/win/bwlbj.h"
#include "organizer/win/bwxg.h"
#include "organizer/win/ksts.h"
#include "organizer/win/kstsr.h"

namespace {

// Every window and the data module, owned by the application, in this order: the clock
// window (the main form), the desktop calendar, the data module, then the organizer
// windows. Only those that exist yet are listed.
void CreateForms()
{
    Application->CreateForm(FmMain);
    dbhouse = new Tdbhouse(Application);
    // The quick reminder dialog, before the almanac query.
    Application->CreateForm(Formksts);
    // Memo dialogs: the add dialog, then (after the memo list) the edit dialog.
    Application->CreateForm(Formbwlbj);
    Application->CreateForm(Formbwxg);
    // The quick reminder's alert, after the festival editors.
    Application->CreateForm(Formkstsr);
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
    Application->Initialize();
    Application->SetTitle("vorpen");
    CreateForms();
    // No taskbar button for the clock.
    HWND clock = FmMain->Handle();
    SetWindowLongPtrW(clock, GWL_EXSTYLE, (GetWindowLongPtrW(clock, GWL_EXSTYLE) & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
    Application->Run();
    FreeMsgPopups();
    return 0;
}
