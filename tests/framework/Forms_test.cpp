#include "framework/win/Forms.h"

#include <gtest/gtest.h>

#include "framework/win/Dialogs.h"
#include "tests/framework/WinTestUtil.h"

namespace {

class FormTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureApplication(); }
};

// A form with counters on its events, as a form's layout code would bind them.
class TCountingForm : public TForm {
public:
    explicit TCountingForm(TComponent* owner) : TForm(owner) {
        SetBorderStyle(bsNone);
        SetBounds(50, 50, 120, 80);
        OnCreate = [this](TObject*) { ++Created; };
        OnShow = [this](TObject*) { ++Shown; };
        OnCloseQuery = [this](TObject*, bool& canClose) {
            ++Queried;
            canClose = AllowClose;
        };
        OnClose = [this](TObject*, TCloseAction& action) {
            ++Closed;
            action = Action;
        };
    }
    int Created = 0, Shown = 0, Queried = 0, Closed = 0;
    bool AllowClose = true;
    TCloseAction Action = caHide;
};

TEST_F(FormTest, CreateShowHide) {
    auto* form = NewForm<TCountingForm>(nullptr);
    EXPECT_EQ(form->Created, 1);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->Loading());
    form->Show();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(form->Shown, 1);
    form->Show();   // already visible: no second OnShow
    EXPECT_EQ(form->Shown, 1);
    // No taskbar button: the window is owned by the application window.
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), Application->Handle());
    form->Hide();
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    form->Show();
    EXPECT_EQ(form->Shown, 2);
    delete form;
}

TEST_F(FormTest, AShowHandlerThatRaisesLeavesTheFormHiddenAndALaterShowTriesAgain) {
    auto* form = NewForm<TCountingForm>(nullptr);
    bool fail = true;
    form->OnShow = [&](TObject*) {
        ++form->Shown;
        if (fail) throw Exception("no data");
    };
    EXPECT_THROW(form->Show(), Exception);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    fail = false;
    form->Show();
    EXPECT_EQ(form->Shown, 2);
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    delete form;
}

TEST_F(FormTest, CloseOnHiddenFormRunsBothEvents) {
    auto* form = NewForm<TCountingForm>(nullptr);
    form->AllowClose = false;
    form->Close();
    EXPECT_EQ(form->Queried, 1);
    EXPECT_EQ(form->Closed, 0);
    form->AllowClose = true;
    form->Close();
    EXPECT_EQ(form->Queried, 2);
    EXPECT_EQ(form->Closed, 1);
    delete form;
}

TEST_F(FormTest, CloseWithCaFreeDeletesAfterTheMessage) {
    auto* form = NewForm<TCountingForm>(nullptr);
    form->Show();
    form->Action = caFree;
    const int before = Screen->FormCount();
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return Screen->FormCount() == before - 1; }));
}

TEST_F(FormTest, CloseQueryCanKeepTheFormOpen) {
    auto* form = NewForm<TCountingForm>(nullptr);
    form->Show();
    form->AllowClose = false;
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(form->Closed, 0);
    delete form;
}

TEST_F(FormTest, ShowModalEscapeGivesCancel) {
    auto* form = NewForm<TCountingForm>(nullptr);
    PostMessageW(form->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->Queried, 1);
    EXPECT_EQ(form->Closed, 1);
    delete form;
}

TEST_F(FormTest, ShowModalCloseBoxGivesCancelAndQueryCanRefuse) {
    auto* form = NewForm<TCountingForm>(nullptr);
    form->AllowClose = false;
    int refusals = 0;
    form->OnCloseQuery = [&](TObject*, bool& canClose) {
        canClose = ++refusals > 1;   // refuse once, then allow
    };
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(refusals, 2);
    delete form;
}

TEST_F(FormTest, ModalResultFromCodeEndsTheLoopAndOtherFormsAreDisabledMeanwhile) {
    auto* other = NewForm<TCountingForm>(nullptr);
    other->Show();
    auto* form = NewForm<TCountingForm>(nullptr);
    bool otherDisabled = false;
    TTimer timer(nullptr);
    timer.SetInterval(10);
    timer.OnTimer = [&](TObject*) {
        otherDisabled = !IsWindowEnabled(other->Handle());
        form->SetModalResult(mrOk);
    };
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_TRUE(otherDisabled);
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
    EXPECT_THROW({ form->Show(); form->ShowModal(); }, EInvalidOperation);
    delete form;
    delete other;
}

TEST_F(FormTest, LayeredFormWithAlphaBlend) {
    auto* form = NewForm<TCountingForm>(nullptr);
    form->SetAlphaBlend(true);
    form->SetAlphaBlendValue(128);
    form->Show();
    EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(form->Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    EXPECT_TRUE(flags & LWA_ALPHA);
    form->SetAlphaBlendValue(200);
    GetLayeredWindowAttributes(form->Handle(), nullptr, &alpha, &flags);
    EXPECT_EQ(alpha, 200);
    form->SetAlphaBlend(false);
    EXPECT_FALSE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    delete form;
}

TEST_F(FormTest, BorderStylesAndIcons) {
    auto* form = NewForm<TCountingForm>(nullptr);
    form->SetBorderStyle(bsDialog);
    form->SetBorderIcons({});
    LONG_PTR style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_SYSMENU);
    form->SetBorderStyle(bsNone);
    style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CAPTION);
    form->SetFormStyle(fsStayOnTop);
    EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    form->SetClientSize(136, 131);
    EXPECT_EQ(form->ClientWidth(), 136);
    EXPECT_EQ(form->ClientHeight(), 131);
    delete form;
}

