#pragma once
// TFormxzrq, the festival add dialog ("新增节日").
#include "organizer/win/FestivalDialog.h"

class TFormxzrq : public TFestivalDialog {
public:
  explicit TFormxzrq(TComponent* AOwner);
};

extern TFormxzrq* Formxzrq;
