#include "organizer/win/kstsr.h"

#include "framework/win/Application.h"
#include "organizer/win/ksts.h"

TFormkstsr* Formkstsr = nullptr;

TFormkstsr::TFormkstsr(TComponent* AOwner) : TForm(AOwner) {
  SetName("Formkstsr");
  SetCaption("提示信息");
  SetBorderStyle(bsDialog);
  SetPosition(poDesktopCenter);
  SetClientSize(314, 118);

  Label1 = new TLabel(this);
  Label1->SetName("Label1");
  Label1->SetParent(this);
  Label1->SetAutoSize(false);
  Label1->SetAlignment(taCenter);
  Label1->SetWordWrap(true);
  Label1->SetBounds(8, 26, 298, 36);
  Label1->Font().SetStyle({fsBold});

  BitBtn1 = new TBitBtn(this);
  BitBtn1->SetName("BitBtn1");
  BitBtn1->SetParent(this);
  BitBtn1->SetBounds(62, 76, 80, 26);
  BitBtn1->SetCaption("重置");
  BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
  BitBtn2 = new TBitBtn(this);
  BitBtn2->SetName("BitBtn2");
  BitBtn2->SetParent(this);
  BitBtn2->SetBounds(172, 76, 80, 26);
  BitBtn2->SetCaption("返回");
  BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
}

void TFormkstsr::BitBtn1Click(TObject*) {
  Close();
  MadeOnFirstUse(Formksts)->Show();
}

void TFormkstsr::BitBtn2Click(TObject*) { Close(); }
