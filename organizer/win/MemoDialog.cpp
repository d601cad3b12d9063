#include "organizer/win/MemoDialog.h"

#include "framework/rtl/SysUtils.h"
#include "framework/win/Dialogs.h"
#include "organizer/core/OrganizerLists.h"
#include "organizer/win/FormParts.h"

namespace {

constexpr int kClientWidth = 430, kClientHeight = 372, kButtonTop = 334;


TLabel* MakeLabel(TComponent* owner, TWinControl* parent, const char* name, const char* caption, int left, int top,
                  int width) {
  TLabel* label = Make<TLabel>(owner, parent, name, left, top, width, 14);
  label->SetCaption(caption);
  return label;
}

TComboBox* MakeList(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width,
                    const std::vector<std::string>& items) {
  TComboBox* combo = Make<TComboBox>(owner, parent, name, left, top, width, 22);
  combo->SetStyle(csDropDownList);
  combo->SetDropDownCount(12);
  for (const std::string& item : items) combo->Items().Add(item);
  return combo;
}

}  // namespace

TMemoDialog::TMemoDialog(TComponent* AOwner, TMemoDialogMode mode) : TForm(AOwner), FMode(mode) {
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu, biMinimize});
  SetPosition(poScreenCenter);
  SetClientSize(kClientWidth, kClientHeight);

  GroupBox1 = Make<TGroupBox>(this, this, "GroupBox1", 8, 6, 414, 236);
  GroupBox1->SetCaption("备忘日期");
  rb1 = Make<TRadioButton>(this, GroupBox1, "rb1", 14, 22, 72, 20);
  rb1->SetCaption("按阳历");
  rb1->SetChecked(true);
  rb1->OnClick = [this](TObject* s) { rb1Click(s); };
  dt1 = Make<TDateTimePicker>(this, GroupBox1, "dt1", 90, 21, 112, 22);
  dt1->SetFormat("yyyy-MM-dd");
  cb1 = Make<TCheckBox>(this, GroupBox1, "cb1", 216, 22, 96, 20);
  cb1->SetCaption("精确到分钟");
  dt2 = Make<TDateTimePicker>(this, GroupBox1, "dt2", 316, 21, 86, 22);
  dt2->SetKind(dtkTime);
  dt2->SetFormat("HH:mm");
  rb2 = Make<TRadioButton>(this, GroupBox1, "rb2", 14, 54, 72, 20);
  rb2->SetCaption("按阴历");
  rb2->OnClick = [this](TObject* s) { rb2Click(s); };
  ComboBox1 = MakeList(this, GroupBox1, "ComboBox1", 90, 53, 90, LunarMonthItems());
  ComboBox2 = MakeList(this, GroupBox1, "ComboBox2", 190, 53, 90, MemoLunarDayItems());
  Label1 = MakeLabel(this, GroupBox1, "Label1", "内容", 14, 86, 40);
  memo1 = Make<TMemo>(this, GroupBox1, "memo1", 14, 104, 388, 120);
  memo1->SetMaxLength(250);
  memo1->SetScrollBars(ssVertical);
  Label5 = MakeLabel(this, GroupBox1, "Label5", "选择音乐", 180, 86, 60);
  Label5->SetVisible(false);
  Edit1 = Make<TEdit>(this, GroupBox1, "Edit1", 244, 82, 110, 21);
  Edit1->SetVisible(false);
  BitBtn1 = Make<TBitBtn>(this, GroupBox1, "BitBtn1", 356, 80, 46, 23);
  BitBtn1->SetCaption("选择");
  BitBtn1->SetVisible(false);

  GroupBox2 = Make<TGroupBox>(this, this, "GroupBox2", 8, 248, 414, 76);
  GroupBox2->SetCaption("其它选项");
  Label2 = MakeLabel(this, GroupBox2, "Label2", "提前提醒天数", 14, 22, 116);
  ComboBox3 = MakeList(this, GroupBox2, "ComboBox3", 14, 40, 116, DayCountItems());
  Label3 = MakeLabel(this, GroupBox2, "Label3", "过期自动删除", 150, 22, 116);
  ComboBox4 = MakeList(this, GroupBox2, "ComboBox4", 150, 40, 116, DayCountItems());
  Label4 = MakeLabel(this, GroupBox2, "Label4", "重复提醒", 286, 22, 116);
  ComboBox5 = MakeList(this, GroupBox2, "ComboBox5", 286, 40, 116, RepeatItems());

  EnableDateKind(true);   // rb1 is checked while loading, which fires nothing

  BitBtn2 = MakeButton("BitBtn2", "");
  BitBtn3 = MakeButton("BitBtn3", "返回");
  BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };
}

TBitBtn* TMemoDialog::MakeButton(const char* name, const char* caption) {
  TBitBtn* button = Make<TBitBtn>(this, this, name, 0, kButtonTop, 90, 28);
  button->SetCaption(caption);
  return button;
}

void TMemoDialog::PlaceButtons(std::initializer_list<TBitBtn*> buttons) {
  constexpr int gap = 16;
  int width = -gap;
  for (TBitBtn* b : buttons) width += b->Width() + gap;
  int left = (kClientWidth - width) / 2;
  for (TBitBtn* b : buttons) {
    b->SetLeft(left);
    left += b->Width() + gap;
  }
}

void TMemoDialog::rb1Click(TObject*) { EnableDateKind(true); }

void TMemoDialog::rb2Click(TObject*) { EnableDateKind(false); }

void TMemoDialog::EnableDateKind(bool solar) {
  for (TControl* c : std::initializer_list<TControl*>{dt1, cb1, dt2}) c->SetEnabled(solar);
  ComboBox1->SetEnabled(!solar);
  ComboBox2->SetEnabled(!solar);
}

void TMemoDialog::BitBtn3Click(TObject*) { Close(); }

TMemoInput TMemoDialog::Input() const {
  TMemoInput in;
  in.Solar = rb1->Checked();
  in.Date = dt1->DateTime();
  in.MinutePrecision = cb1->Checked();
  in.Time = dt2->Time();
  in.LunarMonth = ComboBox1->Text();
  in.LunarDay = ComboBox2->Text();
  in.Text = memo1->Text();
  in.NoticeIndex = ComboBox3->ItemIndex();
  in.NoticeText = ComboBox3->Text();
  in.KeepIndex = ComboBox4->ItemIndex();
  in.KeepText = ComboBox4->Text();
  in.RepeatIndex = ComboBox5->ItemIndex();
  in.RepeatText = ComboBox5->Text();
  in.SoundPath = Edit1->Text();
  return in;
}

TMemoRow TMemoDialog::Row() const { return MemoRowFromInput(Input(), FMode, Date()); }

bool TMemoDialog::Validate() {
  const TMemoCheck check = CheckMemoInput(Input());
  if (check.Field == TMemoField::None) return true;
  ShowMessage(check.Message);
  TComboBox* field = check.Field == TMemoField::Notice ? ComboBox3
                     : check.Field == TMemoField::Keep ? ComboBox4
                                                       : ComboBox5;
  field->SetFocus();
  return false;
}

void TMemoDialog::ResetDates() {
  dt1->SetDateTime(Date());
  dt2->SetTime(StrToTime(FormatDateTime("hh:nn", Now())));
}

void TMemoDialog::ClearChoices() {
  for (TComboBox* c : {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5}) c->SetItemIndex(-1);
}
