#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "framework/base/FakeTimerService.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Application.h"
#include "framework/win/StdCtrls.h"
#include "skin/core/SkBmp.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/win/SkBitmapBridge.h"
#include "skin/win/SkDib.h"
#include "skin/win/SkSystem.h"
#include "skin/win/SkinCtrls.h"
#include "skin/win/SkinForm.h"
#include "skin/win/SkinResource.h"
#include "tests/framework/RealInput.h"
#include "tests/framework/WinTestUtil.h"

namespace {

// A list window of the organizer in small: skinned frame, a group box and three buttons.
struct SkinnedDialog {
    SkinnedDialog()
    {
        Form = NewForm<TForm>(nullptr);
        Form->SetCaption("查询备忘录");
        Form->SetBounds(220, 160, 360, 240);
        Stored = new TskCompressedStoredSkin(Form);
        Data = new TskSkinData(Form);
        EXPECT_TRUE(LoadProgramSkin(*Stored));
        Data->SetCompressedStoredSkin(Stored);
        Skin = new TskSkinForm(Form);
        for (TFont* f : {&Skin->DefCaptionFont(), &Skin->DefInActiveCaptionFont()}) {
            f->SetName("宋体");
            f->SetHeight(-12);
            f->SetCharset(GB2312_CHARSET);
        }
        Skin->SetSkinData(Data);
        Group = new TskSkinGroupBox(Form);
        Group->SetParent(Form);
        Group->SetCaption("查询条件");
        Group->SetSkinDataName("panel");
        Group->SetCaptionMode(false);
        Group->SetBounds(8, 8, 330, 110);
        Label = new TLabel(Form);
        Label->SetParent(Group);
        Label->SetCaption("开始日期：");
        Label->SetBounds(16, 20, 80, 16);
        const char* captions[] = {"查询", "全部", "关闭"};
        for (int i = 0; i < 3; ++i) {
            auto* b = new TskSkinButton(Form);
            b->SetParent(Form);
            b->SetSkinDataName("resizebutton");
            b->SetCaption(captions[i]);
            b->SetBounds(40 + i * 96, 140, 70, 24);
            b->OnClick = [this](TObject*) { ++Clicks; };
            Buttons.push_back(b);
        }
        Group->SetSkinData(Data);
        for (TskSkinButton* b : Buttons)
            b->SetSkinData(Data);
        Form->Show();
        Application->ProcessMessages();
    }
    ~SkinnedDialog() { delete Form; }

    void Press(TskSkinButton* b, TPoint down, TPoint up)
    {
        SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.X, down.Y));
        SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(up.X), static_cast<WORD>(up.Y)));
    }

    TForm* Form = nullptr;
    TskCompressedStoredSkin* Stored = nullptr;
    TskSkinData* Data = nullptr;
    TskSkinForm* Skin = nullptr;
    TskSkinGroupBox* Group = nullptr;
    TLabel* Label = nullptr;
    std::vector<TskSkinButton*> Buttons;
    int Clicks = 0;
};

void SaveShot(HWND window, const char* name)
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

TSkBitmap Render(TWinControl* c)
{
    TBitmap b(c->Width(), c->Height());
    c->PaintTo(b.Canvas().Handle(), 0, 0);
    return SkBitmapFromBitmap(b);
}

class SkinnedControls : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        EnsureApplication();
        InstallSkinMessageBroadcast();
    }
    void SetUp() override
    {
        FReal = &CurrentTimerService();
        SetTimerService(&Timers);
        // Away from every window of the tests: a test's real mouse input may have left the
        // mouse where the next test's buttons come, which then start hovered.
        SetCursorPos(1270, 790);
        Application->ProcessMessages();
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

}  // namespace

