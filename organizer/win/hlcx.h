#pragma once
// TFormhlcx, the almanac query window "黄历查询": picks a solar date, or a lunar month and
// day of this year, asks the almanac library for that day and shows its answer line by
// line. The library is loaded when the window first needs it; when it cannot be used, the
// answer box says why and nothing else stops.
#include <memory>

#include "framework/win/Buttons.h"
#include "framework/win/ComCtrls.h"
#include "framework/win/StdCtrls.h"
#include "organizer/win/AlmanacLibrary.h"

class TFormhlcx : public TForm {
public:
  explicit TFormhlcx(TComponent* AOwner);

  TRadioButton* rb1;   // "阳历日期"
  TDateTimePicker* dt1;
  TRadioButton* rb2;   // "阴历"
  TLabel *Label1, *Label2;
  TComboBox *ComboBox3, *ComboBox4;   // lunar month, lunar day
  TMemo* Memo1;
  TBitBtn *BitBtn1, *BitBtn2;

  void FormShow(TObject* Sender);
  void rb1Click(TObject* Sender);
  void rb2Click(TObject* Sender);
  void BitBtn1Click(TObject* Sender);
  void BitBtn2Click(TObject* Sender);

  TAlmanacLibrary* Library() const { return FLibrary.get(); }

private:
  // Asks the library for the date and shows the answer, or the reason there is none.
  void ShowAlmanac(TDateTime date);

  std::unique_ptr<TAlmanacLibrary> FLibrary;   // made at the first query
};

extern TFormhlcx* Formhlcx;

constexpr const char* LunarChoiceMissingText = "请选择阴历的月份和日期！";
