#pragma once
// TFmMain, the main form: the small borderless analog clock that floats on the desktop.
// Six PNG layers (face, hour, minute and seconds hands, centre dot, glass highlights)
// are composed with GDI+ and pushed to a layered window with per-pixel and constant
// alpha; a 200 ms timer redraws only when the shown time changes. Its look and place
// live in Set.ini. The form also carries the program's menus, tray icon and timers.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "app/core/ClockFace.h"
#include "app/core/Startup.h"
#include "app/win/ClockCompose.h"
#include "app/win/GDIPlusCommon.h"
#include "app/win/GDITools.h"
#include "framework/base/Timer.h"
#include "framework/win/Forms.h"

class TBitBtn;
class TChnCalendar;
class TMenuItem;
class TPopupMenu;
class TSaveDialog;
class TTrayNotifyIcon;
class TskCompressedStoredSkin;
class TskSkinData;
class TskSkinForm;
class TskSkinHint;

class TFmMain : public TForm {
public:
    explicit TFmMain(TComponent* AOwner);

    // Image layers, in drawing order.
    TPNGButton *pngBg = nullptr, *pngHour = nullptr, *pngMinute = nullptr, *pngSecond = nullptr, *pngDot = nullptr,
               *pngHighLights = nullptr;
    TTimer* tmrDrawClock = nullptr;   // 200 ms redraw, from creation
    TTimer* Timer1 = nullptr;         // one-shot desktop-calendar check, started by start-up
    // The desktop calendar window; stays null until that window exists (Timer1Timer then
    // leaves it alone).
    TForm* Form1 = nullptr;

    void LoadSkinImages();     // Set.ini, layer images, place, first frame
    // Before the window shows: Set.ini, the layers and the hands of now in one frame; the
    // start-up timer then does not load them again.
    void ShowFirstFrame();
    void LoadClockSettings();
    void SaveClockSettings();
    void RenderClock();        // compose and push one frame
    void RenderClockOnce();    // RenderClock unless the current state is drawn already
    void ResetClockDrawn();
    static void UpdateLayeredClock(HWND window, SIZE size, HDC source, BYTE alpha);
    // Composes the current state into Composer's frame (what RenderClock pushes).
    void ComposeClockFrame();
    const TClockComposer& Composer() const { return FComposer; }

