#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <vector>

#include <windowsx.h>

#include "framework/base/ActnList.h"
#include "framework/base/FakeTimerService.h"
#include "framework/rtl/Encoding.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Application.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Handles.h"
#include "skin/core/SkBmp.h"
#include "skin/core/SkCanvas.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/core/SkPackedSkin.h"
#include "skin/core/spzlibcompress.h"
#include "skin/win/SkBitmapBridge.h"
#include "skin/win/SkSystem.h"
#include "skin/win/SkinCtrls.h"
#include "skin/win/SkinForm.h"
#include "skin/win/SkinHint.h"
#include "skin/win/SkinMenus.h"
#include "skin/win/SkinResource.h"
#include "skin/win/skTrayIcon.h"
#include "tests/framework/RealInput.h"
#include "tests/framework/WinTestUtil.h"

#include <shellapi.h>

namespace {

void SaveFormShot(HWND window, const char* name)
{
    const char* dir = std::getenv("VORPEN_SKIN_SHOTS");
    if (!dir)
        return;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Application->ProcessMessages();
    RECT r{};
    GetWindowRect(window, &r);
    TSkBitmap shot(r.right - r.left + 16, r.bottom - r.top + 16);
    CopyScreenArea(r.left - 8, r.top - 8, shot);
    WriteFileBytes(IncludeTrailingPathDelimiter(dir) + name + ".bmp", SaveBmpToBytes(shot));
}

// The screen in a rectangle, saved for a look at it (VORPEN_SKIN_SHOTS names the folder).
void SaveScreenShot(const TRect& r, const char* name)
{
    const char* dir = std::getenv("VORPEN_SKIN_SHOTS");
    if (!dir)
        return;
    Application->ProcessMessages();
    TSkBitmap shot(r.Width(), r.Height());
    CopyScreenArea(r.Left, r.Top, shot);
    WriteFileBytes(IncludeTrailingPathDelimiter(dir) + name + ".bmp", SaveBmpToBytes(shot));
}

// The program's skin with a plain button object (no command) in the roll-up button's place.
void WithMenuButton(TskCompressedStoredSkin& stored)
{
    TPackedSkin skin = UnpackStoredSkin(stored.CompressedData());
    std::string ini = GbkToUtf8(skin.IniText);
    const std::string entry = "4=rollupbutton:stdbutton", section = "[rollupbutton]";
    ASSERT_NE(ini.find(entry), std::string::npos);
    ini.replace(ini.find(entry), entry.size(), "4=menubutton:button");
    ini.replace(ini.find(section), section.size(), "[menubutton]");
    skin.IniText = Utf8ToGbk(ini);
    TMemoryStream plain(WritePackedSkin(skin)), packed;
    CompressStream(plain, packed);
    stored.SetCompressedData(packed.Bytes());
}

TMenuItem* AddMenuItem(TPopupMenu& menu, const char* caption)
{
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(caption);
    menu.Items()->Add(item);
    return item;
}

// A dialog skinned with the program's skin, as the organizer's list windows carry it.
struct SkinnedDialog {
    // spoil changes the stored skin before the form's store loads it.
    explicit SkinnedDialog(const std::string& caption, bool withSkin = true, TRect bounds = {200, 150, 520, 390},
                           std::function<void(TskCompressedStoredSkin&)> spoil = {})
    {
        Form = NewForm<TForm>(nullptr);
        Form->SetCaption(caption);
        Form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        Edit = new TCustomControl(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(20, 20, 120, 24);
        Edit->SetTabStop(true);
        Edit->OnKeyDown = [this](TObject*, WORD& key, TShiftState) { Keys.push_back(key); };
        Stored = new TskCompressedStoredSkin(Form);
        Data = new TskSkinData(Form);
        if (withSkin) {
            EXPECT_TRUE(LoadProgramSkin(*Stored));
            if (spoil)
                spoil(*Stored);
            Data->SetCompressedStoredSkin(Stored);
        }
        Skin = new TskSkinForm(Form);
        for (TFont* f : {&Skin->DefCaptionFont(), &Skin->DefInActiveCaptionFont()}) {
            f->SetName("宋体");
            f->SetHeight(-12);
            f->SetCharset(GB2312_CHARSET);
        }
        Skin->DraggAble = true;
        Skin->Magnetic = true;
        Skin->MagneticSize = 5;
        Skin->SetSkinData(Data);
        Form->Show();
        Application->ProcessMessages();
    }
    ~SkinnedDialog() { delete Form; }
    HWND Handle() { return Form->Handle(); }
    TRect WindowRect()
    {
        RECT r{};
        GetWindowRect(Handle(), &r);
        return TRect::FromRECT(r);
    }
    TRect ClientRect()
    {
        RECT r{};
        GetClientRect(Handle(), &r);
        return TRect::FromRECT(r);
    }
    LRESULT HitTest(int x, int y)
    {
        const TRect w = WindowRect();
        return SendMessageW(Handle(), WM_NCHITTEST, 0, MAKELPARAM(w.Left + x, w.Top + y));
    }
    LPARAM ScreenPoint(TPoint p)
    {
        const TRect w = WindowRect();
        return MAKELPARAM(w.Left + p.X, w.Top + p.Y);
    }
    void Activate()
    {
        SetForegroundWindow(Handle());
        SetActiveWindow(Handle());
        Application->ProcessMessages();
    }

    TForm* Form = nullptr;
    TCustomControl* Edit = nullptr;
    TskCompressedStoredSkin* Stored = nullptr;
    TskSkinData* Data = nullptr;
    TskSkinForm* Skin = nullptr;
    std::vector<WORD> Keys;
};

class SkinnedForms : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        EnsureApplication();
        InstallSkinMessageBroadcast();
        if (!Application->MainForm()) {
            TForm* form = nullptr;
            Application->CreateForm(form);
            form->SetBorderStyle(bsNone);
            form->SetBounds(40, 40, 100, 100);
            form->Show();
        }
    }
    void SetUp() override
    {
        FReal = &CurrentTimerService();
        SetTimerService(&Timers);
        SetCursorPos(1270, 790);   // away from every window of the tests
    }
    void TearDown() override
    {
        Application->ProcessMessages();
        SetTimerService(FReal);
    }
    FakeTimerService Timers;

private:
    TimerService* FReal = nullptr;
};

TskSkinStdButtonObject* ButtonOf(TskSkinForm& skin, TskCommand command)
{
    for (auto& o : skin.Objects().Objects)
        if (auto* b = dynamic_cast<TskSkinStdButtonObject*>(o.get()); b && b->Command == command)
            return b;
    return nullptr;
}

TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

struct TMouseStep {
    int X, Y;
    DWORD Buttons;   // MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP or 0
};

// Real mouse input: each step moves the pointer to the screen point, then presses or releases.
void SendMouse(std::initializer_list<TMouseStep> steps)
{
    std::vector<INPUT> input;
    for (const TMouseStep& s : steps)
        input.push_back(MouseInput({s.X, s.Y}, s.Buttons));
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

}  // namespace

