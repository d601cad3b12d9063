#include "app/win/Main.h"

#include "framework/win/Dialogs.h"

TFmMain* FmMain = nullptr;

TFmMain::TFmMain(TComponent* AOwner) : TForm(AOwner)
{
    SetName("FmMain");
    SetBorderStyle(bsNone);
    SetBorderIcons({});
    SetClientSize(136, 131);
    OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) { FormMouseMove(Sender, Shift, X, Y); };
    OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
    CreateClockLayers();
    CreateStartupParts();
    CreateRepeatParts();
    CreateMenus();
}

// A close before start-up read Set.ini would store the zero alpha and place the window
// starts with, so the file is written back only once it was read. A Set.ini that cannot
// be written is reported but never keeps the program from closing.
void TFmMain::FormCloseQuery(TObject*, bool&)
{
    if (!FClockSettingsLoaded)
        return;
    try {
        SaveClockSettings();
    } catch (const Exception& e) {
        ShowMessage(e.Message());
    }
}
