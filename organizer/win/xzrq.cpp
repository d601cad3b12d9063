#include "organizer/win/xzrq.h"

TFormxzrq* Formxzrq = nullptr;

TFormxzrq::TFormxzrq(TComponent* AOwner) : TFestivalDialog(AOwner, TFestivalDialogMode::Add) {
  SetName("Formxzrq");
  SetCaption("新增节日");
}
