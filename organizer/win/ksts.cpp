#include "organizer/win/ksts.h"

#include "app/core/QuickReminder.h"
#include "app/core/dbhouse.h"
#include "app/core/dbware.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "framework/win/Dialogs.h"
#include "framework/win/Sound.h"
#include "organizer/win/FormParts.h"

TFormksts* Formksts = nullptr;

namespace {

TBitBtn* MakeButton(TForm* form, TWinControl* parent, const char* name, const char* caption, int left, int top,
                    int width) {
  TBitBtn* b = Make<TBitBtn>(form, parent, name, left, top, width, 26);
  b->SetCaption(caption);
  return b;
}

}  // namespace

TFormksts::TFormksts(TComponent* AOwner) : TForm(AOwner) {
  SetName("Formksts");
  SetCaption("快速提醒");
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu, biMinimize});
  SetPosition(poScreenCenter);
  SetClientSize(318, 204);

  GroupBox1 = Make<TGroupBox>(this, this, "GroupBox1", 8, 6, 302, 84);
  GroupBox1->SetCaption("时间");
  rb1 = Make<TRadioButton>(this, GroupBox1, "rb1", 14, 22, 84, 20);
  rb1->SetCaption("相对时间");
  rb1->SetChecked(true);
  ComboBox1 = Make<TComboBox>(this, GroupBox1, "ComboBox1", 104, 21, 72, 22);
  ComboBox1->SetDropDownCount(30);
  for (int n = 1; n <= 10; ++n) ComboBox1->Items().Add(IntToStr(n));
  for (int n = 15; n <= 60; n += 5) ComboBox1->Items().Add(IntToStr(n));
  ComboBox1->SetText("1");
  ComboBox1->OnChange = [this](TObject* s) { ComboBox1Change(s); };
  Label1 = Make<TLabel>(this, GroupBox1, "Label1", 184, 25, 40, 14);
  Label1->SetCaption("分钟");
  rb2 = Make<TRadioButton>(this, GroupBox1, "rb2", 14, 52, 84, 20);
  rb2->SetCaption("绝对时间");
  dt1 = Make<TDateTimePicker>(this, GroupBox1, "dt1", 104, 51, 72, 22);
  dt1->SetKind(dtkTime);
  dt1->SetFormat("HH:mm");

  GroupBox2 = Make<TGroupBox>(this, this, "GroupBox2", 8, 98, 302, 58);
  GroupBox2->SetCaption("提醒方式");
  Label2 = Make<TLabel>(this, GroupBox2, "Label2", 14, 28, 30, 14);
  Label2->SetCaption("声音");
  Edit1 = Make<TEdit>(this, GroupBox2, "Edit1", 48, 24, 142, 21);
  BitBtn1 = MakeButton(this, GroupBox2, "BitBtn1", "选择", 196, 22, 48);
  BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
  BitBtn4 = MakeButton(this, GroupBox2, "BitBtn4", "试听", 248, 22, 48);
  BitBtn4->OnClick = [this](TObject* s) { BitBtn4Click(s); };

  BitBtn5 = MakeButton(this, this, "BitBtn5", "取消任务", 8, 168, 84);
  BitBtn5->OnClick = [this](TObject* s) { BitBtn5Click(s); };
  BitBtn2 = MakeButton(this, this, "BitBtn2", "确定", 142, 168, 80);
  BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
  BitBtn3 = MakeButton(this, this, "BitBtn3", "返回", 230, 168, 80);
  BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };

  OpenDialog1 = new TOpenDialog(this);
  OpenDialog1->SetName("OpenDialog1");
  OpenDialog1->SetFilter(
      "音乐格式文件|*.mp3;*.mid;*.wav;*.wma|mid (*.mid)|*.mid|wav(*.wav)|*.wav|mp3(*.mp3)|*.mp3|wma(*.wma)|*.wma");
  OpenDialog1->SetTitle("导入音乐窗口 - 选择提醒声音");

  OnShow = [this](TObject* s) { FormShow(s); };
}

// The radio buttons and the minutes keep what they held; the sound and the cancel button
// follow the row.
void TFormksts::FormShow(TObject*) {
  dt1->SetTime(TimeOf(Now()));
  const TQuickReminderRow row = ShowPending();
  Edit1->SetText(row.Sypath.empty() ? DoorbellWavPath : row.Sypath);
}

TQuickReminderRow TFormksts::ShowPending() {
  const TQuickReminderRow row = ReadQuickReminder(*dbhouse->qcx);
  BitBtn5->SetVisible(!row.Zdsj.empty());
  return row;
}

void TFormksts::ComboBox1Change(TObject*) {
  const std::string text = ComboBox1->Text();
  const std::string clamped = ClampReminderMinutes(text);
  if (clamped != text) ComboBox1->SetText(clamped);
}

void TFormksts::BitBtn1Click(TObject*) {
  if (OpenDialog1->Execute()) Edit1->SetText(OpenDialog1->FileName());
}

void TFormksts::BitBtn4Click(TObject*) {
  const std::string path = Edit1->Text();
  if (!path.empty() && FileExists(path))
    SndPlaySound(path, 0);
  else
    ShowMessage("没有找到语音文件");
}

void TFormksts::BitBtn2Click(TObject*) {
  const TDateTime now = Now();
  const int minutes = rb1->Checked() ? StrToInt(ComboBox1->Text()) : 0;
  if (minutes < 0) {
    ShowMessage(NegativeMinutesText);
    return;
  }
  const TDateTime due = rb1->Checked() ? RelativeReminderDue(now, minutes) : AbsoluteReminderDue(now, dt1->Time());
  if (!WriteQuickReminder(*dbhouse, ReminderDueText(due), Edit1->Text(), FormatDateTime("hh:nn", now))) {
    ShowMessage(QuickReminderRowMissingText);   // the dialog stays open with what was chosen
    return;
  }
  Close();
}

void TFormksts::BitBtn5Click(TObject*) {
  if (!AskYesNo("您确定要取消本次任务吗？")) return;
  ClearQuickReminder(*dbhouse);
  ShowPending();
}

void TFormksts::BitBtn3Click(TObject*) { Close(); }
