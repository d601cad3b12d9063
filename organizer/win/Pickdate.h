#pragma once
// TBrDateForm, the date picker (caption "选择日期"): a month calendar with month and
// year steps. Made on demand by its caller, shown modally and freed afterwards; on mrOk
// the caller reads GetPickedDate. Enter moves the focus to "确定" (a second Enter
// confirms); a double click on a day confirms at once.
#include "framework/win/Buttons.h"
#include "framework/win/Calendar.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/StdCtrls.h"

class TBrDateForm : public TForm {
public:
  explicit TBrDateForm(TComponent* AOwner);

  TBevel* Bevel1;
  TCalendar* Calendar;
  TSpeedButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *SpeedButton4;
  TLabel *nf, *yf, *rq;
  TLabel *Label1, *Label2, *Label3;
  TButton *OKBtn, *cancelBtn;

  TDateTime GetPickedDate() const { return Calendar->CalendarDate(); }

  void FormShow(TObject* Sender);
  void FormActivate(TObject* Sender);
  void FormKeyPress(TObject* Sender, wchar_t& Key);
  void CalendarChange(TObject* Sender);
  void CalendarDblClick(TObject* Sender);
  void cancelBtnClick(TObject* Sender);

private:
  void ShowPickedDate();
};
