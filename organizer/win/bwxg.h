#pragma once
// TFormbwxg, the memo edit dialog (caption "备忘录修改"): its caller fills it from one
// row of sz_bwlb with LoadMemo and shows it; "保存" rewrites that row, marks it to
// remind again, closes and reloads the memo list.
#include "organizer/win/MemoDialog.h"

class TFormbwxg : public TMemoDialog {
public:
  explicit TFormbwxg(TComponent* AOwner);

  TEdit* editiid;   // iid of the memo being edited (hidden)

  // The common loading rule of the memo list and the memo board.
  void LoadMemo(const TMemoRow& row);
  void BitBtn2Click(TObject* Sender);

private:
  TMemoRow FLoaded;   // the row as LoadMemo found it
};

extern TFormbwxg* Formbwxg;
