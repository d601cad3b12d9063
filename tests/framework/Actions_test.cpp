#include "framework/base/ActnList.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/win/Application.h"
#include "framework/win/Menus.h"
#include "framework/win/StdCtrls.h"
#include "framework/win/WinUtil.h"
#include "tests/framework/CtrlsTestUtil.h"
#include "tests/framework/RealInput.h"

namespace {

// A form with a button and a popup menu item that share one action.
class ActionsTest : public TTestFormFixture {
protected:
    void SetUp() override {
        TTestFormFixture::SetUp();
        list = new TActionList(form);
        action = new TAction(form);
        action->SetActionList(list);
        action->SetCaption("新建便签");
        action->SetHint("新建一张便签");
        action->OnExecute = [this](TObject*) { ++executes; };
        button = Put<TButton>(form, 20, 20, 100, 28);
        menu = new TPopupMenu(form);
        item = new TMenuItem(form);
        menu->Items()->Add(item);
        button->SetAction(action);
        item->SetAction(action);
        form->Show();
        Application->ProcessMessages();
    }

    // Sends a real click (SendInput) to a point of the control.
    static void ClickAt(TControl* control, int x, int y) { ::ClickAt(control->ClientToScreen({x, y})); }

    TActionList* list = nullptr;
    TAction* action = nullptr;
    TButton* button = nullptr;
    TPopupMenu* menu = nullptr;
    TMenuItem* item = nullptr;
    int executes = 0;
};

}  // namespace

TEST_F(ActionsTest, AButtonAndAMenuItemShowTheActionAndFollowItsChanges) {
    EXPECT_EQ(HwndText(button->Handle()), "新建便签");
    EXPECT_EQ(button->Hint(), "新建一张便签");
    EXPECT_EQ(item->Caption(), "新建便签");
    EXPECT_EQ(item->Hint(), "新建一张便签");

    struct Row {
        const char* what;
        std::function<void()> change;
        std::function<bool()> buttonShows, itemShows;
    };
    const std::vector<Row> rows = {
        {"caption", [&] { action->SetCaption("退出"); },
         [&] { return button->Caption() == "退出" && HwndText(button->Handle()) == "退出"; },
         [&] { return item->Caption() == "退出"; }},
        {"enabled", [&] { action->SetEnabled(false); },
         [&] { return !button->Enabled() && !IsWindowEnabled(button->Handle()); }, [&] { return !item->Enabled(); }},
        {"checked", [&] { action->SetChecked(true); }, [] { return true; }, [&] { return item->Checked(); }},
        {"visible", [&] { action->SetVisible(false); },
         [&] { return !button->Visible() && !IsWindowVisible(button->Handle()); }, [&] { return !item->Visible(); }},
        {"hint", [&] { action->SetHint("提示"); }, [&] { return button->Hint() == "提示"; },
         [&] { return item->Hint() == "提示"; }},
        {"image", [&] { action->SetImageIndex(2); }, [] { return true; }, [&] { return item->ImageIndex() == 2; }},
        {"shortcut", [&] { action->SetShortCut(ShortCut('N', TShiftState{ssCtrl})); }, [] { return true; },
         [&] { return item->ShortCut() == (scCtrl | 'N'); }},
    };
    for (const Row& row : rows) {
        row.change();
        EXPECT_TRUE(row.buttonShows()) << row.what;
        EXPECT_TRUE(row.itemShows()) << row.what;
    }
    // Back again: enabled and visible follow both ways.
    action->SetEnabled(true);
    action->SetVisible(true);
    EXPECT_TRUE(IsWindowEnabled(button->Handle()));
    EXPECT_TRUE(IsWindowVisible(button->Handle()));
    EXPECT_TRUE(item->Enabled() && item->Visible());
    // A freed action leaves the clients as they were, without an action.
    delete action;
    EXPECT_EQ(button->Action(), nullptr);
    EXPECT_EQ(item->Action(), nullptr);
    EXPECT_EQ(button->Caption(), "退出");
    EXPECT_EQ(list->ActionCount(), 0);
}

// The message loop updates the actions when its queue empties: OnUpdate disables the
// action, and with it the button and the menu item. The update posts a message so that
// the loop does not wait after it.
TEST_F(ActionsTest, TheIdleLoopRunsOnUpdateWhichDisablesTheClients) {
    int updates = 0;
    bool allowed = true;
    action->OnUpdate = [&](TObject*) {
        ++updates;
        action->SetEnabled(allowed);
        PostMessageW(Application->Handle(), WM_NULL, 0, 0);
    };
    Application->ProcessMessages();
    EXPECT_EQ(updates, 0);   // draining the queue is not idling
    // A thread timer wakes the loop, so that a loop that never idles fails instead of waiting.
    const UINT_PTR wake = SetTimer(nullptr, 0, 10, nullptr);
    allowed = false;
    for (int i = 0; i < 200 && updates == 0; ++i) Application->HandleMessage();
    ASSERT_GT(updates, 0);
    EXPECT_FALSE(IsWindowEnabled(button->Handle()));
    EXPECT_FALSE(item->Enabled());
    // A click cannot run the disabled action, not even from code.
    item->SetEnabled(true);
    item->Click();
    button->Click();
    EXPECT_EQ(executes, 0);
    allowed = true;
    const int before = updates;
    for (int i = 0; i < 200 && updates == before; ++i) Application->HandleMessage();
    KillTimer(nullptr, wake);
    EXPECT_TRUE(IsWindowEnabled(button->Handle()));
}

// A real click on the button and the item's Click run the action once each; a click
// handler of the button's own runs instead of the action.
TEST_F(ActionsTest, AClickRunsTheActionUnlessOnClickIsAHandlerOfItsOwn) {
    SetForegroundWindow(form->Handle());
    ClickAt(button, 30, 12);
    EXPECT_TRUE(PumpUntil([&] { return executes == 1; }, 3000));
    item->Click();
    EXPECT_EQ(executes, 2);

    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    ClickAt(button, 30, 12);
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }, 3000));
    EXPECT_EQ(executes, 2);
    // The action's own handler as OnClick runs through the action, once.
    TNotifyHandler shared([&](TObject*) { ++executes; });
    action->OnExecute = shared;
    button->OnClick = shared;
    button->Click();
    EXPECT_EQ(executes, 3);
    EXPECT_EQ(clicks, 1);
}