TEST_F(SkinnedControls, ButtonsAndGroupBoxDrawFromTheSkin)
{
    SkinnedDialog d;
    TskSkinButton* b = d.Buttons[0];
    ASSERT_GE(b->SkinIndex(), 0);
    EXPECT_EQ(b->ResizeMode(), 1);
    EXPECT_EQ(b->Width(), 70);
    EXPECT_EQ(b->Height(), 24);
    EXPECT_EQ(b->NewFrame().ClientRect, (TRect{3, 3, 67, 21}));
    const TSkBitmap& art = *d.Data->ActivePicture(0);
    const TSkBitmap face = Render(b);
    EXPECT_EQ(SkRgbPart(face.Pixel(0, 0)), SkRgbPart(art.Pixel(3, 240)));
    EXPECT_EQ(SkRgbPart(face.Pixel(69, 23)), SkRgbPart(art.Pixel(26, 260)));
    // The group box of the forms keeps its caption text out: its skin has no caption rectangle.
    ASSERT_GE(d.Group->SkinIndex(), 0);
    EXPECT_TRUE(d.Group->CaptionRect().Width() < 1);
    const TSkBitmap box = Render(d.Group);
    EXPECT_EQ(SkRgbPart(box.Pixel(0, 0)), SkRgbPart(art.Pixel(64, 0)));
    TRect inner;
    d.Group->AdjustClientRect(inner);
    EXPECT_EQ(inner, (TRect{3, 3, 327, 107}));
    // Held smaller by its constraints, its frame and its aligned child take the size it keeps.
    auto* fill = new TCustomControl(d.Form);
    fill->SetParent(d.Group);
    fill->SetAlign(alClient);
    EXPECT_EQ(fill->BoundsRect(), (TRect{3, 3, 327, 107}));
    d.Group->Constraints().SetMaxWidth(150);
    d.Group->Constraints().SetMaxHeight(80);
    d.Group->SetBounds(8, 8, 194, 94);
    EXPECT_EQ(d.Group->BoundsRect(), Bounds(8, 8, 150, 80));
    EXPECT_EQ(d.Group->NewFrame().ClientRect, (TRect{3, 3, 147, 77}));
    EXPECT_EQ(fill->BoundsRect(), (TRect{3, 3, 147, 77}));
    delete fill;
    d.Buttons[2]->SetEnabled(false);
    SaveShot(d.Form->Handle(), "skinned-controls");
}

TEST_F(SkinnedControls, ClicksOnReleaseInsideOnlyAndSetTheModalResult)
{
    SkinnedDialog d;
    TskSkinButton* b = d.Buttons[0];
    b->ModalResult = mrOk;
    d.Press(b, {10, 10}, {10, 10});
    EXPECT_EQ(d.Clicks, 1);
    EXPECT_EQ(d.Form->ModalResult(), mrOk);
    d.Form->SetModalResult(mrNone);
    d.Press(b, {10, 10}, {200, 10});   // released outside
    EXPECT_EQ(d.Clicks, 1);
    EXPECT_FALSE(b->Down());

    TskSkinButton* plain = d.Buttons[1];
    plain->SetCanFocused(false);
    plain->ModalResult = mrCancel;
    d.Press(plain, {5, 5}, {5, 5});
    EXPECT_EQ(d.Clicks, 2);
    EXPECT_EQ(d.Form->ModalResult(), mrNone);
    EXPECT_NE(GetFocus(), plain->Handle());
}

TEST_F(SkinnedControls, RepeatButtonClicksFromItsTimerAndOnRelease)
{
    SkinnedDialog d;
    TskSkinButton* b = d.Buttons[0];
    b->RepeatMode = true;
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    Timers.Advance(350);
    EXPECT_EQ(d.Clicks, 3);
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(d.Clicks, 4);
    Timers.Advance(500);
    EXPECT_EQ(d.Clicks, 4);
}

