#pragma once
// TFormxgrq, the festival edit dialog ("节日修改"); the festival list loads it.
#include "organizer/win/FestivalDialog.h"

class TFormxgrq : public TFestivalDialog {
public:
  explicit TFormxgrq(TComponent* AOwner);
};

extern TFormxgrq* Formxgrq;
