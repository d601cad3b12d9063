// What controls inherit from the framework: anchors and size constraints as the parent is
// resized, the values taken from the parent (ParentFont, ParentColor...), the parent's
// background, and the screen's numbered cursors.

#include <functional>
#include <string>
#include <vector>

#include "framework/rtl/Encoding.h"
#include "framework/win/Bitmap.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/StdCtrls.h"
#include "tests/framework/CtrlsTestUtil.h"
#include "tests/organizer/WinShot.h"

namespace {

class TBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};

class TPatch : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
};

// A parent that paints a blue stripe at x 50..59 over its colour.
class TStriped : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override {
        Canvas().Brush().SetColor(clBlue);
        Canvas().FillRect(Rect(50, 0, 60, Height()));
    }
};

using InheritedTest = TTestFormFixture;

// A 100 x 50 child at (10, 20) of a 300 x 200 parent, per anchoring and constraints, with
// the parent grown to 400 x 260, shrunk to 150 x 100 and put back.
TEST_F(InheritedTest, AnchoredAndConstrainedChildrenFollowTheParentsSize) {
    struct Case {
        const char* name;
        TAnchors anchors;
        int minWidth, maxWidth, minHeight, maxHeight;
        TRect grown, shrunk;
    };
    const Case cases[] = {
        {"left top", {akLeft, akTop}, 0, 0, 0, 0, Bounds(10, 20, 100, 50), Bounds(10, 20, 100, 50)},
        {"right", {akTop, akRight}, 0, 0, 0, 0, Bounds(110, 20, 100, 50), Bounds(-140, 20, 100, 50)},
        {"bottom", {akLeft, akBottom}, 0, 0, 0, 0, Bounds(10, 80, 100, 50), Bounds(10, -80, 100, 50)},
        {"right bottom", {akRight, akBottom}, 0, 0, 0, 0, Bounds(110, 80, 100, 50), Bounds(-140, -80, 100, 50)},
        {"both sides", {akLeft, akTop, akRight}, 0, 0, 0, 0, Bounds(10, 20, 200, 50), Bounds(10, 20, 0, 50)},
        {"both sides, limited width", {akLeft, akTop, akRight}, 80, 150, 0, 0, Bounds(10, 20, 150, 50),
         Bounds(10, 20, 80, 50)},
        {"all sides, limited height", {akLeft, akTop, akRight, akBottom}, 0, 0, 40, 90, Bounds(10, 20, 200, 90),
         Bounds(10, 20, 0, 40)},
        {"right, limited width", {akTop, akRight}, 0, 60, 0, 0, Bounds(110, 20, 60, 50), Bounds(-140, 20, 60, 50)},
    };
    for (bool windows : {false, true}) {
        auto* parent = Put<TBox>(form, 0, 0, 300, 200);
        if (windows) parent->HandleNeeded();
        std::vector<TControl*> children;
        for (const Case& c : cases) {
            for (TControl* child : {static_cast<TControl*>(new TPatch(form)), static_cast<TControl*>(new TBox(form))}) {
                child->SetParent(parent);
                child->SetAnchors(c.anchors);
                child->Constraints().SetMinWidth(c.minWidth);
                child->Constraints().SetMaxWidth(c.maxWidth);
                child->Constraints().SetMinHeight(c.minHeight);
                child->Constraints().SetMaxHeight(c.maxHeight);
                child->SetBounds(10, 20, 100, 50);
                children.push_back(child);
            }
        }
        ASSERT_EQ(dynamic_cast<TWinControl*>(children[1])->HandleAllocated(), windows);
        std::vector<TRect> placed;
        for (TControl* child : children) placed.push_back(child->BoundsRect());
        for (int size = 0; size < 3; ++size) {
            const TRect parentBounds[] = {Bounds(0, 0, 400, 260), Bounds(0, 0, 150, 100), Bounds(0, 0, 300, 200)};
            parent->SetBounds(0, 0, parentBounds[size].Width(), parentBounds[size].Height());
            for (size_t i = 0; i < children.size(); ++i) {
                const Case& c = cases[i / 2];
                SCOPED_TRACE(std::string(c.name) + (i % 2 ? ", windowed" : ", windowless") +
                             (windows ? ", with windows" : "") + ", size " + std::to_string(size));
                const TRect want = size == 0 ? c.grown : size == 1 ? c.shrunk : placed[i];
                EXPECT_EQ(children[i]->BoundsRect(), want);
            }
        }
        delete parent;
    }
}