// A press dragged off the button and released outside it leaves the button up: the release
// comes back to it, and hovering back neither shows it pressed nor lets it repeat.
TEST_F(SkinnedControls, AReleaseOffTheButtonLeavesItUp)
{
    SkinnedDialog d;
    TskSkinButton* b = d.Buttons[0];
    b->RepeatMode = true;
    RECT r{};
    GetWindowRect(b->Handle(), &r);
    const TPoint on{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const TPoint off{r.left - 120, on.Y};   // beside the form
    struct Away {
        ~Away() { SetCursorPos(1270, 790); }   // the later tests find the mouse off their windows
    } away;
    MouseAt(on);
    ASSERT_TRUE(PumpUntil([&] { return b->Hovered(); }));
    MouseAt(on, MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntil([&] { return b->Down(); }));
    MouseAt(off);
    EXPECT_TRUE(PumpUntil([&] { return !b->Hovered(); }));
    MouseAt(off, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return !b->Down(); }));
    MouseAt(on);
    ASSERT_TRUE(PumpUntil([&] { return b->Hovered(); }));
    Timers.Advance(750);
    EXPECT_FALSE(b->Down());
    EXPECT_NE(b->CurrentLook(), TSkButtonLook::Down);
    EXPECT_EQ(d.Clicks, 0);
    // Pressed and released on it, it clicks once.
    MouseAt(on, MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntil([&] { return b->Down(); }));
    MouseAt(on, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return !b->Down(); }));
    EXPECT_EQ(d.Clicks, 1);
    // A capture taken away during a press lets the button up: no repeat, no click.
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(GetCapture(), b->Handle());
    SetCapture(d.Form->Handle());
    EXPECT_FALSE(b->Down());
    ReleaseCapture();
    Timers.Advance(300);
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(d.Clicks, 1);
    // A drag that starts from it takes the press too: up at once, no repeat, and the drop
    // that ends the drag is no click.
    b->SetDragMode(dmAutomatic);
    bool started = false, ended = false;
    b->OnStartDrag = [&](TObject*) { started = true; };
    b->OnEndDrag = [&](TObject*, TObject*, int, int) { ended = true; };
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_TRUE(b->Down());
    SendMessageW(b->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 40));
    ASSERT_TRUE(started);
    EXPECT_FALSE(b->Down());
    Timers.Advance(300);
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
    EXPECT_TRUE(ended);
    Timers.Advance(300);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(d.Clicks, 1);
}

TEST_F(SkinnedControls, GroupButtonsReleaseEachOther)
{
    SkinnedDialog d;
    for (TskSkinButton* b : d.Buttons)
        b->SetGroupIndex(1);
    EXPECT_FALSE(d.Buttons[0]->CanFocused());
    d.Press(d.Buttons[0], {5, 5}, {5, 5});
    d.Press(d.Buttons[1], {5, 5}, {5, 5});
    EXPECT_FALSE(d.Buttons[0]->Down());
    EXPECT_TRUE(d.Buttons[1]->Down());
    EXPECT_EQ(d.Clicks, 2);
}

TEST_F(SkinnedControls, RolledUpPanelGivesBackItsHeightAndTheVisibleChildren)
{
    SkinnedDialog d;
    TskSkinPanel* p = d.Group;
    auto* hidden = new TLabel(d.Form);
    hidden->SetParent(p);
    hidden->SetVisible(false);
    p->RollUpMode = true;
    p->SetRollUpState(true);
    EXPECT_EQ(p->Height(), 110 - 104);
    EXPECT_FALSE(d.Label->Visible());
    p->SetRollUpState(false);
    EXPECT_EQ(p->Height(), 110);
    EXPECT_EQ(p->RealHeight, -1);
    EXPECT_TRUE(d.Label->Visible());
    EXPECT_FALSE(hidden->Visible());
}

// A child freed while its panel is rolled up leaves the panel's list: the unroll shows the
// others and touches nothing freed.
TEST_F(SkinnedControls, AChildFreedWhileThePanelIsRolledUpIsForgotten)
{
    SkinnedDialog d;
    TskSkinPanel* p = d.Group;
    p->RollUpMode = true;
    std::vector<TCustomControl*> freed;
    for (int i = 0; i < 8; ++i) {
        auto* c = new TCustomControl(d.Form);
        c->SetParent(p);
        c->SetBounds(100 + i * 20, 40, 16, 16);
        freed.push_back(c);
    }
    p->SetRollUpState(true);
    EXPECT_FALSE(d.Label->Visible());
    for (TCustomControl* c : freed)
        delete c;
    p->SetRollUpState(false);
    EXPECT_TRUE(d.Label->Visible());
    EXPECT_EQ(p->Height(), 110);
    EXPECT_EQ(p->ControlCount(), 1);
    // Rolled up and down again, the panel keeps working with what is left.
    p->SetRollUpState(true);
    EXPECT_FALSE(d.Label->Visible());
    p->SetRollUpState(false);
    EXPECT_TRUE(d.Label->Visible());
}