TEST_F(SkinnedForms, TheFrameFollowsTheSkinAndTheWindowSize)
{
    SkinnedDialog d("便签管理");
    ASSERT_TRUE(d.Skin->SkinActive());
    EXPECT_EQ(GetWindowLongPtrW(d.Handle(), GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(d.ClientRect().Width(), 320 - 10);
    EXPECT_EQ(d.ClientRect().Height(), 240 - 34);
    EXPECT_TRUE(d.Skin->HasRegion());
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(d.Handle(), region), ERROR);
    RECT box{};
    GetRgnBox(region, &box);
    EXPECT_EQ(box.right, 320);
    DeleteObject(region);

    d.Form->SetBounds(200, 150, 400, 300);
    Application->ProcessMessages();
    EXPECT_EQ(d.ClientRect().Width(), 390);
    EXPECT_EQ(d.ClientRect().Height(), 266);
    EXPECT_EQ(d.Skin->Geometry().RT.X, 53 + 248);
    MINMAXINFO info{};
    SendMessageW(d.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 152);
    EXPECT_EQ(info.ptMinTrackSize.y, 34);

    EXPECT_EQ(d.HitTest(0, 0), HTTOPLEFT);
    EXPECT_EQ(d.HitTest(200, 1), HTTOP);
    EXPECT_EQ(d.HitTest(399, 299), HTBOTTOMRIGHT);
    EXPECT_EQ(d.HitTest(100, 100), HTCLIENT);
    EXPECT_EQ(d.HitTest(60, 15), HTCAPTION);
    const TRect close = ButtonOf(*d.Skin, cmClose)->ObjectRect;
    EXPECT_EQ(d.HitTest(Centre(close).X, Centre(close).Y), 19);
}

TEST_F(SkinnedForms, RollUpMaximizeMinimizeAndRestore)
{
    SkinnedDialog d("倒计时管理");
    const TRect start = d.WindowRect();
    d.Skin->SetRollUp(true);
    EXPECT_TRUE(d.Skin->RolledUp());
    EXPECT_EQ(d.WindowRect().Height(), 34);
    EXPECT_EQ(d.ClientRect().Height(), 0);
    EXPECT_EQ(d.HitTest(0, 0), 19);   // no sizing while rolled up
    d.Skin->SetRollUp(false);
    EXPECT_EQ(d.WindowRect(), start);

    d.Skin->SetWindowState(2);
    const TRect full = MaximizedBounds(GetMonitorAreaRect(d.Handle(), false), GetMonitorAreaRect(d.Handle(), true), false);
    EXPECT_EQ(d.WindowRect(), full);
    EXPECT_EQ(d.Skin->RestoreBounds(), start);
    EXPECT_EQ(d.ClientRect().Width(), full.Width() - 10);
    d.Skin->SetWindowState(0);
    EXPECT_EQ(d.WindowRect(), start);
    EXPECT_TRUE(IsNullRect(d.Skin->RestoreBounds()));

    d.Skin->SetWindowState(1);
    const TRect work = GetMonitorAreaRect(d.Handle(), true);
    EXPECT_EQ(d.WindowRect(), (TRect{work.Left, work.Bottom - 34, work.Left + 152, work.Bottom}));
    EXPECT_FALSE(d.Skin->RolledUp());
    d.Skin->SetRollUp(true);   // a minimized window does not roll up
    EXPECT_FALSE(d.Skin->RolledUp());
    d.Skin->SetWindowState(0);
    EXPECT_EQ(d.WindowRect(), start);

    // Without the roll-up icon nothing rolls up, whoever asks.
    d.Skin->SetBorderIcons(SkIcon(TskBorderIcon::biMaximize));
    d.Skin->SetRollUp(true);
    EXPECT_FALSE(d.Skin->RolledUp());
}

TEST_F(SkinnedForms, AClickOnTheCloseButtonClosesAndADragOffDoesNot)
{
    SkinnedDialog d("备忘录");
    d.Activate();
    ASSERT_TRUE(d.Skin->IsFormActive());
    const TRect close = ButtonOf(*d.Skin, cmClose)->ObjectRect;
    const LPARAM at = d.ScreenPoint(Centre(close));
    SetCursorPos(GET_X_LPARAM(at), GET_Y_LPARAM(at));
    EXPECT_EQ(d.HitTest(Centre(close).X, Centre(close).Y), 19);
    EXPECT_TRUE(ButtonOf(*d.Skin, cmClose)->Active);
    SendMessageW(d.Handle(), WM_NCLBUTTONDOWN, 19, at);
    EXPECT_TRUE(ButtonOf(*d.Skin, cmClose)->Down());
    EXPECT_EQ(GetCapture(), d.Handle());
    // Off the button the release does nothing.
    SetCursorPos(GET_X_LPARAM(at) - 60, GET_Y_LPARAM(at) + 60);
    Timers.Advance(50);
    SendMessageW(d.Handle(), WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(IsWindowVisible(d.Handle()));
    EXPECT_FALSE(ButtonOf(*d.Skin, cmClose)->Down());

    SetCursorPos(GET_X_LPARAM(at), GET_Y_LPARAM(at));
    d.HitTest(Centre(close).X, Centre(close).Y);
    Timers.Advance(50);
    SendMessageW(d.Handle(), WM_NCLBUTTONDOWN, 19, at);
    SendMessageW(d.Handle(), WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(IsWindowVisible(d.Handle()));
}

TEST_F(SkinnedForms, TheSystemMenuTakesTheKeyboardUntilItCloses)
{
    SkinnedDialog d("节日管理");
    d.Activate();
    SendMessageW(d.Handle(), WM_NCRBUTTONDOWN, HTCAPTION, d.ScreenPoint({60, 15}));
    ASSERT_TRUE(d.Skin->MenuOpen());
    TskSkinMenu* menu = d.Skin->SkinMenu();
    ASSERT_EQ(menu->PopupWindows.size(), 1u);
    EXPECT_EQ(menu->PopupWindows[0]->ItemObjects.size(), 5u);   // minimize, maximize, roll-up, -, close
    PostMessageW(d.Edit->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    Application->ProcessMessages();
    EXPECT_TRUE(d.Keys.empty());   // the menu took the key
    EXPECT_EQ(menu->PopupWindows[0]->ActiveItem, 1);
    PostMessageW(d.Edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    Application->ProcessMessages();
    EXPECT_FALSE(d.Skin->MenuOpen());
    d.Edit->SetFocus();
    PostMessageW(d.Edit->Handle(), WM_KEYDOWN, 'A', 0);
    Application->ProcessMessages();
    EXPECT_EQ(d.Keys, std::vector<WORD>{'A'});
}

TEST_F(SkinnedForms, TwoFormsGiveTheKeyboardBackInEitherOrder)
{
    for (bool firstClosesFirst : {true, false}) {
        auto* a = new SkinnedDialog("便签一", true, {100, 100, 400, 300});
        auto* b = new SkinnedDialog("便签二", true, {450, 100, 750, 300});
        a->Skin->PopupSystemMenu(120, 120);
        b->Skin->PopupSystemMenu(470, 120);
        EXPECT_TRUE(a->Skin->MenuOpen());
        EXPECT_TRUE(b->Skin->MenuOpen());
        if (firstClosesFirst) {
            delete a;
            a = nullptr;
            b->Skin->SkinMenu()->CloseMenu();
        } else {
            b->Skin->SkinMenu()->CloseMenu();
            a->Skin->SkinMenu()->CloseMenu();
        }
        Application->ProcessMessages();
        SkinnedDialog* left = a ? a : b;
        left->Edit->SetFocus();
        PostMessageW(left->Edit->Handle(), WM_KEYDOWN, 'K', 0);
        Application->ProcessMessages();
        EXPECT_EQ(left->Keys, std::vector<WORD>{'K'}) << firstClosesFirst;
        delete a;
        delete b;
    }
}

// The organizer's forms set their border icons after the skin: the frame keeps the skin's
// objects (a caption that drags and shows the text, buttons in their places), under the new set.
TEST_F(SkinnedForms, ABorderIconsChangeKeepsTheSkinsObjects)
{
    SkinnedDialog d("节日管理");
    d.Activate();
    const TRect close = ButtonOf(*d.Skin, cmClose)->ObjectRect;
    const TRect maximize = ButtonOf(*d.Skin, cmMaximize)->ObjectRect;
    ASSERT_EQ(d.HitTest(60, 15), HTCAPTION);
    d.Skin->SetBorderIcons(SkIcon(TskBorderIcon::biMaximize));
    Application->ProcessMessages();
    EXPECT_EQ(d.HitTest(60, 15), HTCAPTION);
    ASSERT_TRUE(ButtonOf(*d.Skin, cmClose));
    EXPECT_EQ(ButtonOf(*d.Skin, cmClose)->ObjectRect, close);
    EXPECT_EQ(ButtonOf(*d.Skin, cmMaximize)->ObjectRect, maximize);
    EXPECT_TRUE(ButtonOf(*d.Skin, cmMaximize)->Enabled);
    EXPECT_FALSE(ButtonOf(*d.Skin, cmMinimize)->Enabled);   // drawn by the frame picture, out of use
    EXPECT_FALSE(ButtonOf(*d.Skin, cmRollUp)->Enabled);
    std::string caption;
    for (auto& o : d.Skin->Objects().Objects)
        if (auto* c = dynamic_cast<TskSkinCaptionObject*>(o.get()))
            caption = c->Text;
    EXPECT_EQ(caption, "节日管理");
    EXPECT_EQ(d.HitTest(Centre(close).X, Centre(close).Y), 19);
    SaveFormShot(d.Handle(), "form-border-icons");
    // Real input: a drag on the caption moves the window, a click on the close button closes it.
    const TRect before = d.WindowRect();
    SendMouse({{before.Left + 60, before.Top + 15, MOUSEEVENTF_LEFTDOWN},
               {before.Left + 80, before.Top + 30, 0},
               {before.Left + 100, before.Top + 45, 0},
               {before.Left + 100, before.Top + 45, MOUSEEVENTF_LEFTUP}});
    Application->ProcessMessages();
    EXPECT_EQ(d.WindowRect(), Bounds(before.Left + 40, before.Top + 30, before.Width(), before.Height()));
    const TPoint at{d.WindowRect().Left + Centre(close).X, d.WindowRect().Top + Centre(close).Y};
    SendMouse({{at.X, at.Y, 0}});
    Application->ProcessMessages();
    Timers.Advance(50);
    SendMouse({{at.X, at.Y, MOUSEEVENTF_LEFTDOWN}, {at.X, at.Y, MOUSEEVENTF_LEFTUP}});
    Application->ProcessMessages();
    EXPECT_FALSE(IsWindowVisible(d.Handle()));
    SetCursorPos(1270, 790);
}

// Without a skin the plain frame writes the caption in the resource strings' character set
// over its caption font's: the frame so painted is the frame painted in a caption font of that
// set.
TEST_F(SkinnedForms, ThePlainFrameCaptionTakesTheResourceStringsCharacterSet)
{
    SkinnedDialog d("Notes 默认边框字符集", false);
    d.Activate();
    auto* texts = new TskResourceStrData(d.Form);
    texts->CharSet = GB2312_CHARSET;
    auto paint = [&](BYTE charset, bool withTexts) {
        for (TFont* f : {&d.Skin->DefCaptionFont(), &d.Skin->DefInActiveCaptionFont()}) {
            f->SetName("DejaVu Sans");
            f->SetCharset(charset);
        }
        d.Data->SetResourceStrData(withTexts ? texts : nullptr);
        RedrawWindow(d.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        Application->ProcessMessages();
        const TRect w = d.WindowRect();
        TSkBitmap shot(w.Width(), w.Height());
        CopyScreenArea(w.Left, w.Top, shot);
        return shot;
    };
    const TSkBitmap gb = paint(GB2312_CHARSET, false);
    ASSERT_NE(paint(ANSI_CHARSET, false), gb);   // the set shows in the pixels
    EXPECT_EQ(paint(ANSI_CHARSET, true), gb);
    SaveFormShot(d.Handle(), "form-default-charset");
    d.Data->SetResourceStrData(nullptr);
}

// Restoring from the tray lets the tray icon restore: the main form shows again even when it
// was hidden before.
TEST_F(SkinnedForms, RestoringFromTheTrayShowsTheMainForm)
{
    TForm* main = Application->MainForm();
    auto* tray = new TskTrayIcon(main);
    {
        SkinnedDialog d("托盘还原");
        d.Skin->SetTrayIcon(tray);
        EXPECT_FALSE(tray->IconVisible());
        int restored = 0;
        d.Skin->OnRestoreFromTray = [&](TObject*) { ++restored; };
        tray->HideMainForm();
        d.Skin->MinimizeToTray();
        EXPECT_TRUE(tray->IconVisible());
        EXPECT_FALSE(IsWindowVisible(d.Handle()));
        d.Skin->RestoreFromTray();
        EXPECT_TRUE(IsWindowVisible(main->Handle()));
        EXPECT_TRUE(IsWindowVisible(d.Handle()));
        EXPECT_FALSE(tray->MinimizeToTray);
        EXPECT_FALSE(tray->IconVisible());
        EXPECT_EQ(restored, 1);
    }
    main->Show();
    delete tray;
}

TEST_F(SkinnedForms, WithoutASkinTheDefaultFrameIsDrawn)
{
    SkinnedDialog d("默认边框", false);
    EXPECT_FALSE(d.Skin->SkinActive());
    EXPECT_FALSE(d.Skin->HasRegion());
    EXPECT_EQ(d.ClientRect().Width(), 320 - 6);
    EXPECT_EQ(d.ClientRect().Height(), 240 - 25);
    EXPECT_EQ(d.HitTest(2, 2), HTTOPLEFT);
    EXPECT_EQ(d.HitTest(100, 12), HTCAPTION);
    SaveFormShot(d.Handle(), "form-default");
}

TEST(TrayTip, TheTipIsCutToTheFieldAtACharacterBoundary)
{
    EXPECT_EQ(TrayTipText(std::string(300, 'x'), true, 128).size(), 127u);
    EXPECT_EQ(TrayTipText("提醒", false, 128), L"");
    // A character outside the basic plane is never split.
    const std::string hint = std::string(126, 'a') + "\xF0\x9F\x98\x80";
    EXPECT_EQ(TrayTipText(hint, true, 128).size(), 126u);
    EXPECT_EQ(TrayTipText("时钟", true, 128), L"时钟");
}

TEST_F(SkinnedForms, TheSkinnedHintForwardsTheApplicationsShowHint)
{
    auto* hint = new TskSkinHint(Application->MainForm());
    int calls = 0;
    hint->OnShowHint = [&](std::string& text, bool&, THintInfo&) {
        ++calls;
        text = "提示";
    };
    ASSERT_TRUE(static_cast<bool>(Application->OnShowHint));
    std::string text = "a";
    bool canShow = true;
    THintInfo info;
    Application->OnShowHint(text, canShow, info);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(text, "提示");
    delete hint;
    EXPECT_FALSE(static_cast<bool>(Application->OnShowHint));
    Application->SetHintWindowClass([](TComponent* owner) { return new THintWindow(owner); });
}

TEST_F(SkinnedForms, ABorderlessFormKeepsNoFrame)
{
    TForm* form = NewForm<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(300, 300, 120, 120);
    auto* stored = new TskCompressedStoredSkin(form);
    ASSERT_TRUE(LoadProgramSkin(*stored));
    auto* data = new TskSkinData(form);
    data->SetCompressedStoredSkin(stored);
    auto* skin = new TskSkinForm(form);
    skin->SetSkinData(data);
    form->Show();
    Application->ProcessMessages();
    RECT client{}, window{};
    GetClientRect(form->Handle(), &client);
    GetWindowRect(form->Handle(), &window);
    EXPECT_EQ(client.right, 120);
    EXPECT_EQ(client.bottom, 120);
    EXPECT_EQ(window.right - window.left, 120);   // no minimum size forced on it
    EXPECT_FALSE(skin->HasRegion());
    EXPECT_EQ(SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(305, 305)), HTCLIENT);
    // Its objects are drawn nowhere, so the cursor over where a button would be, on the
    // active form, hovers none of them after a rebuild.
    SetForegroundWindow(form->Handle());
    SetActiveWindow(form->Handle());
    Application->ProcessMessages();
    ASSERT_TRUE(skin->IsFormActive());
    skin->SetSkinData(data);
    const TRect close = ButtonOf(*skin, cmClose)->ObjectRect;
    ASSERT_FALSE(skin->Geometry().ClientRect.Contains(Centre(close)));
    SetCursorPos(300 + Centre(close).X, 300 + Centre(close).Y);
    Application->ProcessMessages();
    Timers.Advance(50);
    Application->ProcessMessages();
    EXPECT_EQ(skin->Objects().HoverIndex, -1);
    SetCursorPos(1270, 790);
    delete form;
}

// A borderless owner that pushes its own per-pixel alpha picture (as the clock does) keeps
// its layered style through property writes and showing; only a blend the component
// itself switched on is taken away again.
TEST_F(SkinnedForms, ALayeredBorderlessOwnerKeepsItsOwnLayeredStyle)
{
    TForm* form = NewForm<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(300, 300, 40, 30);
    auto* stored = new TskCompressedStoredSkin(form);
    ASSERT_TRUE(LoadProgramSkin(*stored));
    auto* data = new TskSkinData(form);
    data->SetCompressedStoredSkin(stored);
    auto* skin = new TskSkinForm(form);
    skin->SetSkinData(data);
    ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
    HWND h = form->Handle();
    auto layered = [h] { return (GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; };
    SetWindowLongPtrW(h, GWL_EXSTYLE, GetWindowLongPtrW(h, GWL_EXSTYLE) | WS_EX_LAYERED);
    TBitmap picture(40, 30);
    POINT at{300, 300}, origin{0, 0};
    SIZE size{40, 30};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(UpdateLayeredWindow(h, nullptr, &at, &size, picture.Canvas().Handle(), &origin, 0, &blend, ULW_ALPHA));
    skin->SetAlphaBlend(false);
    skin->SetAlphaBlendValue(10);
    EXPECT_TRUE(layered());
    ShowWindow(h, SW_HIDE);
    ShowWindow(h, SW_SHOWNOACTIVATE);
    Application->ProcessMessages();
    EXPECT_TRUE(layered());
    EXPECT_FALSE(skin->HasRegion());
    skin->SetAlphaBlend(true);
    skin->SetAlphaBlend(false);
    EXPECT_FALSE(layered());
    delete form;
}

TEST_F(SkinnedForms, WithoutTheNonClientAreaTheSkinIsTheWholeFace)
{
    TForm* form = NewForm<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetCaption("倒计时");
    form->SetBounds(300, 300, 100, 60);
    auto* stored = new TskCompressedStoredSkin(form);
    ASSERT_TRUE(LoadProgramSkin(*stored));
    auto* data = new TskSkinData(form);
    data->SetCompressedStoredSkin(stored);
    auto* skin = new TskSkinForm(form);
    skin->SupportNCArea = false;
    skin->SetSkinData(data);
    form->Show();
    Application->ProcessMessages();
    RECT client{};
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 152);   // at least the picture's size
    EXPECT_EQ(client.bottom, 125);
    EXPECT_TRUE(skin->HasRegion());
    EXPECT_EQ(SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(300 + 60, 300 + 60)), HTCLIENT);
    skin->SetRollUp(true);   // no roll-up picture in our skin
    EXPECT_FALSE(skin->RolledUp());
    SaveFormShot(form->Handle(), "form-face");
    const TRect close = ButtonOf(*skin, cmClose)->ObjectRect;
    const TPoint c = Centre(close);
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.X, c.Y));
    EXPECT_TRUE(ButtonOf(*skin, cmClose)->Down());
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(c.X, c.Y));
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    delete form;
}

TEST_F(SkinnedForms, ATrayIconOutlivingTheFormKeepsNothingOfIt)
{
    auto* tray = new TskTrayIcon(Application->MainForm());
    auto* d = new SkinnedDialog("托盘");
    d->Skin->SetTrayIcon(tray);
    EXPECT_NE(tray->PopupMenu, nullptr);
    delete d;
    EXPECT_EQ(tray->PopupMenu, nullptr);
    EXPECT_FALSE(static_cast<bool>(tray->OnRestore));
    delete tray;
}

namespace {

// The caption band of a window as the screen shows it.
TSkBitmap CaptionBand(SkinnedDialog& d)
{
    const TRect w = d.WindowRect();
    TSkBitmap band(w.Width(), d.Skin->Geometry().ClientRect.Top);
    CopyScreenArea(w.Left, w.Top, band);
    return band;
}

int DifferentPixels(const TSkBitmap& a, const TSkBitmap& b)
{
    int n = 0;
    for (int y = 0; y < std::min(a.Height(), b.Height()); ++y)
        for (int x = 0; x < std::min(a.Width(), b.Width()); ++x)
            n += SkRgbPart(a.Pixel(x, y)) != SkRgbPart(b.Pixel(x, y));
    return n;
}

}  // namespace

// The caption shows the activation the moment it changes, without anything forcing a
// repaint: what the screen shows then is what a full repaint draws.
TEST_F(SkinnedForms, AFormThatLosesActivationShowsTheInactiveCaptionAtOnce)
{
    SkinnedDialog list("节日列表", true, {200, 150, 520, 390});
    SkinnedDialog editor("节日编辑", true, {600, 150, 900, 390});
    list.Activate();
    const TSkBitmap active = CaptionBand(list);
    editor.Activate();
    ASSERT_FALSE(list.Skin->IsFormActive());
    ASSERT_TRUE(editor.Skin->IsFormActive());
    const TSkBitmap shown = CaptionBand(list);
    RedrawWindow(list.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    Application->ProcessMessages();
    const TSkBitmap repainted = CaptionBand(list);
    EXPECT_GT(DifferentPixels(active, repainted), 0);
    EXPECT_EQ(DifferentPixels(shown, repainted), 0);
    if (const char* dir = std::getenv("VORPEN_SKIN_SHOTS")) {
        TSkBitmap both(720, 260);
        CopyScreenArea(190, 140, both);   // the inactive list beside the active editor
        WriteFileBytes(IncludeTrailingPathDelimiter(dir) + "forms-inactive-active.bmp", SaveBmpToBytes(both));
    }
    list.Activate();
    EXPECT_EQ(DifferentPixels(CaptionBand(list), active), 0);
    SaveFormShot(list.Handle(), "form-active");
    SaveFormShot(editor.Handle(), "form-inactive");
    list.Form->SetCaption("一个很长很长的窗口标题，长得放不下，最后应当以省略号结束的标题文字");
    list.Form->SetBounds(200, 150, 260, 150);
    SaveFormShot(list.Handle(), "form-narrow");
}

// A morphing caption on its way to the active look (here red) shows a blend of its two
// looks, nearer the active one the further the morph has gone.
TEST_F(SkinnedForms, AMorphingCaptionShowsTheBlendOfItsLooks)
{
    SkinnedDialog d("节日列表", true, {200, 150, 520, 390}, [](TskCompressedStoredSkin& stored) {
        TPackedSkin skin = UnpackStoredSkin(stored.CompressedData());
        std::string ini = GbkToUtf8(skin.IniText);
        const size_t at = ini.find("morphing=0", ini.find("[caption1]"));
        ASSERT_NE(at, std::string::npos);
        ini.replace(at, 10, "morphing=1");
        skin.IniText = Utf8ToGbk(ini);
        TSkCanvas c(skin.ActivePictures.at(0));   // an active look unlike the frame's blue
        c.BrushColor = SkRgb(255, 0, 0);
        c.FillRect({0, 0, 46, 22});
        TMemoryStream plain(WritePackedSkin(skin)), packed;
        CompressStream(plain, packed);
        stored.SetCompressedData(packed.Bytes());
    });
    d.Activate();
    TskSkinCaptionObject* caption = nullptr;
    for (auto& o : d.Skin->Objects().Objects)
        if (auto* c = dynamic_cast<TskSkinCaptionObject*>(o.get()))
            caption = c;
    ASSERT_TRUE(caption && caption->Morphing);
    auto bandAt = [&](double factor) {
        caption->MorphFactor = factor;
        RedrawWindow(d.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        Application->ProcessMessages();
        return CaptionBand(d);
    };
    const TSkBitmap early = bandAt(0.4), late = bandAt(0.6), done = bandAt(1);
    // Outside the text, where the two looks differ.
    const TRect r = caption->ObjectRect;
    const TRect box = caption->TextBox();
    const TRect text{r.Left + box.Left, r.Top + box.Top, r.Left + box.Right, r.Top + box.Bottom};
    int differing = 0, nearer = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const TSkPixel a = SkRgbPart(early.Pixel(x, y)), b = SkRgbPart(late.Pixel(x, y));
            if (text.Contains({x, y}) || a == b)
                continue;
            ++differing;
            const TSkPixel end = SkRgbPart(done.Pixel(x, y));
            bool closer = true;
            for (int shift : {0, 8, 16}) {
                const int ca = (a >> shift) & 255, cb = (b >> shift) & 255, ce = (end >> shift) & 255;
                closer = closer && std::abs(cb - ce) <= std::abs(ca - ce);
            }
            nearer += closer;
        }
    EXPECT_GT(differing, 50);
    EXPECT_EQ(nearer, differing);
}

TEST_F(SkinnedForms, ACorruptSkinOpensWithTheDefaultFrame)
{
    SkinnedDialog d("损坏的皮肤", true, {200, 150, 520, 390}, [](TskCompressedStoredSkin& stored) {
        std::string bytes = stored.CompressedData();
        for (size_t i = 40; i < bytes.size(); i += 97)
            bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
        stored.SetCompressedData(bytes);
    });
    EXPECT_TRUE(d.Data->Empty);
    EXPECT_FALSE(d.Skin->SkinActive());
    EXPECT_FALSE(d.Skin->HasRegion());
    EXPECT_EQ(d.ClientRect().Width(), 320 - 6);
    EXPECT_EQ(d.ClientRect().Height(), 240 - 25);
    EXPECT_EQ(d.HitTest(2, 2), HTTOPLEFT);
    EXPECT_EQ(d.HitTest(100, 12), HTCAPTION);
}

// The store's skin messages reach the skinned controls of the form at any depth: they
// forget their entry when it is about to change and find it again once it has.
TEST_F(SkinnedForms, SkinMessagesReachTheFormsSkinnedControls)
{
    SkinnedDialog d("皮肤控件", false);
    auto* group = new TskSkinGroupBox(d.Form);
    group->SetParent(d.Form);
    group->SetSkinData(d.Data);
    group->SetSkinDataName("panel");
    auto* button = new TskSkinButton(d.Form);
    button->SetParent(group);
    button->SetSkinData(d.Data);
    button->SetSkinDataName("resizebutton");
    EXPECT_EQ(button->SkinIndex(), -1);
    ASSERT_TRUE(LoadProgramSkin(*d.Stored));
    d.Data->SetCompressedStoredSkin(d.Stored);
    EXPECT_EQ(group->SkinIndex(), d.Data->IndexOfSkinControl("panel"));
    EXPECT_EQ(button->SkinIndex(), d.Data->IndexOfSkinControl("resizebutton"));
    EXPECT_GE(button->SkinIndex(), 0);
    SendMessageW(d.Handle(), WMS_SKINCHANGING, reinterpret_cast<WPARAM>(d.Data), 1000);
    EXPECT_EQ(button->SkinIndex(), -1);
    EXPECT_EQ(group->SkinIndex(), -1);
}

// With the program's texts on the store the system menu and the button hints are Chinese.
TEST_F(SkinnedForms, TheProgramsTextsGiveAChineseSystemMenu)
{
    SkinnedDialog d("中文系统菜单");
    d.Skin->SetBorderIcons(SkIcon(TskBorderIcon::biMaximize));
    d.Data->SetResourceStrData(ProgramResourceStrings());
    TMenuItem* items = d.Skin->GetSystemMenu();
    std::string captions;
    for (int i = 0; i < items->Count(); ++i)
        captions += items->Items(i)->Caption() + "|";
    EXPECT_EQ(captions, "最大化|-|关闭|");
    EXPECT_EQ(ShortCutToText(items->Items(items->Count() - 1)->ShortCut()), "Alt+F4");
    EXPECT_EQ(ButtonOf(*d.Skin, cmClose)->Hint, "关闭");
    d.Data->SetResourceStrData(nullptr);
}

// Without a skin the caption font of the plain frame is repainted as soon as it changes.
TEST_F(SkinnedForms, ACaptionFontChangeRepaintsThePlainFrame)
{
    SkinnedDialog d("字体变化", false);
    d.Activate();
    const TSkBitmap before = CaptionBand(d);
    d.Skin->DefCaptionFont().SetColor(clRed);
    Application->ProcessMessages();
    const TSkBitmap after = CaptionBand(d);
    int red = 0;
    for (int y = 0; y < after.Height(); ++y)
        for (int x = 0; x < after.Width(); ++x)
            red += after.Pixel(x, y) != before.Pixel(x, y) && ((after.Pixel(x, y) >> 16) & 255) > 160 &&
                   ((after.Pixel(x, y) >> 8) & 255) < 100;
    EXPECT_GT(red, 10);
}

// A shell that restarts (Explorer broadcasts "TaskbarCreated") has lost the icon; the
// tray icon hears the broadcast and adds it again.
TEST_F(SkinnedForms, TheTrayIconComesBackWhenTheShellRestarts)
{
    auto* tray = new TskTrayIcon(Application->MainForm());
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = tray->Window();
    data.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &data));
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    Application->ProcessMessages();
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &data));
    delete tray;
}

