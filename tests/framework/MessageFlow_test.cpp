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

// A plain custom control: fills itself with its Color.
class TBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};

class TStyledBox : public TBox {
public:
    TStyledBox(TComponent* owner, UINT classStyle) : TBox(owner), FClassStyle(classStyle) {}

protected:
    void CreateParams(TCreateParams& p) override {
        TBox::CreateParams(p);
        p.WinClassName = L"VorpenFlowTestBox";
        p.ClassStyle = FClassStyle;
    }

private:
    UINT FClassStyle;
};

class TBluePatch : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {
        Canvas().Brush().SetColor(clBlue);
        Canvas().FillRect(ClientRect());
    }
};

// Records the focus broadcasts it hears.
template <class Base>
class TFocusRecorder : public Base {
public:
    using Base::Base;
    std::vector<LPARAM> Heard;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_FOCUSCHANGED) Heard.push_back(m.LParam);
        Base::WndProc(m);
    }
};

// Keeps a caption strip and a margin out of the room of aligned children.
class TFramedBox : public TBox {
public:
    using TBox::TBox;
    void AdjustClientRect(TRect& r) const override { r = Rect(r.Left + 5, r.Top + 20, r.Right - 5, r.Bottom - 5); }
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
        m.Handled = true;
    };
    EXPECT_EQ(SendMessageW(form->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"便签管理")), TRUE);
    EXPECT_EQ(stored, L"便签管理");
    form->SetCaption("倒计时");
    EXPECT_EQ(stored, L"倒计时");
    // A message the old procedure handled gets no default work (WM_CLOSE would destroy).
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(form->Handle()));
    form->WindowProc = old;
}

// A component that hooks its owner form and unhooks in its destructor.
class THook : public TComponent {
public:
    explicit THook(TForm* form) : TComponent(form), FForm(form), FOld(form->WindowProc) {
        form->WindowProc = [this](TMessage& m) {
            ++Seen;
            FOld(m);
        };
    }
    ~THook() override {
        FormWhole = dynamic_cast<TForm*>(static_cast<TComponent*>(FForm)) == FForm && FForm->Destroying() &&
                    FForm->HandleAllocated() && IsWindow(FForm->Handle());
        FForm->WindowProc = FOld;
    }
    inline static bool FormWhole = false;
    int Seen = 0;

private:
    TForm* FForm;
    TWndMethod FOld;
};

TEST_F(FlowTest, OwnedComponentsGoWhileTheFormIsWhole) {
    auto* hook = new THook(form);
    auto* edit = Put<TEdit>(form, 10, 10, 100, 24);
    edit->HandleNeeded();
    SendMessageW(form->Handle(), WM_NULL, 0, 0);
    EXPECT_GT(hook->Seen, 0);
    delete form;
    form = nullptr;
    EXPECT_TRUE(THook::FormWhole);
}

TEST_F(FlowTest, WindowlessControlLosesTheCaptureWithTheSystem) {
    auto* label = Put<TLabel>(form, 10, 10, 80, 20);
    int labelMoves = 0, formMoves = 0, clicks = 0;
    label->OnMouseMove = [&](TObject*, TShiftState, int, int) {
        ++labelMoves;
        ReleaseCapture();   // a drag that hands the mouse to the system's move loop
    };
    label->OnClick = [&](TObject*) { ++clicks; };
    form->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++formMoves; };
    form->Show();
    HWND h = form->Handle();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
    EXPECT_EQ(GetCapture(), h);
    EXPECT_TRUE(label->MouseCapture());
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 15));
    EXPECT_FALSE(label->MouseCapture());
    SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(200, 150));   // over the form: the form's now
    EXPECT_EQ(labelMoves, 1);
    EXPECT_EQ(formMoves, 1);
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(20, 15));
    EXPECT_EQ(clicks, 0);   // the press was given up
    // An ordinary press and release still clicks.
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(20, 15));
    EXPECT_EQ(clicks, 1);
}