// Anchors set, or a parent given, after the control was placed count from that moment.
TEST_F(InheritedTest, AnchorsAndParentsGivenLaterCountFromThen) {
    auto* parent = Put<TBox>(form, 0, 0, 300, 200);
    auto* anchored = Put<TPatch>(parent, 10, 20, 100, 50);
    anchored->SetAnchors({akTop, akRight});
    auto* adopted = new TPatch(form);
    adopted->SetBounds(150, 100, 40, 40);
    adopted->SetAnchors({akRight, akBottom});
    adopted->SetParent(parent);
    parent->SetBounds(0, 0, 400, 260);
    EXPECT_EQ(anchored->BoundsRect(), Bounds(110, 20, 100, 50));
    EXPECT_EQ(adopted->BoundsRect(), Bounds(250, 160, 40, 40));
}

TEST_F(InheritedTest, ConstraintsHoldUnderAlignAndWhenSet) {
    auto* parent = Put<TBox>(form, 0, 0, 300, 200);
    auto* top = Put<TBox>(parent, 0, 0, 10, 10);
    top->Constraints().SetMinHeight(30);
    top->SetAlign(alTop);
    auto* rest = Put<TPatch>(parent, 0, 0, 10, 10);
    rest->Constraints().SetMaxWidth(150);
    rest->Constraints().SetMaxHeight(100);
    rest->SetAlign(alClient);
    EXPECT_EQ(top->BoundsRect(), Bounds(0, 0, 300, 30));
    EXPECT_EQ(rest->BoundsRect(), Bounds(0, 30, 150, 100));
    parent->SetBounds(0, 0, 120, 90);
    EXPECT_EQ(rest->BoundsRect(), Bounds(0, 30, 120, 60));
    // A constraint set later applies at once; the form's own reach the user's sizing.
    auto* loose = Put<TPatch>(parent, 5, 5, 200, 10);
    loose->Constraints().SetMaxWidth(50);
    EXPECT_EQ(loose->BoundsRect(), Bounds(5, 5, 50, 10));
    form->Constraints().SetMinWidth(250);
    form->Constraints().SetMaxHeight(400);
    MINMAXINFO info{};
    info.ptMaxTrackSize = {5000, 5000};
    SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 250);
    EXPECT_EQ(info.ptMaxTrackSize.x, 5000);
    EXPECT_EQ(info.ptMaxTrackSize.y, 400);
}

// A sizeable form keeps to limits beyond what the system allows a window by itself: a
// maximum below the smallest captioned window, a minimum wider and taller than the screen.
TEST_F(InheritedTest, AFormsLimitsHoldBeyondTheSystemsTrackingSizes) {
    form->SetBorderStyle(bsSizeable);
    form->SetCaption("约束");
    form->HandleNeeded();
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    form->Constraints().SetMaxWidth(60);
    form->Constraints().SetMaxHeight(40);
    form->SetBounds(10, 10, 300, 200);
    EXPECT_EQ(form->Width(), 60);
    EXPECT_EQ(form->Height(), 40);
    form->Constraints().SetMaxWidth(0);
    form->Constraints().SetMaxHeight(0);
    form->Constraints().SetMinWidth(screenWidth + 500);
    form->Constraints().SetMinHeight(screenHeight + 300);
    EXPECT_EQ(form->Width(), screenWidth + 500);
    EXPECT_EQ(form->Height(), screenHeight + 300);
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.right - r.left, screenWidth + 500);
    EXPECT_EQ(r.bottom - r.top, screenHeight + 300);
}

// A form that places a right-anchored control and only then takes its size.
class TLateSizedForm : public TForm {
public:
    explicit TLateSizedForm(TComponent* owner) : TForm(owner) {
        SetBorderStyle(bsNone);
        SetBounds(40, 40, 300, 200);
        Button = new TBox(this);
        Button->SetParent(this);
        Button->SetBounds(200, 10, 50, 20);
        Button->SetAnchors({akTop, akRight});
        SetBounds(40, 40, 400, 200);
    }
    TBox* Button;
};

