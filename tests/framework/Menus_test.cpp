#include "framework/win/Menus.h"

#include <gtest/gtest.h>

#include "framework/base/Timer.h"

#include "framework/win/Forms.h"
#include "framework/win/WinUtil.h"
#include "tests/framework/WinTestUtil.h"

namespace {

// Exposes the native menu the popup would show.
class TTestPopupMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    HMENU Build(std::vector<TMenuItem*>& ids) { return BuildMenu(Items(), ids); }
};

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const std::string& name, const std::string& caption) {
    auto* item = new TMenuItem(owner);
    item->SetName(name);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
}

TEST(Menus, RadioItemsInAGroupExcludeEachOther) {
    EnsureApplication();
    TComponent form(nullptr);
    TPopupMenu menu(&form);
    auto* skin = AddItem(&form, menu.Items(), "mniSkin", "时钟皮肤");
    auto* blue = AddItem(&form, skin, "mniBlue", "蓝");
    auto* black = AddItem(&form, skin, "mniBlack", "黑");
    auto* other = AddItem(&form, skin, "mniOther", "其它");
    for (auto* item : {blue, black}) item->SetRadioItem(true);
    other->SetRadioItem(true);
    other->SetGroupIndex(1);
    other->SetChecked(true);
    blue->SetChecked(true);
    black->SetChecked(true);
    EXPECT_FALSE(blue->Checked());
    EXPECT_TRUE(black->Checked());
    EXPECT_TRUE(other->Checked());   // another group
    EXPECT_EQ(form.FindComponent("MNIBLUE"), blue);
}

TEST(Menus, ClickTogglesAutoCheckThenFiresOnClick) {
    TComponent form(nullptr);
    TPopupMenu menu(&form);
    auto* item = AddItem(&form, menu.Items(), "mniAllwithontop", "All with on top");
    item->SetAutoCheck(true);
    bool checkedInHandler = false;
    int clicks = 0;
    item->OnClick = [&](TObject* sender) {
        ++clicks;
        checkedInHandler = static_cast<TMenuItem*>(sender)->Checked();
    };
    item->Click();
    EXPECT_TRUE(checkedInHandler);
    item->Click();
    EXPECT_FALSE(item->Checked());
    item->SetEnabled(false);
    item->Click();
    EXPECT_EQ(clicks, 2);
}

TEST(Menus, NativeMenuLeavesOutHiddenItemsAndKeepsStates) {
    EnsureApplication();
    TComponent form(nullptr);
    TTestPopupMenu menu(&form);
    auto* start = AddItem(&form, menu.Items(), "mniStartwithwindow", "Start with window");
    start->SetVisible(false);
    AddItem(&form, menu.Items(), "N1", "功能显示");
    AddItem(&form, menu.Items(), "N3", "-");
    auto* quit = AddItem(&form, menu.Items(), "N4", "退出(&X)");
    quit->SetChecked(true);
    quit->SetDefault(true);
    std::vector<TMenuItem*> ids;
    HMENU native = menu.Build(ids);
    EXPECT_EQ(GetMenuItemCount(native), 3);
    EXPECT_EQ(ids.size(), 2u);
    EXPECT_EQ(GetMenuState(native, 2, MF_BYPOSITION) & (MF_CHECKED | MF_SEPARATOR), UINT(MF_CHECKED));
    EXPECT_TRUE(GetMenuState(native, 1, MF_BYPOSITION) & MF_SEPARATOR);
    wchar_t text[64] = {};
    GetMenuStringW(native, 2, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"退出(&X)");
    DestroyMenu(native);
}

TEST(Menus, SubItemsGoWithTheirParentAndLeaveTheOwner) {
    TComponent form(nullptr);
    TPopupMenu menu(&form);
    auto* parent = AddItem(&form, menu.Items(), "N15", "便签管理");
    AddItem(&form, parent, "N16", "新增便签");
    AddItem(&form, parent, "N17", "便签记录查询");
    EXPECT_EQ(form.ComponentCount(), 4);
    delete parent;
    EXPECT_EQ(form.ComponentCount(), 1);
    EXPECT_EQ(menu.Items()->Count(), 0);
    EXPECT_EQ(form.FindComponent("N16"), nullptr);
}

// Automatic hot keys go before the first letter or digit no other item has; captions
// that carry one keep it, and those left without a free character stay as written.
TEST(Menus, AutomaticHotkeysTakeTheFirstFreeLetterOrDigit) {
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> cases = {
        {{"1900", "1910", "1920", "1990", "2000"}, {"&1900", "1&910", "19&20", "199&0", "2000"}},
        {{"Open", "&Over", "-", "quit", "Quit"}, {"O&pen", "&Over", "-", "&quit", "Q&uit"}},
        {{"今日", "-", "一月", "历史日期", "a&&b"}, {"今日", "-", "一月", "历史日期", "&a&&b"}},
        {{"&A", "a&&b", "R&&D&"}, {"&A", "a&&&b", "&R&&D&"}},
        {{"便签A", "便签a", "便签A2"}, {"便签&A", "便签a", "便签A&2"}},
    };
    for (const auto& [captions, shown] : cases) EXPECT_EQ(AutoHotkeyCaptions(captions), shown) << captions[0];
}