// "&&" is a literal ampersand: the accelerator is the letter after the single "&".
TEST_F(SkinnedControls, TheAcceleratorSkipsADoubledAmpersand)
{
    SkinnedDialog d;
    TskSkinButton* b = d.Buttons[0];
    const std::pair<const char*, std::vector<std::pair<WPARAM, int>>> cases[] = {
        {"R&&D &Go", {{'D', 0}, {'G', 1}}},
        {"&&Save", {{'S', 0}}},
        {"A&&B", {{'B', 0}, {'A', 0}}},
        {"&Open", {{'O', 1}, {'P', 0}}},
    };
    for (const auto& [caption, keys] : cases)
        for (const auto& [key, clicks] : keys) {
            b->SetCaption(caption);
            d.Clicks = 0;
            const LRESULT answer = b->Perform(CM_DIALOGCHAR, key);
            EXPECT_EQ(d.Clicks, clicks) << caption << " " << char(key);
            EXPECT_EQ(answer, clicks) << caption << " " << char(key);
        }
}

// A button without a skin record draws its default look in DefaultFont: a change of that
// font, however made, repaints it.
TEST_F(SkinnedControls, ADefaultFontChangeRepaintsAButtonWithoutARecord)
{
    SkinnedDialog d;
    auto* b = new TskSkinButton(d.Form);
    b->SetParent(d.Form);
    b->SetCaption("默认");
    b->SetBounds(140, 176, 70, 24);
    Application->ProcessMessages();
    ASSERT_LT(b->SkinIndex(), 0);
    UpdateWindow(b->Handle());
    RECT pending{};
    ASSERT_FALSE(GetUpdateRect(b->Handle(), &pending, FALSE));
    b->DefaultFont().SetColor(clRed);
    EXPECT_TRUE(GetUpdateRect(b->Handle(), &pending, FALSE));
    UpdateWindow(b->Handle());
    b->DefaultFont().SetHeight(-16);
    EXPECT_TRUE(GetUpdateRect(b->Handle(), &pending, FALSE));
    const TSkBitmap look = Render(b);
    int red = 0;
    for (int y = 0; y < look.Height(); ++y)
        for (int x = 0; x < look.Width(); ++x)
            red += SkRgbPart(look.Pixel(x, y)) == SkRgbPart(SkRgb(255, 0, 0));
    EXPECT_GT(red, 5);
    // A skinned button keeps its skin's font: no repaint for the default one.
    TskSkinButton* skinned = d.Buttons[0];
    UpdateWindow(skinned->Handle());
    skinned->DefaultFont().SetColor(clRed);
    EXPECT_FALSE(GetUpdateRect(skinned->Handle(), &pending, FALSE));
}

TEST_F(SkinnedControls, ZeroSizeAndTinyControlsPaintSafely)
{
    SkinnedDialog d;
    TskSkinButton* b = d.Buttons[0];
    for (int w : {0, 1, 4, 10})
        for (int h : {0, 1, 4, 10}) {
            b->SetBounds(0, 0, w, h);
            EXPECT_EQ(b->Width(), w);
            if (w > 0 && h > 0)
                Render(b);
            RedrawWindow(b->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
}

// A label on the form under an alpha-blended control shows through it.
TEST_F(SkinnedControls, BackgroundIncludesWindowlessSiblings)
{
    EnsureApplication();
    TForm* form = NewForm<TForm>(nullptr);
    form->SetBounds(100, 100, 200, 120);
    form->SetColor(clWhite);
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetColor(static_cast<TColor>(0x0000FF));
    label->SetTransparent(false);
    label->SetCaption(" ");
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 40, 30);
    auto* panel = new TskSkinPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 40, 30);
    form->Show();
    Application->ProcessMessages();
    TBitmap back(40, 30);
    PaintControlBackground(panel->Handle(), back.Canvas().Handle());
    const TSkBitmap seen = SkBitmapFromBitmap(back);
    EXPECT_EQ(SkRgbPart(seen.Pixel(5, 5)), SkRgbPart(SkRgb(255, 0, 0)));
    delete form;
}

