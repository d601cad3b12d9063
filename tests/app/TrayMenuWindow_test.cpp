// The clock window's menus and tray icon under Wine on a private data file, with the
// shell, registry, timer and message-box seams: every item opens or toggles what it
// should, twins share their marks, flags land in sz_sfxsb, slots are claimed, and the tray
// icon is added, answers its callback message and is removed.
#include <gtest/gtest.h>

#include "DataModule.h"
#include "app/core/TrayMenus.h"
#include "app/win/Main.h"
#include "app/win/MsgFrm.h"
#include "app/win/TrayIcon.h"
#include "framework/base/FakeTimerService.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Application.h"
#include "framework/win/Dialogs.h"
#include "framework/win/Menus.h"
#include "framework/win/Registry.h"
#include "organizer/win/bqcx.h"
#include "organizer/win/bwlcx.h"
#include "organizer/win/djscx.h"
#include "organizer/win/hlcx.h"
#include "organizer/win/ksts.h"
#include "organizer/win/qtcs.h"
#include "organizer/win/zxbz.h"

namespace {

struct NotifyCall {
    DWORD Message;
    UINT Flags;
    HWND Window;
    std::wstring Tip;
};

std::string Captions(TMenuItem* parent)
{
    std::string s;
    for (int i = 0; i < parent->Count(); ++i)
        if (parent->Items(i)->Visible())
            s += parent->Items(i)->Caption() + "|";
    return s;
}

class TrayMenus : public testing::Test {
protected:
    void SetUp() override
    {
        oldTimers = &CurrentTimerService();
        SetTimerService(&timers);
        SetExeFolder(data.File.Folder());
        SetClockSource([] { return EncodeDateTime(2026, 5, 10, 14, 30, 0, 0); });
        oldNotify = ShellNotifyIcon;
        ShellNotifyIcon = [this](DWORD message, NOTIFYICONDATAW& d) {
            notified.push_back({message, d.uFlags, d.hWnd, d.szTip});
            return TRUE;
        };
        oldShell = ShellOpen;
        ShellOpen = [this](const std::string& path, int) { opened.push_back(path); };
        AutoStartRoot = HKEY_CURRENT_USER;
        form = NewForm<TFmMain>(nullptr);
        form->OnTerminate = [this] { ++terminated; };
        for (auto& f : form->NoteForms)
            f = Other();
        for (auto& f : form->CountdownForms)
            f = Other();
        form->MemoBoardForm = Other();
        form->Form1 = Other();
    }
    void TearDown() override
    {
        FreeMsgPopups();
        delete form;
        for (TForm* f : others)
            delete f;
        Application->ProcessMessages();
        SetAutoStart(false);
        AutoStartRoot = HKEY_LOCAL_MACHINE;
        ShellOpen = oldShell;
        ShellNotifyIcon = oldNotify;
        SetClockSource(nullptr);
        SetExeFolder("");
        SetTimerService(oldTimers);
    }
    TForm* Other()
    {
        others.push_back(NewForm<TForm>(nullptr));
        others.back()->SetBorderStyle(bsNone);
        others.back()->SetVisible(false);
        return others.back();
    }
    void PostTray(UINT mouse)
    {
        PostMessageW(TrayIconManagerWindow(), TrayNotifyIconMessage(), form->TrayNotifyIcon1->Id(), mouse);
        Application->ProcessMessages();
    }

    FakeTimerService timers;
    TimerService* oldTimers = nullptr;
    DataModule data;
    TFmMain* form = nullptr;
    std::vector<TForm*> others;
    MessageBoxRecorder boxes;
    std::vector<NotifyCall> notified;
    std::vector<std::string> opened;
    int terminated = 0;
    std::function<BOOL(DWORD, NOTIFYICONDATAW&)> oldNotify;
    std::function<void(const std::string&, int)> oldShell;
};

}  // namespace

