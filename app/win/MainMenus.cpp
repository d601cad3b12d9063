// The clock window's two popup menus, the tray icon, the show and hide toggles with their
// twins, the claiming of a free sticky-note or countdown slot, the autostart value, the
// help document and the summary shown on a click on the tray icon.
#include "app/core/Startup.h"
#include "app/core/TrayMenus.h"
#include "app/core/dbhouse.h"
#include "app/win/Main.h"
#include "app/win/MsgFrm.h"
#include "app/win/TrayIcon.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Application.h"
#include "framework/win/Dialogs.h"
#include "framework/win/Menus.h"
#include "framework/win/Registry.h"
#include "organizer/core/OtherSettings.h"
#include "organizer/win/bqcx.h"
#include "organizer/win/bwlcx.h"
#include "organizer/win/djscx.h"
#include "organizer/win/hlcx.h"
#include "organizer/win/ksts.h"
#include "organizer/win/qtcs.h"
#include "organizer/win/zxbz.h"

HKEY AutoStartRoot = HKEY_LOCAL_MACHINE;

namespace {

// The icon resource of the executable (the tray icon and the program's face).
constexpr int MainIconId = 1;

TMenuItem* Item(TComponent* owner, TMenuItem* parent, TMenuItem*& field, const char* name, const char* caption,
                TNotifyEvent onClick = nullptr)
{
    TMenuItem* item = new TMenuItem(owner);
    item->SetName(name);
    item->SetCaption(caption);
    item->OnClick = std::move(onClick);
    parent->Add(item);
    field = item;
    return item;
}

void ShowForm(TForm* form)
{
    if (form)
        form->Show();
}

// A dialog that reads the data file is made and shown only once start-up has opened it.
template <class T>
void ShowDataForm(T*& form)
{
    if (dbhouse && dbhouse->democnn->Connected())
        ShowForm(MadeOnFirstUse(form));
}

}  // namespace

