// Exceptions escaping event handlers are reported at the Win32 boundary and the
// program goes on; timers tick through the Windows timer service.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/win/Dialogs.h"
#include "framework/win/Forms.h"
#include "framework/win/Menus.h"
#include "tests/framework/WinTestUtil.h"

namespace {

class EventTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        Application->SetTitle("vorpen");
        form = NewForm<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(10, 10, 100, 100);
        form->Show();
    }
    void TearDown() override { delete form; }
    void ClickAt(HWND hwnd, int x, int y) {
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    TForm* form = nullptr;
    MessageBoxRecorder boxes;
};

TEST_F(EventTest, ExceptionInClickHandlerIsShownAndTheProgramGoesOn) {
    int clicks = 0;
    form->OnClick = [&](TObject*) {
        ++clicks;
        throw EConvertError("'abc' is not a valid integer value");
    };
    ClickAt(form->Handle(), 5, 5);
    ASSERT_EQ(boxes.Calls.size(), 1u);
    EXPECT_EQ(boxes.Calls[0].Text, "'abc' is not a valid integer value.");
    EXPECT_EQ(boxes.Calls[0].Caption, "vorpen");
    EXPECT_TRUE(boxes.Calls[0].Flags & MB_ICONSTOP);
    ClickAt(form->Handle(), 5, 5);   // the window still answers
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(boxes.Calls.size(), 2u);
}

TEST_F(EventTest, AbortIsSilent) {
    form->OnClick = [](TObject*) { Abort(); };
    ClickAt(form->Handle(), 5, 5);
    EXPECT_TRUE(boxes.Calls.empty());
}

TEST_F(EventTest, ClickNeedsPressAndReleaseInside) {
    int clicks = 0;
    form->OnClick = [&](TObject*) { ++clicks; };
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));   // release without press
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(500, 5));   // released outside
    EXPECT_EQ(clicks, 0);
}

TEST_F(EventTest, ExceptionInTimerHandlerIsShownAndTheTimerGoesOn) {
    auto* timer = new TTimer(form);
    timer->SetInterval(10);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) {
        if (++ticks == 1) throw Exception("数据错误");
    };
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));
    ASSERT_EQ(boxes.Calls.size(), 1u);
    EXPECT_EQ(boxes.Calls[0].Text, "数据错误.");
}

TEST_F(EventTest, TimerDisablesAndFreesItselfInItsTick) {
    auto* once = new TTimer(form);
    once->SetInterval(10);
    int onceTicks = 0;
    once->OnTimer = [&](TObject*) {
        ++onceTicks;
        once->SetEnabled(false);
    };
    auto* self = new TTimer(form);
    self->SetInterval(10);
    int selfTicks = 0;
    self->OnTimer = [&selfTicks, self](TObject*) {
        ++selfTicks;
        delete self;
    };
    auto* watch = new TTimer(form);
    watch->SetInterval(15);
    int watchTicks = 0;
    watch->OnTimer = [&](TObject*) { ++watchTicks; };
    ASSERT_TRUE(PumpUntil([&] { return watchTicks >= 6; }));
    EXPECT_EQ(onceTicks, 1);
    EXPECT_EQ(selfTicks, 1);
    EXPECT_FALSE(once->Running());
    EXPECT_EQ(form->ComponentCount(), 2);
}

// A control whose storage is wiped (and kept) when it goes: any later call into it faults.
class TWipedWhenFreed : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    static void operator delete(void* p, std::size_t size) { std::memset(p, 0, size); }
};

// A handler of a double click or of a release may free its control: the press that a double
// click also is, and the click that the release ends, then reach nothing.
TEST_F(EventTest, AControlFreedByItsDoubleClickOrReleaseHandlerGetsNoMoreCalls) {
    for (UINT msg : {WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        auto* c = new TWipedWhenFreed(form);
        c->SetParent(form);
        c->SetBounds(0, 0, 50, 50);
        const HWND h = c->Handle();
        bool freed = false;
        c->OnDblClick = [&, c](TObject*) { delete c, freed = true; };
        c->OnMouseUp = [&, c](TObject*, TMouseButton, TShiftState, int, int) { delete c, freed = true; };
        if (msg == WM_LBUTTONUP) SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(h, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_TRUE(freed) << msg;
        EXPECT_FALSE(IsWindow(h)) << msg;
        EXPECT_EQ(form->ControlCount(), 0) << msg;
    }
    EXPECT_TRUE(boxes.Calls.empty());
}

TEST_F(EventTest, MouseEventsCarryShiftAndPosition) {
    TShiftState shift;
    int x = -1, y = -1;
    TMouseButton button = mbMiddle;
    form->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState s, int X, int Y) {
        button = b;
        shift = s;
        x = X;
        y = Y;
    };
    SendMessageW(form->Handle(), WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(7, 9));
    EXPECT_EQ(button, mbRight);
    EXPECT_TRUE(shift.Contains(ssShift));
    EXPECT_TRUE(shift.Contains(ssRight));
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 9);
}

TEST_F(EventTest, KeyPreviewAndKeyPressCanDropAKey) {
    auto* child = new TCustomControl(form);
    child->SetBounds(0, 0, 50, 50);
    child->SetParent(form);
    std::wstring seen;
    form->SetKeyPreview(true);
    form->OnKeyPress = [&](TObject*, wchar_t& key) {
        seen += L'F';
        if (key == L'x') key = 0;
    };
    child->OnKeyPress = [&](TObject*, wchar_t& key) { seen += key; };
    SendMessageW(child->Handle(), WM_CHAR, L'a', 0);
    SendMessageW(child->Handle(), WM_CHAR, L'x', 0);
    EXPECT_EQ(seen, L"FaF");
}

TEST_F(EventTest, WeakLinkToAPopupMenuIsClearedWhenTheMenuGoes) {
    auto* menu = new TPopupMenu(nullptr);
    form->SetPopupMenu(menu);
    delete menu;
    EXPECT_EQ(form->PopupMenu(), nullptr);
}

TEST_F(EventTest, MessageBoxHelpers) {
    boxes.Answer = IDNO;
    EXPECT_FALSE(AskYesNo("确定要删除吗？"));
    boxes.Answer = IDYES;
    EXPECT_TRUE(AskYesNo("确定要删除吗？"));
    EXPECT_EQ(boxes.Calls[0].Caption, "询问");
    EXPECT_EQ(boxes.Calls[0].Flags & 0xF, UINT(MB_YESNO));
    ShowMessage("data error");
    EXPECT_EQ(boxes.Calls.back().Caption, "vorpen");
    EXPECT_EQ(boxes.Calls.back().Text, "data error");
}

}  // namespace
