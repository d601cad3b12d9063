#include <gtest/gtest.h>

#include "framework/base/FakeTimerService.h"
#include "framework/win/Application.h"
#include "tests/framework/WinTestUtil.h"

namespace {

// A hint window class of the tests' own, as a skin would install one.
class TRecordingHintWindow : public THintWindow {
public:
    explicit TRecordingHintWindow(TComponent* owner) : THintWindow(owner) {}
    void ActivateHint(const TRect& r, const std::string& hint) override {
        Shown.push_back(hint);
        THintWindow::ActivateHint(r, hint);
    }
    std::vector<std::string> Shown;
};

class TSquare : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
};

// Hint timing runs on a fake timer service; mouse messages are posted to our windows and
// go through the message loop.
class HintTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        SetCursorPos(1270, 790);   // the mouse is driven by posted messages: the real one stays away
        FReal = &CurrentTimerService();
        SetTimerService(&Timers);
        Application->SetHintWindowClass([](TComponent* owner) { return new TRecordingHintWindow(owner); });
        Application->SetShowHint(true);
        Form = NewForm<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 200, 100);
        Button = new TCustomControl(Form);
        Button->SetParent(Form);
        Button->SetBounds(10, 10, 50, 30);
        Button->SetHint("新增便签|新增一条便签");
        Button->SetShowHint(true);
        Square = new TSquare(Form);
        Square->SetParent(Form);
        Square->SetBounds(100, 10, 50, 30);
        Square->SetHint("查询");
        Square->SetShowHint(true);
        Form->Show();
    }
    void TearDown() override {
        Application->OnShowHint = nullptr;
        delete Form;
        Form = nullptr;
        Application->SetShowHint(false);
        SetTimerService(FReal);
        Application->SetHintWindowClass([](TComponent* owner) { return new THintWindow(owner); });
    }
    void Post(HWND hwnd, UINT msg, int x = 0, int y = 0) {
        PostMessageW(hwnd, msg, 0, MAKELPARAM(x, y));
        Application->ProcessMessages();
    }
    TRecordingHintWindow* Hint() { return static_cast<TRecordingHintWindow*>(Application->HintWindow()); }
    bool HintVisible() { return Hint() && IsWindowVisible(Hint()->Handle()); }

    FakeTimerService Timers;
    TForm* Form = nullptr;
    TCustomControl* Button = nullptr;
    TSquare* Square = nullptr;

private:
    TimerService* FReal = nullptr;
};

TEST_F(HintTest, ShowsTheShortPartAfterThePauseAndHidesOnLeave) {
    Post(Button->Handle(), WM_MOUSEMOVE, 5, 5);
    Timers.Advance(Application->HintPause - 1);
    EXPECT_FALSE(HintVisible());
    Post(Button->Handle(), WM_MOUSEMOVE, 6, 5);   // resting on the same control keeps the count
    Timers.Advance(1);
    ASSERT_TRUE(HintVisible());
    EXPECT_EQ(Hint()->Shown, std::vector<std::string>{"新增便签"});
    EXPECT_EQ(Hint()->Caption(), "新增便签");
    Post(Button->Handle(), WM_MOUSELEAVE);
    EXPECT_FALSE(HintVisible());
    Timers.Advance(10000);
    EXPECT_EQ(Hint()->Shown.size(), 1u);
}

TEST_F(HintTest, HidePauseAndShortPauseForTheNextControl) {
    Post(Button->Handle(), WM_MOUSEMOVE, 5, 5);
    Timers.Advance(Application->HintPause);
    ASSERT_TRUE(HintVisible());
    Post(Form->Handle(), WM_MOUSEMOVE, 110, 15);   // onto the windowless square
    EXPECT_FALSE(HintVisible());
    Timers.Advance(Application->HintShortPause);
    ASSERT_TRUE(HintVisible());
    EXPECT_EQ(Hint()->Caption(), "查询");
    Timers.Advance(Application->HintHidePause);
    EXPECT_FALSE(HintVisible());
    Post(Form->Handle(), WM_MOUSEMOVE, 111, 15);   // still on it: the hint stays away
    Timers.Advance(10000);
    EXPECT_FALSE(HintVisible());
    Post(Form->Handle(), WM_MOUSEMOVE, 180, 80);   // bare form: nothing pending
    Post(Button->Handle(), WM_MOUSEMOVE, 5, 5);
    Timers.Advance(Application->HintPause);
    EXPECT_TRUE(HintVisible());
    Post(Button->Handle(), WM_LBUTTONDOWN, 5, 5);   // a click hides it
    EXPECT_FALSE(HintVisible());
}