void TFmMain::CreateMenus()
{
    auto on = [this](void (TFmMain::*handler)(TObject*)) {
        return [this, handler](TObject* Sender) { (this->*handler)(Sender); };
    };
    auto twin = [](TMenuItem*& target) { return [&target](TObject*) { target->Click(); }; };

    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    PopupMenu1->SetAutoHotkeys(maManual);   // both clock menus show their captions as written
    TMenuItem* tray = PopupMenu1->Items();
    Item(this, tray, N1, "N1", "功能显示");
    Item(this, N1, N2, "N2", "时钟显示", on(&TFmMain::N2Click));
    Item(this, N1, N5, "N5", "日历显示", on(&TFmMain::N5Click));
    Item(this, N1, N13, "N13", "备忘录列表", on(&TFmMain::N13Click));
    Item(this, N1, N6, "N6", "便签", on(&TFmMain::N6Click));
    Item(this, N1, N14, "N14", "倒计时", on(&TFmMain::N14Click));
    Item(this, N1, N8, "N8", "-");
    Item(this, tray, N3, "N3", "-");
    Item(this, tray, N12, "N12", "黄历查询(黄道吉日)", on(&TFmMain::N12Click));
    Item(this, tray, N9, "N9", "快速提醒", on(&TFmMain::N9Click));
    Item(this, tray, N10, "N10", "备忘录管理(事件提醒)", on(&TFmMain::N10Click));
    Item(this, tray, N7, "N7", "节日编辑", on(&TFmMain::N7Click));
    Item(this, tray, N15, "N15", "便签管理");
    Item(this, N15, N16, "N16", "新增便签", on(&TFmMain::N16Click));
    Item(this, N15, N17, "N17", "便签记录查询", on(&TFmMain::N17Click));
    Item(this, tray, N18, "N18", "倒计时管理");
    Item(this, N18, N19, "N19", "新增倒计时", on(&TFmMain::N19Click));
    Item(this, N18, N20, "N20", "倒计时记录查询", on(&TFmMain::N20Click));
    Item(this, tray, N11, "N11", "其它参数设置", on(&TFmMain::N11Click));
    Item(this, tray, N40, "N40", "在线帮助", on(&TFmMain::N40Click));
    Item(this, tray, N41, "N41", "帮助", on(&TFmMain::N41Click));
    Item(this, tray, N4, "N4", "退出", on(&TFmMain::N4Click));

    pmMain = new TPopupMenu(this);
    pmMain->SetName("pmMain");
    pmMain->SetAutoHotkeys(maManual);
    pmMain->OnPopup = on(&TFmMain::pmMainPopup);
    TMenuItem* clock = pmMain->Items();
    Item(this, clock, mniStartwithwindow, "mniStartwithwindow", "Start with window",
         on(&TFmMain::mniStartwithwindowClick));
    mniStartwithwindow->SetAutoCheck(true);
    Item(this, clock, mniAllwithontop, "mniAllwithontop", "All with on top",
         [this](TObject* Sender) { mniAllwithontopClick(Sender, mniAllwithontop->Checked()); });
    mniAllwithontop->SetAutoCheck(true);
    Item(this, clock, N21, "N21", "功能显示");
    Item(this, N21, N22, "N22", "时钟显示", twin(N2));
    Item(this, N21, N23, "N23", "日历显示", twin(N5));
    Item(this, N21, N24, "N24", "备忘录列表", twin(N13));
    Item(this, N21, N25, "N25", "便签", twin(N6));
    Item(this, N21, N26, "N26", "倒计时", twin(N14));
    Item(this, clock, mniSkin, "mniSkin", "时钟皮肤");
    Item(this, mniSkin, mniBlue, "mniBlue", "蓝", on(&TFmMain::mniBlueClick));
    Item(this, mniSkin, mniBlack, "mniBlack", "黑", on(&TFmMain::mniBlackClick));
    for (TMenuItem* radio : {mniBlue, mniBlack}) {
        radio->SetRadioItem(true);
        radio->SetAutoCheck(true);
        radio->SetGroupIndex(1);
    }
    Item(this, clock, N27, "N27", "黄历查询(黄道吉日)", twin(N12));
    Item(this, clock, N28, "N28", "快速提醒", twin(N9));
    Item(this, clock, N29, "N29", "备忘录管理", twin(N10));
    Item(this, clock, N30, "N30", "节日编辑", twin(N7));
    Item(this, clock, N31, "N31", "便签管理");
    Item(this, N31, N32, "N32", "新增便签", twin(N16));
    Item(this, N31, N33, "N33", "便签记录查询", twin(N17));
    Item(this, clock, N34, "N34", "倒计时管理");
    Item(this, N34, N35, "N35", "新增倒计时", twin(N19));
    Item(this, N34, N36, "N36", "倒计时记录查询", twin(N20));
    Item(this, clock, N37, "N37", "其它参数设置", twin(N11));
    Item(this, clock, N43, "N43", "在线帮助", on(&TFmMain::N40Click));
    Item(this, clock, N44, "N44", "帮助", on(&TFmMain::N41Click));
    Item(this, clock, N38, "N38", "退出", on(&TFmMain::N4Click));
    Item(this, clock, mniransparent, "mniransparent", "Transparent");
    static const char* const Alphas[] = {"10", "20", "40", "60", "80", "100"};
    void (TFmMain::*const alphaHandlers[])(TObject*) = {
        &TFmMain::mniTransparent10Click, &TFmMain::mniTransparent20Click, &TFmMain::mniTransparent40Click,
        &TFmMain::mniTransparent60Click, &TFmMain::mniTransparent80Click, &TFmMain::mniTransparent100Click};
    for (size_t i = 0; i < mniTransparent.size(); ++i) {
        const std::string name = std::string("mniTransparent") + Alphas[i];
        Item(this, mniransparent, mniTransparent[i], name.c_str(), Alphas[i], on(alphaHandlers[i]));
        mniTransparent[i]->SetRadioItem(true);
        mniTransparent[i]->SetAutoCheck(true);
        mniTransparent[i]->SetGroupIndex(2);
    }
    Item(this, clock, mniN2, "mniN2", "-");
    Item(this, clock, mniN1, "mniN1", "-");
    Item(this, clock, mniFlashwindow, "mniFlashwindow", "Flash window");
    Item(this, clock, mniSetremindtime, "mniSetremindtime", "Set remind time");
    Item(this, clock, mniQuit, "mniQuit", "Quit", on(&TFmMain::mniQuitClick));
    Item(this, clock, mniAbout, "mniAbout", "About");
    for (TMenuItem* hidden : {mniStartwithwindow, mniAllwithontop, mniransparent, mniN2, mniN1, mniFlashwindow,
                              mniSetremindtime, mniQuit, mniAbout})
        hidden->SetVisible(false);
    SetPopupMenu(pmMain);
    // The clock's layers are windowless children that take the right button's release, so
    // no context menu message would come; the menu opens on that release instead.
    pmMain->SetAutoPopup(false);
    WindowProc = [this, old = WindowProc](TMessage& m) {
        old(m);
        if (m.Msg == WM_RBUTTONUP) {
            POINT p{};
            GetCursorPos(&p);
            pmMain->SetPopupComponent(this);
            pmMain->Popup(p.x, p.y);
            m.Handled = true;
        }
    };

    TrayNotifyIcon1 = new TTrayNotifyIcon(this);
    TrayNotifyIcon1->SetName("TrayNotifyIcon1");
    try {
        TIcon icon;
        icon.LoadFromResourceID(GetModuleHandleW(nullptr), MainIconId);
        TrayNotifyIcon1->SetIcon(icon);
    } catch (const Exception&) {
        // an executable without the icon resource shows the default icon
    }
    TrayNotifyIcon1->SetHideTask(true);
    TrayNotifyIcon1->SetHint("桌面日历");
    TrayNotifyIcon1->SetPopupMenu(PopupMenu1);
    TrayNotifyIcon1->OnClick = on(&TFmMain::TrayNotifyIcon1Click);
    TrayNotifyIcon1->onDblClick = on(&TFmMain::TrayNotifyIcon1DblClick);
}

