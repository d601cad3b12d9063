#include "app/win/Main.h"

#include "framework/win/Dialogs.h"
#include "framework/win/FileDialogs.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/win/SkinForm.h"
#include "skin/win/SkinHint.h"
#include "skin/win/SkinResource.h"

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
    CreateTalkingClockParts();
    CreateMenus();
    CreateSkinParts();
    dlgSave = new TSaveDialog(this);
    dlgSave->SetName("dlgSave");
    dlgSave->SetFilter("PNG|*.png");
}

namespace {

void SetFont(TFont& font, BYTE charset, TColor color, TFontStyles style)
{
    font.SetCharset(charset);
    font.SetColor(color);
    font.SetHeight(-12);
    font.SetName("宋体");
    font.SetStyle(style);
}

}  // namespace

// The skinned form comes first, so its hook is in place before anything makes the window
// (the store's messages may); the rebuild that follows its SkinData link comes after its
// border icons.
void TFmMain::CreateSkinParts()
{
    DSF = new TskSkinForm(this);
    DSF->SetName("DSF");
    SetFont(DSF->DefCaptionFont(), GB2312_CHARSET, clBtnText, TFontStyles{fsBold});
    SetFont(DSF->DefInActiveCaptionFont(), GB2312_CHARSET, clBtnShadow, TFontStyles{fsBold});
    DSF->SetUseSkinFontInMenu(true);
    DSF->SetDefMenuItemHeight(20);
    SetFont(DSF->DefMenuItemFont(), GB2312_CHARSET, clWindowText, {});
    DSF->SetAlphaBlendValue(10);
    DSF->DraggAble = true;
    DSF->Magnetic = true;
    DSF->MagneticSize = 5;
    DSF->SetBorderIcons(SkIcon(TskBorderIcon::biMinimize) | SkIcon(TskBorderIcon::biMaximize));

    skSkinHint1 = new TskSkinHint(this);
    skSkinHint1->SetName("skSkinHint1");
    SetFont(skSkinHint1->DefaultFont(), ANSI_CHARSET, clWindowText, {});

    CompressedStoredSkin1 = new TskCompressedStoredSkin(this);
    CompressedStoredSkin1->SetName("CompressedStoredSkin1");
    CompressedStoredSkin1->SetFileName("SKIN.INI");
    LoadProgramSkin(*CompressedStoredSkin1);
    skSkinData1 = new TskSkinData(this);
    skSkinData1->SetName("skSkinData1");
    skSkinData1->SetResourceStrData(ProgramResourceStrings());
    skSkinData1->SetCompressedStoredSkin(CompressedStoredSkin1);

    DSF->SetSkinHint(skSkinHint1);
    DSF->SetSkinData(skSkinData1);
    skSkinHint1->SetSkinData(skSkinData1);
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
