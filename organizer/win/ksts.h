#pragma once
// TFormksts, the quick reminder dialog: sets the one pending reminder of sz_ksb, in a
// number of minutes or at an hour and minute, with a sound; or cancels it. The clock
// window's six-second timer fires it.
#include "app/core/QuickReminder.h"
#include "framework/win/Buttons.h"
#include "framework/win/ComCtrls.h"
#include "framework/win/FileDialogs.h"
#include "framework/win/StdCtrls.h"

class TFormksts : public TForm {
public:
  explicit TFormksts(TComponent* AOwner);

  TGroupBox *GroupBox1, *GroupBox2;
  TRadioButton *rb1, *rb2;
  TComboBox* ComboBox1;   // minutes, editable
  TLabel *Label1, *Label2;
  TDateTimePicker* dt1;
  TEdit* Edit1;           // sound file
  TBitBtn *BitBtn1, *BitBtn4, *BitBtn5, *BitBtn2, *BitBtn3;
  TOpenDialog* OpenDialog1;

  void FormShow(TObject* Sender);
  void ComboBox1Change(TObject* Sender);
  void BitBtn1Click(TObject* Sender);   // choose
  void BitBtn4Click(TObject* Sender);   // listen
  void BitBtn2Click(TObject* Sender);   // confirm
  void BitBtn5Click(TObject* Sender);   // cancel the pending reminder
  void BitBtn3Click(TObject* Sender);   // back

private:
  TQuickReminderRow ShowPending();   // the cancel button follows the row
};

extern TFormksts* Formksts;