//--- Show and hide toggles

// A checked item turns its window off, an unchecked one on; both twins carry the new mark
// and the flag is written with it. `apply` shows or hides the window itself.
void TFmMain::ToggleShown(TMenuItem* item, TMenuItem* twin, const char* flag, const std::function<void(bool)>& apply)
{
    const bool on = !item->Checked();
    item->SetChecked(on);
    twin->SetChecked(on);
    if (dbhouse)
        WriteShownFlag(*dbhouse, flag, on);
    if (apply)
        apply(on);
}

void TFmMain::N2Click(TObject*)
{
    ToggleShown(N2, N22, ClockShownFlag, [this](bool on) {
        if (on && !Visible())
            Show();
        else if (!on && Visible())
            SetVisible(false);
    });
}

void TFmMain::N5Click(TObject*)
{
    ToggleShown(N5, N23, CalendarShownFlag, [this](bool on) {
        if (!Form1)
            return;
        if (on)
            Form1->Show();
        else
            Form1->Close();
    });
}

void TFmMain::N13Click(TObject*) { ToggleShown(N13, N24, MemoListShownFlag, nullptr); }

void TFmMain::N6Click(TObject*)
{
    ToggleShown(N6, N25, NotesShownFlag, [this](bool on) {
        if (!MemoBoardForm)
            return;
        if (on && !MemoBoardForm->Visible())
            MemoBoardForm->Show();
        else if (!on && MemoBoardForm->Visible())
            MemoBoardForm->Close();
    });
}

void TFmMain::N14Click(TObject*) { ToggleShown(N14, N26, CountdownsShownFlag, nullptr); }

//--- Windows opened from the menus

void TFmMain::N12Click(TObject*) { ShowForm(MadeOnFirstUse(Formhlcx)); }
void TFmMain::N9Click(TObject*) { ShowDataForm(Formksts); }
void TFmMain::N10Click(TObject*) { ShowDataForm(Formbwlcx); }

void TFmMain::N7Click(TObject*)
{
    if (OnFestivalEditor)
        OnFestivalEditor();
}