TEST_F(FlowTest, CustomControlCapturesItsPressesWhenAsked) {
    auto* plain = Put<TBox>(form, 10, 10, 50, 50);
    auto* capturing = Put<TBox>(form, 100, 10, 50, 50);
    capturing->SetControlStyle({csCaptureMouse});
    int clicks = 0;
    capturing->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    SendMessageW(plain->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessageW(plain->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageW(capturing->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), capturing->Handle());
    EXPECT_TRUE(capturing->MouseCapture());
    SendMessageW(capturing->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(clicks, 1);
    // Capture taken away mid-press: no click at the release.
    SendMessageW(capturing->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(capturing->Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessageW(capturing->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 1);
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
        EXPECT_EQ(Rgb(buffer.PixelARGB(2, 2)), 0xFF0000u) << msg;    // background
        EXPECT_EQ(Rgb(buffer.PixelARGB(25, 15)), 0x0000FFu) << msg;  // windowless child
        EXPECT_EQ(Rgb(buffer.PixelARGB(59, 39)), 0xFF0000u) << msg;
    }
}

TEST_F(FlowTest, ClassNameAskedWithAnotherStyleGetsItsOwnClass) {
    auto* plain = new TStyledBox(form, CS_DBLCLKS);
    auto* shadowed = new TStyledBox(form, CS_DBLCLKS | CS_SAVEBITS | CS_DROPSHADOW);
    auto* again = new TStyledBox(form, CS_DBLCLKS | CS_SAVEBITS | CS_DROPSHADOW);
    for (TStyledBox* b : {plain, shadowed, again}) {
        b->SetParent(form);
        b->SetBounds(0, 0, 10, 10);
    }
    EXPECT_EQ(GetClassLongPtrW(plain->Handle(), GCL_STYLE), ULONG_PTR(CS_DBLCLKS));
    EXPECT_EQ(GetClassLongPtrW(shadowed->Handle(), GCL_STYLE), ULONG_PTR(CS_DBLCLKS | CS_SAVEBITS | CS_DROPSHADOW));
    EXPECT_EQ(GetClassLongPtrW(again->Handle(), GCL_STYLE), ULONG_PTR(CS_DBLCLKS | CS_SAVEBITS | CS_DROPSHADOW));
    EXPECT_EQ(GetClassLongPtrW(shadowed->Handle(), GCW_ATOM), GetClassLongPtrW(again->Handle(), GCW_ATOM));
}

TEST_F(FlowTest, CreateParamsFilterHoldsAcrossRecreation) {
    form->SetBorderStyle(bsSizeable);
    form->CreateParamsFilter = [](TCreateParams& p) { p.Style = (p.Style & ~WS_CAPTION) | WS_THICKFRAME; };
    const int widthBefore = form->ClientWidth(), heightBefore = form->ClientHeight();
    auto style = [&] { return GetWindowLongPtrW(form->Handle(), GWL_STYLE); };
    EXPECT_EQ(style() & WS_CAPTION, 0);
    EXPECT_NE(style() & WS_THICKFRAME, 0);
    EXPECT_EQ(form->ClientWidth(), widthBefore);
    EXPECT_EQ(form->ClientHeight(), heightBefore);
    form->SetBorderStyle(bsDialog);   // makes the window again
    EXPECT_EQ(style() & WS_CAPTION, 0);
    EXPECT_NE(style() & WS_THICKFRAME, 0);
}

// Made while a form is under construction: broadcasts to every listed form.
class TBroadcaster : public TComponent {
public:
    explicit TBroadcaster(TComponent* owner) : TComponent(owner) {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TForm* f = Screen->Forms(i);
            Reached.push_back(f);
            SendMessageW(f->Handle(), WM_NULL, 0, 0);
        }
    }
    std::vector<TForm*> Reached;
};

class TBuildingForm : public TForm {
public:
    explicit TBuildingForm(TComponent* owner) : TForm(owner) {
        Broadcaster = new TBroadcaster(this);
        HandleAtEnd = HandleAllocated();
    }
    TBroadcaster* Broadcaster;
    bool HandleAtEnd = true;
};

TEST_F(FlowTest, BroadcastsSkipAFormUnderConstruction) {
    auto* building = NewForm<TBuildingForm>(nullptr);
    const auto& reached = building->Broadcaster->Reached;
    EXPECT_EQ(std::count(reached.begin(), reached.end(), static_cast<TForm*>(building)), 0);
    EXPECT_EQ(std::count(reached.begin(), reached.end(), static_cast<TForm*>(form)), 1);
    EXPECT_FALSE(building->HandleAtEnd);
    EXPECT_EQ(Screen->Forms(Screen->FormCount() - 1), building);
    delete building;
}

TEST_F(FlowTest, FormBroadcastsEachNewFocusedControl) {
    auto* first = Put<TEdit>(form, 10, 10, 100, 24);
    auto* panel = Put<TBox>(form, 10, 50, 200, 100);
    auto* nested = new TFocusRecorder<TEdit>(form);
    nested->SetParent(panel);
    nested->SetBounds(10, 10, 100, 24);
    auto* windowless = new TFocusRecorder<TGraphicControl>(form);
    windowless->SetParent(form);
    windowless->SetBounds(300, 10, 20, 20);
    form->Show();
    first->SetFocus();
    nested->SetFocus();
    first->SetFocus();
    const std::vector<LPARAM> expected{LPARAM(first), LPARAM(nested), LPARAM(first)};
    auto tail = [&](const std::vector<LPARAM>& heard) {
        return std::vector<LPARAM>(heard.end() - std::min<size_t>(heard.size(), 3), heard.end());
    };
    EXPECT_EQ(tail(nested->Heard), expected);
    EXPECT_EQ(tail(windowless->Heard), expected);
}

TEST_F(FlowTest, AlignmentUsesTheAdjustedClientRect) {
    auto* box = Put<TFramedBox>(form, 10, 10, 200, 120);
    auto* top = Put<TBox>(box, 0, 0, 10, 15);
    top->SetAlign(alTop);
    auto* rest = Put<TBox>(box, 0, 0, 10, 10);
    rest->SetAlign(alClient);
    EXPECT_EQ(top->BoundsRect(), Rect(5, 20, 195, 35));
    EXPECT_EQ(rest->BoundsRect(), Rect(5, 35, 195, 115));
    box->SetBounds(10, 10, 100, 100);
    EXPECT_EQ(rest->BoundsRect(), Rect(5, 35, 95, 95));
}

TEST_F(FlowTest, DragCursorIsAnArrowWithAPage) {
    HCURSOR drag = CursorHandle(crDrag);
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(CursorHandle(crDrag), drag);
    EXPECT_NE(drag, CursorHandle(crArrow));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(drag, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 0u);
    EXPECT_EQ(info.yHotspot, 0u);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    TBitmap picture(32, 32);
    HDC dc = picture.Canvas().Handle();
    GdiObject<HBRUSH> green(CreateSolidBrush(RGB(0, 200, 0)));
    RECT all{0, 0, 32, 32};
    FillRect(dc, &all, green.Get());
    DrawIconEx(dc, 0, 0, drag, 32, 32, 0, nullptr, DI_NORMAL);
    GdiFlush();
    EXPECT_EQ(Rgb(picture.PixelARGB(2, 6)), 0xFFFFFFu);    // inside the arrow
    EXPECT_EQ(Rgb(picture.PixelARGB(0, 0)), 0x000000u);    // its outline
    EXPECT_EQ(Rgb(picture.PixelARGB(13, 20)), 0xFFFFFFu);  // inside the page
    EXPECT_EQ(Rgb(picture.PixelARGB(25, 5)), 0x00C800u);   // the screen shows through
    EXPECT_EQ(CursorHandle(crNoDrop), CursorHandle(crNo));
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
    ASSERT_NE(util, nullptr);
    EXPECT_EQ(GetParent(util), nullptr);
    EXPECT_FALSE(IsWindowVisible(util));
    EXPECT_EQ(SendMessageW(util, WM_APP + 1, 0, 0), 7);
    PostMessageW(util, WM_APP + 2, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(util); }));
    EXPECT_EQ(seen, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
}

// The shell's file drop and the input method context come with the framework's libraries.
TEST_F(FlowTest, ShellAndInputMethodCallsAreLinked) {
    auto* edit = Put<TBox>(form, 10, 10, 100, 50);
    DragAcceptFiles(edit->Handle(), TRUE);
    EXPECT_NE(GetWindowLongPtrW(edit->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    HIMC imc = ImmGetContext(edit->Handle());
    EXPECT_NE(imc, nullptr);
    ImmReleaseContext(edit->Handle(), imc);
}

}  // namespace