// Enter goes to the focused push button, skinned or a system one, before the default button
// of the other kind; with the focus elsewhere the default takes it, and Escape the cancel one.
TEST_F(SkinnedControls, EnterClicksTheFocusedButtonOfEitherKind)
{
    SkinnedDialog d;
    auto* plain = new TButton(d.Form);
    plain->SetParent(d.Form);
    plain->SetBounds(20, 180, 80, 24);
    auto* edit = new TEdit(d.Form);
    edit->SetParent(d.Form);
    edit->SetBounds(120, 180, 80, 20);
    std::vector<int> clicks(4);
    for (int i = 0; i < 3; ++i)
        d.Buttons[i]->OnClick = [&clicks, i](TObject*) { ++clicks[size_t(i)]; };
    plain->OnClick = [&clicks](TObject*) { ++clicks[3]; };
    d.Buttons[2]->Cancel = true;
    auto press = [&](TWinControl* focus, WPARAM key) {
        focus->SetFocus();
        Application->ProcessMessages();
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
        Application->ProcessMessages();
        return std::exchange(clicks, std::vector<int>(4));
    };
    using Clicks = std::vector<int>;
    d.Buttons[0]->SetDefault(true);   // a skinned default, before the system button
    EXPECT_EQ(press(plain, VK_RETURN), (Clicks{0, 0, 0, 1}));
    EXPECT_EQ(press(d.Buttons[1], VK_RETURN), (Clicks{0, 1, 0, 0}));
    EXPECT_EQ(press(d.Buttons[1], VK_SPACE), (Clicks{0, 1, 0, 0}));
    EXPECT_EQ(press(edit, VK_RETURN), (Clicks{1, 0, 0, 0}));
    EXPECT_EQ(press(edit, VK_ESCAPE), (Clicks{0, 0, 1, 0}));
    d.Buttons[1]->SetFocus();
    d.Buttons[0]->SetDefault(true);   // made default while another button has the focus
    EXPECT_EQ(press(d.Buttons[1], VK_RETURN), (Clicks{0, 1, 0, 0}));
    d.Buttons[0]->SetDefault(false);
    plain->SetDefault(true);   // a system default
    EXPECT_EQ(press(d.Buttons[1], VK_RETURN), (Clicks{0, 1, 0, 0}));
    EXPECT_EQ(press(edit, VK_RETURN), (Clicks{0, 0, 0, 1}));
}

// A default button shows itself hovered while a non-button control (a framework edit) has the
// focus, and goes back to its normal look when a push button takes the focus.
TEST_F(SkinnedControls, DefaultButtonShowsHoveredWhileAnEditHasTheFocus)
{
    SkinnedDialog d;
    auto* edit = new TEdit(d.Form);
    edit->SetParent(d.Form);
    edit->SetBounds(120, 180, 80, 20);
    auto* plain = new TButton(d.Form);
    plain->SetParent(d.Form);
    plain->SetBounds(20, 180, 80, 24);
    TskSkinButton* b = d.Buttons[0];
    edit->SetFocus();
    Application->ProcessMessages();
    ASSERT_EQ(GetFocus(), edit->Handle());
    const TSkBitmap normal = Render(b);
    b->SetDefault(true);
    Application->ProcessMessages();
    EXPECT_NE(Render(b), normal);
    plain->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(Render(b), normal);
    edit->SetFocus();
    Application->ProcessMessages();
    EXPECT_NE(Render(b), normal);
}

namespace {

// The skin's cursors are screen numbers from 1 on: the record's cursorindex + 1, 0 (the
// default cursor) without a record; with no cursor of that number the arrow shows.
TEST_F(SkinnedControls, UseSkinCursorTakesTheRecordsCursorNumber)
{
    SkinnedDialog d;
    TskSkinButton* b = d.Buttons[0];
    ASSERT_GE(b->SkinIndex(), 0);
    d.Data->CtrlList[static_cast<size_t>(b->SkinIndex())]->CursorIndex = 3;   // test-only skin data
    b->SetCursor(crHandPoint);
    b->ChangeSkin();
    EXPECT_EQ(b->Cursor(), crHandPoint);   // not asked to
    b->UseSkinCursor = true;
    b->ChangeSkin();
    EXPECT_EQ(b->Cursor(), 4);
    EXPECT_EQ(Screen->Cursors(b->Cursor()), LoadCursorW(nullptr, IDC_ARROW));
    b->SetSkinDataName("no such record");
    b->ChangeSkin();
    EXPECT_EQ(b->Cursor(), crDefault);
}

}  // namespace

