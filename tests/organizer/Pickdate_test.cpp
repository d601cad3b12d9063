// The date picker under Wine: its steps, its labels, and how it ends.
#include "organizer/win/Pickdate.h"

#include <gtest/gtest.h>

#include "tests/organizer/WinShot.h"

namespace {

class DatePicker : public testing::Test {
protected:
  void SetUp() override {
    EnsureApplication();
    SetClockSource([] { return EncodeDateTime(2024, 2, 29, 10, 0, 0, 0); });
    form = NewForm<TBrDateForm>(nullptr);
  }
  void TearDown() override {
    delete form;
    SetClockSource(nullptr);
  }
  std::string Shown() const { return form->nf->Caption() + "-" + form->yf->Caption() + "-" + form->rq->Caption(); }
  TBrDateForm* form = nullptr;
};

}  // namespace

TEST_F(DatePicker, StepsKeepTheDayInsideTheMonth) {
  EXPECT_EQ(Shown(), "2024-2-29");
  const std::pair<TSpeedButton*, const char*> steps[] = {
      {form->SpeedButton4, "2025-2-28"}, {form->SpeedButton3, "2024-2-28"},
      {form->SpeedButton1, "2024-1-28"}, {form->SpeedButton2, "2024-2-28"}};
  for (const auto& [button, after] : steps) {
    button->Click();
    EXPECT_EQ(Shown(), after);
    EXPECT_EQ(FormatDateTime("yyyy-m-d", form->GetPickedDate()), after);
  }
  form->Calendar->SetCalendarDate(EncodeDate(2024, 3, 31));
  form->SpeedButton1->Click();
  EXPECT_EQ(Shown(), "2024-2-29");
}

TEST_F(DatePicker, EnterTwiceOrADoubleClickConfirmsEscapeOrCloseCancels) {
  form->Show();
  SaveShot(*form, "date-picker");
  form->Hide();
  // Once the dialog has the focus (it is activated until it has), each tick posts one Enter to the focused window: the
  // first moves the focus to "确定". A dialog still open 20 s after the start is ended.
  const UINT_PTR timer = SetTimer(nullptr, 0, 150, nullptr);
  const ULONGLONG deadline = GetTickCount64() + 20000;
  int enters = 0;
  const int filter = Application->AddMessageFilter([&](MSG& msg) {
    if (msg.message != WM_TIMER || msg.hwnd) return false;
    if (GetTickCount64() > deadline) {
      ADD_FAILURE() << "the dialog did not end (" << enters << " Enter posted)";
      form->SetModalResult(mrAbort);
      return true;
    }
    if (enters == 2) return true;
    const HWND focus = GetFocus();
    if (!focus || (focus != form->Handle() && !IsChild(form->Handle(), focus))) {
      SetActiveWindow(form->Handle());   // shown and hidden before, it may come up inactive
      return true;
    }
    EXPECT_EQ(form->OKBtn->Focused(), enters == 1);
    PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(focus, WM_CHAR, L'\r', 0);
    return ++enters, true;
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_EQ(enters, 2);

  PostMessageW(form->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(form->ShowModal(), mrCancel);
  PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->ShowModal(), mrCancel);
  PostMessageW(form->Calendar->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(150, 100));
  EXPECT_EQ(form->ShowModal(), mrOk);
  Application->RemoveMessageFilter(filter);
  KillTimer(nullptr, timer);
}