void TFmMain::ClaimSlot(const char* table, std::span<const char* const> keys, std::span<TForm* const> forms,
                        const char* fullText)
{
    if (!dbhouse)
        return;
    const TSlotClaimResult claim = ClaimFreeSlot(*dbhouse, table, keys);
    if (claim.Result == TSlotClaim::AllInUse) {
        ShowMessage(fullText);
        return;
    }
    if (claim.Result == TSlotClaim::Claimed)
        if (TForm* form = forms[size_t(claim.Slot)]; form && !form->Visible())
            form->Show();
}

void TFmMain::N16Click(TObject*) { ClaimSlot("sz_bqb", NoteSlotKeys, NoteForms, NoFreeNoteText); }
void TFmMain::N17Click(TObject*) { ShowDataForm(Formbqcx); }
void TFmMain::N19Click(TObject*) { ClaimSlot("sz_djsb", CountdownSlotKeys, CountdownForms, NoFreeCountdownText); }
void TFmMain::N20Click(TObject*) { ShowDataForm(Formdjscx); }
void TFmMain::N11Click(TObject*) { ShowDataForm(Formqtcs); }
void TFmMain::N40Click(TObject*) { ShowForm(MadeOnFirstUse(Formzxbz)); }
void TFmMain::N41Click(TObject*) { OpenHelpDocument(); }

// A missing document is said, as the support dialog's "使用说明" says it.
void TFmMain::OpenHelpDocument()
{
    const std::string path = ExeFolder() + HelpFileName;
    if (!FileExists(path)) {
        ShowMessage(std::string("找不到使用说明：") + path);
        return;
    }
    if (Formzxbz)
        Formzxbz->OpenShellDocument(path);
    else
        ShellOpen(path, SW_SHOWNORMAL);
}

void TFmMain::N4Click(TObject*)
{
    Close();
    Terminate();
}

void TFmMain::mniQuitClick(TObject*) { Close(); }

void TFmMain::mniStartwithwindowClick(TObject*) { SetAutoStart(mniStartwithwindow->Checked()); }

void TFmMain::pmMainPopup(TObject*)
{
    mniStartwithwindow->SetChecked(IsAutoStart());
    mniAllwithontop->SetChecked(FormStyle() == fsStayOnTop);
    static const int Alphas[] = {10, 20, 40, 60, 80, 100};
    for (size_t i = 0; i < mniTransparent.size(); ++i)
        if (Alpha() == Alphas[i])
            mniTransparent[i]->SetChecked(true);
    if (SkinType() == kBlackFace)
        mniBlack->SetChecked(true);
    else if (SkinType() == kBlueFace)
        mniBlue->SetChecked(true);
}

//--- The tray icon's summary

void TFmMain::TrayNotifyIcon1Click(TObject*)
{
    if (!dbhouse)
        return;
    try {
        RefreshFestivalDatesOnNewDay(*dbhouse, Date(), FFestivalDay);
    } catch (const std::exception&) {
        // the summary shows the dates as they are
    }
    const std::string text = ReadTraySummary(*dbhouse, Now());
    if (text.empty())
        return;
    MsgPopupSide = 3;
    MsgPopupSeconds = 9999999;
    ShowMsgPopup(text, 1);
}

void TFmMain::TrayNotifyIcon1DblClick(TObject* Sender) { TrayNotifyIcon1Click(Sender); }

//--- Autostart

void SetAutoStart(bool On)
{
    TRegistry reg(KEY_ALL_ACCESS);
    reg.SetRootKey(AutoStartRoot);
    if (!reg.OpenKey(AutoStartKey, true))
        return;
    try {
        if (On)
            reg.WriteString(AutoStartValue, AutostartCommand(ExecutablePath()));
        else
            reg.DeleteValue(AutoStartValue);
    } catch (const ERegistryException&) {
    }
}

bool IsAutoStart()
{
    TRegistry reg(KEY_READ);
    reg.SetRootKey(AutoStartRoot);
    return reg.OpenKeyReadOnly(AutoStartKey) && reg.ValueExists(AutoStartValue);
}
