#include "organizer/win/hlcx.h"

#include "framework/rtl/FileUtils.h"
#include "framework/win/Dialogs.h"
#include "organizer/core/AlmanacQuery.h"
#include "organizer/core/OrganizerLists.h"
#include "organizer/win/FormParts.h"

TFormhlcx* Formhlcx = nullptr;

TFormhlcx::TFormhlcx(TComponent* AOwner) : TForm(AOwner) {
  SetName("Formhlcx");
  SetCaption("黄历查询");
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu, biMinimize});
  SetPosition(poScreenCenter);
  SetClientSize(640, 406);

  rb1 = Make<TRadioButton>(this, this, "rb1", 10, 13, 80, 20);
  rb1->SetCaption("阳历日期");
  rb1->SetChecked(true);
  rb1->OnClick = [this](TObject* s) { rb1Click(s); };
  dt1 = Make<TDateTimePicker>(this, this, "dt1", 92, 12, 116, 22);
  dt1->SetFormat("yyyy-MM-dd");
  rb2 = Make<TRadioButton>(this, this, "rb2", 240, 13, 56, 20);
  rb2->SetCaption("阴历");
  rb2->OnClick = [this](TObject* s) { rb2Click(s); };
  Label1 = Make<TLabel>(this, this, "Label1", 302, 17, 34, 14);
  Label1->SetCaption("月份");
  ComboBox3 = Make<TComboBox>(this, this, "ComboBox3", 338, 12, 84, 22);
  Label2 = Make<TLabel>(this, this, "Label2", 436, 17, 34, 14);
  Label2->SetCaption("日期");
  ComboBox4 = Make<TComboBox>(this, this, "ComboBox4", 472, 12, 84, 22);
  for (TComboBox* c : {ComboBox3, ComboBox4}) {
    c->SetStyle(csDropDownList);
    c->SetDropDownCount(12);
    c->SetEnabled(false);
  }

  Memo1 = Make<TMemo>(this, this, "Memo1", 10, 46, 620, 313);
  Memo1->SetReadOnly(true);
  Memo1->Font().SetSize(11);
  Memo1->SetScrollBars(ssVertical);

  BitBtn1 = Make<TBitBtn>(this, this, "BitBtn1", 214, 369, 96, 28);
  BitBtn1->SetCaption("黄历查询");
  BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
  BitBtn2 = Make<TBitBtn>(this, this, "BitBtn2", 330, 369, 96, 28);
  BitBtn2->SetCaption("返回");
  BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };

  OnShow = [this](TObject* s) { FormShow(s); };
}

void TFormhlcx::FormShow(TObject*) {
  dt1->SetDateTime(Date());
  ShowAlmanac(Date());
  // Refilled on every show: cleared first, so the lists never grow.
  ComboBox3->Items().Clear();
  for (const std::string& item : LunarMonthItems()) ComboBox3->Items().Add(item);
  ComboBox4->Items().Clear();
  for (const std::string& item : LunarDayItems()) ComboBox4->Items().Add(item);
}

void TFormhlcx::rb1Click(TObject*) {
  dt1->SetEnabled(true);
  ComboBox3->SetEnabled(false);
  ComboBox4->SetEnabled(false);
}

void TFormhlcx::rb2Click(TObject*) {
  dt1->SetEnabled(false);
  ComboBox3->SetEnabled(true);
  ComboBox4->SetEnabled(true);
}

void TFormhlcx::BitBtn1Click(TObject*) {
  // A lunar query needs both names; without them the answer box keeps its text.
  if (!rb1->Checked() && (ComboBox3->Text().empty() || ComboBox4->Text().empty())) {
    ShowMessage(LunarChoiceMissingText);
    return;
  }
  ShowAlmanac(AlmanacQueryDate(rb1->Checked(), dt1->Date(), ComboBox3->Text(), ComboBox4->Text(), Date()));
}

void TFormhlcx::BitBtn2Click(TObject*) { Close(); }

void TFormhlcx::ShowAlmanac(TDateTime date) {
  int year, month, day;
  DecodeDate(date, year, month, day);
  if (!FLibrary) FLibrary = std::make_unique<TAlmanacLibrary>(ExeFolder() + "Almanac.dll");
  std::string text;
  if (!FLibrary->Query(year, month, day, text)) {
    Memo1->SetText(text);
    return;
  }
  TStringList lines;
  for (std::string& line : SplitAlmanacAnswer(text)) lines.Add(std::move(line));
  Memo1->Lines().Clear();
  Memo1->Lines().Assign(lines);
}