    void tmrDrawClockTimer(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void FormMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void mniBlueClick(TObject* Sender);
    void mniBlackClick(TObject* Sender);
    void mniTransparent10Click(TObject* Sender);
    void mniTransparent20Click(TObject* Sender);
    void mniTransparent40Click(TObject* Sender);
    void mniTransparent60Click(TObject* Sender);
    void mniTransparent80Click(TObject* Sender);
    void mniTransparent100Click(TObject* Sender);
    // Stay-on-top follows the check mark the menu item has just given itself.
    void mniAllwithontopClick(TObject* Sender, bool Checked);

    int SkinType() const { return FSkinType; }
    bool ShowSecond() const { return FShowSecond; }
    bool SecondTan() const { return FSecondTan; }
    int Alpha() const { return FAlpha; }
    uint8_t PushedAlpha() const { return FPushedAlpha; }     // constant alpha of the last frame
    int FramesComposed() const { return FFramesComposed; }   // frames pushed since creation
    // True while the overshoot frame is up and the next tick settles the seconds hand.
    bool SettlePending() const { return FSettlePending; }
    // Runs once, from the start-up timer, after the clock's first frame is up and before
    // the data file opens (the program makes its hidden windows there).
    std::function<void()> OnClockShown;
    // Seam: the rlxsf flag reader (the shown-flags row of the data file by default).
    std::function<std::string()> OnReadCalendarFlag;
    // Seam: starts the system's move loop (ReleaseCapture and SC_MOVE | HTCAPTION by default).
    std::function<void()> OnSystemMove;

    // Start-up and shut-down (MainStartup.cpp). The window's other timers; tmrDrawClock and
    // Timer1 are made with the clock layers.
    TTimer *tszxsf = nullptr, *tmsn = nullptr, *tbwl = nullptr, *trq = nullptr, *tbs = nullptr, *tqxbs = nullptr,
           *tcsh = nullptr, *tjq = nullptr, *twzc = nullptr;
    // The twin "功能显示" items of the tray and clock menus.
    TMenuItem *N2 = nullptr, *N22 = nullptr, *N5 = nullptr, *N23 = nullptr, *N13 = nullptr, *N24 = nullptr,
              *N6 = nullptr, *N25 = nullptr, *N14 = nullptr, *N26 = nullptr;
    void FormCreate(TObject* Sender);
    // Set by the program before it makes the window: the tray icon, a synchronous call into
    // the shell, is then added by the program once the clock is on the screen rather than
    // by FormCreate.
    static inline bool TrayIconAfterFirstFrame = false;
    void FormClose(TObject* Sender, TCloseAction& Action);
    void tszxsfTimer(TObject* Sender);
    void BitBtn1Click(TObject* Sender);   // repeating memos
    void tmsnTimer(TObject* Sender);
    void tbwlTimer(TObject* Sender);
    void trqTimer(TObject* Sender);
    void tbsTimer(TObject* Sender);
    void tqxbsTimer(TObject* Sender);
    void tcshTimer(TObject* Sender);
    void tjqTimer(TObject* Sender);
    void twzcTimer(TObject* Sender);
    // Seam: ends the program when start-up must stop and from the quit items
    // (Application->Terminate by default).
    std::function<void()> OnTerminate;

    // The memo timer (MainMemos.cpp) and the windows it shows, closes and fills: the seven
    // sticky notes, the five countdowns and the memo board. Each stays null until its
    // window exists, and the timer then leaves that one alone.
    std::array<TForm*, 7> NoteForms{};
    std::array<TForm*, 5> CountdownForms{};
    TForm* MemoBoardForm = nullptr;

    // The menus and the tray icon (MainMenus.cpp). PopupMenu1 opens from the tray icon,
    // pmMain from the clock; the items of pmMain forward to their twins.
    TPopupMenu *PopupMenu1 = nullptr, *pmMain = nullptr;
    TTrayNotifyIcon* TrayNotifyIcon1 = nullptr;
    TMenuItem *N1 = nullptr, *N3 = nullptr, *N8 = nullptr, *N12 = nullptr, *N9 = nullptr, *N10 = nullptr,
              *N7 = nullptr, *N15 = nullptr, *N16 = nullptr, *N17 = nullptr, *N18 = nullptr, *N19 = nullptr,
              *N20 = nullptr, *N11 = nullptr, *N40 = nullptr, *N41 = nullptr, *N4 = nullptr;
    TMenuItem *mniStartwithwindow = nullptr, *mniAllwithontop = nullptr, *N21 = nullptr, *mniSkin = nullptr,
              *mniBlue = nullptr, *mniBlack = nullptr, *N27 = nullptr, *N28 = nullptr, *N29 = nullptr,
              *N30 = nullptr, *N31 = nullptr, *N32 = nullptr, *N33 = nullptr, *N34 = nullptr, *N35 = nullptr,
              *N36 = nullptr, *N37 = nullptr, *N43 = nullptr, *N44 = nullptr, *N38 = nullptr,
              *mniransparent = nullptr, *mniN2 = nullptr, *mniN1 = nullptr, *mniFlashwindow = nullptr,
              *mniSetremindtime = nullptr, *mniQuit = nullptr, *mniAbout = nullptr;
    std::array<TMenuItem*, 6> mniTransparent{};   // 10, 20, 40, 60, 80, 100
    void N2Click(TObject* Sender);    // 时钟显示
    void N5Click(TObject* Sender);    // 日历显示
    void N13Click(TObject* Sender);   // 备忘录列表
    void N6Click(TObject* Sender);    // 便签
    void N14Click(TObject* Sender);   // 倒计时
    void N12Click(TObject* Sender);
    void N9Click(TObject* Sender);
    void N10Click(TObject* Sender);
    void N7Click(TObject* Sender);
    void N16Click(TObject* Sender);
    void N17Click(TObject* Sender);
    void N19Click(TObject* Sender);
    void N20Click(TObject* Sender);
    void N11Click(TObject* Sender);
    void N40Click(TObject* Sender);
    void N41Click(TObject* Sender);
    void N4Click(TObject* Sender);
    void mniStartwithwindowClick(TObject* Sender);
    void mniQuitClick(TObject* Sender);
    void pmMainPopup(TObject* Sender);
    void TrayNotifyIcon1Click(TObject* Sender);
    void TrayNotifyIcon1DblClick(TObject* Sender);
    // The festival editor is made anew for each use: OnFestivalEditor, set by the start-up
    // unit, makes it, shows it modally and frees it (see RunOwnedModal); unset, its item
    // does nothing. The other dialogs of the menus are made when first opened.
    std::function<void()> OnFestivalEditor;

    // The talking clock (MainReminders.cpp): each plays its words one after the other.
    // A flag is set by its announcement and cleared by tqxbs 130 s later.
    void SpeakFullHour12(const std::string& HourText, int Hour24);
    void SpeakHalfHour12(const std::string& HourText, int Hour24);
    void SpeakFullHour24(const std::string& HourText);
    void SpeakHalfHour24(const std::string& HourText);
    void BitBtn2Click(TObject* Sender);   // "语音报时"
    // The "语音报时" button, placed below the visible area of the clock.
    TBitBtn* BitBtn2 = nullptr;
    bool FullHourAnnounced = false;
    bool HalfHourAnnounced = false;

    // Repeating memos (MainRepeat.cpp): the hidden button whose click moves them on, and the
    // hidden month view that names the lunar month and day of a new date.
    TBitBtn* BitBtn1 = nullptr;
    TChnCalendar* ChnCalendar1 = nullptr;

    // The skin components: the program's stored skin, the store that reads it, the skinned
    // form (the clock keeps no frame, so it changes nothing of its look) and the skinned
    // hint, which draws every hint of the application.
    TskSkinForm* DSF = nullptr;
    TskSkinData* skSkinData1 = nullptr;
    TskCompressedStoredSkin* CompressedStoredSkin1 = nullptr;
    TskSkinHint* skSkinHint1 = nullptr;
    // A save dialog for PNG pictures; nothing opens it.
    TSaveDialog* dlgSave = nullptr;

private:
    void CreateSkinParts();
    void CreateMenus();
    void ToggleShown(TMenuItem* item, TMenuItem* twin, const char* flag, const std::function<void(bool)>& apply);
    void ClaimSlot(const char* table, std::span<const char* const> keys, std::span<TForm* const> forms,
                   const char* fullText);
    void OpenHelpDocument();
    void CreateClockLayers();
    void CreateStartupParts();
    void CreateRepeatParts();
    void CreateTalkingClockParts();
    void Terminate();
    TPNGButton* ClockLayer(int k) const;
    void SetLayerImages();
    void SetSkinType(int skinType);
    void SetClockAlpha(int percent);
    void ShowHands(const THandAngles& hands);
    std::string ReadCalendarFlag();

    TClockDial FDial;   // last drawn hour, minute and second
    THandAngles FSettle;   // the settled frame that follows the overshoot
    bool FSettlePending = false;
    TClockComposer FComposer;
    int FImagesCheckedMinute = -1;   // the layers' files are looked at once a minute
    uint8_t FSkinType = kBlueFace;
    bool FShowSecond = true;
    bool FSecondTan = true;
    bool FClockDrawn = false;
    bool FSkinImagesLoaded = false;   // by ShowFirstFrame
    uint8_t FAlpha = 0;   // nothing visible until the settings are loaded
    uint8_t FPushedAlpha = 0;
    HWND FPushedWindow = nullptr;   // the window and frame version of the last push
    unsigned FPushedFrame = 0;
    int FFramesComposed = 0;
    TPositionsRead FPositionsRead{};   // FormClose writes back only what start-up read
    TDateTime FFestivalDay = 0;   // the day sz_jrb.realrq was last refreshed for
    bool FClockSettingsLoaded = false;   // likewise FormCloseQuery and Set.ini
};

extern TFmMain* FmMain;

// The clock menu's autostart value "ZOZ Ozed Ezezo" under the machine's Run key, holding
// the quoted path of the executable. Setting does nothing when the key cannot be opened
// for writing; reading opens it for reading only.
void SetAutoStart(bool On);
bool IsAutoStart();
// Root of the autostart key; tests point it elsewhere.
extern HKEY AutoStartRoot;
constexpr const char* AutoStartKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* AutoStartValue = "ZOZ Ozed Ezezo";
// The help document beside the executable.
constexpr const char* HelpFileName = "时钟桌面日历操作说明.mht";

// Makes a form of type T owned by `owner`, points `global` at it while it is shown
// modally, and frees it afterwards, also when showing it raised; `global` then refers again
// to the form it referred to before.
template <class T>
void RunOwnedModal(TComponent* owner, T*& global)
{
    T* const previous = global;
    T* form = NewForm<T>(owner);
    global = form;
    try {
        form->ShowModal();
    } catch (...) {
        global = previous;
        delete form;
        throw;
    }
    global = previous;
    delete form;
}