TEST_F(TrayMenus, BothMenusCarryTheirItemsInOrder)
{
    EXPECT_EQ(Captions(form->PopupMenu1->Items()),
              "功能显示|-|黄历查询(黄道吉日)|快速提醒|备忘录管理(事件提醒)|节日编辑|便签管理|倒计时管理|"
              "其它参数设置|在线帮助|帮助|退出|");
    EXPECT_EQ(Captions(form->N1), "时钟显示|日历显示|备忘录列表|便签|倒计时|-|");
    EXPECT_EQ(Captions(form->N15) + Captions(form->N18), "新增便签|便签记录查询|新增倒计时|倒计时记录查询|");
    EXPECT_EQ(Captions(form->pmMain->Items()),
              "功能显示|时钟皮肤|黄历查询(黄道吉日)|快速提醒|备忘录管理|节日编辑|便签管理|倒计时管理|"
              "其它参数设置|在线帮助|帮助|退出|");
    EXPECT_EQ(Captions(form->N21), "时钟显示|日历显示|备忘录列表|便签|倒计时|");
    EXPECT_EQ(Captions(form->mniSkin), "蓝|黑|");
    EXPECT_EQ(Captions(form->mniransparent), "10|20|40|60|80|100|");
    EXPECT_EQ(form->pmMain->Items()->Count(), 21);
    EXPECT_EQ(form->PopupMenu(), form->pmMain);
}

TEST_F(TrayMenus, TogglesAndTheirTwinsShareMarksAndWriteTheirFlags)
{
    struct Pair {
        TMenuItem *Item, *Twin;
        const char* Flag;
        TForm* Window;
    } pairs[] = {
        {form->N2, form->N22, ClockShownFlag, form},
        {form->N5, form->N23, CalendarShownFlag, form->Form1},
        {form->N13, form->N24, MemoListShownFlag, nullptr},
        {form->N6, form->N25, NotesShownFlag, form->MemoBoardForm},
        {form->N14, form->N26, CountdownsShownFlag, nullptr},
    };
    for (const Pair& p : pairs) {
        p.Item->SetChecked(false);
        p.Twin->SetChecked(false);
        if (p.Window)
            p.Window->SetVisible(false);
        for (int k = 0; k < 4; ++k) {
            const bool on = k % 2 == 0;
            (k < 2 ? p.Item : p.Twin)->Click();
            EXPECT_EQ(p.Item->Checked(), on) << p.Flag << k;
            EXPECT_EQ(p.Twin->Checked(), on) << p.Flag << k;
            EXPECT_EQ(data.Value(std::string("select ") + p.Flag + " from sz_sfxsb"), on ? "1" : "0") << p.Flag;
            if (p.Window) {
                EXPECT_EQ(p.Window->Visible(), on) << p.Flag << k;
            }
        }
    }
}

// The dialogs' items are checked with their making below.
TEST_F(TrayMenus, ItemsOpenTheirWindowsAndTwinsForward)
{
    int festivalEditors = 0;
    form->OnFestivalEditor = [&] { ++festivalEditors; };
    form->N7->Click();
    form->N30->Click();
    EXPECT_EQ(festivalEditors, 2);

    // A missing help document is said, and nothing is opened.
    const size_t said = boxes.Calls.size();
    form->N41->Click();
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(boxes.Calls.size(), said + 1);
    EXPECT_EQ(boxes.Calls.back().Text, std::string("找不到使用说明：") + data.File.Folder() + HelpFileName);
    WriteFileBytes(data.File.Folder() + HelpFileName, "MIME-Version: 1.0\r\n");
    form->N41->Click();
    form->N44->Click();
    EXPECT_EQ(opened, std::vector<std::string>(2, data.File.Folder() + HelpFileName));
    EXPECT_EQ(boxes.Calls.size(), said + 1);

    form->N38->Click();
    form->N4->Click();
    EXPECT_EQ(terminated, 2);
}

// Not made at start: the first click on an item or its twin makes the dialog, later clicks
// show the same one.
TEST_F(TrayMenus, MenuOnlyDialogsAreMadeWhenFirstOpened)
{
    auto check = [](TMenuItem* item, TMenuItem* twin, auto*& global) {
        ASSERT_EQ(global, nullptr) << item->Name();
        item->Click();
        auto* made = global;
        ASSERT_NE(made, nullptr) << item->Name();
        EXPECT_TRUE(made->Visible()) << item->Name();
        made->SetVisible(false);
        twin->Click();
        EXPECT_EQ(global, made) << twin->Name();
        EXPECT_TRUE(made->Visible()) << twin->Name();
        delete made;
        global = nullptr;
    };
    check(form->N12, form->N27, Formhlcx);
    check(form->N9, form->N28, Formksts);
    check(form->N10, form->N29, Formbwlcx);
    check(form->N17, form->N33, Formbqcx);
    check(form->N20, form->N36, Formdjscx);
    check(form->N11, form->N37, Formqtcs);
    check(form->N40, form->N43, Formzxbz);
}

