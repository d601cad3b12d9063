#pragma once
// TFormbwlcx, the memo list ("备忘录查询"): every memo of sz_bwlb in a grid, with new,
// edit, delete and clear.
#include "framework/win/DBGrids.h"
#include "framework/win/Forms.h"
#include "framework/win/StdCtrls.h"
#include "organizer/win/FormSkin.h"

class TFormbwlcx : public TForm {
public:
  explicit TFormbwlcx(TComponent* AOwner);

  TskSkinForm* DSF;
  TskSkinData* skSkinData1;
  TskCompressedStoredSkin* CompressedStoredSkin1;
  TskSkinGroupBox* skSkinGroupBox2;   // "查询条件"
  TskSkinButton *skSkinButton3, *skSkinButton1, *skSkinButton2, *skSkinButton4, *skSkinButton6;
  TDBGrid* DBGrid1;

  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void skSkinButton3Click(TObject* Sender);   // "新增"
  void skSkinButton1Click(TObject* Sender);   // "编辑"
  void skSkinButton2Click(TObject* Sender);   // "删除"
  void skSkinButton4Click(TObject* Sender);   // "清空"
  void skSkinButton6Click(TObject* Sender);   // "返回"
};

extern TFormbwlcx* Formbwlcx;
