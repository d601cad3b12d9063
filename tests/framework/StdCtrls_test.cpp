#include "framework/win/StdCtrls.h"

#include <gtest/gtest.h>

#include "framework/win/Buttons.h"
#include "framework/win/WinUtil.h"
#include "tests/framework/CtrlsTestUtil.h"

namespace {

class StdCtrlsTest : public TTestFormFixture {};

TEST_F(StdCtrlsTest, EditChangeFiresForCodeAndUserButNotTwice) {
    auto* edit = Put<TEdit>(form, 10, 10, 120, 21);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText("日期");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(HwndText(edit->Handle()), "日期");
    edit->SetText("日期");   // same text: no event
    EXPECT_EQ(changes, 1);
    SendMessageW(edit->Handle(), EM_SETSEL, 2, 2);
    SendMessageW(edit->Handle(), WM_CHAR, L'中', 0);   // the user types
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(edit->Text(), "日期中");
}

TEST_F(StdCtrlsTest, KeyPressSetToZeroDropsTheKeyAndAChangedKeyIsTyped) {
    auto* edit = Put<TEdit>(form, 10, 10, 120, 21);
    edit->OnKeyPress = [](TObject*, wchar_t& key) {
        if (key < L'0' || key > L'9') key = key == L'x' ? L'9' : 0;
    };
    for (wchar_t c : std::wstring(L"1a2x"))
        SendMessageW(edit->Handle(), WM_CHAR, c, 0);
    EXPECT_EQ(edit->Text(), "129");
}

TEST_F(StdCtrlsTest, MemoLinesMaxLengthAndReadOnly) {
    auto* memo = Put<TMemo>(form, 10, 10, 200, 100);
    memo->SetMaxLength(5);
    memo->Lines().Add("第一行");
    memo->Lines().Add("two");
    EXPECT_EQ(memo->Text(), "第一行\r\ntwo");
    EXPECT_EQ(memo->Lines().Count(), 2);
    EXPECT_EQ(memo->Lines()[1], "two");
    memo->Lines().Clear();
    for (wchar_t c : std::wstring(L"abcdefg")) SendMessageW(memo->Handle(), WM_CHAR, c, 0);
    EXPECT_EQ(memo->Text(), "abcde");   // the limit counts characters
    memo->SetReadOnly(true);
    EXPECT_TRUE(GetWindowLongPtrW(memo->Handle(), GWL_STYLE) & ES_READONLY);
}

TEST_F(StdCtrlsTest, CheckBoxClickFiresFromCodeAndFromTheUserOnce) {
    auto* box = Put<TCheckBox>(form, 10, 10, 120, 17);
    box->SetCaption("精确到分钟");
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);   // mouse press and release on the box
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(StdCtrlsTest, RadioButtonsAreGroupedByParent) {
    auto* group = Put<TGroupBox>(form, 200, 10, 150, 100);
    auto* rb1 = Put<TRadioButton>(form, 10, 10, 100, 17);
    auto* rb2 = Put<TRadioButton>(form, 10, 30, 100, 17);
    auto* other = Put<TRadioButton>(group, 10, 20, 100, 17);
    int clicks1 = 0, clicks2 = 0;
    rb1->OnClick = [&](TObject*) { ++clicks1; };
    rb2->OnClick = [&](TObject*) { ++clicks2; };
    rb1->SetChecked(true);
    other->SetChecked(true);
    EXPECT_EQ(clicks1, 1);
    EXPECT_TRUE(rb1->Checked());   // another parent's button does not uncheck it
    rb2->SetChecked(true);
    EXPECT_EQ(clicks2, 1);
    EXPECT_FALSE(rb1->Checked());
    EXPECT_EQ(clicks1, 1);   // being unchecked fires nothing
    SendMessageW(rb1->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(rb1->Checked());
    EXPECT_FALSE(rb2->Checked());
    EXPECT_EQ(clicks1, 2);
    EXPECT_TRUE(other->Checked());
}

TEST_F(StdCtrlsTest, ComboBoxChangeOnlyForTheUser) {
    auto* combo = Put<TComboBox>(form, 10, 10, 120, 21);
    combo->SetStyle(csDropDownList);
    for (const char* s : {"正月", "二月", "三月"}) combo->Items().Add(s);
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->SetItemIndex(1);
    combo->SetText("三月");
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(changes, 0);
    EXPECT_THROW(combo->SetItemIndex(3), EListError);
    SendMessageW(combo->Handle(), WM_KEYDOWN, VK_UP, 0);   // the user picks the item above
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo->Text(), "二月");
    combo->SetItemIndex(-1);
    EXPECT_EQ(combo->Text(), "");
    combo->Items().Clear();
    EXPECT_EQ(combo->Items().Count(), 0);
    EXPECT_EQ(changes, 1);
}

TEST_F(StdCtrlsTest, EditableComboBoxTypingChangesAndKeyPressFilters) {
    auto* combo = Put<TComboBox>(form, 10, 10, 120, 21);
    for (const char* s : {"1", "2", "3"}) combo->Items().Add(s);
    combo->SetDropDownCount(20);
    combo->SetText("1");
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->OnKeyPress = [](TObject*, wchar_t& key) {
        if ((key < L'0' || key > L'9') && key != 8) key = 0;
    };
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
    SendMessageW(info.hwndItem, EM_SETSEL, 1, 1);
    SendMessageW(info.hwndItem, WM_CHAR, L'a', 0);
    EXPECT_EQ(changes, 0);
    SendMessageW(info.hwndItem, WM_CHAR, L'5', 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo->Text(), "15");
}

TEST_F(StdCtrlsTest, ButtonClickSetsTheModalResultFirst) {
    auto* button = Put<TBitBtn>(form, 10, 10, 75, 25);
    button->SetModalResult(mrOk);
    TModalResult seen = mrNone;
    int clicks = 0;
    button->OnClick = [&](TObject*) {
        ++clicks;
        seen = form->ModalResult();
    };
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(seen, mrOk);
    button->Click();
    EXPECT_EQ(clicks, 2);
}

// A modal dialog: Enter in the edit clicks the Default button (mrOk), Escape the Cancel
// button (mrCancel).
TEST_F(StdCtrlsTest, DefaultAndCancelButtonsEndAModalDialog) {
    auto* edit = Put<TEdit>(form, 10, 10, 120, 21);
    auto* ok = Put<TButton>(form, 10, 40, 75, 25);
    ok->SetCaption("确定&Y");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = Put<TButton>(form, 100, 40, 75, 25);
    cancel->SetCaption("关闭&C");
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    int cancelClicks = 0;
    cancel->OnClick = [&](TObject*) { ++cancelClicks; };
    form->SetActiveControl(edit);

    PostMessageW(edit->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(cancelClicks, 0);

    PostMessageW(edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(cancelClicks, 1);

    // Alt+C is the cancel button's accelerator.
    form->Show();
    EXPECT_TRUE(form->DialogKey('C', TShiftState{ssAlt}));
    EXPECT_EQ(cancelClicks, 2);
    EXPECT_FALSE(form->DialogKey('Q', TShiftState{ssAlt}));
}

TEST_F(StdCtrlsTest, EnterInAMemoStaysInTheMemo) {
    auto* memo = Put<TMemo>(form, 10, 10, 120, 60);
    auto* ok = Put<TButton>(form, 10, 80, 75, 25);
    ok->SetDefault(true);
    int clicks = 0;
    ok->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    memo->SetFocus();
    ASSERT_TRUE(memo->Focused());
    EXPECT_FALSE(form->DialogKey(VK_RETURN, {}));
    EXPECT_EQ(clicks, 0);
}

TEST_F(StdCtrlsTest, TabOrderAndTheFocusSeenByOnExit) {
    auto* a = Put<TEdit>(form, 10, 10, 100, 21);
    auto* panel = Put<TGroupBox>(form, 10, 40, 200, 80);
    auto* b = Put<TEdit>(panel, 10, 20, 100, 21);
    auto* c = Put<TButton>(form, 10, 130, 75, 25);
    auto* label = Put<TLabel>(form, 120, 10, 50, 13);
    (void)label;
    form->Show();
    a->SetFocus();
    ASSERT_TRUE(a->Focused());
    EXPECT_EQ(form->ActiveControl(), a);

    bool buttonFocusedInExit = false;
    TWinControl* activeInExit = nullptr;
    a->OnExit = [&](TObject*) {
        buttonFocusedInExit = c->Focused();
        activeInExit = form->ActiveControl();
    };
    c->SetFocus();
    EXPECT_TRUE(buttonFocusedInExit);
    EXPECT_EQ(activeInExit, c);
    a->OnExit = nullptr;

    form->SetActiveControl(a);
    EXPECT_TRUE(form->DialogKey(VK_TAB, {}));
    EXPECT_TRUE(b->Focused());   // the group box's edit comes in the group box's place
    EXPECT_TRUE(form->DialogKey(VK_TAB, {}));
    EXPECT_TRUE(c->Focused());
    EXPECT_TRUE(form->DialogKey(VK_TAB, {}));
    EXPECT_TRUE(a->Focused());   // wraps around
    EXPECT_TRUE(form->DialogKey(VK_TAB, TShiftState{ssShift}));
    EXPECT_TRUE(c->Focused());
    c->SetTabOrder(0);
    form->SelectNext(c);
    EXPECT_TRUE(a->Focused());
    c->SetFocus();
    delete c;   // the active control goes: the form forgets it
    EXPECT_NE(form->ActiveControl(), static_cast<TWinControl*>(c));
}

// The containers of the focused control are entered too: a move fires OnExit up from the
// old control and OnEnter down to the new one, below the containers both sit in.
TEST_F(StdCtrlsTest, ContainersAreEnteredAndLeftWithTheirControls) {
    auto* a = Put<TGroupBox>(form, 10, 10, 180, 120);
    auto* a1 = Put<TEdit>(a, 10, 20, 100, 21);
    auto* combo = Put<TComboBox>(a, 10, 50, 100, 21);
    auto* b = Put<TGroupBox>(form, 200, 10, 200, 200);
    auto* b1 = Put<TEdit>(b, 10, 20, 100, 21);
    auto* inner = Put<TGroupBox>(b, 10, 50, 180, 100);
    auto* i1 = Put<TEdit>(inner, 10, 20, 100, 21);
    combo->SetStyle(csDropDownList);
    form->Show();
    a1->SetFocus();
    ASSERT_TRUE(a1->Focused());
    std::string log;
    auto listen = [&](TWinControl* c, std::string name) {
        c->OnEnter = [&log, name](TObject*) { log += name + "+ "; };
        c->OnExit = [&log, name](TObject*) { log += name + "- "; };
    };
    listen(a, "A"), listen(a1, "A1"), listen(combo, "C"), listen(b, "B"), listen(b1, "B1"), listen(inner, "I"),
        listen(i1, "I1");
    const std::pair<TWinControl*, const char*> moves[] = {
        {b1, "A1- A- B+ B1+ "},
        {i1, "B1- I+ I1+ "},
        {b1, "I1- I- B1+ "},
        {combo, "B1- B- A+ C+ "},
        {a1, "C- A1+ "},
    };
    for (auto [to, expected] : moves) {
        log.clear();
        to->SetFocus();
        EXPECT_EQ(log, expected);
    }

    // A container that frees itself on the way out, and one that frees itself (with the
    // control getting the focus) on the way in: no event reaches a freed control.
    a->OnExit = [&](TObject*) {
        log += "A- ";
        delete a;
    };
    log.clear();
    b1->SetFocus();
    EXPECT_EQ(log, "A1- A- B+ B1+ ");
    inner->OnEnter = [&](TObject*) {
        log += "I+ ";
        delete inner;
    };
    log.clear();
    i1->SetFocus();
    EXPECT_EQ(log, "B1- I+ ");
    auto* c = Put<TEdit>(form, 10, 240, 100, 21);
    listen(c, "X");
    log.clear();
    c->SetFocus();
    EXPECT_TRUE(c->Focused());
    EXPECT_EQ(log, "B- X+ ");
    log.clear();
    b1->SetFocus();
    EXPECT_EQ(log, "X- B+ B1+ ");
}

TEST_F(StdCtrlsTest, FocusOnAHiddenFormWaitsForTheShow) {
    auto* a = Put<TEdit>(form, 10, 10, 100, 21);
    auto* b = Put<TEdit>(form, 10, 40, 100, 21);
    b->SetFocus();   // as an OnShow handler does
    EXPECT_EQ(form->ActiveControl(), b);
    form->Show();
    SetForegroundWindow(form->Handle());
    ASSERT_TRUE(PumpUntil([&] { return b->Focused(); }, 2000));
    EXPECT_FALSE(a->Focused());
}

TEST_F(StdCtrlsTest, LabelAutoSizeAndSpeedButtonAccelerator) {
    auto* label = Put<TLabel>(form, 10, 10, 10, 10);
    label->SetCaption("提示：1--表示显示");
    const int oneLine = label->Height();
    EXPECT_GT(label->Width(), 60);
    EXPECT_GT(oneLine, 8);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 40, 10);
    label->SetWordWrap(true);
    label->SetAutoSize(true);
    EXPECT_EQ(label->Width(), 40);
    EXPECT_GT(label->Height(), oneLine);   // wrapped onto several lines

    auto* speed = Put<TSpeedButton>(form, 10, 60, 60, 22);
    speed->SetCaption("上月&S");
    int clicks = 0;
    speed->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_TRUE(form->DialogKey('S', TShiftState{ssAlt}));
    EXPECT_EQ(clicks, 1);
    form->Show();
    POINT p{speed->Left() + 5, speed->Top() + 5};
    PostMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    PostMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    EXPECT_TRUE(PumpUntil([&] { return clicks == 2; }));
}

}  // namespace