// Before start-up has opened the data file, the items of dialogs that read it do nothing.
TEST_F(TrayMenus, DataDialogsWaitForTheDataFile)
{
    dbhouse->democnn->Close();
    for (TMenuItem* item : {form->N9, form->N10, form->N17, form->N20, form->N11})
        item->Click();
    EXPECT_EQ(Formksts, nullptr);
    EXPECT_EQ(Formbwlcx, nullptr);
    EXPECT_EQ(Formbqcx, nullptr);
    EXPECT_EQ(Formdjscx, nullptr);
    EXPECT_EQ(Formqtcs, nullptr);
    dbhouse->democnn->Open();
}

TEST_F(TrayMenus, NewNoteAndCountdownClaimASlotOrSayAllAreUsed)
{
    data.Exec("update sz_bqb set qyzt='1' where bz in ('便签1位置', '便签3位置')");
    form->N32->Click();
    EXPECT_TRUE(form->NoteForms[1]->Visible());
    EXPECT_FALSE(form->NoteForms[0]->Visible() || form->NoteForms[2]->Visible());
    EXPECT_EQ(data.Value("select qyzt from sz_bqb where bz='便签2位置'"), "1");

    data.Exec("update sz_bqb set qyzt='1'");
    form->N16->Click();
    ASSERT_EQ(boxes.Calls.size(), 1u);
    EXPECT_EQ(boxes.Calls[0].Text, NoFreeNoteText);

    form->N35->Click();
    EXPECT_TRUE(form->CountdownForms[0]->Visible());
    data.Exec("update sz_djsb set qyzt='1'");
    form->N19->Click();
    ASSERT_EQ(boxes.Calls.size(), 2u);
    EXPECT_EQ(boxes.Calls[1].Text, NoFreeCountdownText);
}

TEST_F(TrayMenus, TheClockMenuMarksItsHiddenItemsWhenItOpens)
{
    form->mniStartwithwindow->Click();   // the item checks itself and writes the value
    EXPECT_TRUE(IsAutoStart());
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKeyReadOnly(AutoStartKey));
    EXPECT_EQ(reg.ReadString(AutoStartValue).front(), '"');
    form->mniStartwithwindow->SetChecked(false);
    form->mniBlack->Click();
    form->mniTransparent[3]->Click();   // 60
    form->mniTransparent[0]->SetChecked(true);
    form->mniBlue->SetChecked(true);
    form->pmMainPopup(form);
    EXPECT_TRUE(form->mniStartwithwindow->Checked());
    EXPECT_TRUE(form->mniTransparent[3]->Checked());
    EXPECT_FALSE(form->mniTransparent[0]->Checked());
    EXPECT_TRUE(form->mniBlack->Checked());
    EXPECT_FALSE(form->mniBlue->Checked());
    form->mniStartwithwindow->Click();
    EXPECT_FALSE(IsAutoStart());
}

