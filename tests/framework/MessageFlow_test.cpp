// How messages reach hooks, windowless controls and painting: a WindowProc hook with the
// default handling, component teardown under a hook, lost mouse capture, painting into a
// given DC, window classes per style, creation-parameter filters, focus broadcasts and
// the room aligned children get.
#include <gtest/gtest.h>

#include "framework/win/Bitmap.h"
#include "framework/win/StdCtrls.h"
#include "tests/framework/CtrlsTestUtil.h"

#include <imm.h>
#include <shellapi.h>

namespace {

class FlowTest : public TTestFormFixture {};

class TBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    UINT ClassStyle = CS_DBLCLKS;
    // Keeps a caption strip and a margin out of the room of aligned children.
    void AdjustClientRect(TRect& r) const override { r = Rect(r.Left + 5, r.Top + 20, r.Right - 5, r.Bottom - 5); }

protected:
    void CreateParams(TCreateParams& p) override {
        TCustomControl::CreateParams(p);
        p.WinClassName = L"VorpenFlowTestBox";
        p.ClassStyle = ClassStyle;
    }
};

class TBluePatch : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    std::vector<LPARAM> Heard;   // focus broadcasts

protected:
    void Paint() override {
        Canvas().Brush().SetColor(clBlue);
        Canvas().FillRect(ClientRect());
    }
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_FOCUSCHANGED) Heard.push_back(m.LParam);
        TGraphicControl::WndProc(m);
    }
};

uint32_t Rgb(uint32_t argb) { return argb & 0xFFFFFF; }

TEST_F(FlowTest, HookRunsOldThenDefaultThenPostProcesses) {
    TWndMethod old = form->WindowProc;
    std::wstring stored;
    form->WindowProc = [&](TMessage& m) {
        old(m);
        if (m.Msg != WM_SETTEXT && m.Msg != WM_CLOSE) return;
        form->CallDefault(m);   // WM_SETTEXT: the window stores the text here
        wchar_t text[64] = {};
        GetWindowTextW(form->Handle(), text, 64);
        stored = text;
    };
    EXPECT_EQ(SendMessageW(form->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"便签管理")), TRUE);
    EXPECT_EQ(stored, L"便签管理");
    form->SetCaption("倒计时");
    EXPECT_EQ(stored, L"倒计时");
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);   // handled by the form: no default (destroy)
    EXPECT_TRUE(IsWindow(form->Handle()));
    form->WindowProc = old;
}

// Hooks its form and unhooks in its destructor.
class THook : public TComponent {
public:
    explicit THook(TForm* form) : TComponent(form), FForm(form), FOld(form->WindowProc) {
        form->WindowProc = [this](TMessage& m) { FOld(m); };
    }
    ~THook() override {
        FormWhole = dynamic_cast<TForm*>(static_cast<TComponent*>(FForm)) && FForm->Destroying() && IsWindow(FForm->Handle());
        FForm->WindowProc = FOld;
    }
    inline static bool FormWhole = false;

private:
    TForm* FForm;
    TWndMethod FOld;
};

TEST_F(FlowTest, OwnedComponentsGoWhileTheFormIsWhole) {
    new THook(form);
    Put<TEdit>(form, 10, 10, 100, 24)->HandleNeeded();
    delete std::exchange(form, nullptr);
    EXPECT_TRUE(THook::FormWhole);
}