TEST_F(HintTest, HintClassIsSwappableAndShowHintOffStopsHints) {
    Post(Button->Handle(), WM_MOUSEMOVE, 5, 5);
    Timers.Advance(Application->HintPause);
    ASSERT_TRUE(HintVisible());
    Application->SetShowHint(false);
    EXPECT_EQ(Application->HintWindow(), nullptr);
    Post(Form->Handle(), WM_MOUSEMOVE, 110, 15);
    Timers.Advance(10000);
    EXPECT_EQ(Application->HintWindow(), nullptr);
    Application->SetShowHint(true);
    int made = 0;
    Application->SetHintWindowClass([&](TComponent* owner) {
        ++made;
        return new TRecordingHintWindow(owner);
    });
    Post(Button->Handle(), WM_MOUSEMOVE, 5, 5);
    Timers.Advance(Application->HintPause);
    EXPECT_EQ(made, 1);
    EXPECT_TRUE(HintVisible());
}

TEST_F(HintTest, ControlFreedWhileItsHintIsPendingOrShown) {
    Post(Form->Handle(), WM_MOUSEMOVE, 110, 15);
    delete Square;
    Timers.Advance(10000);   // nothing to show, nothing touched
    EXPECT_FALSE(HintVisible());
    Post(Button->Handle(), WM_MOUSEMOVE, 5, 5);
    Timers.Advance(Application->HintPause);
    ASSERT_TRUE(HintVisible());
    delete Button;
    EXPECT_FALSE(HintVisible());
    Timers.Advance(10000);
}

// The mouse goes from the form onto a windowed child: the form's leave, which may come
// after the child's first move, leaves the child's hint alone; off the form, a windowless
// control's hint goes.
TEST_F(HintTest, TheParentsLeaveEndsOnlyAWindowlessControlsHint) {
    Post(Form->Handle(), WM_MOUSEMOVE, 180, 80);
    PostMessageW(Button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Post(Form->Handle(), WM_MOUSELEAVE);
    Timers.Advance(Application->HintPause);
    ASSERT_TRUE(HintVisible());
    EXPECT_EQ(Hint()->Caption(), "新增便签");
    Post(Form->Handle(), WM_MOUSEMOVE, 110, 15);
    Post(Form->Handle(), WM_MOUSELEAVE);
    Timers.Advance(10000);
    EXPECT_EQ(Hint()->Shown, std::vector<std::string>{"新增便签"});
}

// A hinted form closed with caFree: the deferred delete clears the hint's link to it.
TEST_F(HintTest, DeferredDeleteOfAHintedForm) {
    Form->SetHint("时钟");
    Form->SetShowHint(true);
    const int before = Screen->FormCount();
    Post(Form->Handle(), WM_MOUSEMOVE, 180, 80);
    Form->Release();
    ASSERT_TRUE(PumpUntil([&] { return Screen->FormCount() == before - 1; }));
    Form = nullptr;
    Application->CancelHint();
    Timers.Advance(10000);
    EXPECT_FALSE(HintVisible());
}

TEST_F(HintTest, FormFreedBeforeItsDeferredDeleteIsFreedOnce) {
    const int before = Screen->FormCount();
    Form->SetHint("时钟");
    Form->SetShowHint(true);
    Post(Form->Handle(), WM_MOUSEMOVE, 180, 80);
    Form->Release();
    Application->CancelHint();   // the hint lets go of the form first
    delete Form;
    Form = nullptr;
    EXPECT_EQ(Screen->FormCount(), before - 1);
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(Screen->FormCount(), before - 1);
}

// OnShowHint may refuse a hint, or change its text, place and hide timeout; controls with
// hints of their own make their window from the same class.
TEST_F(HintTest, ShowHintEventRefusesOrChangesTheHint) {
    int asked = 0;
    Application->OnShowHint = [&](std::string& text, bool& canShow, THintInfo& info) {
        ++asked;
        if (info.HintControl == Square) {
            canShow = false;
            return;
        }
        EXPECT_EQ(text, "新增便签");
        text = "新增便签 (Ctrl+N)";
        info.HintPos = {300, 200};
        info.HideTimeout = 100;
    };
    Post(Form->Handle(), WM_MOUSEMOVE, 110, 15);
    Timers.Advance(Application->HintPause);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(HintVisible());
    Post(Button->Handle(), WM_MOUSEMOVE, 5, 5);
    Timers.Advance(Application->HintPause);
    ASSERT_TRUE(HintVisible());
    EXPECT_EQ(Hint()->Caption(), "新增便签 (Ctrl+N)");
    EXPECT_EQ(Hint()->Left(), 300);
    EXPECT_EQ(Hint()->Top(), 200);
    Timers.Advance(100);
    EXPECT_FALSE(HintVisible());

    std::unique_ptr<THintWindow> own(Application->CreateHintWindow(nullptr));
    EXPECT_NE(dynamic_cast<TRecordingHintWindow*>(own.get()), nullptr);
}

}  // namespace