TEST_F(TrayMenus, TheIconIsAddedWithItsTipAndRemovedWithTheWindow)
{
    ASSERT_EQ(notified.size(), 1u);
    EXPECT_EQ(notified[0].Message, DWORD(NIM_ADD));
    EXPECT_EQ(notified[0].Flags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(notified[0].Window, TrayIconManagerWindow());
    EXPECT_EQ(notified[0].Tip, L"桌面日历");
    EXPECT_EQ(form->TrayNotifyIcon1->NotifyData(NIF_TIP).cbSize, sizeof(NOTIFYICONDATAW));
    form->TrayNotifyIcon1->SetHint(std::string(200, 'x'));
    EXPECT_EQ(notified.back().Message, DWORD(NIM_MODIFY));
    EXPECT_EQ(notified.back().Tip, std::wstring(127, L'x'));
    delete form;
    form = nullptr;
    EXPECT_EQ(notified.back().Message, DWORD(NIM_DELETE));
    EXPECT_EQ(TrayIconManagerWindow(), nullptr);
}

// After the shell restarts (Explorer broadcasts "TaskbarCreated") the icon is added again,
// so the program stays reachable with the clock hidden.
TEST_F(TrayMenus, TheIconComesBackWhenTheShellRestarts)
{
    ASSERT_EQ(notified.size(), 1u);
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    Application->ProcessMessages();
    ASSERT_EQ(notified.size(), 2u);
    EXPECT_EQ(notified[1].Message, DWORD(NIM_ADD));
    EXPECT_EQ(notified[1].Flags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(notified[1].Window, TrayIconManagerWindow());
    EXPECT_EQ(notified[1].Tip, L"桌面日历");
}

TEST_F(TrayMenus, AClickShowsTheSummaryAndADoubleClickOnlyOnce)
{
    data.Exec("insert into sz_bwlb (ylsj, fzbz, tqtsts, xssj, nr, qrbz) values "
              "('2026-05-12 09:00', '1', '3天', '', '体检', '0')");
    PostTray(WM_LBUTTONDOWN);
    EXPECT_TRUE(OpenMsgPopups().empty());
    timers.Advance(GetDoubleClickTime());
    ASSERT_EQ(OpenMsgPopups().size(), 1u);
    EXPECT_EQ(OpenMsgPopups()[0]->Text(), "后天 体检\n\r");
    EXPECT_EQ(MsgPopupSide, 3);
    FreeMsgPopups();

    PostTray(WM_LBUTTONDOWN);
    PostTray(WM_LBUTTONUP);
    PostTray(WM_LBUTTONDBLCLK);
    timers.Advance(GetDoubleClickTime());
    EXPECT_EQ(OpenMsgPopups().size(), 1u);
    FreeMsgPopups();

    data.Exec("delete from sz_bwlb");
    data.Exec("update sz_jrb set realrq='2026-12-31'");
    PostTray(WM_LBUTTONDOWN);
    timers.Advance(GetDoubleClickTime());
    EXPECT_TRUE(OpenMsgPopups().empty());
}

TEST_F(TrayMenus, ARightClickOpensTheTrayMenu)
{
    int popups = 0;
    form->PopupMenu1->OnPopup = [&](TObject*) {
        ++popups;
        SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            EndMenu();
        });
    };
    PostTray(WM_RBUTTONDOWN);
    EXPECT_EQ(popups, 1);
    PostTray(WM_MOUSEMOVE);
    EXPECT_EQ(popups, 1);
}

TEST_F(TrayMenus, TheRightButtonsReleaseOverTheClockOpensItsMenu)
{
    int popups = 0;
    form->pmMain->OnPopup = [&](TObject* Sender) {
        ++popups;
        form->pmMainPopup(Sender);
        SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            EndMenu();
        });
    };
    form->Show();
    SendMessageW(form->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(68, 65));
    EXPECT_EQ(popups, 0);
    SendMessageW(form->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(68, 65));
    EXPECT_EQ(popups, 1);
    SendMessageW(form->Handle(), WM_CONTEXTMENU, WPARAM(form->Handle()), MAKELPARAM(-1, -1));
    EXPECT_EQ(popups, 1);   // never a second menu from the context-menu message
}

TEST(TrayIconShell, TheRealIconIsAddedAndRemoved)
{
    TTrayNotifyIcon* icon = new TTrayNotifyIcon(nullptr);
    std::vector<BOOL> results;
    auto old = ShellNotifyIcon;
    ShellNotifyIcon = [&](DWORD message, NOTIFYICONDATAW& d) {
        results.push_back(Shell_NotifyIconW(message, &d));
        return results.back();
    };
    icon->SetHint("桌面日历");
    icon->SetIconVisible(true);
    icon->SetHint("桌面日历 2");
    delete icon;
    ShellNotifyIcon = old;
    EXPECT_EQ(results, (std::vector<BOOL>{TRUE, TRUE, TRUE}));
}