TEST(Menus, ShownCaptionsFollowTheMenusAutoHotkeysAndTheVisibleSiblings) {
    TComponent form(nullptr);
    TPopupMenu menu(&form);
    auto* hidden = AddItem(&form, menu.Items(), "N1", "Hidden");
    auto* help = AddItem(&form, menu.Items(), "N2", "Help");
    auto* sub = AddItem(&form, help, "N3", "Home");
    hidden->SetVisible(false);
    EXPECT_EQ(help->ShownCaption(), "Help");   // maManual by default
    menu.SetAutoHotkeys(maAutomatic);
    EXPECT_EQ(help->ShownCaption(), "&Help");
    EXPECT_EQ(sub->ShownCaption(), "&Home");   // among its own siblings
    EXPECT_EQ(help->Caption(), "Help");
    hidden->SetVisible(true);
    EXPECT_EQ(help->ShownCaption(), "H&elp");
    EXPECT_EQ(sub->Menu(), &menu);
}

TEST(Menus, ShortCutText) {
    EXPECT_EQ(ShortCutToText(ShortCut('C', {ssCtrl})), "Ctrl+C");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F5, {})), "F5");
    EXPECT_EQ(ShortCutToText(0), "");
}

// Drives the open popup menu from a timer: the first tick runs `during`, the next ones
// choose the first item with the keyboard once the menu window is up.
void PopupAndChooseFirst(TPopupMenu& menu, const std::function<void()>& during) {
    TTimer timer(nullptr);
    timer.SetInterval(30);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        if (++ticks == 1) return during();
        if (HWND w = FindWindowW(L"#32768", nullptr); w && IsWindowVisible(w)) {
            PostMessageW(w, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(w, WM_KEYDOWN, VK_RETURN, 0);
        }
        if (ticks > 100) EndMenu();
    };
    menu.Popup(20, 20);
}

TEST(Menus, PopupClicksTheChosenItemButNotOneFreedMeanwhile) {
    EnsureApplication();
    TComponent form(nullptr);
    TPopupMenu menu(&form);
    auto* first = AddItem(&form, menu.Items(), "N1", "功能显示");
    int clicks = 0;
    first->OnClick = [&](TObject*) { ++clicks; };
    PopupAndChooseFirst(menu, [] {});
    EXPECT_EQ(clicks, 1);
    PopupAndChooseFirst(menu, [&] { delete first; });
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(menu.Items()->Count(), 0);
}

TEST(Menus, PopupComponentIsClearedWhenThatComponentIsFreed) {
    EnsureApplication();
    TPopupMenu menu(nullptr);
    auto* plain = new TComponent(nullptr);
    menu.SetPopupComponent(plain);
    EXPECT_EQ(menu.PopupComponent(), plain);
    delete plain;
    EXPECT_EQ(menu.PopupComponent(), nullptr);

    // A control that drops the menu as its PopupMenu keeps being watched as the popup component.
    auto* box = new TCustomControl(nullptr);
    box->SetPopupMenu(&menu);
    menu.SetPopupComponent(box);
    box->SetPopupMenu(nullptr);
    delete box;
    EXPECT_EQ(menu.PopupComponent(), nullptr);

    // And the other way round: a new popup component leaves the control's PopupMenu link.
    auto* other = new TComponent(nullptr);
    auto* holder = new TCustomControl(nullptr);
    {
        TPopupMenu shortLived(nullptr);
        holder->SetPopupMenu(&shortLived);
        shortLived.SetPopupComponent(holder);
        shortLived.SetPopupComponent(other);
        EXPECT_EQ(shortLived.PopupComponent(), other);
    }
    EXPECT_EQ(holder->PopupMenu(), nullptr);
    delete holder;
    delete other;
}

// A shown form with a focusable child; keys are posted to the focused window and go
// through the message loop as typed keys would.
class TShortCutForm : public TForm {
public:
    explicit TShortCutForm(TComponent* owner) : TForm(owner) {
        SetBorderStyle(bsNone);
        SetBounds(10, 10, 160, 120);
        Box = new TCustomControl(this);
        Box->SetParent(this);
        Box->SetBounds(10, 10, 60, 40);
        Box->SetTabStop(true);
        Box->OnKeyDown = [this](TObject*, WORD& key, TShiftState) { Keys.push_back(key); };
        FormMenu = new TPopupMenu(this);
        SetPopupMenu(FormMenu);
    }
    void Press(WORD key, bool ctrl = false) {
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(state);
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
        PumpUntil([] { return false; }, 50);
        state[VK_CONTROL] = 0;
        SetKeyboardState(state);
    }
    TCustomControl* Box;
    TPopupMenu* FormMenu;
    std::vector<WORD> Keys;
};

