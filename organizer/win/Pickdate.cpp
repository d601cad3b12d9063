#include "organizer/win/Pickdate.h"

#include "framework/rtl/SysUtils.h"

namespace {

template <class T>
T* Make(TForm* form, const char* name, int left, int top, int width, int height) {
  T* c = new T(form);
  c->SetName(name);
  c->SetParent(form);
  c->SetBounds(left, top, width, height);
  return c;
}

TLabel* MakeLabel(TForm* form, const char* name, const char* caption, int left, int top, int width) {
  TLabel* label = Make<TLabel>(form, name, left, top, width, 14);
  label->SetCaption(caption);
  return label;
}

}  // namespace

TBrDateForm::TBrDateForm(TComponent* AOwner) : TForm(AOwner) {
  SetName("BrDateForm");
  SetCaption("选择日期");
  SetBorderStyle(bsDialog);
  SetBorderIcons({});
  SetPosition(poScreenCenter);
  SetKeyPreview(true);
  SetBounds(0, 0, 436, 264);

  Bevel1 = Make<TBevel>(this, "Bevel1", 8, 8, 335, 193);
  Bevel1->SetStyle(bsRaised);
  Calendar = Make<TCalendar>(this, "Calendar", 13, 13, 325, 183);
  Calendar->SetColor(clAqua);
  Calendar->SetStartOfWeek(0);
  Calendar->SetCalendarDate(Date());
  Calendar->SetTabStop(true);
  Calendar->OnChange = [this](TObject* s) { CalendarChange(s); };
  Calendar->OnDblClick = [this](TObject* s) { CalendarDblClick(s); };

  struct Step {
    TSpeedButton* TBrDateForm::*Button;
    const char* Name;
    const char* Caption;
    void (TCalendar::*Action)();
  };
  const Step steps[] = {{&TBrDateForm::SpeedButton1, "SpeedButton1", "上月&S", &TCalendar::PrevMonth},
                        {&TBrDateForm::SpeedButton2, "SpeedButton2", "下月&X", &TCalendar::NextMonth},
                        {&TBrDateForm::SpeedButton3, "SpeedButton3", "上年&P", &TCalendar::PrevYear},
                        {&TBrDateForm::SpeedButton4, "SpeedButton4", "下年&N", &TCalendar::NextYear}};
  int top = 13;
  for (const Step& step : steps) {
    TSpeedButton* button = Make<TSpeedButton>(this, step.Name, 352, top, 72, 25);
    button->SetCaption(step.Caption);
    button->OnClick = [this, action = step.Action](TObject*) { (Calendar->*action)(); };
    this->*step.Button = button;
    top += 33;
  }

  nf = MakeLabel(this, "nf", "", 14, 213, 34);
  nf->SetAlignment(taRightJustify);
  Label1 = MakeLabel(this, "Label1", "年", 50, 213, 14);
  yf = MakeLabel(this, "yf", "", 66, 213, 18);
  yf->SetAlignment(taRightJustify);
  Label2 = MakeLabel(this, "Label2", "月", 86, 213, 14);
  rq = MakeLabel(this, "rq", "", 102, 213, 18);
  rq->SetAlignment(taRightJustify);
  Label3 = MakeLabel(this, "Label3", "日", 122, 213, 14);

  OKBtn = Make<TButton>(this, "OKBtn", 184, 207, 75, 25);
  OKBtn->SetCaption("确定&Y");
  OKBtn->SetModalResult(mrOk);
  cancelBtn = Make<TButton>(this, "cancelBtn", 268, 207, 75, 25);
  cancelBtn->SetCaption("关闭&C ");
  cancelBtn->SetCancel(true);
  cancelBtn->SetModalResult(mrCancel);
  cancelBtn->OnClick = [this](TObject* s) { cancelBtnClick(s); };

  OnShow = [this](TObject* s) { FormShow(s); };
  OnActivate = [this](TObject* s) { FormActivate(s); };
  OnKeyPress = [this](TObject* s, wchar_t& key) { FormKeyPress(s, key); };
  ShowPickedDate();
}

void TBrDateForm::ShowPickedDate() {
  nf->SetCaption(IntToStr(Calendar->Year()));
  yf->SetCaption(IntToStr(Calendar->Month()));
  rq->SetCaption(IntToStr(Calendar->Day()));
}

void TBrDateForm::FormShow(TObject*) { Calendar->SetFocus(); }

void TBrDateForm::FormActivate(TObject*) { ShowPickedDate(); }

void TBrDateForm::CalendarChange(TObject*) { ShowPickedDate(); }

void TBrDateForm::FormKeyPress(TObject*, wchar_t& Key) {
  if (Key == L'\r') OKBtn->SetFocus();
}

void TBrDateForm::CalendarDblClick(TObject*) { OKBtn->Click(); }

void TBrDateForm::cancelBtnClick(TObject*) { Close(); }
