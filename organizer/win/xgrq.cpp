#include "organizer/win/xgrq.h"

TFormxgrq* Formxgrq = nullptr;

TFormxgrq::TFormxgrq(TComponent* AOwner) : TFestivalDialog(AOwner, TFestivalDialogMode::Edit) {
  SetName("Formxgrq");
  SetCaption("节日修改");
}