// ButtonClick: the modal result when CanFocused, then OnClick of its own, or the action
// (also when OnClick is the action's own handler), or OnClick without an action.
TEST_F(SkinnedControls, ButtonClickRunsOnClickOrTheActionAndSetsTheModalResult)
{
    enum OnClickKind { none, own, actions };
    struct Row {
        bool canFocused;
        OnClickKind onClick;
        bool withAction;
        int clicks, executes;
        TModalResult result;
    };
    const Row rows[] = {
        {true, own, false, 1, 0, mrOk},     {true, none, false, 0, 0, mrOk},   {true, none, true, 0, 1, mrOk},
        {true, own, true, 1, 0, mrOk},      {true, actions, true, 0, 1, mrOk}, {false, actions, true, 0, 1, mrNone},
        {false, own, true, 1, 0, mrNone},   {false, own, false, 1, 0, mrNone},
    };
    SkinnedDialog d;
    TskSkinButton* b = d.Buttons[0];
    b->ModalResult = mrOk;
    int clicks = 0, executes = 0;
    auto* action = new TAction(d.Form);
    const TNotifyHandler execute([&](TObject*) { ++executes; });
    action->OnExecute = execute;
    for (const Row& row : rows) {
        const int idx = static_cast<int>(&row - rows);
        clicks = executes = 0;
        d.Form->SetModalResult(mrNone);
        b->SetCanFocused(row.canFocused);
        b->OnClick = nullptr;
        if (row.onClick == own)
            b->OnClick = [&](TObject*) { ++clicks; };
        if (row.onClick == actions)
            b->OnClick = execute;
        b->SetAction(row.withAction ? action : nullptr);
        b->ButtonClick();
        EXPECT_EQ(clicks, row.clicks) << idx;
        EXPECT_EQ(executes, row.executes) << idx;
        EXPECT_EQ(d.Form->ModalResult(), row.result) << idx;
    }
}

// The skinned button shows its action (a button of a group shows Checked as Down) and a
// real click (SendInput) on it runs the action.
TEST_F(SkinnedControls, AnActionShowsOnTheButtonAndARealClickRunsIt)
{
    SkinnedDialog d;
    TskSkinButton* b = d.Buttons[0];
    b->OnClick = nullptr;
    auto* action = new TAction(d.Form);
    action->SetCaption("保存");
    int executes = 0;
    action->OnExecute = [&](TObject*) { ++executes; };
    b->SetAction(action);
    EXPECT_EQ(b->Caption(), "保存");
    action->SetEnabled(false);
    EXPECT_FALSE(b->Enabled());
    action->SetEnabled(true);
    action->SetHint("保存设置");
    EXPECT_EQ(b->Hint(), "保存设置");
    d.Buttons[2]->SetGroupIndex(1);
    d.Buttons[2]->SetAction(action);
    action->SetChecked(true);
    EXPECT_TRUE(d.Buttons[2]->Down());
    EXPECT_FALSE(b->Down());   // not in a group
    action->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(d.Buttons[2]->Handle()));
    action->SetVisible(true);

    SetForegroundWindow(d.Form->Handle());
    ClickAt(b->ClientToScreen({20, 12}));
    EXPECT_TRUE(PumpUntil([&] { return executes == 1; }, 3000));
    EXPECT_EQ(d.Clicks, 0);
    SaveShot(d.Form->Handle(), "skinned-button-action");
}

// An action that frees the clicked button (a mouse release, Enter, or a released space
// bar) leaves the button's handlers untouched afterwards: its later events do not fire.
TEST_F(SkinnedControls, AClickThatFreesTheButtonTouchesItNoMore)
{
    enum Way { release, enter, space };
    for (Way way : {release, enter, space}) {
        SkinnedDialog d;
        auto* b = new TskSkinButton(d.Form);
        b->SetParent(d.Form);
        b->SetBounds(40, 180, 70, 24);
        auto* action = new TAction(d.Form);
        int executes = 0, after = 0;
        action->OnExecute = [&](TObject*) {
            ++executes;
            delete b;
        };
        b->SetAction(action);
        b->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++after; };
        b->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++after; };
        b->OnKeyUp = [&](TObject*, WORD&, TShiftState) { ++after; };
        const HWND h = b->Handle();
        b->SetFocus();
        if (way == release)
            d.Press(b, {10, 10}, {10, 10});
        if (way == enter)
            SendMessageW(h, WM_KEYDOWN, VK_RETURN, 0);
        if (way == space) {
            b->OnKeyDown = nullptr;
            SendMessageW(h, WM_KEYDOWN, VK_SPACE, 0);
            SendMessageW(h, WM_KEYUP, VK_SPACE, 0);
        }
        EXPECT_EQ(executes, 1) << way;
        EXPECT_EQ(after, 0) << way;
        EXPECT_FALSE(IsWindow(h)) << way;
    }
}
