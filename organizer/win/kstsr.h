#pragma once
// TFormkstsr, the quick reminder's alert: the clock window's timer fills Label1 and shows
// it when the reminder fires. "重置" goes back to the dialog for the next reminder.
#include "framework/win/Buttons.h"
#include "framework/win/StdCtrls.h"

class TFormkstsr : public TForm {
public:
  explicit TFormkstsr(TComponent* AOwner);

  TLabel* Label1;
  TBitBtn *BitBtn1, *BitBtn2;

  void BitBtn1Click(TObject* Sender);   // "重置"
  void BitBtn2Click(TObject* Sender);   // "返回"
};

extern TFormkstsr* Formkstsr;
