#include "organizer/win/bwlbj.h"

#include "app/core/dbhouse.h"

TFormbwlbj* Formbwlbj = nullptr;

TFormbwlbj::TFormbwlbj(TComponent* AOwner) : TMemoDialog(AOwner, TMemoDialogMode::Add) {
  SetName("Formbwlbj");
  SetCaption("备忘录新增");
  BitBtn2->SetCaption("备忘录新增");
  BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
  BitBtn4 = MakeButton("BitBtn4", "重填");
  BitBtn4->OnClick = [this](TObject* s) { BitBtn4Click(s); };
  PlaceButtons({BitBtn2, BitBtn4, BitBtn3});
  OnShow = [this](TObject* s) { FormShow(s); };
}

void TFormbwlbj::FormShow(TObject*) { ResetDates(); }

void TFormbwlbj::BitBtn4Click(TObject*) {
  ResetDates();
  ClearChoices();
}

void TFormbwlbj::BitBtn2Click(TObject*) {
  if (!Validate()) return;
  InsertMemo(*dbhouse->qbw, Row());
  // The memo list's grid follows, once the list has given its query a statement.
  if (TADOQuery* list = dbhouse->qbwcx; list->SQL.Count() > 0) {
    list->Close();
    list->Open();
  }
  ResetDates();
  ClearChoices();
}
