#pragma once
// TFormjrbj, the festival list ("节日编辑"): the user's festivals, birthdays and
// anniversaries of sz_jrb in a grid, with new, edit, delete and clear.
#include "framework/win/DBGrids.h"
#include "framework/win/Forms.h"
#include "framework/win/StdCtrls.h"
#include "organizer/win/FormSkin.h"

class TFormjrbj : public TForm {
public:
  explicit TFormjrbj(TComponent* AOwner);

  TskSkinForm* DSF;
  TskSkinData* skSkinData1;
  TskCompressedStoredSkin* CompressedStoredSkin1;
  TskSkinGroupBox* skSkinGroupBox2;   // "查询条件"
  TLabel* Label1;                     // the note on when settings take effect
  TskSkinButton *skSkinButton1, *skSkinButton2, *skSkinButton3, *skSkinButton4, *skSkinButton5;
  TDBGrid* DBGrid1;

  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void skSkinButton1Click(TObject* Sender);   // "新增"
  void skSkinButton2Click(TObject* Sender);   // "编辑"
  void skSkinButton3Click(TObject* Sender);   // "删除"
  void skSkinButton4Click(TObject* Sender);   // "清空"
  void skSkinButton5Click(TObject* Sender);   // "返回"
};

extern TFormjrbj* Formjrbj;
