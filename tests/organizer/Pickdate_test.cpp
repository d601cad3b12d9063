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
  // Posts a key to the focused window (or the form) as the message loop would see it.
  void Post(WORD key) {
    HWND target = GetFocus() ? GetFocus() : form->Handle();
    PostMessageW(target, WM_KEYDOWN, key, 0);
    if (key == VK_RETURN) PostMessageW(target, WM_CHAR, L'\r', 0);
  }
  TBrDateForm* form = nullptr;
};

}  // namespace

TEST_F(DatePicker, StepsKeepTheDayInsideTheMonth) {
  EXPECT_EQ(form->GetPickedDate(), EncodeDate(2024, 2, 29));
  EXPECT_EQ(Shown(), "2024-2-29");
  struct Case {
    TSpeedButton* TBrDateForm::*Button;
    const char* After;
  };
  const Case steps[] = {{&TBrDateForm::SpeedButton4, "2025-2-28"}, {&TBrDateForm::SpeedButton3, "2024-2-28"},
                        {&TBrDateForm::SpeedButton1, "2024-1-28"}, {&TBrDateForm::SpeedButton2, "2024-2-28"}};
  for (const Case& c : steps) {
    (form->*c.Button)->Click();
    EXPECT_EQ(Shown(), c.After);
    EXPECT_EQ(FormatDateTime("yyyy-m-d", form->GetPickedDate()), c.After);
  }
  form->Calendar->SetCalendarDate(EncodeDate(2024, 3, 31));
  form->SpeedButton1->Click();
  EXPECT_EQ(Shown(), "2024-2-29");
}

TEST_F(DatePicker, EscapeCancelsAndTwoEntersConfirm) {
  form->Show();
  SaveShot(*form, "date-picker");
  form->Hide();
  PostMessageW(form->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(form->ShowModal(), mrCancel);

  // The first Enter moves the focus to "确定", the second confirms.
  const UINT_PTR timer = SetTimer(nullptr, 0, 150, nullptr);
  int enters = 0;
  int filter = Application->AddMessageFilter([&](MSG& msg) {
    if (msg.message == WM_TIMER && msg.hwnd == nullptr && enters < 2) {
      if (enters == 1) {
        EXPECT_TRUE(form->OKBtn->Focused());
      }
      Post(VK_RETURN);
      ++enters;
      return true;
    }
    return false;
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  Application->RemoveMessageFilter(filter);
  KillTimer(nullptr, timer);
  EXPECT_EQ(enters, 2);
}

TEST_F(DatePicker, DoubleClickOnTheCalendarConfirmsAndCloseCancels) {
  SendMessageW(form->Calendar->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(150, 100));
  EXPECT_EQ(form->ModalResult(), mrOk);
  PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->ShowModal(), mrCancel);
}
