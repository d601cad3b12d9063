#pragma once
// TFormbwlbj, the memo add dialog: inserts one memo into sz_bwlb per click on
// "备忘录新增" and stays open for the next, keeping its date kind and text.
#include "organizer/win/MemoDialog.h"

class TFormbwlbj : public TMemoDialog {
public:
  explicit TFormbwlbj(TComponent* AOwner);

  TBitBtn* BitBtn4;   // "重填"

  void FormShow(TObject* Sender);
  void BitBtn2Click(TObject* Sender);
  void BitBtn4Click(TObject* Sender);
};

extern TFormbwlbj* Formbwlbj;
