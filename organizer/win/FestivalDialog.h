#pragma once
// TFestivalDialog: the festival add dialog (TFormxzrq, "新增节日") and edit dialog
// (TFormxgrq, "节日修改") as one form with a mode. Both hold a festival's name, kind,
// calendar, month and day, starting year and sound file; the add dialog inserts a row and
// stays open for the next, the edit dialog rewrites the row it was loaded with and closes.
#include "framework/win/FileDialogs.h"
#include "framework/win/Forms.h"
#include "framework/win/StdCtrls.h"
#include "organizer/win/FormSkin.h"
#include "organizer/core/FestivalRules.h"

class TFestivalDialog : public TForm {
public:
  TFestivalDialog(TComponent* AOwner, TFestivalDialogMode mode);

  TskSkinForm* DSF;
  TskSkinData* skSkinData1;
  TskCompressedStoredSkin* CompressedStoredSkin1;
  TLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;
  TEdit* Edit1;                   // name
  TComboBox* ComboBox1;           // kind
  TComboBox* ComboBox2;           // calendar
  TComboBox *ComboBox3, *ComboBox4;   // month, day
  TComboBox* ComboBox5;           // starting year
  TEdit* Edit2;                   // sound file
  TEdit* editiid;                 // iid of the row being changed (edit dialog only)
  TOpenDialog* OpenDialog1;
  TskSkinButton* skSkinButton1;       // "选择"
  TskSkinButton* skSkinButton2;       // "试听"
  TskSkinButton* skSkinButton3;       // "填为空" (add dialog only)
  TskSkinButton* skSkinButton4;       // "保存"
  TskSkinButton* skSkinButton5;       // "返回"

  // Fills the fields from a stored row: the month and day lists of the row's calendar
  // first, then its values; the year list afresh.
  void LoadFestival(const TFestivalRow& row);

  void FormShow(TObject* Sender);
  void ComboBox2Change(TObject* Sender);
  void skSkinButton1Click(TObject* Sender);
  void skSkinButton2Click(TObject* Sender);
  void skSkinButton3Click(TObject* Sender);
  void skSkinButton4Click(TObject* Sender);
  void skSkinButton5Click(TObject* Sender);

  TFestivalInput Input() const;

private:
  // Runs the checks; a failure shows its message, focuses its control and returns false.
  bool Validate();
  void FillDateLists(bool solar);
  void FillYears();
  void ClearFields();

  TFestivalDialogMode FMode;
};