TEST(MenuShortCuts, FormMenuShortCutFiresThroughTheMessageLoopAndUsesTheKey) {
    EnsureApplication();
    auto* form = NewForm<TShortCutForm>(nullptr);
    auto* refresh = AddItem(form, form->FormMenu->Items(), "mniRefresh", "刷新");
    refresh->SetShortCut(ShortCut(VK_F5, {}));
    auto* sub = AddItem(form, form->FormMenu->Items(), "mniNote", "便签");
    auto* save = AddItem(form, sub, "mniSave", "保存");
    save->SetShortCut(ShortCut('S', {ssCtrl}));
    int refreshes = 0, saves = 0;
    refresh->OnClick = [&](TObject*) { ++refreshes; };
    save->OnClick = [&](TObject*) { ++saves; };
    form->Show();
    form->Box->SetFocus();
    ASSERT_TRUE(form->Box->Focused());
    form->Press(VK_F5);
    EXPECT_EQ(refreshes, 1);
    form->Press('S', true);
    EXPECT_EQ(saves, 1);
    form->Press('S');   // no Ctrl: an ordinary key for the control
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(form->Keys, std::vector<WORD>{'S'});
    delete form;
}

TEST(MenuShortCuts, ItemsTheUserCannotChooseDoNotFire) {
    EnsureApplication();
    auto* form = NewForm<TShortCutForm>(nullptr);
    auto* hidden = AddItem(form, form->FormMenu->Items(), "mniHidden", "隐藏");
    hidden->SetShortCut(ShortCut(VK_F2, {}));
    hidden->SetVisible(false);
    auto* parent = AddItem(form, form->FormMenu->Items(), "mniParent", "父项");
    auto* child = AddItem(form, parent, "mniChild", "子项");
    child->SetShortCut(ShortCut(VK_F3, {}));
    parent->SetEnabled(false);
    int clicks = 0;
    hidden->OnClick = child->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    form->Box->SetFocus();
    form->Press(VK_F2);
    form->Press(VK_F3);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(form->Keys, (std::vector<WORD>{VK_F2, VK_F3}));   // the keys went on to the control
    parent->SetEnabled(true);
    form->Press(VK_F3);
    EXPECT_EQ(clicks, 1);
    delete form;
}

TEST(MenuShortCuts, ControlMenuNeedsTheFocusAndOnShortCutComesFirst) {
    EnsureApplication();
    auto* form = NewForm<TShortCutForm>(nullptr);
    auto* other = new TCustomControl(form);
    other->SetParent(form);
    other->SetBounds(80, 10, 60, 40);
    other->SetTabStop(true);
    auto* boxMenu = new TPopupMenu(form);
    form->Box->SetPopupMenu(boxMenu);
    auto* copy = AddItem(form, boxMenu->Items(), "mniCopy", "复制");
    copy->SetShortCut(ShortCut(VK_F6, {}));
    int copies = 0;
    copy->OnClick = [&](TObject*) { ++copies; };
    form->Show();
    other->SetFocus();
    form->Press(VK_F6);
    EXPECT_EQ(copies, 0);
    form->Box->SetFocus();
    form->Press(VK_F6);
    EXPECT_EQ(copies, 1);
    std::vector<WORD> seen;
    form->OnShortCut = [&](WORD key, TShiftState, bool& handled) {
        seen.push_back(key);
        handled = key == VK_F6;
    };
    form->Press(VK_F6);
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(seen, std::vector<WORD>{VK_F6});
    delete form;
}

}  // namespace

// A popup menu updates its items' actions before it builds the menu: the menu shows the
// caption the update set, and choosing the item runs the action.
TEST(Menus, PopupShowsTheUpdatedActionAndChoosingTheItemRunsIt) {
    EnsureApplication();
    TComponent form(nullptr);
    TPopupMenu menu(&form);
    auto* item = AddItem(&form, menu.Items(), "N1", "新建便签");
    TAction action(nullptr);
    int updates = 0, executes = 0;
    action.OnUpdate = [&](TObject*) {
        ++updates;
        action.SetCaption("新建便签（" + std::to_string(updates) + "）");
    };
    action.OnExecute = [&](TObject*) { ++executes; };
    item->SetAction(&action);
    std::wstring shown;
    TTimer timer(nullptr);
    timer.SetInterval(30);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        if (HWND w = FindWindowW(L"#32768", nullptr); w && IsWindowVisible(w) && shown.empty()) {
            wchar_t text[64] = {};
            GetMenuStringW(reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0)), 0, text, 64, MF_BYPOSITION);
            shown = text;
            PostMessageW(w, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(w, WM_KEYDOWN, VK_RETURN, 0);
        }
        if (++ticks > 100) EndMenu();
    };
    menu.Popup(20, 20);
    EXPECT_EQ(Narrow(shown), "新建便签（1）");
    EXPECT_EQ(executes, 1);
}
