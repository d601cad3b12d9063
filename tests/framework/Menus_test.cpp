#include "framework/win/Menus.h"

#include <gtest/gtest.h>

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

TEST(Menus, ShortCutText) {
    EXPECT_EQ(ShortCutToText(ShortCut('C', {ssCtrl})), "Ctrl+C");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F5, {})), "F5");
    EXPECT_EQ(ShortCutToText(0), "");
}

}  // namespace