namespace {

TSkBitmap IconPicture(HICON icon)
{
    const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    TBitmap b(w, h);
    b.Canvas().Brush().SetColor(clWhite);
    b.Canvas().FillRect({0, 0, w, h});
    DrawIconEx(b.Canvas().Handle(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
    return SkBitmapFromBitmap(b);
}

// A loaded icon as the frame shows it: copied at the small-icon size.
TSkBitmap SmallIconPicture(HICON icon)
{
    const HICON small = static_cast<HICON>(
        CopyImage(icon, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    const TSkBitmap picture = IconPicture(small);
    DestroyIcon(small);
    return picture;
}

}  // namespace

// The frame's icon: the form's own once it has one, else the program's icon resource, which
// comes before the system's.
TEST_F(SkinnedForms, TheWindowIconIsTheFormsElseTheProgramsElseTheSystems)
{
    SkinnedDialog d("图标");
    const TSkBitmap program = SmallIconPicture(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
    EXPECT_EQ(IconPicture(d.Skin->WindowIcon()), program);
    EXPECT_NE(SmallIconPicture(LoadIconW(nullptr, IDI_APPLICATION)), program);

    TBitmap colour(32, 32);
    colour.Canvas().Brush().SetColor(static_cast<TColor>(0x0000FF));
    colour.Canvas().FillRect({0, 0, 32, 32});
    const std::vector<uint8_t> none(32 * 32 / 8, 0);
    GdiObject<HBITMAP> mask(CreateBitmap(32, 32, 1, 1, none.data()));
    ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Handle()};
    const HICON red = CreateIconIndirect(&info);
    ASSERT_NE(red, nullptr);
    SendMessageW(d.Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(red));
    const TSkBitmap own = IconPicture(d.Skin->WindowIcon());
    EXPECT_EQ(SkRgbPart(own.Pixel(own.Width() / 2, own.Height() / 2)), SkRgbPart(SkRgb(255, 0, 0)));
    SendMessageW(d.Handle(), WM_SETICON, ICON_SMALL, 0);
    DestroyIcon(red);
}

// A button object opens its menu item under itself (over itself with PopupUp) on a press: in
// the menus' skin, with the keyboard, the button down until the menu closes. An item of a
// skinned popup menu opens through that menu.
TEST_F(SkinnedForms, AButtonObjectOpensItsMenuItemUnderItself)
{
    SkinnedDialog d("便签管理", true, {200, 150, 520, 390}, WithMenuButton);
    d.Activate();
    d.Edit->SetFocus();
    TskSkinButtonObject* button = nullptr;
    for (auto& o : d.Skin->Objects().Objects)
        if (o->IDName == "menubutton" && o->Kind() == TSkObjectKind::Button)
            button = static_cast<TskSkinButtonObject*>(o.get());
    ASSERT_NE(button, nullptr);
    TPopupMenu plain(nullptr);
    auto* skinned = new TskSkinPopupMenu(d.Form);
    for (TPopupMenu* m : {&plain, static_cast<TPopupMenu*>(skinned)})
        for (const char* caption : {"新建便签(&N)", "查询备忘录(&Q)", "-", "退出(&X)"})
            AddMenuItem(*m, caption);
    TskSkinMenu* engine = d.Skin->SkinMenu();
    const TPoint centre = Centre(button->ObjectRect);
    for (bool up : {false, true}) {
        button->SetMenuItem(up ? skinned->Items() : plain.Items());
        button->PopupUp = up;
        const LPARAM at = d.ScreenPoint(centre);
        SetCursorPos(GET_X_LPARAM(at), GET_Y_LPARAM(at));
        const LRESULT hit = d.HitTest(centre.X, centre.Y);
        Timers.Advance(50);
        SendMessageW(d.Handle(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), at);
        SendMessageW(d.Handle(), WM_LBUTTONUP, 0, 0);
        ASSERT_EQ(engine->PopupWindows.size(), 1u) << up;
        TskSkinPopupWindow* w = engine->PopupWindows[0];
        EXPECT_NE(w->PopupRecord, nullptr);   // the skin's menu look
        EXPECT_EQ(w->ItemObjects.size(), 4u);
        const TRect form = d.WindowRect();
        EXPECT_EQ(w->Left(), form.Left + button->ObjectRect.Left);
        EXPECT_EQ(up ? w->Top() + w->Height() : w->Top(),
                  form.Top + (up ? button->ObjectRect.Top : button->ObjectRect.Bottom));
        EXPECT_TRUE(button->Down());   // the release leaves it down while the menu is open
        EXPECT_TRUE(d.Skin->MenuOpen());
        if (!up) {
            RedrawWindow(w->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            SaveScreenShot({form.Left - 8, form.Top - 8, std::max(form.Right, w->Left() + w->Width()) + 8,
                            std::max(form.Bottom, w->Top() + w->Height()) + 8},
                           "button-object-menu");
        }
        PostMessageW(d.Edit->Handle(), WM_KEYDOWN, VK_DOWN, 0);
        Application->ProcessMessages();
        EXPECT_EQ(w->ActiveItem, 1);
        PostMessageW(d.Edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        Application->ProcessMessages();
        EXPECT_TRUE(engine->PopupWindows.empty());
        EXPECT_FALSE(d.Skin->MenuOpen());
        EXPECT_FALSE(button->Down());
    }
    EXPECT_EQ(skinned->SkinData(), d.Data);
    EXPECT_TRUE(d.Keys.empty());
}

// A skinned popup menu of a skinned form opens in the form's skin and keeps it, and the form
// gives it the keys until Esc closes it; the form's own tray menu as well.
TEST_F(SkinnedForms, ASkinnedPopupMenuTakesTheFormsSkinAndKeyboard)
{
    SkinnedDialog d("节日管理");
    d.Activate();
    auto* popup = new TskSkinPopupMenu(d.Form);
    for (const char* caption : {"打开", "-", "删除", "关闭"})
        AddMenuItem(*popup, caption);
    auto* tray = new TskTrayIcon(d.Form);
    d.Skin->SetTrayIcon(tray);
    ASSERT_NE(tray->PopupMenu, nullptr);
    TskSkinMenu* engine = d.Skin->SkinMenu();
    for (TPopupMenu* menu : {static_cast<TPopupMenu*>(popup), static_cast<TPopupMenu*>(tray->PopupMenu)}) {
        d.Edit->SetFocus();
        menu->Popup(300, 200);
        ASSERT_EQ(engine->PopupWindows.size(), 1u);
        TskSkinPopupWindow* w = engine->PopupWindows[0];
        EXPECT_NE(w->PopupRecord, nullptr);
        EXPECT_TRUE(d.Skin->MenuOpen());
        EXPECT_EQ(w->ActiveItem, 0);
        PostMessageW(d.Edit->Handle(), WM_KEYDOWN, VK_DOWN, 0);
        Application->ProcessMessages();
        EXPECT_EQ(w->ActiveItem, 2);   // past the separator
        PostMessageW(d.Edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        Application->ProcessMessages();
        EXPECT_TRUE(engine->PopupWindows.empty());
        EXPECT_FALSE(d.Skin->MenuOpen());
        EXPECT_TRUE(d.Keys.empty());
        PostMessageW(d.Edit->Handle(), WM_KEYDOWN, 'A', 0);   // the keys are the edit's again
        Application->ProcessMessages();
        EXPECT_EQ(d.Keys, std::vector<WORD>{'A'});
        d.Keys.clear();
    }
    EXPECT_EQ(popup->SkinData(), d.Data);
    // A menu that raises while it opens (an item's action update) leaves the keys to the form.
    TAction raising(nullptr);
    raising.OnUpdate = [](TObject*) { throw Exception("更新失败"); };
    AddMenuItem(*popup, "打印")->SetAction(&raising);
    EXPECT_THROW(popup->Popup(300, 200), Exception);
    EXPECT_TRUE(engine->PopupWindows.empty());
    EXPECT_FALSE(d.Skin->MenuOpen());
    PostMessageW(d.Edit->Handle(), WM_KEYDOWN, 'B', 0);
    Application->ProcessMessages();
    EXPECT_EQ(d.Keys, std::vector<WORD>{'B'});
    d.Skin->SetTrayIcon(nullptr);
    delete tray;
}

namespace {

TskSkinButtonObject* MenuButtonOf(SkinnedDialog& d)
{
    for (auto& o : d.Skin->Objects().Objects)
        if (o->IDName == "menubutton" && o->Kind() == TSkObjectKind::Button)
            return static_cast<TskSkinButtonObject*>(o.get());
    return nullptr;
}

// A left press and release on a frame object at a point of the window.
void ClickObject(SkinnedDialog& d, TPoint at)
{
    const LPARAM screen = d.ScreenPoint(at);
    SetCursorPos(GET_X_LPARAM(screen), GET_Y_LPARAM(screen));
    const LRESULT hit = d.HitTest(at.X, at.Y);
    SendMessageW(d.Handle(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), screen);
    SendMessageW(d.Handle(), WM_LBUTTONUP, 0, 0);
}

}  // namespace

// A menu item the application frees is no longer the button object's: a later press opens
// nothing and the button comes up again; an item that lives on opens as before.
TEST_F(SkinnedForms, AButtonObjectForgetsAFreedMenuItem)
{
    SkinnedDialog d("便签管理", true, {200, 150, 520, 390}, WithMenuButton);
    d.Activate();
    TskSkinButtonObject* button = MenuButtonOf(d);
    ASSERT_NE(button, nullptr);
    TskSkinMenu* engine = d.Skin->SkinMenu();
    auto* kept = new TPopupMenu(d.Form);
    AddMenuItem(*kept, "退出(&X)");
    for (bool freeRoot : {true, false}) {
        auto* menu = new TPopupMenu(nullptr);
        TMenuItem* sub = AddMenuItem(*menu, "新建(&N)");
        sub->Add(new TMenuItem(nullptr));
        button->SetMenuItem(freeRoot ? menu->Items() : sub);
        if (freeRoot)
            delete menu;   // the root and its items go
        else
            delete sub;   // only the item goes
        EXPECT_EQ(button->MenuItem(), nullptr) << freeRoot;
        Timers.Advance(50);
        ClickObject(d, Centre(button->ObjectRect));
        EXPECT_TRUE(engine->PopupWindows.empty());
        EXPECT_FALSE(button->Down());
        if (!freeRoot)
            delete menu;
    }
    // A button holding an item that lives on still opens it.
    button->SetMenuItem(kept->Items());
    Timers.Advance(50);
    ClickObject(d, Centre(button->ObjectRect));
    EXPECT_EQ(engine->PopupWindows.size(), 1u);
    engine->CloseMenu();
    EXPECT_FALSE(button->Down());
}

// A button object whose menu opens nothing here (an item without sub items, a skinned popup
// menu of no skinned form) comes up again: the next press opens the item once it has some.
TEST_F(SkinnedForms, AButtonObjectWhoseMenuOpensNothingComesUp)
{
    SkinnedDialog d("便签管理", true, {200, 150, 520, 390}, WithMenuButton);
    d.Activate();
    TskSkinButtonObject* button = MenuButtonOf(d);
    ASSERT_NE(button, nullptr);
    TskSkinMenu* engine = d.Skin->SkinMenu();
    TPopupMenu empty(nullptr);
    TskSkinPopupMenu formless(nullptr);
    AddMenuItem(formless, "退出(&X)");
    for (TPopupMenu* menu : {&empty, static_cast<TPopupMenu*>(&formless)}) {
        button->SetMenuItem(menu->Items());
        Timers.Advance(50);
        ClickObject(d, Centre(button->ObjectRect));
        EXPECT_TRUE(engine->PopupWindows.empty());
        EXPECT_FALSE(button->Down()) << (menu == &empty);
        EXPECT_FALSE(d.Skin->MenuOpen());
    }
    AddMenuItem(empty, "新建(&N)");
    button->SetMenuItem(empty.Items());
    Timers.Advance(50);
    ClickObject(d, Centre(button->ObjectRect));
    EXPECT_EQ(engine->PopupWindows.size(), 1u);
    EXPECT_TRUE(button->Down());
    engine->CloseMenu();
    EXPECT_FALSE(button->Down());
    button->SetMenuItem(nullptr);
}

// A skinned popup menu whose SkinForm is freed forgets it and opens through the form it
// belongs to.
TEST_F(SkinnedForms, ASkinnedPopupMenuForgetsAFreedSkinForm)
{
    SkinnedDialog d("节日管理");
    auto* other = new SkinnedDialog("便签管理");
    auto* popup = new TskSkinPopupMenu(d.Form);
    AddMenuItem(*popup, "打开(&O)");
    popup->SetSkinForm(other->Form);
    popup->Popup(300, 200);
    EXPECT_EQ(other->Skin->SkinMenu()->PopupWindows.size(), 1u);
    EXPECT_TRUE(d.Skin->SkinMenu()->PopupWindows.empty());
    other->Skin->SkinMenu()->CloseMenu();
    Application->ProcessMessages();
    delete other;
    EXPECT_EQ(popup->SkinForm(), nullptr);
    popup->Popup(300, 200);
    EXPECT_EQ(d.Skin->SkinMenu()->PopupWindows.size(), 1u);
    d.Skin->SkinMenu()->CloseMenu();
}

// An item of an open menu that the application frees closes the menu: a shown item, the
// whole menu, or a sibling freed by a submenu item's OnClick; the keys are the form's again.
TEST_F(SkinnedForms, AMenuWhoseItemIsFreedCloses)
{
    SkinnedDialog d("节日管理");
    d.Activate();
    d.Edit->SetFocus();
    TskSkinMenu* engine = d.Skin->SkinMenu();
    for (int freeing = 0; freeing < 3; ++freeing) {
        auto* popup = new TskSkinPopupMenu(d.Form);
        TMenuItem* sub = AddMenuItem(*popup, "打开(&O)");
        auto* leaf = new TMenuItem(nullptr);
        leaf->SetCaption("便签");
        sub->Add(leaf);
        TMenuItem* sibling = AddMenuItem(*popup, "关闭");
        popup->Popup(300, 200);
        PostMessageW(d.Edit->Handle(), WM_KEYDOWN, VK_RIGHT, 0);   // the submenu opens
        Application->ProcessMessages();
        ASSERT_EQ(engine->PopupWindows.size(), 2u);
        if (freeing == 0) {
            delete leaf;
        } else if (freeing == 1) {
            delete popup;
            popup = nullptr;
        } else {
            PostMessageW(d.Edit->Handle(), WM_KEYDOWN, VK_LEFT, 0);
            Application->ProcessMessages();
            sub->OnClick = [&sibling](TObject*) { delete std::exchange(sibling, nullptr); };
            PostMessageW(d.Edit->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
            Application->ProcessMessages();
        }
        EXPECT_TRUE(engine->PopupWindows.empty()) << freeing;
        EXPECT_FALSE(d.Skin->MenuOpen()) << freeing;
        Application->ProcessMessages();
        PostMessageW(d.Edit->Handle(), WM_KEYDOWN, 'A', 0);
        Application->ProcessMessages();
        EXPECT_EQ(d.Keys, std::vector<WORD>{'A'}) << freeing;
        d.Keys.clear();
        delete popup;
    }
}

// A form rolled up, then maximized or minimized, comes back unrolled at the height it had
// before rolling up.
TEST_F(SkinnedForms, RestoringARolledUpFormGivesBackItsHeight)
{
    for (int state : {2, 1}) {
        SkinnedDialog d("卷起后还原");
        ASSERT_NE(d.Form, Application->MainForm());
        d.Skin->SetBorderIcons(SkIcon(TskBorderIcon::biRollUp) | SkIcon(TskBorderIcon::biMaximize));
        const TRect start = d.WindowRect();
        d.Skin->SetRollUp(true);
        ASSERT_TRUE(d.Skin->RolledUp());
        d.Skin->SetWindowState(state);
        Application->ProcessMessages();
        d.Skin->SetWindowState(0);
        Application->ProcessMessages();
        EXPECT_FALSE(d.Skin->RolledUp()) << state;
        EXPECT_EQ(d.WindowRect(), start) << state;
        if (state == 2)
            SaveFormShot(d.Handle(), "form-restored-after-roll-up");
    }
}

// The roll-up icon taken away while the form is rolled up: the form still unrolls, and
// then stays unrolled.
TEST_F(SkinnedForms, ARolledUpFormUnrollsAfterItsRollUpIconWent)
{
    SkinnedDialog d("卷起图标");
    d.Skin->SetBorderIcons(SkIcon(TskBorderIcon::biRollUp) | SkIcon(TskBorderIcon::biMaximize));
    const TRect start = d.WindowRect();
    d.Skin->SetRollUp(true);
    ASSERT_TRUE(d.Skin->RolledUp());
    d.Skin->SetBorderIcons(SkIcon(TskBorderIcon::biMaximize));
    d.Skin->SetRollUp(false);
    EXPECT_FALSE(d.Skin->RolledUp());
    EXPECT_EQ(d.WindowRect(), start);
    d.Skin->SetRollUp(true);
    EXPECT_FALSE(d.Skin->RolledUp());
}

// A handler of the roll-up that sets the border icons replaces the objects while the roll-up
// button is still at work on its release: the button finishes as itself.
TEST_F(SkinnedForms, BorderIconsSetByAHandlerOfAButtonsCommand)
{
    SkinnedDialog d("图标处理");
    d.Activate();
    const TskBorderIcons icons = SkIcon(TskBorderIcon::biRollUp) | SkIcon(TskBorderIcon::biMaximize);
    d.Skin->SetBorderIcons(icons);
    std::vector<std::string> ups;
    d.Skin->OnMouseUpEvent = [&](const TSkObjectMouseArgs& a, TShiftState) { ups.push_back(a.Name); };
    d.Skin->OnChangeRollUpState = [&](TObject*) {
        d.Skin->SetBorderIcons(icons);
        std::vector<std::unique_ptr<std::string>> reuse;   // takes the freed memory, if any
        for (int k = 0; k < 64; ++k)
            reuse.push_back(std::make_unique<std::string>(120, '\xEE'));
    };
    const TPoint at = Centre(ButtonOf(*d.Skin, cmRollUp)->ObjectRect);
    SendMessageW(d.Handle(), WM_NCLBUTTONDOWN, 19, d.ScreenPoint(at));
    SendMessageW(d.Handle(), WM_NCLBUTTONUP, 19, d.ScreenPoint(at));
    EXPECT_TRUE(d.Skin->RolledUp());
    EXPECT_EQ(ups, std::vector<std::string>{"rollupbutton"});
    SendMessageW(d.Handle(), WM_NCLBUTTONDOWN, 19, d.ScreenPoint(at));
    SendMessageW(d.Handle(), WM_NCLBUTTONUP, 19, d.ScreenPoint(at));
    EXPECT_FALSE(d.Skin->RolledUp());
    // Replaced while pressed, the button gives the mouse back.
    SendMessageW(d.Handle(), WM_NCLBUTTONDOWN, 19, d.ScreenPoint(at));
    ASSERT_EQ(GetCapture(), d.Handle());
    d.Skin->SetBorderIcons(icons);
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessageW(d.Handle(), WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(d.Skin->RolledUp());
}