TEST_F(FlowTest, LostCaptureEndsThePressOfWindowlessAndCapturingControls) {
    auto* label = Put<TLabel>(form, 10, 10, 80, 20);
    auto* box = Put<TBox>(form, 100, 10, 50, 50);
    box->SetControlStyle({csCaptureMouse});
    int labelMoves = 0, formMoves = 0, clicks = 0;
    label->OnMouseMove = [&](TObject*, TShiftState, int, int) {
        ++labelMoves;
        ReleaseCapture();   // a drag that hands the mouse to the system's move loop
    };
    label->OnClick = box->OnClick = [&](TObject*) { ++clicks; };
    form->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++formMoves; };
    form->Show();
    auto send = [](HWND h, UINT msg, int x, int y) { SendMessageW(h, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y)); };
    HWND h = form->Handle();
    send(h, WM_LBUTTONDOWN, 20, 15);
    EXPECT_TRUE(label->MouseCapture());
    send(h, WM_MOUSEMOVE, 20, 15);
    EXPECT_FALSE(label->MouseCapture());
    send(h, WM_MOUSEMOVE, 250, 150);   // over the bare form: the form's now
    EXPECT_EQ(labelMoves, 1);
    EXPECT_EQ(formMoves, 1);
    send(h, WM_LBUTTONUP, 20, 15);     // the press was given up: no click

    send(box->Handle(), WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(GetCapture(), box->Handle());
    send(box->Handle(), WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(clicks, 1);
    send(box->Handle(), WM_LBUTTONDOWN, 5, 5);
    SendMessageW(box->Handle(), WM_CANCELMODE, 0, 0);
    send(box->Handle(), WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(clicks, 1);
    send(h, WM_LBUTTONDOWN, 20, 15);   // a press and release that keep the capture click
    EXPECT_EQ(GetCapture(), h);
    send(h, WM_LBUTTONUP, 20, 15);
    EXPECT_EQ(clicks, 2);
}

TEST_F(FlowTest, PaintMessagesWithADcPaintTheWholeFaceIntoIt) {
    auto* box = Put<TBox>(form, 10, 10, 60, 40);
    box->SetColor(clRed);
    auto* patch = new TBluePatch(form);
    patch->SetParent(box);
    patch->SetBounds(20, 10, 10, 10);
    for (UINT msg : {UINT(WM_PAINT), UINT(WM_PRINTCLIENT)}) {
        TBitmap buffer(60, 40);
        HDC dc = buffer.Canvas().Handle();
        PatBlt(dc, 0, 0, 60, 40, WHITENESS);
        SendMessageW(box->Handle(), msg, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        GdiFlush();
        EXPECT_EQ(Rgb(buffer.PixelARGB(2, 2)), 0xFF0000u) << msg;
        EXPECT_EQ(Rgb(buffer.PixelARGB(25, 15)), 0x0000FFu) << msg;
        EXPECT_EQ(Rgb(buffer.PixelARGB(59, 39)), 0xFF0000u) << msg;
    }
}

TEST_F(FlowTest, ClassNameAskedWithAnotherStyleGetsItsOwnClass) {
    const UINT shadowed = CS_DBLCLKS | CS_SAVEBITS | CS_DROPSHADOW;
    std::vector<HWND> windows;
    for (UINT style : {UINT(CS_DBLCLKS), shadowed, shadowed}) {
        auto* box = new TBox(form);
        box->ClassStyle = style;   // before the window exists
        box->SetParent(form);
        windows.push_back(box->Handle());
        EXPECT_EQ(GetClassLongPtrW(windows.back(), GCL_STYLE), ULONG_PTR(style));
    }
    EXPECT_EQ(GetClassLongPtrW(windows[1], GCW_ATOM), GetClassLongPtrW(windows[2], GCW_ATOM));
}

TEST_F(FlowTest, CreateParamsFilterHoldsAcrossRecreation) {
    form->SetBorderStyle(bsSizeable);
    form->CreateParamsFilter = [](TCreateParams& p) { p.Style = (p.Style & ~WS_CAPTION) | WS_THICKFRAME; };
    const TRect client = form->ClientRect();
    auto style = [&] { return GetWindowLongPtrW(form->Handle(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME); };
    EXPECT_EQ(style(), WS_THICKFRAME);
    EXPECT_EQ(form->ClientRect(), client);
    form->SetBorderStyle(bsDialog);   // makes the window again
    EXPECT_EQ(style(), WS_THICKFRAME);
}

// Broadcasts to every listed form while the form that owns it is being built.
class TBuildingForm : public TForm {
public:
    explicit TBuildingForm(TComponent* owner) : TForm(owner) {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            Reached.push_back(Screen->Forms(i));
            SendMessageW(Screen->Forms(i)->Handle(), WM_NULL, 0, 0);
        }
        HandleAtEnd = HandleAllocated();
    }
    std::vector<TForm*> Reached;
    bool HandleAtEnd = true;
};

TEST_F(FlowTest, BroadcastsSkipAFormUnderConstruction) {
    auto* building = NewForm<TBuildingForm>(nullptr);
    EXPECT_EQ(std::count(building->Reached.begin(), building->Reached.end(), building), 0);
    EXPECT_EQ(std::count(building->Reached.begin(), building->Reached.end(), form), 1);
    EXPECT_FALSE(building->HandleAtEnd);
    EXPECT_EQ(Screen->Forms(Screen->FormCount() - 1), building);
    delete building;
}

TEST_F(FlowTest, FormBroadcastsEachNewFocusedControlToControlsAtAnyDepth) {
    auto* first = Put<TEdit>(form, 10, 10, 100, 24);
    auto* panel = Put<TBox>(form, 10, 50, 200, 100);
    auto* nested = Put<TEdit>(panel, 0, 0, 100, 24);
    auto* listener = Put<TBluePatch>(panel, 150, 0, 20, 20);
    form->Show();
    first->SetFocus();
    nested->SetFocus();
    first->SetFocus();
    const auto& heard = listener->Heard;
    ASSERT_GE(heard.size(), 3u);
    EXPECT_EQ(std::vector<LPARAM>(heard.end() - 3, heard.end()), (std::vector<LPARAM>{LPARAM(first), LPARAM(nested), LPARAM(first)}));
}

TEST_F(FlowTest, AlignmentUsesTheAdjustedClientRect) {
    auto* box = Put<TBox>(form, 10, 10, 200, 120);
    auto* top = Put<TBox>(box, 0, 0, 10, 15);
    top->SetAlign(alTop);
    auto* rest = Put<TBluePatch>(box, 0, 0, 10, 10);
    rest->SetAlign(alClient);
    EXPECT_EQ(top->BoundsRect(), Rect(5, 20, 195, 35));
    EXPECT_EQ(rest->BoundsRect(), Rect(5, 35, 195, 115));
    box->SetBounds(10, 10, 100, 100);
    EXPECT_EQ(rest->BoundsRect(), Rect(5, 35, 95, 95));
}

TEST_F(FlowTest, DragCursorIsAnArrowWithAPage) {
    HCURSOR drag = CursorHandle(crDrag);
    ASSERT_NE(drag, nullptr);
    EXPECT_NE(drag, CursorHandle(crArrow));
    EXPECT_EQ(CursorHandle(crNoDrop), CursorHandle(crNo));
    TBitmap picture(32, 32);
    picture.Canvas().Brush().SetColor(clGreen);
    picture.Canvas().FillRect(Rect(0, 0, 32, 32));
    DrawIconEx(picture.Canvas().Handle(), 0, 0, drag, 32, 32, 0, nullptr, DI_NORMAL);
    GdiFlush();
    EXPECT_EQ(Rgb(picture.PixelARGB(2, 6)), 0xFFFFFFu);    // inside the arrow
    EXPECT_EQ(Rgb(picture.PixelARGB(0, 0)), 0u);           // the hot spot, on its outline
    EXPECT_EQ(Rgb(picture.PixelARGB(13, 20)), 0xFFFFFFu);  // inside the page
    EXPECT_EQ(Rgb(picture.PixelARGB(25, 5)), 0x008000u);   // the screen shows through
}

TEST_F(FlowTest, UtilityWindowGetsItsMessagesAndMayGoInsideOne) {
    std::vector<UINT> seen;
    HWND util = nullptr;
    util = AllocateHWnd([&](TMessage& m) {
        if (m.Msg < WM_APP) return;
        seen.push_back(m.Msg);
        m.Result = 7;
        m.Handled = true;
        if (m.Msg == WM_APP + 2) DeallocateHWnd(util);
    });
    EXPECT_EQ(SendMessageW(util, WM_APP + 1, 0, 0), 7);
    PostMessageW(util, WM_APP + 2, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(util); }));
    EXPECT_EQ(seen, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
}

// The shell's file drop and the input method context come with the framework's libraries.
TEST_F(FlowTest, ShellAndInputMethodCallsAreLinked) {
    HWND box = Put<TBox>(form, 10, 10, 100, 50)->Handle();
    DragAcceptFiles(box, TRUE);
    EXPECT_NE(GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    HIMC imc = ImmGetContext(box);
    EXPECT_NE(imc, nullptr);
    ImmReleaseContext(box, imc);
}

}  // namespace