TEST_F(FormTest, ScreenCentreAndFormList) {
    const int before = Screen->FormCount();
    auto* form = NewForm<TCountingForm>(nullptr);
    EXPECT_EQ(Screen->FormCount(), before + 1);
    EXPECT_EQ(Screen->Forms(before), form);
    form->SetPosition(poScreenCenter);
    form->Show();
    EXPECT_EQ(form->Left(), (Screen->Width() - form->Width()) / 2);
    EXPECT_EQ(form->Top(), (Screen->Height() - form->Height()) / 2);
    delete form;
    EXPECT_EQ(Screen->FormCount(), before);
}

TEST_F(FormTest, ActiveFormFollowsActivationAndDesktopCentre) {
    auto* first = NewForm<TCountingForm>(nullptr);
    auto* second = NewForm<TCountingForm>(nullptr);
    second->SetPosition(poDesktopCenter);
    first->Show();
    EXPECT_TRUE(PumpUntil([&] { return Screen->ActiveForm() == first; }));
    second->Show();
    EXPECT_TRUE(PumpUntil([&] { return Screen->ActiveForm() == second; }));
    const int x0 = GetSystemMetrics(SM_XVIRTUALSCREEN), y0 = GetSystemMetrics(SM_YVIRTUALSCREEN);
    EXPECT_EQ(second->Left(), x0 + (GetSystemMetrics(SM_CXVIRTUALSCREEN) - second->Width()) / 2);
    EXPECT_EQ(second->Top(), y0 + (GetSystemMetrics(SM_CYVIRTUALSCREEN) - second->Height()) / 2);
    delete second;
    EXPECT_NE(Screen->ActiveForm(), second);
    delete first;
    EXPECT_EQ(Screen->ActiveForm(), nullptr);
}

TEST_F(FormTest, AlignTopStacksAndHidingClosesTheGap) {
    auto* form = NewForm<TCountingForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 200, 200);
    TCustomControl* panels[3];
    for (int i = 0; i < 3; ++i) {
        panels[i] = new TCustomControl(form);
        panels[i]->SetBounds(0, i * 30, 50, 20);
        panels[i]->SetParent(form);
        panels[i]->SetAlign(alTop);
    }
    EXPECT_EQ(panels[1]->Top(), 20);
    EXPECT_EQ(panels[2]->Top(), 40);
    EXPECT_EQ(panels[2]->Width(), 200);
    panels[1]->Hide();
    EXPECT_EQ(panels[2]->Top(), 20);
    panels[1]->Show();
    EXPECT_EQ(panels[1]->Top(), 20);
    EXPECT_EQ(panels[2]->Top(), 40);
    auto* client = new TCustomControl(form);
    client->SetParent(form);
    client->SetAlign(alClient);
    EXPECT_EQ(client->Top(), 60);
    EXPECT_EQ(client->Height(), 140);
    delete form;
}

// The client origin lies inside the frame, the same before and after the window exists,
// and windowless children count from it.
TEST_F(FormTest, ClientOriginIsInsideTheFrameWithOrWithoutAWindow) {
    auto* form = NewForm<TCountingForm>(nullptr);
    form->SetBorderStyle(bsSingle);
    form->SetBounds(100, 120, 200, 150);
    auto* child = new TCustomControl(form);
    child->SetParent(form);
    child->SetBounds(10, 20, 50, 40);
    ASSERT_FALSE(form->HandleAllocated());
    const TPoint before = form->ClientOrigin();
    EXPECT_GT(before.Y, 120);   // below the caption
    const TPoint childBefore = child->ClientOrigin();
    form->HandleNeeded();
    POINT p{0, 0};
    ClientToScreen(form->Handle(), &p);
    EXPECT_EQ(form->ClientOrigin(), (TPoint{p.x, p.y}));
    EXPECT_EQ(before, form->ClientOrigin());
    EXPECT_EQ(childBefore, child->ClientOrigin());
    EXPECT_EQ(child->ClientOrigin(), (TPoint{p.x + 10, p.y + 20}));
    EXPECT_EQ(form->ScreenToClient(child->ClientToScreen({1, 2})), (TPoint{11, 22}));
    delete form;
}

TEST_F(FormTest, ChildHandleFirstMakesTheParentAndOneChildWindow) {
    auto* form = NewForm<TCountingForm>(nullptr);
    auto* child = new TCustomControl(form);
    child->SetParent(form);
    child->SetBounds(10, 20, 50, 40);
    HWND h = child->Handle();
    ASSERT_TRUE(form->HandleAllocated());
    EXPECT_EQ(GetParent(h), form->Handle());
    EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), h);
    EXPECT_EQ(GetWindow(h, GW_HWNDNEXT), nullptr);
    delete form;
}

TEST_F(FormTest, WindowProcHookSeesMessagesAndCanCallTheOldOne) {
    auto* form = NewForm<TCountingForm>(nullptr);
    TWndMethod old = form->WindowProc;
    std::vector<UINT> seen;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_APP + 5) {   // handled by the hook alone
            m.Result = 42;
            m.Handled = true;
            return;
        }
        seen.push_back(m.Msg);
        old(m);
    };
    EXPECT_EQ(SendMessageW(form->Handle(), WM_APP + 5, 0, 0), 42);
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);   // reaches Close through the old procedure
    EXPECT_EQ(form->Closed, 1);
    EXPECT_NE(std::find(seen.begin(), seen.end(), UINT(WM_CLOSE)), seen.end());
    form->WindowProc = old;
    delete form;
}

}  // namespace