TEST_F(InheritedTest, DistancesCountFromTheEndOfTheFormsConstruction) {
    auto* late = NewForm<TLateSizedForm>(nullptr);
    EXPECT_EQ(late->Button->BoundsRect(), Bounds(200, 10, 50, 20));
    late->HandleNeeded();
    SetWindowPos(late->Handle(), nullptr, 0, 0, 450, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);   // as the user sizes it
    EXPECT_EQ(late->Button->BoundsRect(), Bounds(250, 10, 50, 20));
    delete late;
}

// Each parent value: followed while the flag is set, kept once the control sets its own.
TEST_F(InheritedTest, ParentValuesAreFollowedUntilTheControlSetsItsOwn) {
    struct Case {
        const char* name;
        std::function<bool(TControl*)> flag;
        std::function<void(TControl*, bool)> setFlag;
        std::function<int(TControl*)> get;
        std::function<void(TControl*, int)> set;   // value 0 or 1
    };
    const char* fonts[] = {"Arial", "Tahoma"};
    const Case cases[] = {
        {"font", [](TControl* c) { return c->ParentFont(); }, [](TControl* c, bool v) { c->SetParentFont(v); },
         [&](TControl* c) { return c->Font().Name() == fonts[1] ? 1 : c->Font().Name() == fonts[0] ? 0 : -1; },
         [&](TControl* c, int v) { c->Font().SetName(fonts[v]); }},
        {"color", [](TControl* c) { return c->ParentColor(); }, [](TControl* c, bool v) { c->SetParentColor(v); },
         [](TControl* c) { return c->Color() == clRed ? 1 : c->Color() == clGreen ? 0 : -1; },
         [](TControl* c, int v) { c->SetColor(v ? clRed : clGreen); }},
        {"show hint", [](TControl* c) { return c->ParentShowHint(); }, [](TControl* c, bool v) { c->SetParentShowHint(v); },
         [](TControl* c) { return int(c->ShowHint()); }, [](TControl* c, int v) { c->SetShowHint(v); }},
        {"ctl3d", [](TControl* c) { return c->ParentCtl3D(); }, [](TControl* c, bool v) { c->SetParentCtl3D(v); },
         [](TControl* c) { return int(c->Ctl3D()); }, [](TControl* c, int v) { c->SetCtl3D(v); }},
        {"bidi", [](TControl* c) { return c->ParentBiDiMode(); }, [](TControl* c, bool v) { c->SetParentBiDiMode(v); },
         [](TControl* c) { return int(c->BiDiMode() == bdRightToLeft); },
         [](TControl* c, int v) { c->SetBiDiMode(v ? bdRightToLeft : bdLeftToRight); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* parent = Put<TBox>(form, 0, 0, 200, 100);
        auto* other = Put<TBox>(form, 0, 100, 200, 100);
        auto* child = Put<TBox>(parent, 0, 0, 100, 50);
        auto* grandchild = Put<TPatch>(child, 0, 0, 10, 10);
        EXPECT_TRUE(c.flag(child));
        c.set(parent, 1);
        EXPECT_EQ(c.get(child), 1);
        EXPECT_EQ(c.get(grandchild), 1);
        c.set(parent, 0);
        EXPECT_EQ(c.get(grandchild), 0);
        c.set(child, 1);   // its own value
        EXPECT_FALSE(c.flag(child));
        EXPECT_EQ(c.get(grandchild), 1);
        c.set(parent, 1);
        c.set(parent, 0);
        EXPECT_EQ(c.get(child), 1);
        c.setFlag(child, true);   // takes the parent's again
        EXPECT_EQ(c.get(child), 0);
        EXPECT_EQ(c.get(grandchild), 0);
        c.set(other, 1);
        child->SetParent(other);   // a new parent's value
        EXPECT_EQ(c.get(grandchild), 1);
        EXPECT_TRUE(c.flag(grandchild));
        delete other;
        delete parent;
    }
}

// A window's font follows the parent's while the window exists: each font it is given is
// alive while it holds it, and the one it held before is gone (no handle leaks).
TEST_F(InheritedTest, AWindowsInheritedFontIsLiveAndItsOldOneFreed) {
    auto* parent = Put<TBox>(form, 0, 0, 300, 200);
    auto* edit = Put<TEdit>(parent, 10, 10, 120, 22);
    auto* own = Put<TButton>(parent, 10, 40, 80, 25);
    own->SetParentFont(false);
    parent->HandleNeeded();
    auto held = [](TWinControl* c) { return reinterpret_cast<HFONT>(SendMessageW(c->Handle(), WM_GETFONT, 0, 0)); };
    auto face = [](HFONT f) {
        LOGFONTW lf{};
        return GetObjectW(f, sizeof lf, &lf) ? Utf16ToUtf8(reinterpret_cast<const char16_t*>(lf.lfFaceName)) : std::string("(gone)");
    };
    std::vector<HFONT> before;
    for (const char* name : {"Arial", "Tahoma", "宋体", "Courier New"}) {
        before.push_back(held(edit));
        parent->Font().SetName(name);
        EXPECT_EQ(face(held(edit)), name);
        EXPECT_EQ(face(held(own)), "宋体");
    }
    for (HFONT f : before) EXPECT_EQ(GetObjectType(f), 0u) << "a font the edit held before is still there";
    own->Font().SetName("Arial");
    EXPECT_EQ(face(held(own)), "Arial");
}

// An edit's border follows Ctl3D, its own or its parent's, and it has only the one value.
TEST_F(InheritedTest, AnEditsBorderFollowsTheCtl3DItTakesFromItsParent) {
    auto* parent = Put<TBox>(form, 0, 0, 300, 200);
    auto* edit = Put<TEdit>(parent, 10, 10, 120, 22);
    auto* memo = Put<TMemo>(parent, 10, 40, 120, 60);
    parent->HandleNeeded();
    auto sunken = [](TWinControl* c) {   // else the edit draws the one-pixel line itself
        return int((GetWindowLongPtrW(c->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0);
    };
    EXPECT_EQ(sunken(edit), 1);
    parent->SetCtl3D(false);
    for (TCustomEdit* c : {static_cast<TCustomEdit*>(edit), static_cast<TCustomEdit*>(memo)}) {
        EXPECT_FALSE(c->Ctl3D());
        EXPECT_EQ(sunken(c), 0);
    }
    edit->SetCtl3D(true);   // its own value
    EXPECT_FALSE(edit->ParentCtl3D());
    EXPECT_TRUE(static_cast<TControl*>(edit)->Ctl3D());
    EXPECT_EQ(sunken(edit), 1);
    parent->SetCtl3D(true);
    parent->SetCtl3D(false);
    EXPECT_EQ(sunken(edit), 1);
    EXPECT_EQ(sunken(memo), 0);
}

TEST_F(InheritedTest, ParentBackgroundShowsTheParentsFaceBehindTheControl) {
    auto* parent = Put<TStriped>(form, 0, 0, 200, 100);
    parent->SetColor(clRed);
    auto* child = Put<TBox>(parent, 40, 10, 40, 40);
    child->SetColor(clLime);
    auto pixels = [&] {
        TBitmap b(40, 40);
        child->PaintTo(b.Canvas().Handle(), 0, 0);
        GdiFlush();
        return std::vector<uint32_t>{b.PixelARGB(5, 5) & 0xFFFFFF, b.PixelARGB(15, 5) & 0xFFFFFF};
    };
    EXPECT_EQ(pixels(), (std::vector<uint32_t>{0x00FF00, 0x00FF00}));
    child->SetParentBackground(true);
    EXPECT_EQ(pixels(), (std::vector<uint32_t>{0xFF0000, 0x0000FF}));   // the parent's red, its stripe at x 50
}

TEST_F(InheritedTest, ScreenCursorsByNumberAndTheControlsCursorOnSetCursor) {
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    const struct { TCursor number; LPCWSTR id; } stock[] = {
        {crDefault, IDC_ARROW}, {crArrow, IDC_ARROW}, {crIBeam, IDC_IBEAM}, {crCross, IDC_CROSS},
        {crHourGlass, IDC_WAIT}, {crHandPoint, IDC_HAND}, {crSizeAll, IDC_SIZEALL}, {crSizeWE, IDC_SIZEWE},
        {crNo, IDC_NO}, {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP}, {7, IDC_ARROW}, {-40, IDC_ARROW}};
    for (const auto& s : stock) EXPECT_EQ(Screen->Cursors(s.number), LoadCursorW(nullptr, s.id)) << s.number;
    EXPECT_EQ(Screen->Cursors(crNone), nullptr);

    const BYTE andMask[128] = {}, xorMask[128] = {};
    const HCURSOR custom = CreateCursor(GetModuleHandleW(nullptr), 0, 0, 32, 32, andMask, xorMask);
    ASSERT_NE(custom, nullptr);
    Screen->SetCursors(7, custom);
    EXPECT_EQ(Screen->Cursors(7), custom);

    auto* box = Put<TBox>(form, 10, 10, 50, 50);
    auto shown = [&](TCursor number) {
        box->SetCursor(number);
        SetCursor(nullptr);
        SendMessageW(box->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(box->Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    EXPECT_EQ(shown(7), custom);
    EXPECT_EQ(shown(8), arrow);   // no cursor has that number
    EXPECT_EQ(shown(crIBeam), LoadCursorW(nullptr, IDC_IBEAM));
    Screen->SetCursors(7, nullptr);   // removed (and destroyed)
    EXPECT_EQ(shown(7), arrow);
}

// A cursor the screen holds under two numbers stays until the last of them lets it go; a
// stock cursor given to a number is never destroyed.
TEST_F(InheritedTest, ACursorHeldUnderTwoNumbersLivesUntilBothLetItGo) {
    auto alive = [](HCURSOR h) {
        ICONINFO info{};
        if (!GetIconInfo(h, &info)) return false;
        if (info.hbmMask) DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        return true;
    };
    const BYTE andMask[128] = {}, xorMask[128] = {};
    const HCURSOR custom = CreateCursor(GetModuleHandleW(nullptr), 0, 0, 32, 32, andMask, xorMask);
    ASSERT_NE(custom, nullptr);
    Screen->SetCursors(21, custom);
    Screen->SetCursors(22, custom);
    Screen->SetCursors(21, nullptr);
    EXPECT_EQ(Screen->Cursors(22), custom);
    EXPECT_TRUE(alive(custom));
    Screen->SetCursors(22, nullptr);
    EXPECT_FALSE(alive(custom));

    for (TCursor stock : {crHandPoint, crDrag}) {
        const HCURSOR h = Screen->Cursors(stock);
        Screen->SetCursors(23, h);
        Screen->SetCursors(23, nullptr);
        EXPECT_TRUE(alive(h)) << stock;
        EXPECT_EQ(Screen->Cursors(stock), h);
    }
}

// A dialog whose controls follow its size: set VORPEN_SHOT_DIR for its pictures before
// and after the resize.
TEST_F(InheritedTest, AnchoredDialogBeforeAndAfterAResize) {
    form->SetCaption("锚定与约束");
    form->SetBorderStyle(bsSizeable);
    form->SetClientSize(360, 220);
    auto* title = Put<TLabel>(form, 10, 12, 120, 16);
    title->SetCaption("备忘内容：");
    auto* memo = Put<TMemo>(form, 10, 32, 340, 110);   // stretches both ways
    memo->SetAnchors({akLeft, akTop, akRight, akBottom});
    memo->SetText("左、上、右、下四边锚定：随窗口伸缩");
    auto* side = Put<TPanel>(form, 10, 150, 200, 24);   // stretches in width, at most 260
    side->SetCaption("宽度约束 ≤ 260");
    side->SetAnchors({akLeft, akRight, akBottom});
    side->Constraints().SetMaxWidth(260);
    auto* corner = Put<TLabel>(form, 10, 190, 120, 16);   // bottom only
    corner->SetCaption("下边锚定");
    corner->SetAnchors({akLeft, akBottom});
    auto* ok = Put<TButton>(form, 200, 186, 70, 25);
    ok->SetCaption("确定");
    ok->SetAnchors({akRight, akBottom});
    auto* cancel = Put<TButton>(form, 280, 186, 70, 25);
    cancel->SetCaption("取消");
    cancel->SetAnchors({akRight, akBottom});
    form->Show();
    SaveShot(*form, "anchors_before");
    form->SetClientSize(520, 300);
    SaveShot(*form, "anchors_after");
    EXPECT_EQ(memo->BoundsRect(), Bounds(10, 32, 500, 190));
    EXPECT_EQ(side->BoundsRect(), Bounds(10, 230, 260, 24));
    EXPECT_EQ(TPoint(corner->Left(), corner->Top()), TPoint(10, 270));   // sized to its text
    EXPECT_EQ(ok->BoundsRect(), Bounds(360, 266, 70, 25));
    EXPECT_EQ(cancel->BoundsRect(), Bounds(440, 266, 70, 25));
    EXPECT_EQ(TPoint(title->Left(), title->Top()), TPoint(10, 12));
}

}  // namespace
