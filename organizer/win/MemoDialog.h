#pragma once
// TMemoDialog: the layout, checks and row texts the memo add dialog (TFormbwlbj) and the
// memo edit dialog (TFormbwxg) share. A memo is due on a solar date (with an optional time
// of day) or on a lunar month and day; it carries its text, days of advance notice, days
// kept after expiry and its repetition. The two forms add their own buttons and saving.
#include "framework/win/Buttons.h"
#include "framework/win/ComCtrls.h"
#include "framework/win/StdCtrls.h"
#include "organizer/core/MemoRules.h"

class TMemoDialog : public TForm {
public:
  TMemoDialog(TComponent* AOwner, TMemoDialogMode mode);

  TGroupBox *GroupBox1, *GroupBox2;
  TRadioButton* rb1;
  TDateTimePicker* dt1;
  TCheckBox* cb1;
  TDateTimePicker* dt2;
  TRadioButton* rb2;
  TComboBox *ComboBox1, *ComboBox2;
  TLabel* Label1;
  TMemo* memo1;
  TLabel *Label2, *Label3, *Label4;
  TComboBox *ComboBox3, *ComboBox4, *ComboBox5;
  TEdit* Edit1;
  TLabel* Label5;
  TBitBtn* BitBtn1;
  TBitBtn *BitBtn2, *BitBtn3;

  void rb1Click(TObject* Sender);
  void rb2Click(TObject* Sender);
  void BitBtn3Click(TObject* Sender);

  TMemoInput Input() const;
  // The row the save button writes (raises EConvertError for a lunar memo without month or day).
  TMemoRow Row() const;
  // Runs the checks; a failure shows its message, focuses its list and returns false.
  bool Validate();

protected:
  // dt1 := today, dt2 := the current hours and minutes.
  void ResetDates();
  void ClearChoices();   // ComboBox1 .. ComboBox5 to no selection
  // Solar: the date, precision and time on, the lunar month and day off; lunar the reverse.
  void EnableDateKind(bool solar);
  // Places the form's buttons (the row at the bottom, left to right).
  void PlaceButtons(std::initializer_list<TBitBtn*> buttons);
  TBitBtn* MakeButton(const char* name, const char* caption);

  TMemoDialogMode FMode;
};
