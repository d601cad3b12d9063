// Program entry: the application object and the clock window, the main form.
#include "app/win/Main.h"
#include "framework/win/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    Application->Initialize();
    Application->SetTitle("vorpen");
    Application->CreateForm(FmMain);
    // Start-up's one-shot timer will load the clock images; until it exists, load them here.
    FmMain->LoadSkinImages();
    Application->Run();
    return 0;
}
